// Answers the message boxes a handler opens, as a user at the bench would,
// and remembers what they said.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QTimer>

namespace vq::test {

struct SeenMessage {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QSize size; // of the box as it was shown
};

class MessageAnswerer : public QObject {
  Q_OBJECT
public:
  MessageAnswerer();
  QList<SeenMessage> Seen;
  // The button pressed in a box that has it; OK otherwise, else Escape.
  QMessageBox::StandardButton Answer = QMessageBox::Ok;

private:
  void Look();
  QTimer timer_;
};

} // namespace vq::test
