#include "app/main_form_layout.h"

#include "panels/choice_list.h"
#include "panels/toggle_switch.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vq {
namespace {

template <typename Widget, typename... Args>
Widget *Place(QWidget *parent, const char *name, QRect geometry, Args &&...args) {
  auto *widget = new Widget(std::forward<Args>(args)..., parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

QGroupBox *Frame(QWidget *parent, const char *name, const QString &caption, QRect geometry) {
  return Place<QGroupBox>(parent, name, geometry, caption);
}

QLabel *Label(QWidget *parent, const char *name, const QString &text, QRect geometry) {
  return Place<QLabel>(parent, name, geometry, text);
}

QPushButton *Button(QWidget *parent, const char *name, const QString &caption, QRect geometry) {
  return Place<QPushButton>(parent, name, geometry, caption);
}

QLineEdit *Entry(QWidget *parent, const char *name, const QString &text, QRect geometry) {
  return Place<QLineEdit>(parent, name, geometry, text);
}

ToggleSwitch *Switch(QWidget *parent, int number, const QString &off, const QString &on, QRect geometry) {
  auto *toggle = new ToggleSwitch(off, on, parent);
  toggle->setObjectName(QStringLiteral("Toggle%1").arg(number));
  toggle->setGeometry(geometry);
  return toggle;
}

// Frame17: one row of blue headings over one row of value labels.
void BuildBitDisplay(QGroupBox *frame, MainFormControls &ui) {
  constexpr int left = 8, column = 34, groupRow = 16, headingRow = 32, valueRow = 54, height = 18;
  QFont small = frame->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  auto heading = [&](const QString &text, int col, int span = 1) {
    auto *label = new QLabel(text, frame);
    label->setFont(small);
    label->setGeometry(left + col * column, headingRow, span * column, height);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #0000c0;"));
  };
  auto group = [&](const QString &text, int col, int span) {
    auto *label = new QLabel(text, frame);
    label->setGeometry(left + col * column, groupRow, span * column, height);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #0000c0;"));
  };
  auto value = [&](const char *name, int col, int span = 1) {
    auto *label = Label(frame, name, QStringLiteral("0"), QRect(left + col * column, valueRow, span * column, height));
    label->setAlignment(Qt::AlignCenter);
    return label;
  };
  group(QStringLiteral("Register Select"), 2, 3);
  group(QStringLiteral("DAC Address"), 5, 3);
  group(QStringLiteral("Data"), 8, 16);
  heading(QStringLiteral("R/W"), 0);
  heading(QStringLiteral("0"), 1);
  heading(QStringLiteral("REG 2"), 2);
  heading(QStringLiteral("REG 1"), 3);
  heading(QStringLiteral("REG 0"), 4);
  heading(QStringLiteral("A2"), 5);
  heading(QStringLiteral("A1"), 6);
  heading(QStringLiteral("A0"), 7);
  for (int n = 15; n >= 0; --n)
    heading(QStringLiteral("D%1").arg(n), 8 + 15 - n);
  heading(QStringLiteral("Hex Value"), 24, 3);

  ui.LabelRW = value("LabelRW", 0);
  ui.LabelBit22 = value("LabelBit22", 1);
  ui.LabelREG2 = value("LabelREG2", 2);
  ui.LabelREG1 = value("LabelREG1", 3);
  ui.LabelREG0 = value("LabelREG0", 4);
  ui.LabelA2 = value("LabelA2", 5);
  ui.LabelA1 = value("LabelA1", 6);
  ui.LabelA0 = value("LabelA0", 7);
  for (int n = 15; n >= 0; --n)
    ui.LabelD[n] = value(QStringLiteral("LabelD%1").arg(n).toLatin1().constData(), 8 + 15 - n);
  ui.LabelData = value("LabelData", 24, 3);
  ui.LabelData->setText(QStringLiteral("000000"));
}

void BuildRegisterFrame(QGroupBox *frame, MainFormControls &ui) {
  ui.Frame17 =
      Frame(frame, "Frame17", QStringLiteral("Input Register Contents"), QRect(Px(120), Px(360), Px(14175), Px(1215)));
  BuildBitDisplay(ui.Frame17, ui);

  constexpr int promptY = 108, fieldY = 126, fieldH = 24;
  ui.ComboReg = Place<ChoiceList>(frame, "ComboReg", QRect(8, fieldY, 170, fieldH));
  ui.ComboAddr = Place<ChoiceList>(frame, "ComboAddr", QRect(186, fieldY, 96, fieldH));
  ui.Command1 = Button(frame, "Command1", QStringLiteral("Read Register"), QRect(290, fieldY - 2, 104, 28));
  ui.Label27 = Label(frame, "Label27", QString(), QRect(402, fieldY, 60, fieldH));
  ui.Label27->setFrameShape(QFrame::Panel);
  ui.Label27->setFrameShadow(QFrame::Sunken);
  ui.Label27->setAlignment(Qt::AlignCenter);

  ui.Label1 = Label(frame, "Label1", QStringLiteral("Enter Data Value"), QRect(480, promptY, 130, 18));
  ui.TextData = Entry(frame, "TextData", QStringLiteral("0"), QRect(480, fieldY, 110, fieldH));
  ui.Command2 = Button(frame, "Command2", QStringLiteral("Hex"), QRect(598, fieldY - 2, 52, 28));
  ui.Label29 = Label(frame, "Label29", QStringLiteral("Enter Voltage Value"), QRect(664, promptY, 150, 18));
  ui.TextVolts = Entry(frame, "TextVolts", QStringLiteral("0.0000"), QRect(664, fieldY, 120, fieldH));

  ui.Label5 = Label(frame, "Label5", QStringLiteral("Select Output Range"), QRect(480, promptY, 200, 18));
  ui.ComboCoarse = Place<ChoiceList>(frame, "ComboCoarse", QRect(480, fieldY, 220, fieldH));

  ui.Label7 =
      Label(frame, "Label7", QStringLiteral("Enter Fine Gain Value  (-32 to +31)"), QRect(480, promptY, 260, 18));
  ui.TextFine = Entry(frame, "TextFine", QStringLiteral("0"), QRect(480, fieldY, 110, fieldH));
  ui.Label9 =
      Label(frame, "Label9", QStringLiteral("Enter Offset Value  (-16 to +15.875)"), QRect(480, promptY, 260, 18));
  ui.TextOffset = Entry(frame, "TextOffset", QStringLiteral("0"), QRect(480, fieldY, 110, fieldH));
}

void BuildFunctionFrame(QGroupBox *frame, MainFormControls &ui) {
  const QRect toggle(10, 22, 110, 44);
  ui.Frame7 = Frame(frame, "Frame7", QStringLiteral("Local Gnd Offset Adjust"), QRect(8, 20, 160, 96));
  ui.Toggle[1] = Switch(ui.Frame7, 1, QStringLiteral("Disabled"), QStringLiteral("Enabled"), toggle.translated(15, 10));
  ui.Frame9 = Frame(frame, "Frame9", QStringLiteral("Serial Data Output (SDO)"), QRect(176, 20, 160, 96));
  ui.Toggle[7] = Switch(ui.Frame9, 7, QStringLiteral("Enabled"), QStringLiteral("Disabled"), toggle.translated(15, 10));

  ui.Frame8 = Frame(frame, "Frame8", QStringLiteral("Digital I/O Ports"), QRect(344, 20, 440, 96));
  ui.Frame11 = Frame(ui.Frame8, "Frame11", QString(), QRect(8, 18, 176, 70));
  ui.Toggle[3] =
      Switch(ui.Frame11, 3, QStringLiteral("D1 - Input"), QStringLiteral("D1 - Output"), QRect(4, 12, 84, 44));
  ui.Toggle[5] = Switch(ui.Frame11, 5, QStringLiteral("D1 - Low"), QStringLiteral("D1 - High"), QRect(88, 12, 84, 44));
  ui.Frame10 = Frame(ui.Frame8, "Frame10", QString(), QRect(192, 18, 176, 70));
  ui.Toggle[4] =
      Switch(ui.Frame10, 4, QStringLiteral("D0 - Input"), QStringLiteral("D0 - Output"), QRect(4, 12, 84, 44));
  ui.Toggle[6] = Switch(ui.Frame10, 6, QStringLiteral("D0 - Low"), QStringLiteral("D0 - High"), QRect(88, 12, 84, 44));
  ui.Command6 = Button(ui.Frame8, "Command6", QStringLiteral("READ"), QRect(376, 38, 56, 28));

  ui.Command4 = Button(frame, "Command4", QStringLiteral("CLEAR"), QRect(800, 40, 72, 30));
  ui.Command5 = Button(frame, "Command5", QStringLiteral("LOAD"), QRect(880, 40, 72, 30));
}

void BuildHardwareFrame(QGroupBox *frame, MainFormControls &ui) {
  const QRect toggle(13, 18, 100, 44);
  ui.Frame13 = Frame(frame, "Frame13", QStringLiteral("Bin / 2sComp"), QRect(8, 18, 126, 66));
  ui.Toggle[2] = Switch(ui.Frame13, 2, QStringLiteral("2sComplement"), QStringLiteral("Binary"), toggle);
  ui.Frame14 = Frame(frame, "Frame14", QStringLiteral("CLR Pin"), QRect(142, 18, 126, 66));
  ui.Toggle[8] = Switch(ui.Frame14, 8, QStringLiteral("Low"), QStringLiteral("High"), toggle);
  ui.Frame15 = Frame(frame, "Frame15", QStringLiteral("LDAC Pin"), QRect(276, 18, 264, 66));
  ui.Toggle[9] = Switch(ui.Frame15, 9, QStringLiteral("Low"), QStringLiteral("High"), QRect(6, 18, 80, 44));
  ui.Check1 = Place<QCheckBox>(ui.Frame15, "Check1", QRect(92, 24, 168, 30), QStringLiteral("Pulse After Data Write"));
  ui.Frame16 = Frame(frame, "Frame16", QStringLiteral("RSTIN Pin"), QRect(548, 18, 126, 66));
  ui.Toggle[10] = Switch(ui.Frame16, 10, QStringLiteral("Low"), QStringLiteral("High"), toggle);
  ui.Frame21 = Frame(frame, "Frame21", QStringLiteral("Drive D1 Pin"), QRect(682, 18, 126, 66));
  ui.Toggle[12] = Switch(ui.Frame21, 12, QStringLiteral("Low"), QStringLiteral("High"), toggle);
  ui.Frame20 = Frame(frame, "Frame20", QStringLiteral("Drive D0 Pin"), QRect(816, 18, 126, 66));
  ui.Toggle[11] = Switch(ui.Frame20, 11, QStringLiteral("Low"), QStringLiteral("High"), toggle);
}

void BuildTemperatureFrame(QGroupBox *frame, MainFormControls &ui) {
  ui.Command7 = Button(frame, "Command7", QStringLiteral("Measure"), QRect(10, 34, 80, 30));
  ui.Label19 = Label(frame, "Label19", QStringLiteral("Voltage at TEMP pin"), QRect(100, 24, 140, 20));
  ui.Label23 = Label(frame, "Label23", QString(), QRect(244, 24, 66, 20));
  ui.Label21 = Label(frame, "Label21", QStringLiteral("Temperature (°C)"), QRect(100, 56, 140, 20));
  ui.Label25 = Label(frame, "Label25", QString(), QRect(244, 56, 66, 20));
  for (QLabel *value : {ui.Label23, ui.Label25}) {
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
  }
}

void BuildCalibrationFrame(QGroupBox *frame, MainFormControls &ui) {
  ui.Command8 = Button(frame, "Command8", QStringLiteral("Perform Offset && Gain Calibration on Selected DAC"),
                       QRect(10, 22, 340, 28));
  constexpr int stageY = 60;
  ui.LabelOff1 = Label(frame, "LabelOff1", QStringLiteral("Load 0V to the DAC and measure the output voltage"),
                       QRect(10, stageY, 320, 20));
  ui.LabelOff2 = Label(frame, "LabelOff2", QStringLiteral("Measured Voltage = "), QRect(336, stageY, 120, 20));
  ui.TextOff = Entry(frame, "TextOff", QStringLiteral("0"), QRect(456, stageY - 2, 84, 24));
  ui.CommandOff = Button(frame, "CommandOff", QStringLiteral("Done"), QRect(548, stageY - 4, 66, 28));
  ui.LabelFS1 = Label(frame, "LabelFS1", QStringLiteral("Load Zero Scale to the DAC and measure the output voltage"),
                      QRect(10, stageY, 320, 20));
  ui.LabelFS2 = Label(frame, "LabelFS2", QStringLiteral("Measured Voltage = "), QRect(336, stageY, 120, 20));
  ui.TextFS = Entry(frame, "TextFS", QStringLiteral("-"), QRect(456, stageY - 2, 84, 24));
  ui.CommandFS = Button(frame, "CommandFS", QStringLiteral("Done"), QRect(548, stageY - 4, 66, 28));
  ui.LabelComplete = Label(frame, "LabelComplete", QStringLiteral("Calibration complete"), QRect(10, stageY, 320, 20));
  // The instructions wrap onto two lines rather than run under "Measured Voltage =".
  for (QLabel *instruction : {ui.LabelOff1, ui.LabelFS1}) {
    instruction->setWordWrap(true);
    instruction->setGeometry(10, stageY - 10, 320, 40);
  }
  for (QWidget *stage :
       {static_cast<QWidget *>(ui.LabelOff1), static_cast<QWidget *>(ui.LabelOff2), static_cast<QWidget *>(ui.TextOff),
        static_cast<QWidget *>(ui.CommandOff), static_cast<QWidget *>(ui.LabelFS1), static_cast<QWidget *>(ui.LabelFS2),
        static_cast<QWidget *>(ui.TextFS), static_cast<QWidget *>(ui.CommandFS),
        static_cast<QWidget *>(ui.LabelComplete)})
    stage->hide();
}

} // namespace

void BuildMainFormLayout(QWidget *client, MainFormControls &ui) {
  ui.Frame1 =
      Frame(client, "Frame1", QStringLiteral("Read / Write Registers"), QRect(Px(120), Px(360), Px(14415), Px(2415)));
  ui.Frame6 = Frame(client, "Frame6", QStringLiteral("Function Register Configuration"),
                    QRect(Px(120), Px(3000), Px(14415), Px(1935)));
  ui.Frame12 =
      Frame(client, "Frame12", QStringLiteral("Hardware Configuration"), QRect(Px(120), Px(5160), Px(14415), Px(1335)));
  ui.Frame19 = Frame(client, "Frame19", QStringLiteral("Measure VQ8231 Core Temperature"),
                     QRect(Px(120), Px(6720), Px(4815), Px(1455)));
  ui.Frame22 = Frame(client, "Frame22", QStringLiteral("Calibration"), QRect(Px(5160), Px(6720), Px(9375), Px(1455)));
  BuildRegisterFrame(ui.Frame1, ui);
  BuildFunctionFrame(ui.Frame6, ui);
  BuildHardwareFrame(ui.Frame12, ui);
  BuildTemperatureFrame(ui.Frame19, ui);
  BuildCalibrationFrame(ui.Frame22, ui);
}

} // namespace vq
