// The instrument's own commands, bound to the board: where the command set is
// added to the interpreter the program runs.
#pragma once

#include "ctl/board_connection.h"
#include "remote/interpreter.h"

#include <filesystem>
#include <optional>

namespace vq::ctl {

struct BenchOptions {
  // Set for the server: setup files are named relative to it and may not
  // leave it. Unset on the command line, where the user names any file.
  std::optional<std::filesystem::path> SetupDirectory;
};

// Adds *IDN? (maker, model, the board number, the program's version) and the
// board's commands.
void AddBenchCommands(remote::Interpreter &interpreter, BoardConnection &board, const BenchOptions &options);

} // namespace vq::ctl
