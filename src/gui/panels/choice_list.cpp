#include "panels/choice_list.h"

namespace vq {

ChoiceList::ChoiceList(QWidget *parent) : QComboBox(parent) {
  setEditable(false);
  // As wide as its longest choice, whenever the choices are filled in.
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(this, &QComboBox::activated, this, &ChoiceList::choiceMade);
}

void ChoiceList::Fill(const QStringList &choices) {
  clear();
  addItems(choices);
  // QComboBox selects the first choice of an empty list by itself.
  setCurrentIndex(-1);
}

void ChoiceList::SelectText(const QString &text) {
  const int index = findText(text, Qt::MatchFixedString); // case-insensitive, whole text
  if (index < 0 || index == currentIndex())
    return;
  setCurrentIndex(index);
  emit choiceMade();
}

} // namespace vq
