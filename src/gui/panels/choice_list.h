// A fixed-choice drop-down list. Click() is its selection action: it runs on
// every choice the user makes, and on a selection from code by text when that
// changes the selection.
#pragma once

#include <QComboBox>

namespace vq {

class ChoiceList : public QComboBox {
  Q_OBJECT
public:
  explicit ChoiceList(QWidget *parent = nullptr);

  // Appends the entries; the list keeps showing no selection.
  void Fill(const QStringList &entries);
  // Selects the entry whose text matches without regard to case. Runs Click()
  // when the selection changes; a text that matches nothing changes nothing.
  void SelectText(const QString &text);

signals:
  void Click();
};

} // namespace vq
