// FUNCtion: the converter's options, written as the window's function
// switches write them (all six in one word, the board's D0/D1 direction
// request around it). LINE: the board's control lines, as the hardware
// switches set them: every setting sends every line. The lines cannot be
// read back, so their queries answer what was last set.
#include "instrument/bench_commands.h"

#include "remote/answers.h"

namespace vq {

namespace {

using remote::CommandContext;
using remote::ErrorCode;

DigitalLine LineOfSuffix(int32_t suffix) {
  return suffix == 0 ? DigitalLine::D0 : DigitalLine::D1;
}

bool &OutputFlag(FunctionWord &options, DigitalLine line) {
  return line == DigitalLine::D0 ? options.D0Output : options.D1Output;
}

bool &HighFlag(FunctionWord &options, DigitalLine line) {
  return line == DigitalLine::D0 ? options.D0High : options.D1High;
}

bool &DriveFlag(ControlLines &lines, DigitalLine line) {
  return line == DigitalLine::D0 ? lines.DriveD0 : lines.DriveD1;
}

std::string LineName(DigitalLine line) {
  return line == DigitalLine::D0 ? "D0" : "D1";
}

// ON/OFF option: its setting writes the function word, its query answers the
// option as last written.
void AddOption(remote::CommandTree &tree, BenchContext &bench, const char *pattern, bool FunctionWord::*option,
               bool onMeans) {
  tree.AddCommand(pattern, {remote::BooleanParameter()}, OnBench(bench, [&bench, option, onMeans](CommandContext &c) {
                    bench.Settings.Options.*option = c[0].On == onMeans;
                    WriteFunctionWord(bench);
                    RequestsSucceeded(bench, c);
                  }));
  tree.AddQuery(pattern, {}, [&bench, option, onMeans](CommandContext &c) {
    c.Answer(std::string(remote::BooleanAnswer((bench.Settings.Options.*option) == onMeans)));
  });
}

const std::initializer_list<std::string_view> HighLow = {"HIGH", "LOW"};

// A HIGH/LOW control line of the board.
void AddLevelLine(remote::CommandTree &tree, BenchContext &bench, const char *pattern, bool ControlLines::*line) {
  tree.AddCommand(pattern, {remote::WordParameter(HighLow)}, OnBench(bench, [&bench, line](CommandContext &c) {
                    bench.Settings.Lines.*line = c[0].Word == 0;
                    bench.Serial.SetControlLines(bench.Settings.Lines);
                    RequestsSucceeded(bench, c);
                  }));
  tree.AddQuery(pattern, {}, [&bench, line](CommandContext &c) {
    c.Answer(std::string(remote::WordAnswer(bench.Settings.Lines.*line ? "HIGH" : "LOW")));
  });
}

void AddFunctionCommands(remote::CommandTree &tree, BenchContext &bench) {
  AddOption(tree, bench, "FUNCtion:SDO", &FunctionWord::SdoDisabled, false);
  AddOption(tree, bench, "FUNCtion:LGOFfset", &FunctionWord::LocalGroundOffsetAdjust, true);

  tree.AddCommand("FUNCtion:DIGital<0-1>:DIRection", {remote::WordParameter({"INPut", "OUTPut"})},
                  OnBench(bench, [&bench](CommandContext &c) {
                    TurnLine(bench, LineOfSuffix(c.Suffix()), c[0].Word == 1);
                    RequestsSucceeded(bench, c);
                  }));
  tree.AddQuery("FUNCtion:DIGital<0-1>:DIRection", {}, [&bench](CommandContext &c) {
    const bool output = OutputFlag(bench.Settings.Options, LineOfSuffix(c.Suffix()));
    c.Answer(std::string(remote::WordAnswer(output ? "OUTPut" : "INPut")));
  });

  tree.AddCommand("FUNCtion:DIGital<0-1>:LEVel", {remote::WordParameter(HighLow)},
                  OnBench(bench, [&bench](CommandContext &c) {
                    const DigitalLine line = LineOfSuffix(c.Suffix());
                    // The converter's level only counts while it drives the line.
                    if (!OutputFlag(bench.Settings.Options, line)) {
                      c.Fail(ErrorCode::SettingsConflict, LineName(line) + " is an input of the converter");
                      return;
                    }
                    HighFlag(bench.Settings.Options, line) = c[0].Word == 0;
                    WriteFunctionWord(bench);
                    RequestsSucceeded(bench, c);
                  }));
  tree.AddQuery("FUNCtion:DIGital<0-1>:LEVel", {}, OnBench(bench, [&bench](CommandContext &c) {
                  // The level the converter reports, driven by it or by the board.
                  const Reading<int32_t> read = ReadAsReadRegister(bench, Command::FunctionRegister);
                  if (!RequestsSucceeded(bench, c))
                    return;
                  FunctionWord reported = FunctionWord::FromBits(read.Value);
                  const bool high = HighFlag(reported, LineOfSuffix(c.Suffix()));
                  c.Answer(std::string(remote::WordAnswer(high ? "HIGH" : "LOW")));
                }));
}

void AddLineCommands(remote::CommandTree &tree, BenchContext &bench) {
  // PULSe: LDAC high and pulsed after each write, as the window's "Pulse
  // After Data Write" box sets it; HIGH and LOW hold it without pulses.
  tree.AddCommand("LINE:LDAC", {remote::WordParameter({"PULSe", "HIGH", "LOW"})},
                  OnBench(bench, [&bench](CommandContext &c) {
                    bench.Settings.PulseAfterDataWrite = c[0].Word == 0;
                    bench.Settings.Lines.Ldac = c[0].Word != 2;
                    bench.Serial.SetControlLines(bench.Settings.Lines);
                    RequestsSucceeded(bench, c);
                  }));
  tree.AddQuery("LINE:LDAC", {}, [&bench](CommandContext &c) {
    const char *state = bench.Settings.PulseAfterDataWrite ? "PULSe" : bench.Settings.Lines.Ldac ? "HIGH" : "LOW";
    c.Answer(std::string(remote::WordAnswer(state)));
  });
  AddLevelLine(tree, bench, "LINE:CLR", &ControlLines::Clr);
  AddLevelLine(tree, bench, "LINE:RSTin", &ControlLines::Rstin);

  tree.AddCommand("LINE:CODing", {remote::WordParameter({"BINary", "TWOS"})},
                  OnBench(bench, [&bench](CommandContext &c) {
                    bench.Settings.Lines.BinaryCoding = c[0].Word == 0;
                    bench.Serial.SetControlLines(bench.Settings.Lines);
                    RequestsSucceeded(bench, c);
                  }));
  tree.AddQuery("LINE:CODing", {}, [&bench](CommandContext &c) {
    c.Answer(std::string(remote::WordAnswer(bench.Settings.Lines.BinaryCoding ? "BINary" : "TWOS")));
  });

  tree.AddCommand("LINE:DRIVe<0-1>", {remote::WordParameter(HighLow)}, OnBench(bench, [&bench](CommandContext &c) {
                    const DigitalLine line = LineOfSuffix(c.Suffix());
                    // The board drives the line only while the converter does not.
                    if (OutputFlag(bench.Settings.Options, line)) {
                      c.Fail(ErrorCode::SettingsConflict, LineName(line) + " is driven by the converter");
                      return;
                    }
                    DriveFlag(bench.Settings.Lines, line) = c[0].Word == 0;
                    bench.Serial.SetControlLines(bench.Settings.Lines);
                    RequestsSucceeded(bench, c);
                  }));
  tree.AddQuery("LINE:DRIVe<0-1>", {}, [&bench](CommandContext &c) {
    const bool high = DriveFlag(bench.Settings.Lines, LineOfSuffix(c.Suffix()));
    c.Answer(std::string(remote::WordAnswer(high ? "HIGH" : "LOW")));
  });
}

} // namespace

void AddSwitchCommands(remote::CommandTree &tree, BenchContext &bench) {
  AddFunctionCommands(tree, bench);
  AddLineCommands(tree, bench);
}

} // namespace vq
