// The register panel's three lists: what each choice sends, which controls
// it shows, and what the bit display and the entry field show afterwards.
#include "panels/choice_list.h"
#include "tests/support/panel_driver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

const QString DataView = QStringLiteral("ComboAddr TextData Label1 TextVolts Label29 Command2");
const QString FunctionWordSent = QStringLiteral("DD out v=1 i=0"); // options all 0, SDO enabled

} // namespace

class RegisterPanelTest : public QObject {
  Q_OBJECT
private slots:
  void registerChoiceSetsViewAndReadsBack_data();
  void registerChoiceSetsViewAndReadsBack();
  void functionRegisterThenDataRegisterGoesToTheListedChannel();
  void coarseGainViewSelectsTheRangeRead_data();
  void coarseGainViewSelectsTheRangeRead();
  void channelChoiceReadsThatChannelAtOnce_data();
  void channelChoiceReadsThatChannelAtOnce();
  void coarseGainViewOnAllDacsSendsNothing_data();
  void coarseGainViewOnAllDacsSendsNothing();
  void rangeChoiceWritesTheCurrentChannel_data();
  void rangeChoiceWritesTheCurrentChannel();
};

void RegisterPanelTest::registerChoiceSetsViewAndReadsBack_data() {
  QTest::addColumn<QString>("entry");
  QTest::addColumn<int>("select");
  QTest::addColumn<int>("content");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("regBits");
  QTest::addColumn<QString>("addressBits");
  QTest::addColumn<QString>("registerValue");
  QTest::addColumn<QString>("word");
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("fieldText");

  QTest::newRow("function register: address 1, only the base button")
      << "Function Register" << 0 << 0x21 << (QStringList{FunctionWordSent} + Read(Command::FunctionRegister))
      << "Command2"
      << "000"
      << "001"
      << "0021"
      << "810021"
      << "TextData"
      << "0";
  QTest::newRow("data register") << "Data Register" << 2 << 0x0ABC
                                 << (QStringList{FunctionWordSent} + Read({Register::Data, Channel::A})) << DataView
                                 << "010"
                                 << "000"
                                 << "0ABC"
                                 << "900ABC"
                                 << "TextVolts"
                                 << "-3.7525";
  QTest::newRow("coarse gain: range read, selected and written back")
      << "Coarse Gain Register" << 3 << 2
      << (Read({Register::CoarseGain, Channel::A}) + QStringList{"D9 out v=18 i=2", FunctionWordSent} +
          Read({Register::CoarseGain, Channel::A}))
      << "ComboAddr ComboCoarse Label5"
      << "011"
      << "000"
      << "0002"
      << "980002"
      << "ComboCoarse" << RangeChoiceText(2);
  QTest::newRow("fine gain") << "Fine Gain Register" << 4 << 63
                             << (QStringList{FunctionWordSent} + Read({Register::FineGain, Channel::A}))
                             << "ComboAddr TextFine Label7"
                             << "100"
                             << "000"
                             << "003F"
                             << "A0003F"
                             << "TextFine"
                             << "-1";
  QTest::newRow("offset") << "Offset Register" << 5 << 255
                          << (QStringList{FunctionWordSent} + Read({Register::Offset, Channel::A}))
                          << "ComboAddr TextOffset Label9"
                          << "101"
                          << "000"
                          << "00FF"
                          << "A800FF"
                          << "TextOffset"
                          << "-0.125";
}

