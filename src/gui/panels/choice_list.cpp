#include "panels/choice_list.h"

namespace vq {

ChoiceList::ChoiceList(QWidget *parent) : QComboBox(parent) {
  setEditable(false);
  connect(this, &QComboBox::activated, this, &ChoiceList::Click);
}

void ChoiceList::Fill(const QStringList &entries) {
  const int before = currentIndex();
  addItems(entries);
  // QComboBox selects the first entry of an empty list by itself.
  if (before < 0)
    setCurrentIndex(-1);
}

void ChoiceList::SelectText(const QString &text) {
  const int index = findText(text, Qt::MatchFixedString); // case-insensitive, whole text
  if (index < 0 || index == currentIndex())
    return;
  setCurrentIndex(index);
  emit Click();
}

} // namespace vq
