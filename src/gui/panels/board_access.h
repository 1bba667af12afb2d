// The panels' one way to the board: the serial access routines, with the
// "Pulse After Data Write" setting that the hardware switches push, and a
// notification of the R/W bit of every word, which the bit display follows.
// What the panels send (the control lines, the options of the function word)
// is kept in ProgramValues; this object keeps only the setting.
#pragma once

#include "board/serial_access.h"

#include <QObject>

namespace vq {

class BoardAccess : public QObject {
  Q_OBJECT
public:
  explicit BoardAccess(SerialAccess &serial) : serial_(serial) {}

  // A write to a register pulses LDAC afterwards while the setting says so.
  void WriteRegister(WordAddress address, int32_t data);
  int32_t ReadRegister(WordAddress address);
  // Before a write whose steps may fail: the word about to go out is a write,
  // and the R/W bit says so at once.
  void MarkWriting();
  void SetControlLines(const ControlLines &lines) { serial_.SetControlLines(lines); }
  int16_t ReadBoardSample() { return serial_.ReadBoardSample(); }
  void TakeLineDirection(DigitalLine line, bool inputOfConverter) { serial_.TakeLineDirection(line, inputOfConverter); }

  void SetPulseAfterDataWrite(bool pulse) { pulseAfterDataWrite_ = pulse; }
  bool PulsesAfterDataWrite() const { return pulseAfterDataWrite_; }
  ReadWrite ReadWriteBit() const { return serial_.ReadWriteBit; }
  int16_t LastRequestStatus() const { return serial_.LastRequestStatus; }

signals:
  // A word went out (or, after MarkWriting, is about to): its R/W bit.
  void readWriteBitSet(ReadWrite bit);

private:
  SerialAccess &serial_;
  bool pulseAfterDataWrite_ = false;
};

} // namespace vq
