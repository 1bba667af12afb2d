// "Input Register Contents": the 24-bit input word bit by bit, with the whole
// word in hexadecimal.
#pragma once

#include "board/registers.h"

#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QWidget;

namespace vq {

class WordDisplay {
public:
  explicit WordDisplay(QWidget *registerFrame);

  void ShowReadWriteBit(ReadWrite bit);
  void ShowRegisterSelect(uint8_t selectBits);
  void ShowDacAddress(uint8_t addressBits);
  void ShowDataBits(int32_t data);
  void ShowWord(ReadWrite bit, WordAddress address, int32_t data);
  // A read that failed: no data bits and no word, only that nothing came.
  void ShowNoAnswer();

private:
  QGroupBox *frame_;
  QLabel *readWriteBit_;
  std::array<QLabel *, 3> registerSelectBits_{}; // REG0 first
  std::array<QLabel *, 3> dacAddressBits_{};     // A0 first
  std::array<QLabel *, 16> dataBits_{};          // D0 first
  QLabel *wordHex_;
};

} // namespace vq
