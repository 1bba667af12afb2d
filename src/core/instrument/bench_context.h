// What every command of the bench instrument works on: the way to the board,
// what the program knows of the registers, and the settings the window keeps
// program-wide (the control lines, the converter's options, LDAC pulsing).
// Also the board sequences the commands share with the window's actions.
#pragma once

#include "board/board_call.h"
#include "board/control_lines.h"
#include "board/function_word.h"
#include "board/registers.h"
#include "board/serial_access.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vq {

class RegisterModel;
namespace remote {
class CommandContext;
}

struct InstrumentIdentity {
  // The board number the session opened, 0 when none is known; *IDN? names it.
  int32_t BoardNumber = 0;
};

// The program-wide settings, with the values the window's start-up leaves.
struct InstrumentSettings {
  ControlLines Lines;              // as last sent (or assumed at start)
  FunctionWord Options;            // as last written, or read at start
  bool PulseAfterDataWrite = true; // LDAC pulsed after each register write
};

// The file a setup name given to SETup:SAVE or SETup:LOAD stands for, or
// nothing with why it is refused (set in `why`).
using SetupPathRule = std::function<std::optional<std::string>(const std::string &name, std::string &why)>;

struct BenchContext {
  SerialAccess &Serial;
  RegisterModel &Model;
  InstrumentIdentity Identity;
  InstrumentSettings Settings;
  std::optional<BoardCall> LastFailure;
  // Empty: a name is the file's path as given.
  SetupPathRule SetupPath;
};

// Fails the command with -240 when one of its requests failed, naming the
// reason by the status table and the request; true when every one succeeded.
bool RequestsSucceeded(BenchContext &bench, remote::CommandContext &command);
// "the board is gone (status 4): Write data register, DAC B".
std::string FailureReason(const BoardCall &call);

// ---- Sequences of the window's actions ----

// Writes all six options, as every writer of the function register does.
void WriteFunctionWord(BenchContext &bench);
// A register write with LDAC pulsed as the settings say.
void WriteRegister(BenchContext &bench, WordAddress address, int32_t code);
// As "Read Register": the function word with SDO enabled first, then the read.
Reading<int32_t> ReadAsReadRegister(BenchContext &bench, WordAddress address);

// The output range a voltage of `channel` converts with, as the voltage entry
// takes it: the channel's coarse gain read back (DAC A's for all channels).
// Where that read fails or returns what every read returns while SDO is off,
// the range the register model knows; nothing when neither tells one.
std::optional<float> ChannelRange(BenchContext &bench, Channel channel);
// Same, with the coarse gain already read back as `read` (no request).
std::optional<float> RangeFromReadBack(const BenchContext &bench, WordAddress coarseGain, const Reading<int32_t> &read);

// The temperature measurement: SDO disabled in the function word, three
// samples, the last one kept.
Reading<int16_t> SampleTemperaturePin(BenchContext &bench);

// A digital line turned towards the converter (input) or away from it: the
// board lets go before the converter drives, and the converter before the
// board does.
void TurnLine(BenchContext &bench, DigitalLine line, bool converterDrives);

// The start-up's initial state, its requests in their order: the function
// register read, the no-operation word, every control line with LDAC high,
// then DAC A's data register read as "Read Register" reads it. The settings
// return to their start values.
void RunInitialState(BenchContext &bench);

} // namespace vq
