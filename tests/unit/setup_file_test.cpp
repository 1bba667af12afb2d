// BoardSetup files: what a written setup reads back as, and the refusals of files
// that are not setups this program may load, each with the field at fault.
#include "setup/setup_file.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace vq {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

const std::chrono::system_clock::time_point SavedAt{std::chrono::seconds(1796000000)};

// Every register away from its power-on code, lines and options off their
// start levels.
BoardSetup Calibrated() {
  BoardSetup setup;
  for (std::size_t row = 0; row < ReadableRegisters.size(); ++row)
    setup.SetCode(ReadableRegisters[row], static_cast<uint16_t>(0x1357 * (row + 3)));
  setup.SetCode({Register::CoarseGain, Channel::B}, 2);
  setup.SetCode({Register::CoarseGain, Channel::C}, 3); // the code that selects no range
  FunctionWord options;
  options.SdoDisabled = true;
  options.D0Output = true;
  options.D0High = true;
  options.LocalGroundOffsetAdjust = true;
  setup.SetCode(Command::FunctionRegister, options.Bits());
  setup.Lines = {false, false, false, false, true, true};
  setup.PulseAfterDataWrite = false;
  return setup;
}

BoardSetup AtStart() {
  BoardSetup setup;
  for (WordAddress address : ReadableRegisters)
    setup.SetCode(address, 0);
  return setup;
}

TEST(SetupFile, AWrittenSetupReadsBackAsTheSame) {
  for (const BoardSetup &setup : {Calibrated(), AtStart()}) {
    const SetupReading reading = ParseSetup(SetupText(setup, SavedAt));
    ASSERT_TRUE(reading.Value) << reading.Field << ": " << reading.Problem;
    EXPECT_EQ(*reading.Value, setup);
  }
}

TEST(SetupFile, KeepsTheHeaderAndValuesForPeople) {
  const Json file = Json::parse(SetupText(Calibrated(), SavedAt));
  EXPECT_EQ(file["format"], "vq8231-setup");
  EXPECT_EQ(file["version"], 1);
  EXPECT_FALSE(file["program_version"].get<std::string>().empty());
  EXPECT_EQ(file["saved_at"], "2026-11-30T00:53:20Z");
  EXPECT_EQ(file["channels"]["B"]["coarse_gain"]["range_volts"], 4.311);
  EXPECT_TRUE(file["channels"]["C"]["coarse_gain"]["range_volts"].is_null());
  EXPECT_EQ(file["function_register"]["sdo"], "disabled");
  EXPECT_EQ(file["control_lines"]["coding"], "twos-complement");
  // Two's complement 0x8000 is the most negative code.
  BoardSetup setup = AtStart();
  setup.Lines.BinaryCoding = false;
  setup.SetCode({Register::Data, Channel::A}, 0x8000);
  EXPECT_NEAR(Json::parse(SetupText(setup, SavedAt))["channels"]["A"]["data"]["volts"].get<double>(), -4.096, 1e-6);
}

TEST(SetupFile, IgnoresUnknownFieldsAndTheValuesInUnits) {
  Json file = Json::parse(SetupText(Calibrated(), SavedAt));
  file["added_later"] = {1, 2, 3};
  file["channels"]["A"]["data"]["volts"] = "whatever";
  file["channels"]["D"]["offset"]["lsb"] = 99;
  file["control_lines"]["note"] = "for the next version";
  const SetupReading reading = ParseSetup(file.dump());
  ASSERT_TRUE(reading.Value) << reading.Field << ": " << reading.Problem;
  EXPECT_EQ(*reading.Value, Calibrated());
}

