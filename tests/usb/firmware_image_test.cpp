// Which Intel HEX images the libusb libraries load into a board, and how.
#include "usbboard/firmware_image.h"

#include <gtest/gtest.h>

#include <string>

namespace vq::usb {
namespace {

// A record with its checksum computed, so each case says only what matters.
std::string Record(uint8_t type, uint16_t address, const std::vector<uint8_t> &data) {
  std::vector<uint8_t> bytes{static_cast<uint8_t>(data.size()), static_cast<uint8_t>(address >> 8),
                             static_cast<uint8_t>(address & 0xFF), type};
  bytes.insert(bytes.end(), data.begin(), data.end());
  uint8_t sum = 0;
  for (uint8_t byte : bytes)
    sum = static_cast<uint8_t>(sum + byte);
  bytes.push_back(static_cast<uint8_t>(-sum));
  std::string line = ":";
  for (uint8_t byte : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    line += digits;
  }
  return line + "\n";
}

const std::string End = ":00000001FF\n";

TEST(UsbFirmwareImage, RefusesWhatTheBoardCannotLoad) {
  struct Case {
    const char *what;
    std::string image;
    const char *problem; // part of the message
  };
  const Case cases[] = {
      {"wrong checksum", ":0400000001020304F3\n" + End, "checksum"},
      {"no end record", Record(0, 0, {1, 2}), "no end-of-file"},
      {"unknown record type", Record(0, 0, {1}) + Record(6, 0, {}) + End, "unknown record type"},
      {"just past the program memory", Record(0, 0x3FFE, {1, 2, 3}) + End, "0x4000"},
      {"between the two memories", Record(0, 0x8000, {1}) + End, "0x8000, outside"},
      {"just past the data memory", Record(0, 0xE1FF, {1, 2}) + End, "0xE200"},
      {"below the data memory", Record(0, 0xDFFF, {1}) + End, "0xDFFF"},
      {"linear address above 64 KiB", Record(4, 0, {0x00, 0x01}) + Record(0, 0, {1}) + End, "0x10000"},
      {"segment address into the gap", Record(2, 0, {0x04, 0x00}) + Record(0, 0, {1}) + End, "0x4000"},
      {"a byte written twice", Record(0, 0x10, {1, 2}) + Record(0, 0x11, {3}) + End, "Line 2 writes 0x0011"},
      {"no data at all", End, "no data"},
  };
  for (const Case &c : cases) {
    const FirmwareImage image = LoadableImage(c.image);
    EXPECT_FALSE(image.Valid()) << c.what;
    EXPECT_NE(image.Problem.find(c.problem), std::string::npos) << c.what << ": " << image.Problem;
  }
}

// Records in any order become ascending runs of adjacent bytes; address
// records that keep the data in range are followed, start addresses ignored.
TEST(UsbFirmwareImage, ALoadableImageBecomesItsSegments) {
  const std::string image = Record(0, 0xE000, {0xE0, 0xE1}) + Record(0, 0x0002, {3, 4}) + Record(5, 0, {0, 0, 0, 0}) +
                            Record(0, 0x0000, {1, 2}) + Record(4, 0, {0, 0}) + Record(0, 0x3FFF, {0xFF}) +
                            Record(2, 0, {0x0E, 0x00}) + Record(0, 0x01FF, {0xEE}) + Record(3, 0, {0, 0, 0, 0}) + End;
  const FirmwareImage loaded = LoadableImage(image);
  ASSERT_TRUE(loaded.Valid()) << loaded.Problem;
  ASSERT_EQ(loaded.Segments.size(), 4u);
  EXPECT_EQ(loaded.Segments[0].Address, 0x0000);
  EXPECT_EQ(loaded.Segments[0].Bytes, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(loaded.Segments[1].Address, 0x3FFF);
  EXPECT_EQ(loaded.Segments[1].Bytes, (std::vector<uint8_t>{0xFF}));
  EXPECT_EQ(loaded.Segments[2].Address, 0xE000);
  EXPECT_EQ(loaded.Segments[2].Bytes, (std::vector<uint8_t>{0xE0, 0xE1}));
  EXPECT_EQ(loaded.Segments[3].Address, 0xE1FF);
  EXPECT_EQ(loaded.Segments[3].Bytes, (std::vector<uint8_t>{0xEE}));
}

} // namespace
} // namespace vq::usb
