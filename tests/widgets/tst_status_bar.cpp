// The status bar: after every action it names the action's first failed
// request and why, or says what the program refused or read on its own, and
// is empty after an action that went well; a read or a sample that failed
// shows no value. Its right end names the board.
#include "board/board_library.h"
#include "board/board_status.h"
#include "board/four_operation_link.h"
#include "panels/toggle_switch.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace vq;
using namespace vq::test;

namespace {

// A recording board on which the requests a test picks fail with a status
// and deliver nothing.
struct FailingLink : RecordingLink {
  std::function<bool(const RecordedRequest &)> Fails;
  int16_t Status = 0;
  int16_t Answer(uint8_t request, int32_t value, int32_t index, uint8_t direction, int16_t length,
                 uint8_t *buffer) override {
    if (Fails && Fails(Requests.back()))
      return Status;
    return RecordingLink::Answer(request, value, index, direction, length, buffer);
  }
};

struct Window {
  explicit Window(bool namesStatuses) : fixture(link) {
    if (namesStatuses)
      link.NameStatusesByTable();
    link.SetRegister({Register::Data, Channel::A}, 0x1234);
    if (!fixture.Start())
      qFatal("the window did not load");
  }
  MainWindowControls &Controls() { return fixture.Controls(); }
  QString Message() { return fixture.Window().Status().Message(); }

  FailingLink link;
  FormFixture fixture;
};

bool IsCode(const RecordedRequest &r, uint8_t code, uint8_t direction) {
  return r.Code == code && r.Direction == direction;
}

// One kind of request failing in the action that sends it.
struct RequestKind {
  const char *name;
  std::function<bool(const RecordedRequest &)> fails;
  std::function<void(MainWindowControls &)> act;
  const char *action; // how the status bar names the request
};

const RequestKind Kinds[] = {
    {"register read", [](const RecordedRequest &r) { return IsCode(r, VQ_REQ_SHIFT_WORD, 1); },
     [](MainWindowControls &u) { Click(u.ReadRegisterButton); }, "Read data register, DAC A"},
    {"sample", [](const RecordedRequest &r) { return r.Code == VQ_REQ_SAMPLE; },
     [](MainWindowControls &u) { Click(u.MeasureButton); }, "Read a temperature sample"},
    {"register write", [](const RecordedRequest &r) { return r.Code == VQ_REQ_WRITE_PULSE; },
     [](MainWindowControls &u) { Enter(u.VoltsBox, "1"); }, "Write data register, DAC A"},
    {"control lines", [](const RecordedRequest &r) { return r.Code == VQ_REQ_CONTROL_LINES; },
     [](MainWindowControls &u) { QTest::mouseClick(u.ClrSwitch, Qt::LeftButton, {}, u.ClrSwitch->rect().center()); },
     "Set the control lines"},
    {"line direction", [](const RecordedRequest &r) { return r.Code == VQ_REQ_D1_DIRECTION; },
     [](MainWindowControls &u) {
       QTest::mouseClick(u.D1DirectionSwitch, Qt::LeftButton, {}, u.D1DirectionSwitch->rect().center());
     },
     "Set the direction of D1"},
};

} // namespace

class StatusBarTest : public QObject {
  Q_OBJECT
private slots:
  void failedRequestIsNamedWithItsReason_data();
  void failedRequestIsNamedWithItsReason();
  void refusedAndPartlyReadEntriesAreSaid();
  void failedRangeReadKeepsTheRangeAndSaysSo();
  void voltageAfterMeasureSaysWhyItWasRefused();
  void whatWasNotReadIsNotWrittenBack();
  void rightEndNamesTheBoard();
  void messagesReachScreenReaders();
};

void StatusBarTest::failedRequestIsNamedWithItsReason_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("status");
  QTest::addColumn<bool>("words");
  for (int kind = 0; kind < static_cast<int>(std::size(Kinds)); ++kind)
    for (int status = 1; status <= StatusValue(BoardStatus::FirmwareRefused) + 1; ++status)
      for (bool words : {true, false}) {
        const int value = status > StatusValue(BoardStatus::FirmwareRefused) ? 1234 : status;
        QTest::addRow("%s, status %d%s", Kinds[kind].name, value, words ? ", in words" : "") << kind << value << words;
      }
}

