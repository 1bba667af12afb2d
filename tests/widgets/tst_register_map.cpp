// The register map through its own widgets: "Read All" sends what "Read
// Register" sends for every register and changes the window as it does; a
// typed code is one write or nothing; the map shows what the converter holds
// after the main window's own entries, in both programs.
#include "boardlog/register_values.h"
#include "panels/toggle_switch.h"
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"
#include "windows/register_map_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

RegisterMapWindow *OpenMap(FormFixture &fixture) {
  fixture.Find<QAction>(QStringLiteral("MnuRegisterMap"))->trigger();
  auto *map = fixture.Window().findChild<RegisterMapWindow *>(QStringLiteral("RegisterMapWindow"));
  if (map == nullptr || !map->isVisible())
    qFatal("the register map did not open");
  return map;
}

QTableView *Table(RegisterMapWindow *map) {
  return map->findChild<QTableView *>(QStringLiteral("RegisterTable"));
}

int RowOf(WordAddress address) {
  for (int row = 0; row < ReadableRegisterCount; ++row)
    if (ReadableRegisters[row] == address)
      return row;
  qFatal("no such row");
}

QString Cell(RegisterMapWindow *map, WordAddress address, int column) {
  return map->Model().index(RowOf(address), column).data().toString();
}

// Types into the row's code cell as a user does, and presses Return.
void TypeCode(RegisterMapWindow *map, WordAddress address, const QString &text) {
  QTableView *table = Table(map);
  const QModelIndex cell = map->Model().index(RowOf(address), RegisterMapModel::CodeColumn);
  table->setFocus();
  table->setCurrentIndex(cell);
  QTest::keyClick(table, Qt::Key_F2);
  auto *editor = table->viewport()->findChild<QLineEdit *>();
  if (editor == nullptr)
    qFatal("no editor opened on the code cell");
  editor->selectAll();
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  // The delegate commits the text once the key press is through.
  QCoreApplication::processEvents();
}

QString Message(RegisterMapWindow *map) {
  return map->findChild<QLabel *>(QStringLiteral("RegisterMapMessage"))->text();
}

const WordAddress DacBFine{Register::FineGain, Channel::B};
const WordAddress DacAData{Register::Data, Channel::A};
const WordAddress DacCData{Register::Data, Channel::C};

} // namespace

class RegisterMapTest : public QObject {
  Q_OBJECT
private slots:
  void readAllReadsEveryRegisterAsReadRegisterDoes();
  void typedCodeIsOneWriteOrNothing_data();
  void typedCodeIsOneWriteOrNothing();
  void copiesTheSelectedRows();
  void titleStillDoesNothing();
  void showsWhatTheSimulatedConverterHolds_data();
  void showsWhatTheSimulatedConverterHolds();
};

void RegisterMapTest::readAllReadsEveryRegisterAsReadRegisterDoes() {
  LoadedPanel panel;
  RegisterMapWindow *map = OpenMap(panel.form.fixture);
  // After "Measure" the converter's SDO is off and the program knows it.
  Click(panel.Controls().MeasureButton);
  QVERIFY(panel.Controls().SdoSwitch->Value());
  panel.Values().Options.LocalGroundOffsetAdjust = true;
  for (int row = 0; row < ReadableRegisterCount; ++row)
    panel.Link().SetRegister(ReadableRegisters[row], (row * 0x1111 + 3) & RegisterMask(ReadableRegisters[row]));
  panel.Taken();

  Click(map->findChild<QPushButton *>(QStringLiteral("RegisterMapReadAll")));

  QStringList expected{QStringLiteral("DD out v=1 i=20")};
  for (WordAddress address : ReadableRegisters)
    expected << Read(address);
  QCOMPARE(panel.Taken(), expected);
  QCOMPARE(panel.Values().Options.SdoDisabled, false);
  QVERIFY(!panel.Controls().SdoSwitch->Value());
  QCOMPARE(panel.Controls().ReadWriteBit->text(), QStringLiteral("1"));
  for (int row = 0; row < ReadableRegisterCount; ++row) {
    const WordAddress address = ReadableRegisters[row];
    const auto code = static_cast<uint16_t>((row * 0x1111 + 3) & RegisterMask(address));
    QCOMPARE(Cell(map, address, RegisterMapModel::CodeColumn), QString::fromStdString(CodeText(code, false)));
    QVERIFY(Cell(map, address, RegisterMapModel::OriginColumn).startsWith(QStringLiteral("read ")));
  }
}

