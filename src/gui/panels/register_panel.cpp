#include "panels/register_panel.h"

#include "panels/choice_list.h"
#include "panels/control_placement.h"
#include "rules/number_rules.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace vq {

RegisterPanel::RegisterPanel(QWidget *client, PanelContext context)
    : c_(context), frame_(PlaceFrame(client, "Frame1", QStringLiteral("Read / &Write Registers"))), display_(frame_),
      registerList_(Place<ChoiceList>(frame_, "ComboReg")), channelList_(Place<ChoiceList>(frame_, "ComboAddr")),
      readRegisterButton_(PlaceButton(frame_, "Command1", QStringLiteral("Read Register"))),
      registerValue_(PlaceLabel(frame_, "Label27", QString())), displayModeButton_(nullptr),
      valueEntry_(frame_, context) {
  // The widest register value: a 16-bit code in decimal.
  ShowAsReadout(registerValue_, QStringLiteral("65535"));
  registerValue_->setAlignment(Qt::AlignCenter);
  displayModeButton_ = PlaceButton(frame_, "Command2", QStringLiteral("Hex"));
  // "Hex" and "Dec" take the same room.
  displayModeButton_->setMinimumWidth(displayModeButton_->sizeHint().width());
  valueEntry_.TabAfterDataBox(displayModeButton_);
  Describe(registerList_, QStringLiteral("Register"),
           QStringLiteral("The register to read or write; choosing one reads it from the chosen channel"));
  Describe(channelList_, QStringLiteral("Channel"),
           QStringLiteral("The DAC channel the register belongs to; choosing one reads its register"));
  Describe(readRegisterButton_, QStringLiteral("Read Register"),
           QStringLiteral("Reads the chosen register of the chosen channel from the converter"));
  Describe(registerValue_, QStringLiteral("Register value"),
           QStringLiteral("The register's content as last read or written, in the notation Hex/Dec shows"));
  Describe(displayModeButton_, QStringLiteral("Hexadecimal or decimal"),
           QStringLiteral("Shows the data value and the register value in hexadecimal or in decimal"));
  KeepRoomWhenHidden({channelList_, displayModeButton_});

  // The word display over one row of prompts and one of fields: the lists,
  // "Read Register", the register value, the entry of the view shown, the
  // Hex/Dec switch and the voltage entry; the room left goes to the right.
  auto *grid = new QGridLayout(frame_);
  constexpr int promptRow = 1, fieldRow = 2, entryColumn = 4, voltsColumn = 6, columns = 8;
  grid->addWidget(display_.Frame(), 0, 0, 1, columns);
  const std::pair<QWidget *, int> fields[] = {
      {registerList_, 0}, {channelList_, 1}, {readRegisterButton_, 2}, {registerValue_, 3}, {displayModeButton_, 5}};
  for (const auto &[field, column] : fields)
    grid->addWidget(field, fieldRow, column);
  valueEntry_.AddTo(*grid, promptRow, fieldRow, entryColumn, voltsColumn);
  grid->setColumnStretch(columns - 1, 1);

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
  BoardAccess::Action action(c_.Board);
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
    if (view->Reg == Register::CoarseGain && !AddressesAllCoarseGains()) {
      // A range that was not read is not written back.
      if (const Reading<int32_t> read = c_.Board.ReadRegister(v.Word); read.Answered())
        coarseCode = read.Value & 3;
    }
  }
  ApplyView(*view);
  // A change of the range selection runs the list's action, which writes the
  // code back.
  if (coarseCode >= 0)
    valueEntry_.SelectRange(coarseCode);
  ReadChosenRegister();
}

void RegisterPanel::onChannelChosen() {
  BoardAccess::Action action(c_.Board);
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

// The converter only answers on SDO while its output is enabled, so the
// function word goes out with bit 0 clear before every read.
void RegisterPanel::EnableSerialOutput() {
  c_.Values.Options.SdoDisabled = false;
  WriteFunctionWord(c_);
  emit serialOutputEnabled();
}

void RegisterPanel::onReadRegisterClicked() {
  BoardAccess::Action action(c_.Board);
  ProgramValues &v = c_.Values;
  // Address 4 reads back no register; what came back would be taken for the
  // range of all four channels.
  if (AddressesAllCoarseGains())
    return;
  EnableSerialOutput();
  const Reading<int32_t> read = c_.Board.ReadRegister(v.Word);
  if (!read.Answered()) {
    // The buffer holds another request's bytes: nothing of it is shown or
    // taken as the register's content.
    ShowNoAnswer();
    return;
  }
  v.DataValue = read.Value;
  ShowInputWord();
  // The coarse gain view may have written the range back meanwhile; the
  // label still tells that this was a read.
  display_.ShowReadWriteBit(ReadWrite::Read);
}

void RegisterPanel::ShowNoAnswer() {
  display_.ShowReadWriteBit(ReadWrite::Read);
  display_.ShowNoAnswer();
  registerValue_->setText(QString::fromLatin1(NoAnswer));
}

void RegisterPanel::ReadAllRegisters() {
  BoardAccess::Action action(c_.Board);
  EnableSerialOutput();
  for (WordAddress address : ReadableRegisters)
    c_.Board.ReadRegister(address);
}

void RegisterPanel::ShowRegisterContent(int32_t code) {
  c_.Values.DataValue = code;
  ShowInputWord();
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