void StatusBarTest::failedRequestIsNamedWithItsReason() {
  QFETCH(int, kind);
  QFETCH(int, status);
  QFETCH(bool, words);
  const RequestKind &k = Kinds[kind];
  Window w(words);
  MainWindowControls &u = w.Controls();
  QCOMPARE(w.Message(), QString()); // the start went well
  w.link.Fails = k.fails;
  w.link.Status = static_cast<int16_t>(status);
  k.act(u);

  const char *text = words ? BoardStatusText(status) : nullptr;
  const QString reason = text != nullptr ? QStringLiteral(": %1 (status %2).").arg(text).arg(status)
                                         : QStringLiteral(" failed (status %1).").arg(status);
  // A board our library calls gone is lost: the window says so first.
  const bool gone = text != nullptr && status == StatusValue(BoardStatus::Gone);
  const QString lost = gone ? QStringLiteral("Board disconnected. ") : QString();
  QCOMPARE(w.Message(), lost + QString::fromLatin1(k.action) + reason);
  QCOMPARE(w.fixture.Window().Disconnected(), gone);
  QVERIFY(w.fixture.answerer.Seen.isEmpty()); // no message box
  if (kind == 0) {
    QCOMPARE(u.RegisterValue->text(), QStringLiteral("no answer"));
    QCOMPARE(u.WordHex->text(), QStringLiteral("no answer"));
  }
  if (kind == 1) {
    QCOMPARE(u.PinVolts->text(), QStringLiteral("no answer"));
    QCOMPARE(u.DieTemperature->text(), QStringLiteral("no answer"));
  }

  // The next action that goes well replaces the failure (with nothing, or
  // the note that DAC A's range is not known yet) and shows what it read; a
  // lost board is reconnected first.
  w.link.Fails = nullptr;
  if (gone)
    w.fixture.Window().findChild<QAction *>(QStringLiteral("MnuReconnect"))->trigger();
  Click(u.ReadRegisterButton);
  QVERIFY2(!w.Message().contains(QStringLiteral("status")), qPrintable(w.Message()));
  QCOMPARE(u.RegisterValue->text(), QStringLiteral("1234"));
}

void StatusBarTest::refusedAndPartlyReadEntriesAreSaid() {
  Window w(true);
  MainWindowControls &u = w.Controls();
  Enter(u.VoltsBox, "1,5");
  QCOMPARE(w.Message(), QStringLiteral("Read \"1,5\" as 1."));
  QCOMPARE(u.VoltsBox->text(), QStringLiteral("1.0000")); // the reading rule stays
  Enter(u.VoltsBox, "-2.5");
  QCOMPARE(w.Message(), QString());
  Enter(u.VoltsBox, "9e9999");
  QCOMPARE(w.Message(), QStringLiteral("Not entered: the number \"9e9999\" is too large."));
  QCOMPARE(u.VoltsBox->text(), QString());
}

// A failed range read: the voltage is converted with the range last taken,
// and the line says so after the failure.
void StatusBarTest::failedRangeReadKeepsTheRangeAndSaysSo() {
  Window w(false);
  w.link.Take();
  w.link.Fails = [](const RecordedRequest &r) { return IsCode(r, VQ_REQ_SHIFT_WORD, 1); };
  w.link.Status = 3;
  Enter(w.Controls().VoltsBox, "1");
  QCOMPARE(w.Message(), QString::fromUtf8("Read coarse gain register, DAC A failed (status 3). Kept the range last "
                                          "taken, ±4.096 V."));
  const std::vector<std::string> sent = w.link.Take();
  QCOMPARE(sent.back(), std::string("D9 out v=10 i=9F40")); // 1 V on ±4.096 V, as before

  // Once a read of DAC A's range has been seen (4.311 V), a failed read takes that one.
  w.link.Fails = nullptr;
  w.link.SetRegister({Register::CoarseGain, Channel::A}, 2);
  Enter(w.Controls().VoltsBox, "1");
  w.link.Fails = [](const RecordedRequest &r) { return IsCode(r, VQ_REQ_SHIFT_WORD, 1); };
  w.link.Take();
  Enter(w.Controls().VoltsBox, "1");
  QCOMPARE(w.Message(), QString::fromUtf8("Read coarse gain register, DAC A failed (status 3). Took the range the "
                                          "program last knew for the channel."));
  QCOMPARE(w.link.Take().back(), std::string("D9 out v=10 i=9DB1")); // 1 V on ±4.311 V
}