void RegisterMapTest::typedCodeIsOneWriteOrNothing_data() {
  QTest::addColumn<bool>("decimal");
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QStringList>("requests");
  QTest::addColumn<QString>("code");
  QTest::addColumn<QString>("message");
  QTest::newRow("fine gain, pulsed as the entries do")
      << false << RowOf(DacBFine) << "3f" << QStringList{"D9 out v=21 i=3F"} << "003F"
      << "";
  QTest::newRow("data, with the LDAC pulse")
      << false << RowOf(DacCData) << "9F40" << QStringList{"D9 out v=12 i=9F40"} << "9F40"
      << "";
  QTest::newRow("function register, never pulsed")
      << false << RowOf(Command::FunctionRegister) << "20" << QStringList{"DD out v=1 i=20"} << "0020"
      << "";
  QTest::newRow("decimal mode") << true << RowOf(DacAData) << "40768" << QStringList{"D9 out v=10 i=9F40"} << "40768"
                                << "";
  QTest::newRow("above the limit") << false << RowOf(DacBFine) << "40" << QStringList{} << ""
                                   << "DAC B fine gain: 40 is above its largest code, 3F. Nothing was written.";
  QTest::newRow("coarse gain without a range")
      << false << RowOf({Register::CoarseGain, Channel::D}) << "3" << QStringList{} << ""
      << "DAC D coarse gain: 3 is above its largest code, 2. Nothing was written.";
  QTest::newRow("hexadecimal in decimal mode")
      << true << RowOf(DacAData) << "9F40" << QStringList{} << ""
      << "DAC A data: '9F40' is not a decimal code; it takes 0 to 65535. Nothing was written.";
}

void RegisterMapTest::typedCodeIsOneWriteOrNothing() {
  QFETCH(bool, decimal);
  QFETCH(int, row);
  QFETCH(QString, typed);
  QFETCH(QStringList, requests);
  QFETCH(QString, code);
  QFETCH(QString, message);
  LoadedPanel panel;
  RegisterMapWindow *map = OpenMap(panel.form.fixture);
  if (decimal)
    Click(panel.Controls().DisplayModeButton);
  const WordAddress address = ReadableRegisters[row];
  const QString before = Cell(map, address, RegisterMapModel::CodeColumn);
  panel.Taken();

  TypeCode(map, address, typed);

  QCOMPARE(panel.Taken(), requests);
  QCOMPARE(Message(map), message);
  if (requests.isEmpty()) {
    QCOMPARE(Cell(map, address, RegisterMapModel::CodeColumn), before);
  } else {
    QCOMPARE(Cell(map, address, RegisterMapModel::CodeColumn), code);
    QCOMPARE(Cell(map, address, RegisterMapModel::OriginColumn), QStringLiteral("written"));
    QCOMPARE(panel.Controls().ReadWriteBit->text(), QStringLiteral("0"));
  }
}

