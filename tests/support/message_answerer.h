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
};

class MessageAnswerer : public QObject {
  Q_OBJECT
public:
  MessageAnswerer();
  QList<SeenMessage> Seen;

private:
  void Look();
  QTimer timer_;
};

} // namespace vq::test
