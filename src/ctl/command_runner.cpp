#include "ctl/command_runner.h"

#include "ctl/line_assembler.h"

#include <array>
#include <istream>
#include <ostream>
#include <vector>

namespace vq::ctl {
namespace {

void PrintAnswers(const std::vector<std::string> &answers, std::ostream &out) {
  for (const std::string &answer : answers)
    out << answer << '\n';
}

// Takes every queued error off the queue, one line each.
void PrintErrors(remote::ErrorQueue &errors, std::string_view prefix, std::ostream &err) {
  while (errors.Count() > 0)
    err << prefix << remote::ErrorAnswer(errors.Pop()) << '\n';
}

bool IsNumberBase(char c) {
  switch (c) {
  case 'H':
  case 'h':
  case 'Q':
  case 'q':
  case 'B':
  case 'b':
    return true;
  default:
    return false;
  }
}

} // namespace

std::string_view WithoutComment(std::string_view line) {
  char quote = 0;
  for (std::size_t at = 0; at < line.size(); ++at) {
    const char c = line[at];
    if (quote != 0) {
      if (c == quote)
        quote = 0; // a doubled quote closes and opens again: the same
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '#' && (at + 1 == line.size() || !IsNumberBase(line[at + 1]))) {
      return line.substr(0, at);
    }
  }
  return line;
}

ExitStatus RunCommands(remote::Interpreter &interpreter, std::span<const std::string> commands, std::ostream &out,
                       std::ostream &err) {
  remote::ErrorQueue &errors = interpreter.Errors();
  const uint64_t before = errors.Pushed();
  std::vector<std::string> answers;
  for (const std::string &command : commands) {
    answers.clear();
    interpreter.Run(command, answers);
    PrintAnswers(answers, out);
  }
  out.flush();
  if (errors.Pushed() == before)
    return ExitStatus::Success;
  PrintErrors(errors, "", err);
  return ExitStatus::CommandFailed;
}

ExitStatus RunScript(remote::Interpreter &interpreter, std::istream &in, const std::string &name, bool keepGoing,
                     std::ostream &out, std::ostream &err) {
  LineAssembler lines;
  std::vector<std::string> answers;
  bool failed = false;
  bool stopped = false;
  auto reportFailure = [&] {
    out.flush(); // the answers before the error first, on a terminal showing both
    failed = true;
    stopped = !keepGoing;
    PrintErrors(interpreter.Errors(), name + ":" + std::to_string(lines.LineNumber()) + ": ", err);
  };
  auto runLine = [&](std::string_view line) {
    if (stopped)
      return;
    answers.clear();
    const remote::LineResult result = interpreter.Run(WithoutComment(line), answers);
    PrintAnswers(answers, out);
    if (result.Error != remote::ErrorCode::NoError)
      reportFailure();
  };
  auto refuseOverlong = [&] {
    if (stopped)
      return;
    interpreter.Errors().Push(remote::ErrorCode::SyntaxError, "line longer than 65536 bytes");
    reportFailure();
  };

  // Each line runs as soon as its line end arrives, so a program writing to
  // our standard input sees the answer to one line before it sends the next.
  std::streambuf *source = in.rdbuf();
  std::array<char, 4096> chunk{};
  std::size_t held = 0;
  while (!stopped && source != nullptr) {
    const auto c = source->sbumpc();
    if (c == std::char_traits<char>::eof())
      break;
    chunk[held++] = static_cast<char>(c);
    if (c == '\n' || held == chunk.size()) {
      lines.Feed(std::string_view(chunk.data(), held), runLine, refuseOverlong);
      held = 0;
    }
  }
  if (!stopped) {
    lines.Feed(std::string_view(chunk.data(), held), runLine, refuseOverlong);
    lines.Finish(runLine);
  }
  out.flush();
  return failed ? ExitStatus::CommandFailed : ExitStatus::Success;
}

} // namespace vq::ctl
