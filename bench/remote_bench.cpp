// What reading, checking and running one SCPI command line costs the program, with handlers that do
// nothing: the command layer's own share of a command, before any board request. The tree holds as
// many commands as the instrument's, so finding a header costs what it will.
#include "remote/answers.h"
#include "remote/interpreter.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

namespace {

using namespace vq::remote;

struct Instrument {
  Instrument() {
    CommandTree &tree = interpreter.Commands();
    const auto nothing = [](CommandContext &) {};
    const auto zero = [](CommandContext &command) { command.Answer("0"); };
    tree.AddCommand("*RST", {}, nothing);
    tree.AddQuery("*IDN", {}, [](CommandContext &command) { command.Answer("Maker,Model,0,1.0"); });
    tree.AddCommand("SOURce<1-4>:CODE", {IntegerParameter(0, 65535)},
                    [this](CommandContext &command) { code = command[0].Integer; });
    tree.AddQuery("SOURce<1-4>:CODE", {}, [this](CommandContext &command) { command.Answer(IntegerAnswer(code)); });
    tree.AddCommand("SOURce<1-4>:VOLTage", {VoltageParameter()},
                    [this](CommandContext &command) { volts = command[0].Number; });
    tree.AddQuery("SOURce<1-4>:VOLTage", {}, [this](CommandContext &command) { command.Answer(DecimalAnswer(volts)); });
    for (const char *pattern : {"SOURce:ALL:CODE", "SOURce:ALL:VOLTage", "SOURce<1-4>:GAIN:FINE", "SOURce<1-4>:OFFSet",
                                "SOURce<1-4>:RANGe", "CALibration<1-4>:OFFSet", "CALibration<1-4>:GAIN"})
      tree.AddCommand(pattern, {RealParameter(-1e6, 1e6)}, nothing);
    for (const char *pattern : {"SOURce<1-4>:GAIN:FINE", "SOURce<1-4>:OFFSet", "SOURce<1-4>:RANGe",
                                "MEASure:TEMPerature", "MEASure:TEMPerature:VOLTage"})
      tree.AddQuery(pattern, {}, zero);
    for (const char *pattern : {"FUNCtion:SDO", "FUNCtion:LGOFfset"}) {
      tree.AddCommand(pattern, {BooleanParameter()}, nothing);
      tree.AddQuery(pattern, {}, zero);
    }
    tree.AddCommand("FUNCtion:DIGital<0-1>:DIRection", {WordParameter({"INPut", "OUTPut"})}, nothing);
    tree.AddCommand("FUNCtion:DIGital<0-1>:LEVel", {WordParameter({"HIGH", "LOW"})}, nothing);
    tree.AddCommand("LINE:LDAC", {WordParameter({"PULSe", "HIGH", "LOW"})}, nothing);
    tree.AddCommand("LINE:CODing", {WordParameter({"BINary", "TWOS"})}, nothing);
    tree.AddCommand("LINE:DRIVe<0-1>", {WordParameter({"HIGH", "LOW"})}, nothing);
    tree.AddCommand("LINE:CLR", {}, nothing);
    tree.AddCommand("LINE:RSTin", {}, nothing);
    tree.AddQuery("REGister:READ",
                  {WordParameter({"FUNCtion", "DATA", "COARse", "FINE", "OFFSet"}), IntegerParameter(1, 4)}, zero);
    tree.AddCommand("REGister:WRITe",
                    {WordParameter({"FUNCtion", "DATA", "COARse", "FINE", "OFFSet"}),
                     IntegerParameter(1, 4).OrWords({"ALL"}), IntegerParameter(0, 65535)},
                    nothing);
    tree.AddCommand("SETup:SAVE", {TextParameter()}, nothing);
    tree.AddCommand("SETup:LOAD", {TextParameter()}, nothing);
  }
  Interpreter interpreter;
  int32_t code = 0;
  double volts = 0;
};

// Lines of different codes, made before the run: a sweep sends a new code each time.
template <typename Write> std::vector<std::string> Lines(Write write) {
  std::vector<std::string> lines;
  for (int code = 0; code < 65536; code += 257)
    lines.push_back(write(code));
  return lines;
}

void RunLines(benchmark::State &state, const std::vector<std::string> &lines) {
  Instrument instrument;
  std::vector<std::string> answers;
  std::size_t next = 0;
  for (auto _ : state) {
    answers.clear();
    const LineResult result = instrument.interpreter.Run(lines[next], answers);
    benchmark::DoNotOptimize(result);
    if (++next == lines.size())
      next = 0;
  }
  if (instrument.interpreter.Errors().Count() != 0)
    state.SkipWithError("a line was refused");
}

void BM_SourceCode(benchmark::State &state) {
  RunLines(state, Lines([](int code) { return "SOURce1:CODE " + std::to_string(code); }));
}
BENCHMARK(BM_SourceCode);

void BM_SourceCodeShortHex(benchmark::State &state) {
  RunLines(state, Lines([](int code) {
             static constexpr char Digits[] = "0123456789ABCDEF";
             std::string hex;
             for (int shift = 12; shift >= 0; shift -= 4)
               hex += Digits[(code >> shift) & 15];
             return "sour1:code #H" + hex;
           }));
}
BENCHMARK(BM_SourceCodeShortHex);

void BM_VoltageInMillivolts(benchmark::State &state) {
  RunLines(state, Lines([](int code) { return "SOUR2:VOLT " + std::to_string(code / 16 - 2048) + ".5 MV"; }));
}
BENCHMARK(BM_VoltageInMillivolts);

void BM_CodeQuery(benchmark::State &state) {
  RunLines(state, {"SOUR3:CODE?"});
}
BENCHMARK(BM_CodeQuery);

void BM_FourCodesAndOpc(benchmark::State &state) {
  RunLines(state, {"SOUR1:CODE 1;SOUR2:CODE 2;SOUR3:CODE 3;SOUR4:CODE 4;*OPC?"});
}
BENCHMARK(BM_FourCodesAndOpc);

void BM_RefusedLine(benchmark::State &state) {
  Instrument instrument;
  std::vector<std::string> answers;
  for (auto _ : state) {
    benchmark::DoNotOptimize(instrument.interpreter.Run("SOUR1:CODE 65536", answers));
    instrument.interpreter.Errors().Clear();
  }
}
BENCHMARK(BM_RefusedLine);

} // namespace
