// "Input Register Contents": the 24-bit input word bit by bit, with the whole
// word in hexadecimal.
#pragma once

#include "board/registers.h"

#include <QGroupBox>

#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QWidget;

namespace vq {

// The frame of the bit display. Assistive technology meets it as one text
// that says the word shown ("Input word 0x919F40: read, data register,
// DAC B, data 0x9F40") instead of 24 headings and 24 bits.
class InputWordFrame : public QGroupBox {
  Q_OBJECT
public:
  InputWordFrame(const QString &title, QWidget *parent);
  void SetSpokenWord(std::function<QString()> spokenWord) { spokenWord_ = std::move(spokenWord); }
  QString SpokenWord() const { return spokenWord_ ? spokenWord_() : QString(); }
  // Tells assistive technology that the word shown changed.
  void TellWordChanged();

private:
  std::function<QString()> spokenWord_;
};

class WordDisplay {
public:
  explicit WordDisplay(QWidget *registerFrame);

  QGroupBox *Frame() const { return frame_; }
  void ShowReadWriteBit(ReadWrite bit);
  void ShowRegisterSelect(uint8_t selectBits);
  void ShowDacAddress(uint8_t addressBits);
  void ShowDataBits(int32_t data);
  void ShowWord(ReadWrite bit, WordAddress address, int32_t data);
  // The 24 bits as shown, R/W first.
  uint32_t ShownWord() const;
  // A read that failed: no data bits and no word, only that nothing came.
  void ShowNoAnswer();

private:
  InputWordFrame *frame_;
  QLabel *readWriteBit_;
  std::array<QLabel *, 3> registerSelectBits_{}; // REG0 first
  std::array<QLabel *, 3> dacAddressBits_{};     // A0 first
  std::array<QLabel *, 16> dataBits_{};          // D0 first
  QLabel *wordHex_;
};

} // namespace vq
