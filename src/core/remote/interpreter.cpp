#include "remote/interpreter.h"

#include "remote/answers.h"
#include "remote/mnemonic.h"
#include "remote/program_data.h"

#include <cstdint>
#include <exception>
#include <stdexcept>

namespace vq::remote {

void CommandContext::Fail(ErrorCode code, std::string_view detail) {
  if (code == ErrorCode::NoError)
    code = ErrorCode::ExecutionError; // a failure must never read as success
  failure_ = code;
  errors_.Push(code, detail);
}

namespace {

std::size_t SkipBlanks(std::string_view line, std::size_t at) {
  while (at < line.size() && IsBlank(line[at]))
    ++at;
  return at;
}

struct Header {
  std::array<HeaderNode, MaxHeaderNodes> Nodes;
  std::size_t Count = 0;
  bool Query = false;
  std::string_view Written;
};

// One node: a letter, then letters, digits and underscores; trailing digits are its suffix. `start` may
// point at the '*' of a common command.
std::string_view ReadNode(std::string_view line, std::size_t start, std::size_t &at, HeaderNode &node) {
  if (at >= line.size() || !IsAsciiLetter(line[at]))
    return "a header node that does not start with a letter";
  while (at < line.size() && IsWordChar(line[at]))
    ++at;
  std::size_t digits = at;
  while (IsAsciiDigit(line[digits - 1]))
    --digits;
  node.Word = line.substr(start, digits - start);
  node.HasSuffix = digits < at;
  node.Suffix = 0;
  // More than nine digits fit no suffix range.
  if (at - digits > 9)
    node.Suffix = INT32_MAX;
  else
    for (std::size_t i = digits; i < at; ++i)
      node.Suffix = node.Suffix * 10 + (line[i] - '0');
  return {};
}

// Reads a header at `at` ("*IDN?", ":SOUR2:VOLT", "SYST:ERR?"). The error is SyntaxError with a reason, or
// UndefinedHeader when it has more nodes than any command.
ErrorCode ReadHeader(std::string_view line, std::size_t &at, Header &header, std::string_view &why) {
  const std::size_t start = at;
  if (line[at] == '*') {
    ++at;
    why = ReadNode(line, start, at, header.Nodes[header.Count++]);
  } else {
    if (line[at] == ':')
      ++at;
    while (true) {
      if (header.Count == MaxHeaderNodes) {
        why = line.substr(start, at - start);
        return ErrorCode::UndefinedHeader;
      }
      why = ReadNode(line, at, at, header.Nodes[header.Count++]);
      if (!why.empty() || at >= line.size() || line[at] != ':')
        break;
      ++at;
    }
  }
  if (!why.empty())
    return ErrorCode::SyntaxError;
  if (at < line.size() && line[at] == '?') {
    header.Query = true;
    ++at;
  }
  header.Written = line.substr(start, at - start);
  if (at < line.size() && !IsBlank(line[at]) && line[at] != ';') {
    why = "a character that does not belong in a header";
    return ErrorCode::SyntaxError;
  }
  return ErrorCode::NoError;
}

} // namespace

Interpreter::Interpreter() {
  AddCommonCommands();
}

void Interpreter::AddCommonCommands() {
  tree_.AddCommand("*CLS", {}, [this](CommandContext &) { errors_.Clear(); });
  // Every command has finished when the next one is read: there is never an operation pending.
  tree_.AddQuery("*OPC", {}, [](CommandContext &command) { command.Answer("1"); });
  tree_.AddCommand("*WAI", {}, [](CommandContext &) {});
  tree_.AddQuery("SYSTem:ERRor[:NEXT]", {},
                 [this](CommandContext &command) { command.Answer(ErrorAnswer(errors_.Pop())); });
  tree_.AddQuery("SYSTem:ERRor:COUNt", {},
                 [this](CommandContext &command) { command.Answer(IntegerAnswer(errors_.Count())); });
}

LineResult Interpreter::Run(std::string_view line, std::vector<std::string> &answers) {
  if (running_)
    throw std::logic_error("a command handler ran a command line");
  LineResult result;
  const Refusal refusal = ReadLine(line);
  if (refusal.Code != ErrorCode::NoError) {
    errors_.Push(refusal.Code, refusal.Detail);
    result.Error = refusal.Code;
    return result;
  }
  // Cleared however the handlers end.
  running_ = true;
  struct Running {
    bool &Flag;
    ~Running() { Flag = false; }
  } running{running_};
  for (const Unit &unit : units_) {
    const CommandForm &form = *unit.Form;
    CommandContext command(unit.Suffixes,
                           std::span<const Parameter>(parameters_).subspan(unit.FirstParameter, form.Parameters.size()),
                           errors_);
    try {
      form.Run(command);
    } catch (const std::exception &failure) {
      command.Fail(ErrorCode::ExecutionError, failure.what());
    }
    ++result.Ran;
    if (command.Failed()) {
      result.Error = command.failure_;
      break;
    }
    if (form.Query) {
      answers.push_back(std::move(command.answer_));
      ++result.Answers;
    }
  }
  return result;
}

Interpreter::Refusal Interpreter::ReadLine(std::string_view line) {
  units_.clear();
  parameters_.clear();
  std::size_t at = SkipBlanks(line, 0);
  if (at == line.size())
    return {};
  while (true) {
    const Refusal refusal = ReadUnit(line, at);
    if (refusal.Code != ErrorCode::NoError)
      return refusal;
    if (at == line.size())
      return {};
    // ReadUnit stops only at the end or at a ';'.
    at = SkipBlanks(line, at + 1);
    if (at == line.size() || line[at] == ';')
      return {ErrorCode::SyntaxError, "an empty command between ';' or after the last"};
  }
}

Interpreter::Refusal Interpreter::ReadUnit(std::string_view line, std::size_t &at) {
  Header header;
  std::string_view why;
  if (const ErrorCode error = ReadHeader(line, at, header, why); error != ErrorCode::NoError)
    return {error, why};
  const HeaderMatch match = tree_.Find(std::span(header.Nodes).first(header.Count), header.Query);
  if (match.Error != ErrorCode::NoError)
    return {match.Error, header.Written};

  const CommandForm &form = *match.Form;
  Unit unit{&form, match.Suffixes, parameters_.size()};
  parameters_.resize(parameters_.size() + form.Parameters.size());
  std::size_t given = 0;
  at = SkipBlanks(line, at);
  if (at < line.size() && line[at] != ';') {
    // ReadHeader made sure a blank stands between the header and this.
    if (const Refusal refusal = ReadParameters(line, at, form, given); refusal.Code != ErrorCode::NoError)
      return refusal;
  }
  if (given < form.Required)
    return {ErrorCode::MissingParameter, header.Written};
  units_.push_back(unit);
  return {};
}

Interpreter::Refusal Interpreter::ReadParameters(std::string_view line, std::size_t &at, const CommandForm &form,
                                                 std::size_t &given) {
  Parameter *values = parameters_.data() + parameters_.size() - form.Parameters.size();
  DataToken token;
  while (true) {
    if (given == form.Parameters.size())
      return {ErrorCode::ParameterNotAllowed, line.substr(at)};
    if (const std::string_view why = ReadDataToken(line, at, token); !why.empty())
      return {ErrorCode::SyntaxError, why};
    if (const ErrorCode error = TakeParameter(token, form.Parameters[given], values[given]);
        error != ErrorCode::NoError)
      return {error, token.Written};
    ++given;
    at = SkipBlanks(line, at);
    if (at == line.size() || line[at] == ';')
      return {};
    if (line[at] != ',')
      return {ErrorCode::SyntaxError, "parameters are separated by ','"};
    at = SkipBlanks(line, at + 1);
    if (at == line.size() || line[at] == ';' || line[at] == ',')
      return {ErrorCode::SyntaxError, "a ',' without a parameter after it"};
  }
}

} // namespace vq::remote
