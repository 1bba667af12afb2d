// Runs SCPI command lines: several commands separated by ';', each taken from the root of the command
// tree. The whole line is read and checked first (syntax, headers, suffixes, parameter types, static
// limits); a line with such an error queues it and runs nothing. Then the commands run in order, and
// the first one whose handler queues an error ends the line: the commands after it do not run and
// their queries give no answer. Every query that runs to its end gives exactly one answer line.
#pragma once

#include "remote/command_tree.h"
#include "remote/error_queue.h"
#include "remote/parameter_rule.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vq::remote {

// What a handler sees of its command, and how it answers or reports a failure.
class CommandContext {
public:
  CommandContext(const std::array<int32_t, MaxSuffixes> &suffixes, std::span<const Parameter> parameters,
                 ErrorQueue &errors)
      : suffixes_(suffixes), parameters_(parameters), errors_(errors) {}

  // The header's n-th numeric suffix in the pattern's order ("SOURce<1-4>" is 0); 1 where the line
  // left it out.
  int32_t Suffix(std::size_t n = 0) const { return suffixes_.at(n); }
  // One value per parameter of the command's form; an optional one the line left out is Absent.
  std::size_t ParameterCount() const { return parameters_.size(); }
  const Parameter &operator[](std::size_t n) const { return parameters_[n]; }

  // A query's answer: one line, without its line end. A later answer replaces an earlier one.
  void Answer(std::string text) { answer_ = std::move(text); }
  // Queues an error; the query gives no answer, and the rest of the line does not run.
  void Fail(ErrorCode code, std::string_view detail = {});
  bool Failed() const { return failure_ != ErrorCode::NoError; }

private:
  friend class Interpreter;
  const std::array<int32_t, MaxSuffixes> &suffixes_;
  std::span<const Parameter> parameters_;
  ErrorQueue &errors_;
  std::string answer_;
  ErrorCode failure_ = ErrorCode::NoError;
};

struct LineResult {
  // The error that ended the line, NoError when every command ran.
  ErrorCode Error = ErrorCode::NoError;
  // Commands whose handlers ran, the one that failed included: 0 for a refused line.
  std::size_t Ran = 0;
  std::size_t Answers = 0;
  bool Refused() const { return Error != ErrorCode::NoError && Ran == 0; }
};

class Interpreter {
public:
  // With the commands every instrument has: *CLS, *OPC?, *WAI, SYSTem:ERRor[:NEXT]? and
  // SYSTem:ERRor:COUNt?. The rest come through Commands().
  Interpreter();
  Interpreter(const Interpreter &) = delete;
  Interpreter &operator=(const Interpreter &) = delete;

  CommandTree &Commands() { return tree_; }
  ErrorQueue &Errors() { return errors_; }

  // Runs one line (without its line end; blanks around it do not matter, an empty line does nothing)
  // and appends the queries' answers. Bytes of any value are safe: what is not SCPI is a syntax error.
  // Handlers must not run lines themselves (that is an execution error).
  LineResult Run(std::string_view line, std::vector<std::string> &answers);

private:
  struct Unit {
    const CommandForm *Form = nullptr;
    std::array<int32_t, MaxSuffixes> Suffixes{};
    std::size_t FirstParameter = 0;
  };
  // Why a line is refused: the error and the text it names (a reason, or a part of the line).
  struct Refusal {
    ErrorCode Code = ErrorCode::NoError;
    std::string_view Detail;
  };

  Refusal ReadLine(std::string_view line);
  Refusal ReadUnit(std::string_view line, std::size_t &at);
  Refusal ReadParameters(std::string_view line, std::size_t &at, const CommandForm &form, std::size_t &given);
  void AddCommonCommands();

  CommandTree tree_;
  ErrorQueue errors_;
  std::vector<Unit> units_;
  std::vector<Parameter> parameters_;
  bool running_ = false;
};

} // namespace vq::remote
