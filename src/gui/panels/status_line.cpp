#include "panels/status_line.h"

#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

namespace vq {

StatusLine::StatusLine(QMainWindow *window)
    : bar_(new QStatusBar(window)), message_(new QLabel(bar_)),
      reconnect_(new QPushButton(QStringLiteral("Reconnect"), bar_)), board_(new QLabel(bar_)) {
  bar_->setObjectName(QStringLiteral("StatusBar"));
  bar_->setSizeGripEnabled(false); // the window has a fixed size
  message_->setObjectName(QStringLiteral("StatusMessage"));
  message_->setTextFormat(Qt::PlainText);
  // A long message wraps onto a second line, which is kept free so the
  // fixed-size window does not grow and shrink with the messages.
  message_->setWordWrap(true);
  message_->setMinimumHeight(2 * message_->fontMetrics().lineSpacing() + 2 * message_->margin());
  message_->setAutoFillBackground(true);
  board_->setObjectName(QStringLiteral("StatusBoard"));
  board_->setTextFormat(Qt::PlainText);
  reconnect_->setObjectName(QStringLiteral("StatusReconnect"));
  reconnect_->setToolTip(QStringLiteral("Finds the board again and downloads its firmware"));
  reconnect_->hide();
  connect(reconnect_, &QPushButton::clicked, this, &StatusLine::reconnectClicked);
  // The bar's own layout: the message takes the room, the board keeps the
  // right end.
  bar_->addWidget(message_, 1);
  bar_->addPermanentWidget(reconnect_);
  bar_->addPermanentWidget(board_);
  window->setStatusBar(bar_);
}

void StatusLine::ShowMessage(const QString &text, bool failure) {
  message_->setBackgroundRole(failure ? QPalette::Highlight : QPalette::Window);
  message_->setForegroundRole(failure ? QPalette::HighlightedText : QPalette::WindowText);
  if (message_->text() == text)
    return;
  message_->setText(text);
  QAccessibleEvent changed(message_, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
  if (!text.isEmpty()) {
    QAccessibleEvent alert(message_, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
}

void StatusLine::ShowBoard(const QString &board) {
  board_->setText(board);
}

void StatusLine::OfferReconnect(bool offered) {
  reconnect_->setVisible(offered);
}

QString StatusLine::Message() const {
  return message_->text();
}

} // namespace vq
