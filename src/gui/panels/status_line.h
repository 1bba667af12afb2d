// The main window's status bar: on the left what became of the user's last
// action (why a request failed, or what the program refused or read on its
// own), on the right which board the program drives. While the board is
// lost, a "Reconnect" button beside the message.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QMainWindow;
class QPushButton;
class QStatusBar;

namespace vq {

class StatusLine : public QObject {
  Q_OBJECT
public:
  explicit StatusLine(QMainWindow *window);

  // Replaces the message; empty clears it. A failure stands out in the
  // palette's highlight colours. Screen readers hear of every new message.
  void ShowMessage(const QString &text, bool failure);
  void ShowBoard(const QString &board);
  QString Message() const;
  // Shows or hides the "Reconnect" button.
  void OfferReconnect(bool offered);

signals:
  void reconnectClicked();

private:
  QStatusBar *bar_;
  QLabel *message_;
  QPushButton *reconnect_;
  QLabel *board_;
};

} // namespace vq