void RegisterPanelTest::registerChoiceSetsViewAndReadsBack() {
  QFETCH(QString, entry);
  QFETCH(int, select);
  QFETCH(int, content);
  LoadedPanel panel;
  const int16_t address = select == 0 ? 1 : 0;
  const WordAddress read =
      select == 0 ? WordAddress(Command::FunctionRegister) : WordAddress(static_cast<Register>(select), Channel::A);
  panel.Link().SetRegister(read, content);

  Choose(panel.Controls().RegisterList, entry);

  QTEST(panel.Taken(), "requests");
  QTEST(ShownEntryArea(panel.Controls()), "shown");
  QCOMPARE(int(panel.Values().Word.SelectBits()), select);
  QCOMPARE(int(panel.Values().Word.AddressBits()), int(address));
  QCOMPARE(panel.Values().DataValue, content);
  QTEST(RegisterBits(panel.Controls()), "regBits");
  QTEST(AddressBits(panel.Controls()), "addressBits");
  QTEST(panel.Controls().RegisterValue->text(), "registerValue");
  QTEST(panel.Controls().WordHex->text(), "word");
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("1"));
  QFETCH(QString, field);
  QTEST(FieldText(panel.Controls(), field), "fieldText");
}

// The function register's command code in the address field is not taken
// for a channel: the next register view addresses the channel the list shows.
void RegisterPanelTest::functionRegisterThenDataRegisterGoesToTheListedChannel() {
  LoadedPanel panel;
  panel.Link().SetRegister({Register::Data, Channel::A}, 0x1234);
  panel.Link().SetRegister({Register::Data, Channel::C}, 0x0C0C);
  Choose(panel.Controls().RegisterList, "Function Register");
  panel.Taken();

  // No channel chosen yet: DAC A.
  Choose(panel.Controls().RegisterList, "Data Register");
  QCOMPARE(panel.Taken(), QStringList{FunctionWordSent} + Read({Register::Data, Channel::A}));
  QCOMPARE(int(panel.Values().Word.AddressBits()), 0);
  QCOMPARE(AddressBits(panel.Controls()), QString("000"));
  QCOMPARE(panel.Controls().ChannelList->currentIndex(), -1);
  QCOMPARE(panel.Controls().DataBox->text(), QString("1234"));
  Enter(panel.Controls().DataBox, "5");
  QCOMPARE(panel.Taken(), Read({Register::CoarseGain, Channel::A}) + QStringList{"D9 out v=10 i=5"});

  // DAC C chosen before the function register view: DAC C again after it.
  Choose(panel.Controls().ChannelList, "DAC C");
  Choose(panel.Controls().RegisterList, "Function Register");
  panel.Taken();
  Choose(panel.Controls().RegisterList, "Fine Gain Register");
  QCOMPARE(panel.Taken(), QStringList{FunctionWordSent} + Read({Register::FineGain, Channel::C}));
  QCOMPARE(AddressBits(panel.Controls()), QString("010"));
}

void RegisterPanelTest::coarseGainViewSelectsTheRangeRead_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::addColumn<int>("before"); // range chosen beforehand, -1 none
  QTest::addColumn<int>("content");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<int>("selected");
  QTest::addColumn<float>("range");

  const QStringList read = Read({Register::CoarseGain, Channel::A});
  const QStringList readBack = QStringList{FunctionWordSent} + read;
  for (const Program &p : BothPrograms) {
    const bool earlier = p.EarlierBuild;
    QTest::addRow("%s: reads 1 while another range is shown: written back", p.Name)
        << earlier << 0 << 1 << (read + QStringList{"D9 out v=18 i=1"} + readBack) << 1 << 4.201f;
    QTest::addRow("%s: reads the range already shown: nothing written", p.Name)
        << earlier << 1 << 1 << (read + readBack) << 1 << 4.201f;
    QTest::addRow("%s: first view, code 0: a change of selection", p.Name)
        << earlier << -1 << 0 << (read + QStringList{"D9 out v=18 i=0"} + readBack) << 0 << 4.096f;
    QTest::addRow("%s: code 3 leaves the list", p.Name) << earlier << -1 << 3 << (read + readBack) << -1 << 4.096f;
    QTest::addRow("%s: code 3 takes away a range shown, writes nothing", p.Name)
        << earlier << 1 << 3 << (read + readBack) << -1 << 4.201f;
    QTest::addRow("%s: only the two lowest bits choose the range", p.Name)
        << earlier << 0 << 6 << (read + QStringList{"D9 out v=18 i=2"} + readBack) << 2 << 4.311f;
  }
}

