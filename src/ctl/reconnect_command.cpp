#include "ctl/reconnect_command.h"

namespace vq::ctl {

void AddReconnectCommand(BenchInstrument &instrument, BoardConnection &board) {
  instrument.Interpreter().Commands().AddCommand("SYSTem:RECOnnect", {},
                                                 [&instrument, &board](remote::CommandContext &command) {
                                                   if (const std::optional<std::string> failure = board.Reconnect()) {
                                                     command.Fail(remote::ErrorCode::HardwareError, *failure);
                                                     return;
                                                   }
                                                   // The converter is back at its power-on registers and the register
                                                   // model forgot them with the download; what the program assumed of
                                                   // the lines and options starts over too.
                                                   instrument.StartAfresh();
                                                 });
}

} // namespace vq::ctl
