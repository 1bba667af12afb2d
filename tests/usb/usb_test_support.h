// What the libusb board tests share: firmware images written as Intel HEX
// files, and the check that a download wrote an image as the board needs it.
#pragma once

#include "fake_board.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vq::usbtest {

// Address -> byte.
using Memory = std::map<uint32_t, uint8_t>;

// An image of `length` bytes at 0x0000 (so with more than 4096 bytes it needs
// several chunks) and 16 bytes at 0xE000.
Memory TestImage(std::size_t length = 5000);

// The image as Intel HEX text, 16 bytes a record.
std::string HexText(const Memory &memory);

// A fresh directory, removed again at the end of the test.
class TempDirectory {
public:
  TempDirectory();
  ~TempDirectory();
  const std::filesystem::path &Path() const { return path_; }
  std::string Write(const std::string &name, const std::string &contents) const;

private:
  std::filesystem::path path_;
};

// The boot loader saw: reset held first, every byte of the image written once
// at its address in chunks of at most 4096 bytes, reset released last.
void ExpectDownloadOf(const Memory &image, const std::vector<ControlTransfer> &loader);

} // namespace vq::usbtest
