// A made-up instrument on the SCPI command layer: its handlers only write down what they were given,
// so the tests see exactly what ran, with which suffixes and values.
#pragma once

#include "remote/interpreter.h"

#include <string>
#include <string_view>
#include <vector>

namespace vq::remote::test {

//   OUTPut<1-4>:LEVel <volts -10..10>     and ?      "level <n> <volts>"
//   OUTPut<1-4>:COUNt <0..65535>          and ?      "count <n> <code>"
//   OUTPut<1-4>:STATe ON|OFF                         "state <n> ON|OFF"
//   PORT<0-1>:MODE INPut|OUTPut           and ?      "mode <n> INP|OUTP"
//   LOG:NAME "<text>"                                "name <text>"
//   LOG:PICK <1..4|ALL>                              "pick <n>|pick ALL"
//   [DEVice]:RATE <0.5..100>                         "rate <value>"
//   PAIR <int>,<int>[,<int>]                         "pair a b [c]"
//   TEST:FAIL                                        fails with HardwareError "the board did not answer"
//   TEST:THROw                                       throws std::runtime_error
class TestInstrument {
public:
  TestInstrument();

  LineResult Run(std::string_view line);
  // The queued errors' codes, oldest first, taken off the queue.
  std::vector<int> DrainErrors();

  Interpreter Commands;
  std::vector<std::string> Ran;
  std::vector<std::string> Answers;
};

} // namespace vq::remote::test
