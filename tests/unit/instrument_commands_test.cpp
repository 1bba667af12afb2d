// The bench instrument's commands on a recording board: the exact requests
// of each command, its answers, and the error it queues (nothing sent for a
// refused one).
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "boardlog/register_model.h"
#include "instrument/bench_instrument.h"
#include "tests/support/recording_link.h"
#include "version/version.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <string>
#include <vector>

namespace vq {
namespace {

using Lines = std::vector<std::string>;

struct Bench {
  Bench() { link.AddCallListener(&model); }
  // Runs each line, forgets what they sent, and the errors they queued.
  void Prepare(const Lines &lines) {
    for (const std::string &line : lines)
      Run(line);
    link.Take();
    answers.clear();
    instrument.Interpreter().Errors().Clear();
  }
  void Run(std::string_view line) { instrument.Run(line, answers); }
  int NextError() { return static_cast<int>(instrument.Interpreter().Errors().Pop().Code); }
  std::string NextErrorDetail() { return instrument.Interpreter().Errors().Pop().Detail; }

  test::RecordingLink link;
  RegisterModel model;
  SerialAccess serial{link};
  BenchInstrument instrument{serial, model, {3}};
  Lines answers;
};

// The two transfers of a register read.
Lines Read(WordAddress address) {
  return test::ReadLines(address);
}

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines &part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

const WordAddress CoarseA{Register::CoarseGain, Channel::A};
const WordAddress CoarseB{Register::CoarseGain, Channel::B};

// Counts the calls the board link makes.
struct RecordingListener : BoardCallListener {
  void OnBoardCall(const BoardCall &) override { ++Calls; }
  int Calls = 0;
};

struct Row {
  const char *name;
  Lines before;
  std::string line;
  Lines requests;
  Lines answers;
  int error = 0;
};

TEST(BenchInstrument, EachCommandSendsItsRequestsAndAnswers) {
  const Row rows[] = {
      {"code, LDAC pulsed", {}, "SOUR2:CODE 40768", {"D9 out v=11 i=9F40"}, {}},
      {"code to all DACs", {}, "SOUR:ALL:CODE #HFFFF", {"D9 out v=14 i=FFFF"}, {}},
      {"code without pulse", {"LINE:LDAC HIGH"}, "SOUR4:CODE 1", {"DD out v=13 i=1"}, {}},
      {"voltage: range read, then the write", {}, "SOUR2:VOLT 1", Join({Read(CoarseB), {"D9 out v=11 i=9F40"}}), {}},
      {"voltage in mV, two's complement",
       {"LINE:COD TWOS"},
       "SOUR2:VOLT -500 mV",
       Join({Read(CoarseB), {"D9 out v=11 i=F060"}}),
       {}},
      {"voltage for all takes DAC A's range", {}, "SOUR:ALL:VOLT 0", Join({Read(CoarseA), {"D9 out v=14 i=8000"}}), {}},
      {"voltage beyond the channel's range: read, nothing written", {}, "SOUR2:VOLT 4.2", Read(CoarseB), {}, -222},
      {"voltage beyond every range: nothing sent", {}, "SOUR2:VOLT 4.4", {}, {}, -222},
      {"range", {}, "SOUR3:RANG 4.201", {"D9 out v=1A i=1"}, {}},
      {"range not one of three", {}, "SOUR3:RANG 4.2", {}, {}, -224},
      {"fine gain negative", {}, "SOUR1:GAIN:FINE -1", {"D9 out v=20 i=3F"}, {}},
      {"fine gain beyond its limit", {}, "SOUR1:GAIN:FINE 32", {}, {}, -222},
      {"offset", {}, "SOUR4:OFFS -0.5", {"D9 out v=2B i=FC"}, {}},
      {"offset beyond its limit", {}, "SOUR4:OFFS 16", {}, {}, -222},
      {"code query reads as Read Register",
       {},
       "SOUR2:CODE?",
       Join({{"DD out v=1 i=0"}, Read({Register::Data, Channel::B})}),
       {"0"}},
      {"SDO enabled in the word, other options kept",
       {"FUNC:LGOF ON"},
       "SOUR1:GAIN:FINE?",
       Join({{"DD out v=1 i=20"}, Read({Register::FineGain, Channel::A})}),
       {"0"}},
      {"a query of all DACs is undefined", {}, "SOUR:ALL:CODE?", {}, {}, -113},
      {"SDO off", {}, "FUNC:SDO OFF", {"DD out v=1 i=1"}, {}},
      {"D0 to input: word, then 0xDB",
       {"FUNC:DIG0:DIR OUTP"},
       "FUNC:DIG0:DIR INP",
       {"DD out v=1 i=0", "DB in v=1"},
       {}},
      {"D1 to output: 0xDC, then word", {}, "FUNC:DIG1:DIR OUTP", {"DC in v=0", "DD out v=1 i=10"}, {}},
      {"level of an output line", {"FUNC:DIG1:DIR OUTP"}, "FUNC:DIG1:LEV HIGH", {"DD out v=1 i=18"}, {}},
      {"level of an input line", {}, "FUNC:DIG0:LEV HIGH", {}, {}, -221},
      {"direction answered as set", {"FUNC:DIG1:DIR OUTP"}, "FUNC:DIG1:DIR?;DIG0:DIR?", {}, {}, -113},
      {"direction answered as set", {"FUNC:DIG1:DIR OUTP"}, "FUNC:DIG1:DIR?;:FUNC:DIG0:DIR?", {}, {"OUTP", "INP"}},
      {"coding line", {}, "LINE:COD TWOS", {"DE out v=9B i=0"}, {}},
      {"LDAC low stops pulsing", {}, "LINE:LDAC LOW;:LINE:LDAC?", {"DE out v=8F i=0"}, {"LOW"}},
      {"CLR low", {}, "LINE:CLR LOW", {"DE out v=97 i=0"}, {}},
      {"RSTIN low", {}, "LINE:RST LOW", {"DE out v=9D i=0"}, {}},
      {"drive D1 high while the board drives it", {}, "LINE:DRIV1 HIGH", {"DE out v=9F i=2"}, {}},
      {"drive a line the converter drives", {"FUNC:DIG0:DIR OUTP"}, "LINE:DRIV0 HIGH", {}, {}, -221},
      {"lines answered as set", {"LINE:COD TWOS"}, "LINE:COD?;:LINE:CLR?;:LINE:LDAC?", {}, {"TWOS", "HIGH", "PULS"}},
      {"register read",
       {},
       "REG:READ? COAR,3",
       Join({{"DD out v=1 i=0"}, Read({Register::CoarseGain, Channel::C})}),
       {"0"}},
      {"register write to all", {}, "REG:WRIT OFFS,ALL,255", {"D9 out v=2C i=FF"}, {}},
      {"function register write keeps its options",
       {},
       "REG:WRIT FUNC,1,#H22;:FUNC:SDO OFF",
       {"DD out v=1 i=22", "DD out v=1 i=23"},
       {}},
      {"register write above the register's largest", {}, "REG:WRIT COAR,1,3", {}, {}, -222},
      {"identity", {}, "*IDN?", {}, {std::string("VQ8231 Evaluation Software,VQ8231,3,") + FullVersion}},
  };
  for (const Row &row : rows) {
    Bench bench;
    bench.Prepare(row.before);
    bench.Run(row.line);
    EXPECT_EQ(bench.link.Take(), row.requests) << row.name;
    EXPECT_EQ(bench.answers, row.answers) << row.name;
    EXPECT_EQ(bench.NextError(), row.error) << row.name;
  }
}

// What the bound commands refuse before anything runs: the error, and not one request.
TEST(BenchInstrument, RefusedLinesSendNothing) {
  const struct {
    const char *line;
    int error;
  } rows[] = {
      {"SOUR5:CODE 1", -114},       {"SOUR0:VOLT 1", -114},
      {"FUNC:DIG2:DIR INP", -114},  {"CAL:ALL:OFFS 0", -113},
      {"SOUR:ALL:VOLT?", -113},     {"MEAS:TEMP 1", -113},
      {"SOUR1:CODE", -109},         {"REG:WRIT DATA,1", -109},
      {"SOUR1:CODE 1,2", -108},     {"REG:READ? DATA,1,2", -108},
      {"SOUR1:CODE 65536", -222},   {"SOUR1:CODE -1", -222},
      {"SOUR1:CODE #H10000", -222}, {"SOUR1:OFFS -16.5", -222},
      {"SOUR1:VOLT 5000 mV", -222}, {"SOUR1:CODE 1 V", -104},
      {"SOUR1:VOLT 1 A", -104},     {"SOUR1:VOLT HIGH", -104},
      {"LINE:COD 1", -104},         {"SOUR1:RANG 5", -224},
      {"LINE:LDAC MAYBE", -224},    {"REG:READ? VOLT,1", -224},
      {"SOUR1:CODE #HFG", -102},    {"SOUR1:CODE 1;:SOUR1:CODE 70000", -222}, // the first command does not run either
  };
  for (const auto &row : rows) {
    Bench bench;
    bench.Run(row.line);
    EXPECT_EQ(bench.link.Take(), Lines{}) << row.line;
    EXPECT_EQ(bench.NextError(), row.error) << row.line;
  }
}

TEST(BenchInstrument, QueriesConvertWhatTheyRead) {
  const struct {
    const char *name;
    Lines before;
    WordAddress address;
    int32_t content;
    std::string query;
    std::string answer;
  } rows[] = {
      {"volts, binary", {}, {Register::Data, Channel::B}, 0x9F40, "SOUR2:VOLT?", "1.000000"},
      {"volts, two's complement as signed",
       {"LINE:COD TWOS"},
       {Register::Data, Channel::B},
       0xF060,
       "SOUR2:VOLT?",
       "-0.500000"},
      {"range", {}, {Register::CoarseGain, Channel::D}, 2, "SOUR4:RANG?", "4.311000"},
      {"fine gain", {}, {Register::FineGain, Channel::A}, 63, "SOUR:GAIN:FINE?", "-1"},
      {"offset", {}, {Register::Offset, Channel::A}, 0xFC, "SOUR:OFFS?", "-0.500000"},
      {"level the converter reports", {}, Command::FunctionRegister, 0x02, "FUNC:DIG0:LEV?", "HIGH"},
  };
  for (const auto &row : rows) {
    Bench bench;
    bench.Prepare(row.before);
    bench.link.SetRegister(row.address, row.content);
    bench.Run(row.query);
    EXPECT_EQ(bench.answers, Lines{row.answer}) << row.name;
    EXPECT_EQ(bench.NextError(), 0) << row.name;
  }
}

TEST(BenchInstrument, VoltageTakesTheKnownRangeWhenTheReadCannotTellIt) {
  Bench bench;
  // Range 4.311 V written for DAC B: the model knows it.
  bench.Prepare({"SOUR2:RANG 4.311", "FUNC:SDO OFF"});
  // While SDO is off every read returns all ones.
  bench.link.SetRegister(CoarseB, 0xFFFF);
  bench.Run("SOUR2:VOLT 4.2");
  EXPECT_EQ(bench.link.Take(), Join({Read(CoarseB), {"D9 out v=11 i=FCB4"}}));
  EXPECT_EQ(bench.NextError(), 0);

  // Nothing known of DAC C's range: a settings conflict, nothing written.
  bench.link.SetRegister({Register::CoarseGain, Channel::C}, 0xFFFF);
  bench.Run("SOUR3:VOLT 1");
  EXPECT_EQ(bench.link.Take(), Read({Register::CoarseGain, Channel::C}));
  EXPECT_EQ(bench.NextError(), -221);
}

TEST(BenchInstrument, AFailedRequestQueuesHardwareErrorWithTheReason) {
  Bench bench;
  bench.link.NameStatusesByTable();
  bench.link.RequestStatus = StatusValue(BoardStatus::Gone);
  bench.Run("SOUR2:CODE 5;:SOUR2:CODE 6");
  // The line ends at the first failure.
  EXPECT_EQ(bench.link.Take(), Lines{"D9 out v=11 i=5"});
  ASSERT_EQ(bench.instrument.Interpreter().Errors().Count(), 1u);
  EXPECT_EQ(bench.NextErrorDetail(), "the board is gone (status 4): Write data register, DAC B");
  ASSERT_TRUE(bench.instrument.LastFailure());
  EXPECT_EQ(bench.instrument.LastFailure()->Status, StatusValue(BoardStatus::Gone));

  // A query whose read failed gives no answer; a library without our table
  // still gives its status.
  bench.link.RequestStatus = 77;
  Bench plain;
  plain.link.RequestStatus = 77;
  plain.Run("MEAS:TEMP?");
  EXPECT_TRUE(plain.answers.empty());
  EXPECT_EQ(plain.NextErrorDetail().substr(0, 17), "failed (status 77");
}

TEST(BenchInstrument, TemperatureIsTheLastOfThreeSamples) {
  Bench bench;
  bench.link.EarlierSamples = {100, 200};
  bench.link.Sample = 1000; // 0.803223 V
  bench.Run("MEAS:TEMP:VOLT?;:MEAS:TEMP?");
  const Lines measurement = {"DD out v=1 i=1", "DA in v=0 len=2", "DA in v=0 len=2", "DA in v=0 len=2"};
  EXPECT_EQ(bench.link.Take(), Join({measurement, measurement}));
  ASSERT_EQ(bench.answers.size(), 2u);
  EXPECT_EQ(bench.answers[0], "0.803223");
  EXPECT_EQ(bench.answers[1], "-110.747070");

  bench.link.Sample = -1; // the top bit set: no reading
  bench.Run("MEAS:TEMP?");
  EXPECT_EQ(bench.NextError(), -240);
}

TEST(BenchInstrument, CalibrationStagesWriteTheirCorrections) {
  Bench bench;
  bench.Run("CAL2:OFFS 1 mV");
  // 1 mV high on +-4.096 V is 8 LSB: the offset goes to -8.
  EXPECT_EQ(bench.link.Take(), Join({Read(CoarseB), Read({Register::Offset, Channel::B}), {"D9 out v=29 i=C0"}}));
  bench.Run("CAL2:GAIN -4.0955");
  EXPECT_EQ(bench.link.Take(), Join({Read(CoarseB), Read({Register::FineGain, Channel::B}), {"D9 out v=21 i=8"}}));
  EXPECT_EQ(bench.NextError(), 0);
  // A zero-scale reading that is no zero-scale reading: nothing written.
  bench.Run("CAL2:GAIN 0");
  EXPECT_EQ(bench.link.Take(), Join({Read(CoarseB), Read({Register::FineGain, Channel::B})}));
  EXPECT_EQ(bench.NextError(), -222);
}

TEST(BenchInstrument, StartOptionsAreKeptByFunctionCommands) {
  Bench bench;
  bench.link.SetRegister(Command::FunctionRegister, 0x34); // LGO, D1 output, D0 output
  EXPECT_EQ(bench.instrument.ReadStartOptions(), BoardStatus::Success);
  bench.link.Take();
  bench.Run("FUNC:SDO OFF");
  EXPECT_EQ(bench.link.Take(), Lines{"DD out v=1 i=35"});
}

// The simulated board through the library path, its session run.
struct SimulatedBench {
  SimulatedBench() {
    session.ProgramDirectory = VQ_BIN_DIR;
    session.SetFirmwarePath();
    session.CopyFirmwarePath(session.FirmwarePath);
    started = link.DownloadSucceeded(link.ConnectAndDownload(session));
    link.AddCallListener(&model);
  }
  FourOperationLink link{FourOperationLibraryPath(VQ_BIN_DIR)};
  BoardSession session;
  bool started = false;
  RegisterModel model;
  SerialAccess serial{link};
  BenchInstrument instrument{serial, model, {}};
};

// The library path to the simulated board: what is written reads back.
TEST(BenchInstrument, DrivesTheSimulatedBoard) {
  SimulatedBench board;
  ASSERT_TRUE(board.started);
  BenchInstrument &instrument = board.instrument;
  EXPECT_EQ(instrument.ReadStartOptions(), BoardStatus::Success);
  Lines answers;
  instrument.Run("*RST;SOUR2:RANG 4.201;SOUR2:VOLT -1.5;SOUR2:VOLT?;SOUR2:RANG?;SOUR:ALL:CODE 7;SOUR4:CODE?;"
                 "REG:WRIT FINE,3,#H3F;REG:READ? FINE,3;SOUR3:GAIN:FINE?;FUNC:DIG1:DIR OUTP;FUNC:DIG1:LEV HIGH;"
                 "FUNC:DIG1:LEV?",
                 answers);
  EXPECT_EQ(answers, (Lines{"-1.499991", "4.201000", "7", "63", "-1", "HIGH"}));
  EXPECT_EQ(instrument.Interpreter().Errors().Pop().Detail, "");
  instrument.Run("MEAS:TEMP?", answers);
  ASSERT_EQ(answers.size(), 7u);
  EXPECT_NEAR(std::stod(answers.back()), 25.0, 3.0);
}

// A setup saved by SETup:SAVE comes back with SETup:LOAD; a name the rule
// refuses and a file that cannot be read send nothing.
TEST(BenchInstrument, SetupsGoToFilesAndComeBack) {
  SimulatedBench board;
  ASSERT_TRUE(board.started);
  BenchInstrument &instrument = board.instrument;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("vq-setup-commands-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "bench.json").string();
  Lines answers;
  instrument.Run("*RST;SOUR2:RANG 4.311;SOUR2:CODE 40000;SOUR3:OFFS -2;LINE:COD TWOS", answers);
  instrument.Run("SETup:SAVE \"" + file + "\"", answers);
  instrument.Run("*RST;SOUR2:CODE 1;SOUR2:RANG 4.096;SOUR3:OFFS 0", answers);
  instrument.Run("SETup:LOAD \"" + file + "\";SOUR2:CODE?;SOUR2:RANG?;SOUR3:OFFS?;LINE:COD?", answers);
  EXPECT_EQ(answers, (Lines{"40000", "4.311000", "-2.000000", "TWOS"}));
  EXPECT_EQ(instrument.Interpreter().Errors().Count(), 0u) << instrument.Interpreter().Errors().Pop().Detail;

  instrument.Run("SETup:LOAD \"" + (folder / "none.json").string() + "\"", answers);
  EXPECT_EQ(instrument.Interpreter().Errors().Pop().Code, remote::ErrorCode::MassStorageError);
  instrument.NameSetupFilesBy([](const std::string &name, std::string &why) -> std::optional<std::string> {
    why = "not in the setup folder: " + name;
    return std::nullopt;
  });
  RecordingListener heard;
  board.link.AddCallListener(&heard);
  instrument.Run("SETup:SAVE \"bench.json\"", answers);
  instrument.Run("SETup:LOAD \"bench.json\"", answers);
  board.link.RemoveCallListener(&heard);
  EXPECT_EQ(heard.Calls, 0);
  const remote::QueuedError refused = instrument.Interpreter().Errors().Pop();
  EXPECT_EQ(refused.Code, remote::ErrorCode::IllegalParameterValue);
  EXPECT_EQ(refused.Detail, "not in the setup folder: bench.json");
  std::filesystem::remove_all(folder);
}

} // namespace
} // namespace vq