void RegisterMapTest::copiesTheSelectedRows() {
  LoadedPanel panel;
  RegisterMapWindow *map = OpenMap(panel.form.fixture);
  TypeCode(map, DacBFine, QStringLiteral("3F"));
  QTableView *table = Table(map);
  table->clearSelection();
  table->selectionModel()->select(map->Model().index(RowOf(Command::FunctionRegister), 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  table->selectionModel()->select(map->Model().index(RowOf(DacBFine), 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QApplication::clipboard()->clear();
  table->setFocus();
  QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 2);
  QCOMPARE(lines[0], QStringLiteral("fine gain\tDAC B\t003F\t-1 steps\twritten"));
  QVERIFY(lines[1].startsWith(QStringLiteral("function\t\t")));
}

void RegisterMapTest::titleStillDoesNothing() {
  LoadedPanel panel;
  auto *title = panel.form.fixture.Find<QAction>(QStringLiteral("MnuTest"));
  QCOMPARE(title->text(), QStringLiteral("Direct Read/Write"));
  QCOMPARE(panel.form.fixture.Find<QAction>(QStringLiteral("MnuRegisterMap"))->text(),
           QStringLiteral("Register &Map..."));
  title->trigger();
  QVERIFY(panel.Taken().isEmpty());
  QVERIFY(!panel.Window().RegisterMap().isVisible());
}

void RegisterMapTest::showsWhatTheSimulatedConverterHolds_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::newRow("VQ8231(version2)") << false;
  QTest::newRow("VQ8231") << true;
}

void RegisterMapTest::showsWhatTheSimulatedConverterHolds() {
  QFETCH(bool, earlierBuild);
  SimulatedProgram program(earlierBuild);
  QVERIFY(program.fixture.Start());
  RegisterMapWindow *map = OpenMap(program.fixture);
  MainWindowControls &ui = program.Controls();

  // A voltage on DAC B: its range is read first, then the code written.
  Choose(ui.ChannelList, QStringLiteral("DAC B"));
  Enter(ui.VoltsBox, QStringLiteral("1"));
  const WordAddress dacBData{Register::Data, Channel::B};
  QCOMPARE(Cell(map, dacBData, RegisterMapModel::CodeColumn), QStringLiteral("9F40"));
  QCOMPARE(Cell(map, dacBData, RegisterMapModel::ValueColumn), QStringLiteral("+1.00000 V"));
  QCOMPARE(Cell(map, dacBData, RegisterMapModel::OriginColumn), QStringLiteral("written"));
  // The fine gain of DAC C through its own box, and the range of DAC D.
  Choose(ui.RegisterList, QStringLiteral("Fine Gain Register"));
  Choose(ui.ChannelList, QStringLiteral("DAC C"));
  Enter(ui.FineGainBox, QStringLiteral("-3"));
  Choose(ui.RegisterList, QStringLiteral("Coarse Gain Register"));
  Choose(ui.ChannelList, QStringLiteral("DAC D"));
  Choose(ui.RangeList, RangeChoiceText(2));
  QCOMPARE(Cell(map, {Register::FineGain, Channel::C}, RegisterMapModel::ValueColumn), QStringLiteral("-3 steps"));
  QCOMPARE(Cell(map, {Register::CoarseGain, Channel::D}, RegisterMapModel::ValueColumn),
           QStringLiteral("\u00B14.311 V"));

  Click(map->findChild<QPushButton *>(QStringLiteral("RegisterMapReadAll")));
  for (int channel = 0; channel < 4; ++channel) {
    const sim::ChannelRegisters held = program.board.Registers(channel);
    const auto ch = static_cast<Channel>(channel);
    const int codes[] = {held.Input, held.Coarse, held.Fine, held.Offset};
    const Register regs[] = {Register::Data, Register::CoarseGain, Register::FineGain, Register::Offset};
    for (int r = 0; r < 4; ++r) {
      const WordAddress address{regs[r], ch};
      QCOMPARE(Cell(map, address, RegisterMapModel::CodeColumn),
               QString::fromStdString(CodeText(static_cast<uint16_t>(codes[r]), false)));
      QVERIFY(Cell(map, address, RegisterMapModel::OriginColumn).startsWith(QStringLiteral("read ")));
    }
  }
  QCOMPARE(Cell(map, Command::FunctionRegister, RegisterMapModel::CodeColumn),
           QString::fromStdString(CodeText(program.board.FunctionRegister(), false)));
}

QTEST_MAIN(RegisterMapTest)
#include "tst_register_map.moc"
