// Which firmware files the simulated board accepts.
#include "simboard/firmware_file.h"
#include "simboard/intel_hex.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>

namespace vq::sim {
namespace {

const std::string Data = ":0400000001020304F2\n";
const std::string End = ":00000001FF\n";

TEST(SimulatedFirmware, AcceptsEveryWellFormedImageOnly) {
  struct Case {
    const char *what;
    std::string image;
    bool valid;
    const char *problem; // part of the message
  };
  const Case cases[] = {
      {"data and end", Data + End, true, ""},
      {"CR LF line ends, lower case digits, no final line end", ":0400000001020304f2\r\n:00000001FF", true, ""},
      {"address records", ":020000040800F2\n:0400000501020304ED\n" + Data + End, true, ""},
      {"blank lines after the end", Data + End + "\n\r\n", true, ""},
      {"empty", "", false, "empty"},
      {"no end record", Data, false, "no end-of-file"},
      {"only the end record", End, false, "no data"},
      {"record after the end", Data + End + Data, false, "Line 3 follows"},
      {"blank line before the end", Data + "\n" + End, false, "Line 2 is empty"},
      {"missing colon", "0400000001020304F2\n" + End, false, "Line 1 does not start"},
      {"wrong checksum", ":0400000001020304F3\n" + End, false, "checksum"},
      {"count larger than the data", ":0500000001020304F1\n" + End, false, "byte count"},
      {"odd digit count", ":0400000001020304F2F\n" + End, false, "odd"},
      {"not hex", ":04000000010203G4F2\n" + End, false, "not a hex digit"},
      {"too short", ":0000\n" + End, false, "too short"},
      {"unknown type", ":00000006FA\n" + End, false, "unknown record type"},
      {"end record with data", Data + ":01000001FFFF\n", false, "wrong length"},
      {"stray control character", Data + End + "\x1a", false, "follows"},
      {"huge line", ":" + std::string(1 << 20, '0') + "\n" + End, false, "longer than any record"},
      {"embedded zero byte", Data.substr(0, 5) + std::string(1, '\0') + Data.substr(6) + End, false, "not a hex"},
  };
  for (const Case &c : cases) {
    const HexCheck check = CheckIntelHex(c.image);
    EXPECT_EQ(check.Valid, c.valid) << c.what << ": " << check.Problem;
    EXPECT_NE(check.Problem.find(c.problem), std::string::npos) << c.what << ": " << check.Problem;
  }
}

// Any one character changed inside a record must be caught: by the checksum,
// the byte count, the record syntax or the record type.
TEST(SimulatedFirmware, EverySingleCharacterChangeIsRejected) {
  const std::string image = ":020000040800F2\n" + Data + End;
  ASSERT_TRUE(CheckIntelHex(image).Valid);
  auto sameDigit = [](char a, char b) { return std::tolower(a) == std::tolower(b); };
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (image[i] == '\n')
      continue;
    for (char replacement : {'0', '7', 'F', 'a', 'g', ':', ' ', '\0', '\n'}) {
      if (sameDigit(replacement, image[i]))
        continue;
      std::string changed = image;
      changed[i] = replacement;
      EXPECT_FALSE(CheckIntelHex(changed).Valid) << "position " << i << " changed to code " << int(replacement);
    }
  }
}

class SimulatedFirmwareFile : public ::testing::Test {
protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("simboard_firmware_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string Write(const std::string &name, const std::string &contents) {
    const std::filesystem::path path = directory_ / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }

  std::filesystem::path directory_;
};

TEST_F(SimulatedFirmwareFile, TheShippedImageIsAccepted) {
  const HexCheck check = CheckFirmwareFile(VQ_BIN_DIR "/VQ8231.hex");
  EXPECT_TRUE(check.Valid) << check.Problem;
  EXPECT_GT(check.DataBytes, 0u);
}

TEST_F(SimulatedFirmwareFile, FilesThatCannotServeAsFirmware) {
  struct Case {
    const char *what;
    std::string path;
    const char *problem;
  };
  const Case cases[] = {
      {"no path", "", "No firmware file"},
      {"missing", (directory_ / "absent.hex").string(), "does not exist"},
      {"a directory", directory_.string(), "not a file"},
      {"empty", Write("empty.hex", ""), "empty"},
      {"malformed", Write("bad.hex", ":0400000001020304F3\n" + End), "checksum"},
      {"too large", Write("large.hex", std::string(MaxFirmwareFileBytes + 1, '0')), "too large"},
  };
  for (const Case &c : cases) {
    const HexCheck check = CheckFirmwareFile(c.path);
    EXPECT_FALSE(check.Valid) << c.what;
    EXPECT_NE(check.Problem.find(c.problem), std::string::npos) << c.what << ": " << check.Problem;
  }
  EXPECT_TRUE(CheckFirmwareFile(Write("good.hex", Data + End)).Valid);
}

} // namespace
} // namespace vq::sim
