#include "tests/support/message_answerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace vq::test {

MessageAnswerer::MessageAnswerer() {
  connect(&timer_, &QTimer::timeout, this, &MessageAnswerer::Look);
  timer_.start(5);
}

void MessageAnswerer::Look() {
  auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible())
    return;
  Seen.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->size()});
  QAbstractButton *answer = box->button(Answer);
  if (answer == nullptr)
    answer = box->button(QMessageBox::Ok);
  if (answer != nullptr)
    answer->click();
  else
    box->reject();
}

} // namespace vq::test
