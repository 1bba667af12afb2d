#include "panels/register_panel.h"

#include "panels/choice_list.h"
#include "panels/control_placement.h"
#include "rules/number_rules.h"

#include <QLabel>
#include <QPushButton>

namespace vq {

namespace {
constexpr int FieldY = 126, FieldHeight = 24;
}

RegisterPanel::RegisterPanel(QWidget *client, PanelContext context)
    : c_(context), frame_(PlaceFrame(client, "Frame1", QStringLiteral("Read / Write Registers"),
                                     QRect(Px(120), Px(360), Px(14415), Px(2415)))),
      display_(frame_), registerList_(Place<ChoiceList>(frame_, "ComboReg", QRect(8, FieldY, 170, FieldHeight))),
      channelList_(Place<ChoiceList>(frame_, "ComboAddr", QRect(186, FieldY, 96, FieldHeight))),
      readRegisterButton_(
          PlaceButton(frame_, "Command1", QStringLiteral("Read Register"), QRect(290, FieldY - 2, 104, 28))),
      registerValue_(PlaceLabel(frame_, "Label27", QString(), QRect(402, FieldY, 60, FieldHeight))),
      displayModeButton_(nullptr), valueEntry_(frame_, context) {
  ShowAsReadout(registerValue_);
  registerValue_->setAlignment(Qt::AlignCenter);
  displayModeButton_ = PlaceButton(frame_, "Command2", QStringLiteral("Hex"), QRect(598, FieldY - 2, 52, 28));
  valueEntry_.TabAfterDataBox(displayModeButton_);

  connect(registerList_, &ChoiceList::choiceMade, this, &RegisterPanel::onRegisterChosen);
  connect(channelList_, &ChoiceList::choiceMade, this, &RegisterPanel::onChannelChosen);
  connect(readRegisterButton_, &QPushButton::clicked, this, &RegisterPanel::onReadRegisterClicked);
  connect(displayModeButton_, &QPushButton::clicked, this, &RegisterPanel::onDisplayModeClicked);
  connect(&valueEntry_, &ValueEntry::wordEntered, this, &RegisterPanel::ShowInputWord);
}

void RegisterPanel::FillLists() {
  QStringList registers;
  for (const RegisterChoice &choice : RegisterChoices)
    registers << QString::fromUtf8(choice.Text);
  registerList_->Fill(registers);
  channelList_->Fill(ChoiceTexts(ChannelChoices));
  valueEntry_.FillRangeList();
}

void RegisterPanel::ChooseRegister(const QString &text) {
  registerList_->SelectText(text);
}

void RegisterPanel::ShowChannelList() {
  channelList_->show();
}

void RegisterPanel::ShowDisplayMode() {
  displayModeButton_->setText(c_.Values.Display == DisplayMode::Hex ? QStringLiteral("Hex") : QStringLiteral("Dec"));
}

void RegisterPanel::ShowVoltageEntryOnly() {
  valueEntry_.ShowVoltageOnly();
  displayModeButton_->hide();
}

// Every view names all controls of the entry area: those it does not show
// are hidden.
void RegisterPanel::ApplyView(const RegisterChoice &view) {
  channelList_->setVisible(view.Reg.has_value());
  displayModeButton_->setVisible(!view.Reg || view.Reg == Register::Data);
  valueEntry_.ShowView(view);
}

void RegisterPanel::onRegisterChosen() {
  ProgramValues &v = c_.Values;
  const RegisterChoice *view = FindRegisterChoice(registerList_->currentText());
  if (view == nullptr)
    return;

  int32_t coarseCode = -1;
  if (!view->Reg) {
    // The function register command; the address field keeps its code until
    // a channel is chosen again.
    v.Word = Command::FunctionRegister;
    display_.ShowRegisterSelect(v.Word.SelectBits());
    display_.ShowDacAddress(v.Word.AddressBits());
  } else {
    // The channel the list shows (DAC A while it shows none), even after the
    // function register view put its command code in the address field.
    const int channel = ChoiceIndex(ChannelChoices, channelList_->currentText()).value_or(0);
    v.Word = WordAddress(*view->Reg, static_cast<Channel>(channel));
    display_.ShowDacAddress(v.Word.AddressBits());
    display_.ShowRegisterSelect(v.Word.SelectBits());
    if (view->Reg == Register::CoarseGain && !AddressesAllCoarseGains())
      coarseCode = c_.Board.ReadRegister(v.Word) & 3;
  }
  ApplyView(*view);
  // A change of the range selection runs the list's action, which writes the
  // code back.
  if (coarseCode >= 0)
    valueEntry_.SelectRange(coarseCode);
  ReadChosenRegister();
}

void RegisterPanel::onChannelChosen() {
  ProgramValues &v = c_.Values;
  const auto channel = ChoiceIndex(ChannelChoices, channelList_->currentText());
  if (!channel)
    return;
  v.Word = v.Word.WithChannel(static_cast<Channel>(*channel));
  display_.ShowDacAddress(v.Word.AddressBits());
  ReadChosenRegister();
}

bool RegisterPanel::AddressesAllCoarseGains() const {
  return c_.Values.Word == WordAddress(Register::CoarseGain, Channel::All);
}

void RegisterPanel::ReadChosenRegister() {
  // The four channels may be on different ranges: none is shown for them
  // until the user chooses one, which then goes to all four.
  if (AddressesAllCoarseGains())
    valueEntry_.ShowNoRange();
  onReadRegisterClicked();
}

void RegisterPanel::onReadRegisterClicked() {
  ProgramValues &v = c_.Values;
  // Address 4 reads back no register; what came back would be taken for the
  // range of all four channels.
  if (AddressesAllCoarseGains())
    return;
  // The converter only answers on SDO while its output is enabled, so the
  // function word goes out with bit 0 clear before every read.
  v.Options.SdoDisabled = false;
  WriteFunctionWord(c_);
  emit serialOutputEnabled();
  v.DataValue = c_.Board.ReadRegister(v.Word);
  ShowInputWord();
  // The coarse gain view may have written the range back meanwhile; the
  // label still tells that this was a read.
  display_.ShowReadWriteBit(ReadWrite::Read);
}

void RegisterPanel::ShowInputWord() {
  const ProgramValues &v = c_.Values;
  const int32_t data = v.DataValue;
  display_.ShowReadWriteBit(c_.Board.ReadWriteBit());
  display_.ShowDataBits(data);
  registerValue_->setText(
      QString::fromStdString(v.Display == DisplayMode::Hex ? HexAtLeastFour(data) : DecimalText(data)));
  display_.ShowWord(c_.Board.ReadWriteBit(), v.Word, data);
  if (const RegisterChoice *view = FindRegisterChoice(registerList_->currentText()))
    valueEntry_.ShowRegisterContent(*view, data);
}

} // namespace vq