TEST(SetupFile, RefusesEveryBadFileWithTheFieldAndTheFault) {
  const std::string good = SetupText(Calibrated(), SavedAt);
  using Edit = std::function<void(Json &)>;
  const struct {
    const char *what;
    std::string text;
    Edit edit;
    std::string field;
    std::string problem;
  } rows[] = {
      {"not JSON", "setup: yes", nullptr, "", "it is not JSON"},
      {"cut short", good.substr(0, good.size() / 2), nullptr, "", "it is not JSON"},
      {"an array", "[1, 2]", nullptr, "", "it holds an array, not a setup object"},
      {"another format", good, [](Json &j) { j["format"] = "spreadsheet"; }, "format", "not a setup file"},
      {"no format", good, [](Json &j) { j.erase("format"); }, "format", "is missing"},
      {"a newer version", good, [](Json &j) { j["version"] = 2; }, "version", "newer than this program reads"},
      {"version 0", good, [](Json &j) { j["version"] = 0; }, "version", "0 is out of range (1 to 1)"},
      {"version as text", good, [](Json &j) { j["version"] = "1"; }, "version", "is a text, not a whole number"},
      {"no channel B", good, [](Json &j) { j["channels"].erase("B"); }, "channels.B", "is missing"},
      {"channels as array", good, [](Json &j) { j["channels"] = Json::array(); }, "channels",
       "is an array, not an object"},
      {"no offset code", good, [](Json &j) { j["channels"]["C"]["offset"].erase("code"); }, "channels.C.offset.code",
       "is missing"},
      {"offset above its register", good, [](Json &j) { j["channels"]["C"]["offset"]["code"] = 256; },
       "channels.C.offset.code", "256 is out of range (0 to 255)"},
      {"coarse gain above its register", good, [](Json &j) { j["channels"]["A"]["coarse_gain"]["code"] = 4; },
       "channels.A.coarse_gain.code", "4 is out of range (0 to 3)"},
      {"fine gain below zero", good, [](Json &j) { j["channels"]["D"]["fine_gain"]["code"] = -1; },
       "channels.D.fine_gain.code", "-1 is out of range (0 to 63)"},
      {"data above 16 bits", good, [](Json &j) { j["channels"]["B"]["data"]["code"] = 65536; }, "channels.B.data.code",
       "65536 is out of range (0 to 65535)"},
      {"a fraction", good, [](Json &j) { j["channels"]["B"]["data"]["code"] = 12.5; }, "channels.B.data.code",
       "is not a whole number"},
      {"a code as text", good, [](Json &j) { j["channels"]["A"]["data"]["code"] = "0x10"; }, "channels.A.data.code",
       "is a text, not a whole number"},
      {"a huge code", good, [](Json &j) { j["channels"]["A"]["data"]["code"] = 18446744073709551615u; },
       "channels.A.data.code", "out of range"},
      {"an unknown coding", good, [](Json &j) { j["control_lines"]["coding"] = "gray"; }, "control_lines.coding",
       "is \"gray\"; it takes \"binary\" or \"twos-complement\""},
      {"a level as number", good, [](Json &j) { j["control_lines"]["rstin"] = 1; }, "control_lines.rstin",
       "is a number, not a text"},
      {"pulse as text", good, [](Json &j) { j["control_lines"]["pulse_after_data_write"] = "yes"; },
       "control_lines.pulse_after_data_write", "not true or false"},
      {"SDO unknown", good, [](Json &j) { j["function_register"]["sdo"] = "maybe"; }, "function_register.sdo",
       "is \"maybe\""},
      {"a direction as true", good, [](Json &j) { j["function_register"]["d0"]["direction"] = true; },
       "function_register.d0.direction", "not a text"},
      {"no D1 direction", good, [](Json &j) { j["function_register"]["d1"].erase("direction"); },
       "function_register.d1.direction", "is missing"},
      {"no function register", good, [](Json &j) { j.erase("function_register"); }, "function_register", "is missing"},
      {"no time", good, [](Json &j) { j["saved_at"] = nullptr; }, "saved_at", "is null, not a text"},
      {"over 1 MiB", good + std::string(LargestSetupFile, ' '), nullptr, "", "larger than 1 MiB"},
  };
  for (const auto &row : rows) {
    std::string text = row.text;
    if (row.edit) {
      Json file = Json::parse(text);
      row.edit(file);
      text = file.dump();
    }
    const SetupReading reading = ParseSetup(text);
    EXPECT_FALSE(reading.Value) << row.what;
    EXPECT_EQ(reading.Field, row.field) << row.what;
    EXPECT_NE(reading.Problem.find(row.problem), std::string::npos) << row.what << ": " << reading.Problem;
  }
}

#if !defined(_WIN32) // folders made with mkdtemp, permissions taken away
class SetupFileOnDisk : public ::testing::Test {
protected:
  void SetUp() override {
    char name[] = "/tmp/vq-setup-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
  }
  void TearDown() override { fs::remove_all(folder_); }
  static std::string Contents(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path folder_;
};

TEST_F(SetupFileOnDisk, SavesAndOpensAFile) {
  const std::string path = (folder_ / "bench.json").string();
  ASSERT_TRUE(WriteSetupFile(path, Calibrated(), SavedAt).Written());
  const SetupFileReading reading = ReadSetupFile(path);
  ASSERT_TRUE(reading.Value) << reading.Message;
  EXPECT_EQ(*reading.Value, Calibrated());
}

TEST_F(SetupFileOnDisk, ARefusalNamesTheFileTheFieldAndTheFault) {
  const fs::path path = folder_ / "bench.json";
  Json file = Json::parse(SetupText(Calibrated(), SavedAt));
  file["channels"]["C"]["offset"]["code"] = 300;
  std::ofstream(path) << file.dump();
  EXPECT_EQ(ReadSetupFile(path.string()).Message,
            "The setup \"" + path.string() +
                "\" was not opened: field \"channels.C.offset.code\" 300 is out of range (0 to 255). Nothing was "
                "written to the board.");
  EXPECT_NE(ReadSetupFile((folder_ / "absent.json").string()).Message.find("the file cannot be read"),
            std::string::npos);
  EXPECT_NE(ReadSetupFile(folder_.string()).Message.find("reading the file failed"), std::string::npos);
}

TEST_F(SetupFileOnDisk, AFailedSaveLeavesThePreviousFileAsItWas) {
  const fs::path path = folder_ / "bench.json";
  ASSERT_TRUE(WriteSetupFile(path.string(), AtStart(), SavedAt).Written());
  const std::string before = Contents(path);

  BoardSetup partial = Calibrated();
  partial.Codes[5].reset(); // DAC B coarse gain
  partial.Codes[16].reset();
  const WriteResult refused = WriteSetupFile(path.string(), partial, SavedAt);
  EXPECT_FALSE(refused.Written());
  EXPECT_NE(refused.Message.find("DAC B coarse gain, function register"), std::string::npos) << refused.Message;
  EXPECT_EQ(Contents(path), before);

  if (geteuid() == 0)
    return; // root writes anywhere
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  const WriteResult failed = WriteSetupFile(path.string(), Calibrated(), SavedAt);
  fs::permissions(folder_, fs::perms::owner_all);
  EXPECT_FALSE(failed.Written());
  EXPECT_EQ(Contents(path), before);
}
#endif

} // namespace
} // namespace vq