void RegisterPanelTest::coarseGainViewSelectsTheRangeRead() {
  QFETCH(bool, earlierBuild);
  QFETCH(int, before);
  QFETCH(int, content);
  LoadedPanel panel(earlierBuild);
  if (before >= 0)
    Choose(panel.Controls().RangeList, RangeChoiceText(before));
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, content);
  panel.Taken();

  Choose(panel.Controls().RegisterList, "Coarse Gain Register");

  QTEST(panel.Taken(), "requests");
  QFETCH(int, selected);
  QCOMPARE(panel.Controls().RangeList->currentText(), RangeChoiceText(selected));
  QTEST(panel.Values().OutputRange, "range");
  QCOMPARE(panel.Values().DataValue, content);
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("1"));
}

void RegisterPanelTest::channelChoiceReadsThatChannelAtOnce_data() {
  QTest::addColumn<QString>("view");
  QTest::addColumn<QString>("channel");
  QTest::addColumn<int>("address");
  QTest::addColumn<QString>("addressBits");
  QTest::addColumn<int>("upperByte");

  QTest::newRow("data, DAC A") << "Data Register"
                               << "DAC A" << 0 << "000" << 0x90;
  QTest::newRow("data, DAC B") << "Data Register"
                               << "DAC B" << 1 << "001" << 0x91;
  QTest::newRow("data, DAC C") << "Data Register"
                               << "DAC C" << 2 << "010" << 0x92;
  QTest::newRow("data, DAC D") << "Data Register"
                               << "DAC D" << 3 << "011" << 0x93;
  QTest::newRow("data, ALL DACs") << "Data Register"
                                  << "ALL DACs" << 4 << "100" << 0x94;
  QTest::newRow("offset, DAC D") << "Offset Register"
                                 << "DAC D" << 3 << "011" << 0xAB;
}

void RegisterPanelTest::channelChoiceReadsThatChannelAtOnce() {
  QFETCH(QString, view);
  QFETCH(QString, channel);
  QFETCH(int, address);
  QFETCH(int, upperByte);
  LoadedPanel panel;
  Choose(panel.Controls().RegisterList, view);
  panel.Link().SetRegister(panel.Values().Word.WithChannel(static_cast<Channel>(address)), 0x0042);
  panel.Taken();

  Choose(panel.Controls().ChannelList, channel);

  const QString read = QStringLiteral("DD in v=%1 len=3").arg(QString::number(upperByte, 16).toUpper());
  QCOMPARE(panel.Taken(), (QStringList{FunctionWordSent, read, read}));
  QCOMPARE(int(panel.Values().Word.AddressBits()), int(address));
  QTEST(AddressBits(panel.Controls()), "addressBits");
  QCOMPARE(panel.Values().DataValue, 0x42);
  QCOMPARE(panel.Controls().RegisterValue->text(), QString("0042"));
}

// "ALL DACs" has no coarse gain register to read: its view sends nothing
// and shows no range until the user chooses one, which goes to all four.
void RegisterPanelTest::coarseGainViewOnAllDacsSendsNothing_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::addColumn<bool>("channelFirst"); // ALL DACs chosen before the view, or in it
  for (const Program &program : BothPrograms) {
    QTest::addRow("%s, view chosen on ALL DACs", program.Name) << program.EarlierBuild << true;
    QTest::addRow("%s, ALL DACs chosen in the view", program.Name) << program.EarlierBuild << false;
  }
}

