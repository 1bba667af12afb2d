// A board that fails: requests refused, reads that deliver fewer bytes than
// asked for, a board that stops answering mid-session. The status bar says
// which request failed and why, a failed read shows no value, and the
// program never crashes, hangs or opens a message box per request.
#include "board/board_library.h"
#include "board/four_operation_link.h"
#include "boardlog/log_columns.h"
#include "panels/toggle_switch.h"
#include "simboard/fault_plan.h"
#include "simboard/sim_board_api.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"
#include "windows/board_views.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vq;
using namespace vq::test;

namespace {

// The window on the fault-injecting library, loaded with no fault.
struct FailingBoard {
  FailingBoard()
      : path(VQ_FAULTY_DIR "/" VQ_USB4_FILE_NAME), library(path),
        board(*library.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)()),
        faults(*library.resolve<VqSim_Faults_Fn>(VQ_SIM_FAULTS_ACCESSOR)()), link((Fresh(), path)),
        fixture(link, VQ_BIN_DIR) {
    if (!fixture.Start())
      qFatal("the window did not load on the fault-injecting board");
  }
  void Fresh() {
    board.PowerCycle();
    faults.SetPlan({});
  }
  MainWindowControls &Controls() { return fixture.Controls(); }

  std::string path;
  DynamicLibrary library;
  sim::BoardControl &board;
  sim::FaultControl &faults;
  FourOperationLink link;
  FormFixture fixture;
};

} // namespace

class FailingBoardTest : public QObject {
  Q_OBJECT
private slots:
  void failedReadsShowNoValue_data();
  void failedReadsShowNoValue();
  void boardThatStopsAnsweringIsSaidSo();
  void activityNamesTheFailureInWords();
};

void FailingBoardTest::failedReadsShowNoValue_data() {
  QTest::addColumn<int>("failEvery");
  QTest::addColumn<int>("readBytes");
  QTest::addColumn<QString>("shown");   // Label27 after "Read Register"
  QTest::addColumn<QString>("message"); // the status bar's
  QTest::addColumn<QString>("sent");    // what reached DAC A's data register

  const QString noAnswer = "the board did not answer (status 1).";
  QTest::newRow("every request refused") << 1 << -1 << "no answer"
                                         << "Write function register: " + noAnswer << "ABCD";
  // The first transfer refused: the second would carry the answer to the
  // word before it, so the read counts as failed too.
  QTest::newRow("every other request refused") << 2 << -1 << "no answer"
                                               << "Read data register, DAC A: " + noAnswer << "ABCD";
  // A library that reports a short read as a success cannot be told from a
  // good one: the bytes not delivered keep what the buffer held, the entry's
  // read of DAC A's coarse gain, 1.
  QTest::newRow("reads deliver nothing") << 0 << 0 << "0001"
                                         << ""
                                         << "ABCD";
  QTest::newRow("reads deliver the unused first byte") << 0 << 1 << "0001"
                                                       << ""
                                                       << "ABCD";
  QTest::newRow("reads deliver two of three bytes") << 0 << 2 << "AB01"
                                                    << ""
                                                    << "ABCD";
}

void FailingBoardTest::failedReadsShowNoValue() {
  QFETCH(int, failEvery);
  QFETCH(int, readBytes);
  FailingBoard f;
  Choose(f.Controls().RegisterList, "Coarse Gain Register");
  Choose(f.Controls().RangeList, QString::fromUtf8("Output Range = ± 4.201 V"));
  Choose(f.Controls().RegisterList, "Data Register");
  Enter(f.Controls().DataBox, "ABCD");

  f.faults.SetPlan({failEvery, readBytes, -1});
  Click(f.Controls().ReadRegisterButton);

  QTEST(f.Controls().RegisterValue->text(), "shown");
  QTEST(f.fixture.Window().Status().Message(), "message");
  QTEST(QString::number(f.board.Registers(0).Input, 16).toUpper(), "sent");
  QVERIFY(f.faults.Injected() > 0);
  QVERIFY(f.fixture.answerer.Seen.isEmpty()); // the status bar, no message box
}

// After the board goes quiet every control still acts on the window alone,
// and every action says that the board did not answer.
void FailingBoardTest::boardThatStopsAnsweringIsSaidSo() {
  FailingBoard f;
  MainWindowControls &ui = f.Controls();
  Enter(ui.VoltsBox, "1");
  // The last good read leaves zeros in the buffer: the offset register.
  Choose(ui.RegisterList, "Offset Register");
  const double before = f.board.OutputVoltage(0);
  f.faults.SetPlan({0, -1, 0});

  for (const char *view : {"Data Register", "Coarse Gain Register", "Fine Gain Register", "Offset Register",
                           "Function Register", "Data Register"})
    Choose(ui.RegisterList, view);
  for (const char *channel : {"DAC B", "ALL DACs", "DAC A"})
    Choose(ui.ChannelList, channel);
  for (QLineEdit *box : {ui.DataBox, ui.VoltsBox})
    Enter(box, "2");
  for (int n = 1; n <= 12; ++n)
    QTest::mouseClick(ui.Switches[n], Qt::LeftButton, Qt::NoModifier, ui.Switches[n]->rect().center());
  for (QPushButton *button : {ui.ReadRegisterButton, ui.ClearAllButton, ui.LoadAllButton, ui.MeasureButton})
    Click(button);
  QVERIFY(f.fixture.Window().Status().Message().contains("the board did not answer (status 1)."));
  Click(ui.CalibrationButton);
  ui.OffsetReadingBox->setText("0.001");
  Click(ui.OffsetDoneButton);
  // The offset was not read: no correction is written and the stage stays.
  QCOMPARE(f.fixture.Window().Status().Message(),
           QString("Read coarse gain register, DAC A: the board did not answer (status 1). Kept the range last "
                   "taken, \u00B14.096 V. The offset was not changed."));
  QVERIFY(ui.OffsetDoneButton->isVisible());

  QVERIFY(f.faults.Injected() > 20);
  QCOMPARE(f.board.OutputVoltage(0), before); // nothing more reached it
  QVERIFY(f.fixture.answerer.Seen.isEmpty());
  QVERIFY(f.fixture.Window().isVisible());
}

// The simulated board names its statuses: the board activity and the status
// bar say why a request failed.
void FailingBoardTest::activityNamesTheFailureInWords() {
  FailingBoard f;
  f.faults.SetPlan({1, -1, -1});
  Click(f.Controls().ReadRegisterButton);

  const RequestLog &log = f.fixture.Window().findChild<BoardViews *>(QStringLiteral("BoardViews"))->Log();
  const LogEntry &read = log.Newest();
  QCOMPARE(QString::fromStdString(ColumnText(read, LogColumn::Status)), QStringLiteral("1"));
  QVERIFY2(QString::fromStdString(ColumnText(read, LogColumn::Meaning))
               .endsWith("; request failed: the board did not answer (status 1)"),
           ColumnText(read, LogColumn::Meaning).c_str());
  QCOMPARE(f.fixture.Window().Status().Message(),
           QString("Write function register: the board did not answer (status 1)."));
  QVERIFY(f.fixture.answerer.Seen.isEmpty());
}

QTEST_MAIN(FailingBoardTest)
#include "tst_failing_board.moc"