void StatusBarTest::voltageAfterMeasureSaysWhyItWasRefused() {
  SimulatedProgram program(false);
  QVERIFY(program.fixture.Start());
  MainWindowControls &u = program.Controls();
  Click(u.MeasureButton);
  Enter(u.VoltsBox, "1");
  QCOMPARE(u.VoltsBox->text(), QString());
  QCOMPARE(program.fixture.Window().Status().Message(),
           QStringLiteral("Not entered: DAC A's range read back as 65535, as every read does while the converter's "
                          "serial output (SDO) is off; the SDO switch or \"Read Register\" brings it back."));
  Click(u.ReadRegisterButton);
  Enter(u.VoltsBox, "1");
  QCOMPARE(u.VoltsBox->text(), QStringLiteral("1.0000"));
  QCOMPARE(program.fixture.Window().Status().Message(), QString());
}

// A failed read's buffer is another request's bytes: the coarse gain view
// writes no range back from it, and "READ" writes back no options.
void StatusBarTest::whatWasNotReadIsNotWrittenBack() {
  Window w(false);
  MainWindowControls &u = w.Controls();
  w.link.SetRegister({Register::CoarseGain, Channel::A}, 2);
  w.link.Status = 1;
  w.link.Fails = [](const RecordedRequest &r) { return IsCode(r, VQ_REQ_SHIFT_WORD, 1); };
  w.link.Take();
  Choose(u.RegisterList, "Coarse Gain Register");
  for (const std::string &sent : w.link.Take())
    QVERIFY2(sent.rfind("DD in", 0) == 0 || sent == "DD out v=1 i=0" || sent == "D9 out v=1 i=0", sent.c_str());

  Click(u.ReadLinesButton);
  const RecordedRequest read{VQ_REQ_SHIFT_WORD, 0x81, 0, 1, 3, 0};
  QVERIFY(w.link.Take() == Describe(std::vector<RecordedRequest>{read, read})); // and nothing after them
  QCOMPARE(w.Message(), QStringLiteral("Read function register failed (status 1). Nothing was written back."));
}

void StatusBarTest::rightEndNamesTheBoard() {
  SimulatedProgram simulated(false);
  QVERIFY(simulated.fixture.Start());
  auto *board = simulated.fixture.Find<QLabel>(QStringLiteral("StatusBoard"));
  QCOMPARE(board->text(), QStringLiteral("Simulated board"));

  FourOperationLink plain(VQ_BIN_DIR "/libPlainBoard.so");
  FormFixture other(plain);
  QVERIFY(other.Start());
  QCOMPARE(other.Find<QLabel>(QStringLiteral("StatusBoard"))->text(), QStringLiteral("libPlainBoard.so"));
}

// A screen reader finds the message in the window's status bar, named by
// its text. (Qt hands the change and alert events the line raises only to
// an active accessibility bridge, which no offscreen test has.)
void StatusBarTest::messagesReachScreenReaders() {
  Window w(false);
  w.link.Fails = [](const RecordedRequest &r) { return r.Code == VQ_REQ_SAMPLE; };
  w.link.Status = 2;
  Click(w.Controls().MeasureButton);
  auto *message = w.fixture.Window().findChild<QLabel *>(QStringLiteral("StatusMessage"));
  QVERIFY(message != nullptr);
  QAccessibleInterface *node = QAccessible::queryAccessibleInterface(message);
  QCOMPARE(node->text(QAccessible::Name), QStringLiteral("Read a temperature sample failed (status 2)."));
  QAccessibleInterface *bar = node->parent();
  QCOMPARE(bar->role(), QAccessible::StatusBar);
  QCOMPARE(bar->parent()->object(), &w.fixture.Window());
}

QTEST_MAIN(StatusBarTest)
#include "tst_status_bar.moc"