void RegisterPanelTest::coarseGainViewOnAllDacsSendsNothing() {
  QFETCH(bool, earlierBuild);
  QFETCH(bool, channelFirst);
  LoadedPanel panel(earlierBuild);
  panel.Link().SetRegister({Register::CoarseGain, Channel::All}, 1);
  panel.Link().SetRegister({Register::CoarseGain, Channel::B}, 2);
  Choose(panel.Controls().ChannelList, "DAC B");
  Choose(panel.Controls().RegisterList, "Coarse Gain Register");
  QCOMPARE(panel.Controls().RangeList->currentText(), RangeChoiceText(2));
  if (channelFirst) {
    Choose(panel.Controls().RegisterList, "Data Register");
    Choose(panel.Controls().ChannelList, "ALL DACs");
  }
  const QString readWrite = panel.Controls().ReadWriteBit->text();
  panel.Taken();

  Choose(channelFirst ? panel.Controls().RegisterList : panel.Controls().ChannelList,
         channelFirst ? "Coarse Gain Register" : "ALL DACs");

  QCOMPARE(panel.Taken(), QStringList());
  QCOMPARE(panel.Controls().RangeList->currentIndex(), -1);
  QCOMPARE(ShownEntryArea(panel.Controls()), QString("ComboAddr ComboCoarse Label5"));
  QCOMPARE(RegisterBits(panel.Controls()), QString("011"));
  QCOMPARE(AddressBits(panel.Controls()), QString("100"));
  QCOMPARE(panel.Controls().ReadWriteBit->text(), readWrite);

  // "Read Register" there reads nothing either, and keeps what the user chose.
  Choose(panel.Controls().RangeList, RangeChoiceText(2));
  QCOMPARE(panel.Taken(), QStringList{"D9 out v=1C i=2"});
  QCOMPARE(panel.Values().OutputRange, 4.311f);
  Click(panel.Controls().ReadRegisterButton);
  QCOMPARE(panel.Taken(), QStringList());
  QCOMPARE(panel.Controls().RangeList->currentText(), RangeChoiceText(2));

  // Back on one channel its range is read and shown again.
  Choose(panel.Controls().ChannelList, "DAC B");
  QCOMPARE(panel.Taken(), QStringList{FunctionWordSent} + Read({Register::CoarseGain, Channel::B}));
  QCOMPARE(panel.Controls().RangeList->currentText(), RangeChoiceText(2));
}

void RegisterPanelTest::rangeChoiceWritesTheCurrentChannel_data() {
  QTest::addColumn<QString>("channel");
  QTest::addColumn<bool>("pulse");
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("request");
  QTest::addColumn<float>("range");

  QTest::newRow("ALL DACs, pulsed") << "ALL DACs" << true << 2 << "D9 out v=1C i=2" << 4.311f;
  QTest::newRow("DAC B, not pulsed") << "DAC B" << false << 1 << "DD out v=19 i=1" << 4.201f;
  QTest::newRow("DAC D, back to 4.096") << "DAC D" << true << 0 << "D9 out v=1B i=0" << 4.096f;
}

void RegisterPanelTest::rangeChoiceWritesTheCurrentChannel() {
  QFETCH(QString, channel);
  QFETCH(bool, pulse);
  QFETCH(int, code);
  LoadedPanel panel;
  panel.Link().SetRegister({Register::CoarseGain, Channel::All}, 3); // no range: the views show none
  panel.Link().SetRegister({Register::CoarseGain, Channel::B}, 3);
  panel.Link().SetRegister({Register::CoarseGain, Channel::D}, 3);
  panel.Link().SetRegister({Register::CoarseGain, Channel::A}, code == 0 ? 1 : 0); // the first view shows another range
  Choose(panel.Controls().RegisterList, "Coarse Gain Register");
  Choose(panel.Controls().ChannelList, channel);
  panel.Controls().PulseAfterWriteBox->setChecked(pulse);
  panel.Taken();

  Choose(panel.Controls().RangeList, RangeChoiceText(code));

  QFETCH(QString, request);
  QCOMPARE(panel.Taken(), QStringList{request});
  QTEST(panel.Values().OutputRange, "range");
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QString("0"));
  QCOMPARE(panel.Board().ReadWriteBit(), ReadWrite::Write);
}

QTEST_MAIN(RegisterPanelTest)
#include "tst_register_panel.moc"
