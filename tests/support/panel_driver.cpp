#include "tests/support/panel_driver.h"

#include "panels/choice_list.h"
#include "panels/register_choices.h"
#include "panels/toggle_switch.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace vq::test {

LoadedPanel::LoadedPanel(bool earlierBuild) : form(earlierBuild) {
  form.link.DownloadStatus = earlierBuild ? 1 : 0; // the earlier library reports success as 1 or more
  if (!form.fixture.Start())
    qFatal("the window did not start on the recording board");
  form.link.Take();
}

void Choose(ChoiceList *list, const QString &text) {
  const int index = list->findText(text, Qt::MatchExactly);
  QVERIFY2(index >= 0, qPrintable("no choice " + text));
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

void Flip(ToggleSwitch *toggle) {
  QTest::mouseClick(toggle, Qt::LeftButton, Qt::NoModifier, toggle->rect().center());
}

QString DataBits(const MainWindowControls &ui) {
  QString bits;
  for (int n = 15; n >= 0; --n)
    bits += ui.DataBitLabels[n]->text();
  return bits;
}

QString RegisterBits(const MainWindowControls &ui) {
  return ui.RegisterSelectBits[2]->text() + ui.RegisterSelectBits[1]->text() + ui.RegisterSelectBits[0]->text();
}

QString AddressBits(const MainWindowControls &ui) {
  return ui.DacAddressBits[2]->text() + ui.DacAddressBits[1]->text() + ui.DacAddressBits[0]->text();
}

QString RangeChoiceText(int code) {
  return code < 0 ? QString() : QString::fromUtf8(RangeChoices[code]);
}

QString FieldText(const MainWindowControls &ui, const QString &field) {
  if (field == "ComboCoarse")
    return ui.RangeList->currentText();
  for (QLineEdit *box : {ui.DataBox, ui.VoltsBox, ui.FineGainBox, ui.OffsetBox})
    if (box->objectName() == field)
      return box->text();
  return QStringLiteral("no field %1").arg(field);
}

QString ShownEntryArea(const MainWindowControls &ui) {
  const std::array<QWidget *, 12> area = {ui.ChannelList, ui.DataBox,           ui.DataPrompt, ui.VoltsBox,
                                          ui.VoltsPrompt, ui.DisplayModeButton, ui.RangeList,  ui.RangePrompt,
                                          ui.FineGainBox, ui.FineGainPrompt,    ui.OffsetBox,  ui.OffsetPrompt};
  QStringList shown;
  for (QWidget *control : area)
    if (!control->isHidden())
      shown << control->objectName();
  return shown.join(' ');
}

} // namespace vq::test
