#include "ctl/bench_commands.h"

#include "remote/answers.h"
#include "version/version.h"

#include <string>

namespace vq::ctl {

void AddBenchCommands(remote::Interpreter &interpreter, BoardConnection &board,
                      [[maybe_unused]] const BenchOptions &options) {
  interpreter.Commands().AddQuery("*IDN", {}, [&board](remote::CommandContext &command) {
    command.Answer("VQ8231 Evaluation Software,VQ8231," + std::to_string(board.BoardNumber()) + "," + FullVersion);
  });
}

} // namespace vq::ctl
