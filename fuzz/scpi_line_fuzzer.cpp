// Any bytes as one command line to an interpreter with a few made-up commands. A line refused while it
// was checked ran nothing, answered nothing and changed nothing in the error queue but its one error;
// a line that ran gave one answer per query that ran to its end and never more answers than queries;
// every answer is one line.
#include "property.h"
#include "remote/answers.h"
#include "remote/interpreter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace vq::remote;

struct Instrument {
  Instrument() {
    CommandTree &tree = interpreter.Commands();
    const auto ran = [this](CommandContext &) { ++handlersRun; };
    tree.AddCommand("SOURce<1-4>:CODE", {IntegerParameter(0, 65535)}, ran);
    tree.AddQuery("SOURce<1-4>:CODE", {}, [this](CommandContext &command) {
      ++handlersRun;
      command.Answer(IntegerAnswer(command.Suffix()));
    });
    tree.AddCommand("SOURce<1-4>:VOLTage", {VoltageParameter(-4.311, 4.311)}, ran);
    tree.AddCommand("SOURce:ALL:CODE", {IntegerParameter(0, 65535)}, ran);
    tree.AddCommand("FUNCtion:DIGital<0-1>:DIRection", {WordParameter({"INPut", "OUTPut"})}, ran);
    tree.AddCommand("FUNCtion:SDO", {BooleanParameter()}, ran);
    tree.AddCommand(
        "REGister:WRITe",
        {WordParameter({"DATA", "COARse"}), IntegerParameter(1, 4).OrWords({"ALL"}), IntegerParameter(0, 65535)}, ran);
    tree.AddCommand("[SETup]:SAVE", {TextParameter(), RealParameter(0, 1).Optionally()}, ran);
    // Answers whatever text it was given, quoted: the answer must stay one line.
    tree.AddQuery("ECHO", {TextParameter()}, [this](CommandContext &command) {
      ++handlersRun;
      command.Answer(TextAnswer(command[0].Text));
    });
    tree.AddCommand("TEST:FAIL", {}, [this](CommandContext &command) {
      ++handlersRun;
      command.Fail(ErrorCode::HardwareError, "failed");
    });
  }
  Interpreter interpreter;
  std::size_t handlersRun = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  const std::string_view line = vq::fuzz::Text(data, size);
  Instrument instrument;
  ErrorQueue &errors = instrument.interpreter.Errors();
  errors.Push(ErrorCode::SettingsConflict, "before");
  std::vector<std::string> answers;
  const LineResult result = instrument.interpreter.Run(line, answers);

  VQ_PROPERTY(answers.size() == result.Answers);
  VQ_PROPERTY(answers.size() <= static_cast<std::size_t>(std::count(line.begin(), line.end(), '?')));
  VQ_PROPERTY(instrument.handlersRun <= result.Ran);
  VQ_PROPERTY((result.Error == ErrorCode::NoError) == (errors.Pushed() == 1));
  for (const std::string &answer : answers)
    VQ_PROPERTY(answer.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos);

  if (result.Refused()) {
    VQ_PROPERTY(instrument.handlersRun == 0);
    VQ_PROPERTY(answers.empty());
    VQ_PROPERTY(errors.Pushed() == 2 && errors.Count() == 2);
    const QueuedError first = errors.Pop();
    VQ_PROPERTY(first.Code == ErrorCode::SettingsConflict && first.Detail == "before");
    VQ_PROPERTY(errors.Pop().Code == result.Error);
  }
  return 0;
}
