#include "windows/front_panel.h"

#include "board/function_word.h"
#include "rules/conversions.h"
#include "rules/typed_number.h"
#include "simboard/sim_board_api.h"
#include "windows/number_box.h"
#include "windows/screen_fit.h"
#include "windows/window_role.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <limits>

namespace vq {
namespace {

QString HighLow(bool high) {
  return high ? QStringLiteral("high") : QStringLiteral("low");
}

QString Driver(sim::LineDriver driver) {
  switch (driver) {
  case sim::LineDriver::None:
    return QStringLiteral("none (pulled low)");
  case sim::LineDriver::Converter:
    return QStringLiteral("converter");
  case sim::LineDriver::Board:
    return QStringLiteral("board");
  case sim::LineDriver::Both:
    return QStringLiteral("both: CONFLICT");
  }
  return {};
}

// QLabel::setText relays out and notifies assistive technology even when
// the text is the same; the panel refreshes on every board call, which
// mostly leaves its values as they were.
void Show(QLabel *label, const QString &text) {
  if (label->text() != text)
    label->setText(text);
}

QString Code(int code, int digits) {
  return QStringLiteral("0x") + QString::number(code, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

QLabel *FrontPanel::AddValue(const QString &name) {
  auto *label = new QLabel(this);
  label->setObjectName(name);
  label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  label->setTextFormat(Qt::PlainText);
  values_.push_back(label);
  return label;
}

// A label the user can select text in keeps a text document behind it, which
// costs several times a plain label to lay out and to set: at start and on
// every refresh. Selecting takes the mouse, so the values become selectable
// when the mouse first comes over the panel.
void FrontPanel::enterEvent(QEnterEvent *event) {
  QWidget::enterEvent(event);
  if (selectable_)
    return;
  selectable_ = true;
  for (QLabel *label : values_)
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

FrontPanel::FrontPanel(sim::BoardControl &board, QWidget *parent) : QWidget(parent, Qt::Window), board_(board) {
  setObjectName(QStringLiteral("FrontPanel"));
  setWindowTitle(QStringLiteral("Simulated Board"));
  PresentOwnWindowsAsWindows();

  auto *outputs = new QGroupBox(QStringLiteral("Outputs and registers"), this);
  auto *grid = new QGridLayout(outputs);
  const QStringList headings = {QStringLiteral("Channel"),  QStringLiteral("Output (voltmeter)"),
                                QStringLiteral("DAC reg."), QStringLiteral("Input reg."),
                                QStringLiteral("Range"),    QStringLiteral("Fine gain"),
                                QStringLiteral("Offset"),   QStringLiteral("Coding")};
  for (int c = 0; c < headings.size(); ++c) {
    auto *heading = new QLabel(headings[c], outputs);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 0, c);
  }
  for (int channel = 0; channel < sim::ChannelCount; ++channel) {
    const QChar letter(QLatin1Char(static_cast<char>('A' + channel)));
    ChannelRow &row = channels_[static_cast<std::size_t>(channel)];
    row = {AddValue(QStringLiteral("Output") + letter),    AddValue(QStringLiteral("DacCode") + letter),
           AddValue(QStringLiteral("InputCode") + letter), AddValue(QStringLiteral("Range") + letter),
           AddValue(QStringLiteral("FineGain") + letter),  AddValue(QStringLiteral("Offset") + letter),
           AddValue(QStringLiteral("Coding") + letter),    std::nullopt};
    grid->addWidget(new QLabel(QStringLiteral("DAC ") + letter, outputs), channel + 1, 0);
    QLabel *cells[] = {row.Output, row.Dac, row.Input, row.Range, row.FineGain, row.Offset, row.Coding};
    // Each column as wide as its widest value, so the panel keeps its width
    // whatever the registers hold.
    const char *widest[] = {"-88.88888 V",
                            "0xFFFF",
                            "0xFFFF",
                            "\u00B1"
                            "10.240 V (code 3)",
                            "0xFF (-32)",
                            "0xFF (-15.875 LSB)",
                            "two's complement"};
    for (int c = 0; c < 7; ++c) {
      cells[c]->setAccessibleName(QStringLiteral("DAC %1 %2").arg(letter, headings[c + 1].toLower()));
      cells[c]->setMinimumWidth(cells[c]->fontMetrics().horizontalAdvance(QString::fromUtf8(widest[c])));
      grid->addWidget(cells[c], channel + 1, c + 1);
    }
  }

  auto *lines = new QGroupBox(QStringLiteral("Lines"), this);
  auto *lineGrid = new QGridLayout(lines);
  ldac_ = AddValue(QStringLiteral("LineLDAC"));
  clr_ = AddValue(QStringLiteral("LineCLR"));
  rstin_ = AddValue(QStringLiteral("LineRSTIN"));
  coding_ = AddValue(QStringLiteral("LineCoding"));
  d0Driver_ = AddValue(QStringLiteral("D0Driver"));
  d0Level_ = AddValue(QStringLiteral("D0Level"));
  d1Driver_ = AddValue(QStringLiteral("D1Driver"));
  d1Level_ = AddValue(QStringLiteral("D1Level"));
  sdo_ = AddValue(QStringLiteral("Sdo"));
  firmware_ = AddValue(QStringLiteral("Firmware"));
  const std::pair<const char *, QLabel *> lineRows[] = {{"LDAC", ldac_},
                                                        {"CLR", clr_},
                                                        {"RSTIN", rstin_},
                                                        {"Coding line", coding_},
                                                        {"D0 driven by", d0Driver_},
                                                        {"D0 level", d0Level_},
                                                        {"D1 driven by", d1Driver_},
                                                        {"D1 level", d1Level_},
                                                        {"SDO", sdo_},
                                                        {"Firmware", firmware_}};
  int lineRow = 0;
  for (const auto &[caption, label] : lineRows) {
    lineGrid->addWidget(new QLabel(QString::fromLatin1(caption), lines), lineRow / 2, (lineRow % 2) * 2);
    lineGrid->addWidget(label, lineRow / 2, (lineRow % 2) * 2 + 1);
    label->setAccessibleName(QString::fromLatin1(caption));
    ++lineRow;
  }

  auto *conditions = new QGroupBox(QStringLiteral("Conditions"), this);
  auto *conditionGrid = new QGridLayout(conditions);
  temperature_ = new NumberBox(
      QStringLiteral("die temperature"), QStringLiteral(" \u00B0C"),
      [this](std::string_view text) {
        const TypedValue<double> read = ReadTypedDecimal(text, LowestDieTemperature, HighestDieTemperature);
        if (read.Value) {
          board_.SetDieTemperature(*read.Value);
          Refresh();
        }
        return read.Refusal;
      },
      conditions);
  temperature_->setObjectName(QStringLiteral("DieTemperature"));
  seed_ = new NumberBox(
      QStringLiteral("error seed"), QString(),
      [this](std::string_view text) {
        const TypedValue<int64_t> read = ReadTypedInteger(text, 0, std::numeric_limits<uint32_t>::max());
        if (read.Value) {
          board_.SetErrorSeed(static_cast<uint32_t>(*read.Value));
          Refresh();
        }
        return read.Refusal;
      },
      conditions);
  seed_->setObjectName(QStringLiteral("ErrorSeed"));
  seed_->setToolTip(QStringLiteral("0 = ideal converter"));
  seed_->setAccessibleName(QStringLiteral("Error seed"));
  temperature_->setAccessibleName(QStringLiteral("Die temperature"));
  temperature_->setToolTip(
      QStringLiteral("The die temperature the simulated converter is at, in degrees Celsius; \"Measure\" reads it"));
  conditionGrid->addWidget(new QLabel(QStringLiteral("Die temperature (\u00B0C)"), conditions), 0, 0);
  conditionGrid->addWidget(temperature_, 0, 1);
  conditionGrid->addWidget(new QLabel(QStringLiteral("Error seed (0 = ideal)"), conditions), 1, 0);
  conditionGrid->addWidget(seed_, 1, 1);
  // The converter's supply alone: the board keeps its firmware, its
  // connection and the lines it drives, so a saved setup can be seen coming
  // back.
  powerCycleButton_ = new QPushButton(QStringLiteral("&Power Cycle"), conditions);
  powerCycleButton_->setObjectName(QStringLiteral("PowerCycleButton"));
  powerCycleButton_->setAccessibleName(QStringLiteral("Power cycle the converter"));
  powerCycleButton_->setToolTip(
      QStringLiteral("Cycles the converter's supply: every register back to its power-on code; the board keeps its "
                     "firmware and connection"));
  conditionGrid->addWidget(powerCycleButton_, 2, 0, 1, 2, Qt::AlignLeft);
  connect(powerCycleButton_, &QPushButton::clicked, this, [this] {
    board_.PowerCycleConverter();
    Refresh();
    emit converterPowerCycled();
  });
  // Usable whatever the program does: a board that is unplugged is found
  // again only once it is plugged in.
  connected_ = new QCheckBox(QStringLiteral("&Connected"), conditions);
  connected_->setObjectName(QStringLiteral("BoardConnected"));
  connected_->setAccessibleName(QStringLiteral("Connected"));
  connected_->setToolTip(QStringLiteral("The board's USB cable: untick to pull it, as if the board were unplugged; "
                                        "plugged in again, the board has lost its firmware and its registers"));
  connect(connected_, &QCheckBox::toggled, this, [this](bool pluggedIn) {
    board_.SetPluggedIn(pluggedIn);
    Refresh();
  });
  conditionGrid->addWidget(connected_, 3, 0, 1, 2);

  auto *content = new QWidget;
  auto *layout = new QVBoxLayout(content);
  layout->addWidget(outputs);
  layout->addWidget(lines);
  layout->addWidget(conditions);
  auto *window = new QVBoxLayout(this);
  window->setContentsMargins(0, 0, 0, 0);
  window->addWidget(new FittingScrollArea(content, this));
  Refresh();
  FitOnScreen(*this);
}

void FrontPanel::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  Refresh();
}

void FrontPanel::Refresh() {
  const sim::ControlLines lines = board_.Lines();
  const QString coding = lines.BinaryCoding ? QStringLiteral("offset binary") : QStringLiteral("two's complement");
  for (int channel = 0; channel < sim::ChannelCount; ++channel) {
    ChannelRow &row = channels_[static_cast<std::size_t>(channel)];
    const sim::ChannelRegisters registers = board_.Registers(channel);
    const ChannelShown shown{registers, board_.OutputVoltage(channel), lines.BinaryCoding};
    if (row.Shown == shown)
      continue; // most requests leave most channels as they were
    row.Shown = shown;
    Show(row.Output, QString::asprintf("%+.5f V", shown.Output));
    Show(row.Dac, Code(registers.Dac, 4));
    Show(row.Input, Code(registers.Input, 4));
    const float range = RangeForCoarseCode(registers.Coarse).value_or(4.096f);
    Show(row.Range, QString::asprintf("\u00B1%.3f V", static_cast<double>(range)) +
                        (registers.Coarse == 3 ? QStringLiteral(" (code 3)") : QString()));
    Show(row.FineGain, QStringLiteral("%1 (%2)").arg(Code(registers.Fine, 2)).arg(FineGainValue(registers.Fine)));
    Show(row.Offset, QStringLiteral("%1 (%2 LSB)")
                         .arg(Code(registers.Offset, 2))
                         .arg(static_cast<double>(OffsetValue(registers.Offset))));
    Show(row.Coding, coding);
  }
  Show(ldac_, HighLow(lines.Ldac));
  Show(clr_, HighLow(lines.Clr));
  Show(rstin_, HighLow(lines.Rstin));
  Show(coding_, lines.BinaryCoding ? QStringLiteral("high (offset binary)") : QStringLiteral("low (two's complement)"));
  const sim::DigitalLineState d0 = board_.D0();
  const sim::DigitalLineState d1 = board_.D1();
  Show(d0Driver_, Driver(d0.Driver));
  Show(d0Level_, HighLow(d0.Level));
  Show(d1Driver_, Driver(d1.Driver));
  Show(d1Level_, HighLow(d1.Level));
  Show(sdo_, FunctionWord::FromBits(board_.FunctionRegister()).SdoDisabled ? QStringLiteral("disabled")
                                                                           : QStringLiteral("enabled"));
  Show(firmware_, board_.FirmwareRunning()
                      ? QStringLiteral("running")
                      : QStringLiteral("not running") +
                            (board_.FirmwareProblem().empty()
                                 ? QString()
                                 : QStringLiteral(": ") + QString::fromStdString(board_.FirmwareProblem())));
  temperature_->ShowValue(QString::fromStdString(ShortestText(board_.DieTemperature())));
  seed_->ShowValue(QString::number(board_.ErrorSeed()));
  const QSignalBlocker quiet(connected_);
  connected_->setChecked(board_.PluggedIn());
}

} // namespace vq
