// Runs command lines given on the command line or read from a script, and
// turns what happened into the program's exit status.
#pragma once

#include "remote/interpreter.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace vq::ctl {

enum class ExitStatus : int {
  Success = 0,
  CommandFailed = 1, // a command queued an error
  NoBoard = 2,       // the board or its library could not be used; also a usage error
};

// Runs each command line in order, printing every answer on a line of its
// own to `out`. When any queued an error, every error still queued is
// printed to `err` and the status is CommandFailed.
ExitStatus RunCommands(remote::Interpreter &interpreter, std::span<const std::string> commands, std::ostream &out,
                       std::ostream &err);

// Runs a script: one command line per line, '#' starts a comment, blank
// lines do nothing. It stops at the first line that queues an error unless
// `keepGoing`; the errors of each failed line are printed to `err` after
// "<name>:<line number>: " and taken off the queue.
ExitStatus RunScript(remote::Interpreter &interpreter, std::istream &in, const std::string &name, bool keepGoing,
                     std::ostream &out, std::ostream &err);

// The line before its comment. A '#' outside quotes starts one, unless a
// number's base follows it (#H, #Q, #B): "SOUR1:CODE #HFF # full scale".
std::string_view WithoutComment(std::string_view line);

} // namespace vq::ctl
