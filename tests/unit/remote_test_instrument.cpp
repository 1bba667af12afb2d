#include "remote_test_instrument.h"

#include "remote/answers.h"

#include <stdexcept>

namespace vq::remote::test {

TestInstrument::TestInstrument() {
  CommandTree &tree = Commands.Commands();
  const auto channel = [](CommandContext &command) { return std::to_string(command.Suffix()); };
  tree.AddCommand("OUTPut<1-4>:LEVel", {VoltageParameter(-10, 10)}, [this, channel](CommandContext &command) {
    Ran.push_back("level " + channel(command) + " " + DecimalAnswer(command[0].Number));
  });
  tree.AddQuery("OUTPut<1-4>:LEVel", {}, [](CommandContext &command) { command.Answer(DecimalAnswer(1.25)); });
  tree.AddCommand("OUTPut<1-4>:COUNt", {IntegerParameter(0, 65535)}, [this, channel](CommandContext &command) {
    Ran.push_back("count " + channel(command) + " " + IntegerAnswer(command[0].Integer));
  });
  tree.AddQuery("OUTPut<1-4>:COUNt", {}, [](CommandContext &command) { command.Answer(IntegerAnswer(7)); });
  tree.AddCommand("OUTPut<1-4>:STATe", {BooleanParameter()}, [this, channel](CommandContext &command) {
    Ran.push_back("state " + channel(command) + " " + std::string(BooleanAnswer(command[0].On)));
  });
  static const std::vector<std::string_view> modes{"INPut", "OUTPut"};
  tree.AddCommand("PORT<0-1>:MODE", {WordParameter({"INPut", "OUTPut"})}, [this, channel](CommandContext &command) {
    Ran.push_back("mode " + channel(command) + " " + std::string(WordAnswer(modes[command[0].Word])));
  });
  tree.AddQuery("PORT<0-1>:MODE", {},
                [](CommandContext &command) { command.Answer(std::string(WordAnswer("INPut"))); });
  tree.AddCommand("LOG:NAME", {TextParameter()},
                  [this](CommandContext &command) { Ran.push_back("name " + command[0].Text); });
  tree.AddCommand("LOG:PICK", {IntegerParameter(1, 4).OrWords({"ALL"})}, [this](CommandContext &command) {
    Ran.push_back(command[0].Kind == ValueKind::Word ? "pick ALL" : "pick " + IntegerAnswer(command[0].Integer));
  });
  tree.AddCommand("[DEVice]:RATE", {RealParameter(0.5, 100)},
                  [this](CommandContext &command) { Ran.push_back("rate " + DecimalAnswer(command[0].Number)); });
  tree.AddCommand("PAIR", {IntegerParameter(-9, 9), IntegerParameter(-9, 9), IntegerParameter(-9, 9).Optionally()},
                  [this](CommandContext &command) {
                    std::string text =
                        "pair " + IntegerAnswer(command[0].Integer) + " " + IntegerAnswer(command[1].Integer);
                    if (command[2].Kind != ValueKind::Absent)
                      text += " " + IntegerAnswer(command[2].Integer);
                    Ran.push_back(text);
                  });
  tree.AddCommand("TEST:FAIL", {}, [this](CommandContext &command) {
    Ran.push_back("fail");
    command.Fail(ErrorCode::HardwareError, "the board did not answer");
  });
  tree.AddCommand("TEST:THROw", {}, [](CommandContext &) { throw std::runtime_error("out of order"); });
}

LineResult TestInstrument::Run(std::string_view line) {
  return Commands.Run(line, Answers);
}

std::vector<int> TestInstrument::DrainErrors() {
  std::vector<int> codes;
  while (Commands.Errors().Count() > 0)
    codes.push_back(static_cast<int>(Commands.Errors().Pop().Code));
  return codes;
}

} // namespace vq::remote::test
