// The panels' one way to the board: the serial access routines, with the
// "Pulse After Data Write" setting that the hardware switches push, and a
// notification of the R/W bit of every word, which the bit display follows.
// What the panels send (the control lines, the options of the function word)
// is kept in ProgramValues; this object keeps only the setting.
//
// It also keeps the account of the user's action under way: every handler
// opens an Action, and when the outermost one closes, actionEnded tells what
// became of it (its first failed request, or a note the handler left), so no
// failure passes unseen.
#pragma once

#include "board/serial_access.h"
#include "boardlog/register_model.h"

#include <QObject>
#include <QString>

#include <optional>

namespace vq {

class BoardAccess : public QObject {
  Q_OBJECT
public:
  explicit BoardAccess(SerialAccess &serial) : serial_(serial) {}

  // One user action, from its handler's start to its end. Actions opened
  // inside it (a list selection from code runs the list's handler) belong to
  // it.
  class Action {
  public:
    explicit Action(BoardAccess &board);
    ~Action();
    Action(const Action &) = delete;
    Action &operator=(const Action &) = delete;

  private:
    BoardAccess &board_;
  };

  // A write to a register pulses LDAC afterwards while the setting says so.
  BoardStatus WriteRegister(WordAddress address, int32_t data);
  Reading<int32_t> ReadRegister(WordAddress address);
  // Before a write whose steps may fail: the word about to go out is a write,
  // and the R/W bit says so at once.
  void MarkWriting();
  BoardStatus SetControlLines(const ControlLines &lines) { return serial_.SetControlLines(lines); }
  Reading<int16_t> ReadBoardSample() { return serial_.ReadBoardSample(); }
  BoardStatus TakeLineDirection(DigitalLine line, bool inputOfConverter) {
    return serial_.TakeLineDirection(line, inputOfConverter);
  }

  // What the action refused or read on its own, for the user, in sentences;
  // an action's notes are said in their order.
  void Note(const QString &text);
  // Drops the notes of the action under way; its failures stay.
  void DropNotes() { note_.clear(); }
  // The content of a register the program last knew (the latest read or
  // write the model saw); nothing while no register model is connected.
  std::optional<int32_t> LastKnown(WordAddress address) const;
  void FollowRegisters(const RegisterModel &registers) { registers_ = &registers; }

  void SetPulseAfterDataWrite(bool pulse) { pulseAfterDataWrite_ = pulse; }
  bool PulsesAfterDataWrite() const { return pulseAfterDataWrite_; }
  ReadWrite ReadWriteBit() const { return serial_.ReadWriteBit; }
  int16_t LastRequestStatus() const { return serial_.LastRequestStatus; }

signals:
  // A word went out (or, after MarkWriting, is about to): its R/W bit.
  void readWriteBitSet(ReadWrite bit);
  // The outermost action closed: its first failed request, if any, and the
  // note it left (empty for none).
  void actionEnded(const std::optional<vq::BoardCall> &failure, const QString &note);

private:
  SerialAccess &serial_;
  const RegisterModel *registers_ = nullptr;
  bool pulseAfterDataWrite_ = false;
  int openActions_ = 0;
  QString note_;
};

} // namespace vq
