#include "usb_test_support.h"

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace vq::usbtest {

Memory TestImage(std::size_t length) {
  Memory memory;
  for (std::size_t i = 0; i < length; ++i)
    memory[static_cast<uint32_t>(i)] = static_cast<uint8_t>(i * 7 + i / 256);
  for (uint32_t i = 0; i < 16; ++i)
    memory[0xE000 + i] = static_cast<uint8_t>(0xA0 + i);
  return memory;
}

std::string HexText(const Memory &memory) {
  std::string text;
  auto byte = memory.begin();
  while (byte != memory.end()) {
    const uint32_t start = byte->first;
    std::vector<uint8_t> data;
    while (byte != memory.end() && byte->first == start + data.size() && data.size() < 16)
      data.push_back((byte++)->second);
    std::vector<uint8_t> record{static_cast<uint8_t>(data.size()), static_cast<uint8_t>(start >> 8),
                                static_cast<uint8_t>(start & 0xFF), 0};
    record.insert(record.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (uint8_t b : record)
      sum = static_cast<uint8_t>(sum + b);
    record.push_back(static_cast<uint8_t>(-sum));
    text += ":";
    for (uint8_t b : record) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02X", b);
      text += digits;
    }
    text += "\n";
  }
  return text + ":00000001FF\n";
}

TempDirectory::TempDirectory() {
  char pattern[] = "/tmp/vq_usb_test_XXXXXX";
  path_ = mkdtemp(pattern);
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDirectory::Write(const std::string &name, const std::string &contents) const {
  const std::filesystem::path file = path_ / name;
  std::ofstream(file, std::ios::binary) << contents;
  return file.string();
}

void ExpectDownloadOf(const Memory &image, const std::vector<ControlTransfer> &loader) {
  ASSERT_GE(loader.size(), 3u);
  EXPECT_EQ(loader.front().Value, 0xE600);
  EXPECT_EQ(loader.front().Data, std::vector<uint8_t>{1}) << "reset held first";
  EXPECT_EQ(loader.back().Value, 0xE600);
  EXPECT_EQ(loader.back().Data, std::vector<uint8_t>{0}) << "reset released last";
  Memory written;
  for (std::size_t i = 1; i + 1 < loader.size(); ++i) {
    const ControlTransfer &chunk = loader[i];
    EXPECT_EQ(chunk.RequestType, 0x40);
    EXPECT_EQ(chunk.Index, 0);
    EXPECT_LE(chunk.Data.size(), 4096u);
    EXPECT_NE(chunk.Value, 0xE600) << "the reset is touched only first and last";
    for (std::size_t j = 0; j < chunk.Data.size(); ++j)
      EXPECT_TRUE(written.emplace(chunk.Value + j, chunk.Data[j]).second) << "written twice: " << chunk.Value + j;
  }
  EXPECT_EQ(written, image);
}

} // namespace vq::usbtest
