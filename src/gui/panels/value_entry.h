// The entry area of the register panel: data code, voltage, output range,
// fine gain and offset. Each box acts on Return; the range list writes the
// coarse gain of the chosen channel.
#pragma once

#include "panels/panel_context.h"
#include "panels/register_choices.h"

#include <QObject>
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace vq {

class ChoiceList;

// DataValue as the data field shows it: upper-case hexadecimal without
// leading zeros, or plain decimal.
QString DataValueText(int32_t value, DisplayMode mode);

class ValueEntry : public QObject {
  Q_OBJECT
public:
  ValueEntry(QWidget *registerFrame, PanelContext context);

  // Shows the controls of a view and hides the others.
  // Puts the prompts and fields into the register frame's grid: each view's
  // in one column, the voltage entry in another.
  void AddTo(QGridLayout &grid, int promptRow, int fieldRow, int entryColumn, int voltsColumn);
  void ShowView(const RegisterChoice &view);
  // Hides every control but the voltage box and its prompt.
  void ShowVoltageOnly();
  void FillRangeList();
  // Selects the range of a coarse gain code; a change runs the list's action.
  // Code 3, which selects no range, shows no selection.
  void SelectRange(int32_t coarseCode);
  // The range list shows no selection; nothing is written.
  void ShowNoRange();
  // Shows a register's content in the entry field of the view that shows it.
  void ShowRegisterContent(const RegisterChoice &view, int32_t data);
  QString DataText() const;
  void ShowDataText(const QString &text);
  void ShowGainAndOffsetPrompts();
  // Puts a control of the panel between the data box and the voltage box in
  // the order the Tab key follows.
  void TabAfterDataBox(QWidget *control);

signals:
  // A data, fine gain or offset entry wrote its word: the word display follows.
  void wordEntered();

private:
  // The range of the channel a data read-back came from, as the register
  // model knows it; the range last taken, with a note, where it does not.
  float ReadChannelRange() const;
  void onDataEntered();
  void onVoltsEntered();
  void onFineGainEntered();
  void onOffsetEntered();
  void onRangeChosen();

  PanelContext c_;
  QLabel *dataPrompt_;
  QLineEdit *dataBox_;
  QLabel *voltsPrompt_;
  QLineEdit *voltsBox_;
  QLabel *rangePrompt_;
  ChoiceList *rangeList_;
  QLabel *fineGainPrompt_;
  QLineEdit *fineGainBox_;
  QLabel *offsetPrompt_;
  QLineEdit *offsetBox_;
};

} // namespace vq
