#include "tests/support/panel_driver.h"

#include "panels/choice_list.h"
#include "panels/register_entries.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace vq::test {

LoadedPanel::LoadedPanel() {
  if (!form.fixture.Load())
    qFatal("the window did not load on the recording board");
  form.link.Take();
}

void Choose(ChoiceList *list, const QString &text) {
  const int index = list->findText(text, Qt::MatchExactly);
  QVERIFY2(index >= 0, qPrintable("no entry " + text));
  list->setCurrentIndex(index);
  emit list->activated(index);
}

void Enter(QLineEdit *box, const QString &text) {
  box->setText(text);
  QTest::keyClick(box, Qt::Key_Return);
}

void Click(QPushButton *button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

QString DataBits(const MainFormControls &ui) {
  QString bits;
  for (int n = 15; n >= 0; --n)
    bits += ui.LabelD[n]->text();
  return bits;
}

QString RegisterBits(const MainFormControls &ui) {
  return ui.LabelREG2->text() + ui.LabelREG1->text() + ui.LabelREG0->text();
}

QString AddressBits(const MainFormControls &ui) {
  return ui.LabelA2->text() + ui.LabelA1->text() + ui.LabelA0->text();
}

QString CoarseEntryText(int code) {
  return code < 0 ? QString() : QString::fromUtf8(CoarseEntries[code]);
}

QString FieldText(const MainFormControls &ui, const QString &field) {
  if (field == "ComboCoarse")
    return ui.ComboCoarse->currentText();
  for (QLineEdit *box : {ui.TextData, ui.TextVolts, ui.TextFine, ui.TextOffset})
    if (box->objectName() == field)
      return box->text();
  return QStringLiteral("no field %1").arg(field);
}

QString ShownEntryArea(const MainFormControls &ui) {
  const std::array<QWidget *, 12> area = {ui.ComboAddr, ui.TextData, ui.Label1,      ui.TextVolts,
                                          ui.Label29,   ui.Command2, ui.ComboCoarse, ui.Label5,
                                          ui.TextFine,  ui.Label7,   ui.TextOffset,  ui.Label9};
  QStringList shown;
  for (QWidget *control : area)
    if (!control->isHidden())
      shown << control->objectName();
  return shown.join(' ');
}

} // namespace vq::test
