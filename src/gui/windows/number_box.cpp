#include "windows/number_box.h"

#include "rules/typed_number.h"

#include <QMessageBox>

namespace vq {

NumberBox::NumberBox(const QString &what, const QString &unit, Rule take, QWidget *parent)
    : QLineEdit(parent), what_(what), unit_(unit), take_(std::move(take)) {
  connect(this, &QLineEdit::editingFinished, this, &NumberBox::Enter);
}

void NumberBox::ShowValue(const QString &text) {
  shown_ = text;
  if (!isModified() && this->text() != text)
    setText(text);
}

void NumberBox::Enter() {
  // The message box takes the focus, which finishes the editing once more.
  if (entering_ || text() == shown_)
    return;
  entering_ = true;
  const QString typed = text();
  setModified(false);
  const std::string refusal = take_(typed.toStdString());
  if (!refusal.empty()) {
    setText(shown_);
    QMessageBox::warning(window(), window()->windowTitle(),
                         QString::fromStdString(RefusalMessage(what_.toStdString(), typed.toStdString(), refusal,
                                                               (shown_ + unit_).toStdString())),
                         QMessageBox::Ok);
    selectAll();
  }
  entering_ = false;
}

} // namespace vq
