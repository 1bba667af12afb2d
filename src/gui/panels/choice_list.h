// A fixed-choice drop-down list. choiceMade() is its selection action: it is
// raised on every choice the user makes, and on a selection from code by text
// when that changes the selection.
#pragma once

#include <QComboBox>

namespace vq {

class ChoiceList : public QComboBox {
  Q_OBJECT
public:
  explicit ChoiceList(QWidget *parent = nullptr);

  // Replaces the choices; the list shows no selection until one is made.
  void Fill(const QStringList &choices);
  // Selects the choice whose text matches without regard to case. Raises
  // choiceMade() when the selection changes; a text that matches nothing
  // changes nothing.
  void SelectText(const QString &text);

signals:
  void choiceMade();
};

} // namespace vq
