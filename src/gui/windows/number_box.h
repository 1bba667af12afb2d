// An entry box for one number that takes exactly what was typed or says no.
// On Return, Enter or leaving the box after a change, the text goes to the
// box's rule; a text the rule refuses gets a message box with the reason and
// the box shows the value in effect again, which stays as it was.
#pragma once

#include <QLineEdit>

#include <functional>
#include <string>
#include <string_view>

namespace vq {

class NumberBox : public QLineEdit {
  Q_OBJECT
public:
  // `take` reads a typed text and, when the field takes it, puts the value
  // in effect and returns nothing; else it returns why not, in words that
  // follow the quoted text ("is below the lowest, -55"). `what` names the
  // value in messages ("die temperature"), `unit` follows it (" °C").
  using Rule = std::function<std::string(std::string_view text)>;
  NumberBox(const QString &what, const QString &unit, Rule take, QWidget *parent = nullptr);

  // Shows the value in effect, unless the user is typing in the box.
  void ShowValue(const QString &text);

private:
  void Enter();

  QString what_;
  QString unit_;
  Rule take_;
  QString shown_;
  bool entering_ = false;
};

} // namespace vq
