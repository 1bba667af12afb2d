// A board that is lost and found again without a restart: a request that says
// the board is gone disables what would talk to it and offers Reconnect; the
// reconnect runs the board session again on the library already loaded and
// starts afresh from the start-up's values.
#include "board/board_status.h"
#include "board/session_outcome.h"
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "setup/board_setup.h"
#include "setup/setup_load.h"
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"
#include "windows/front_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <cstdio>

using namespace vq;
using namespace vq::test;

class ReconnectTest : public QObject {
  Q_OBJECT
private slots:
  void unpluggedBoardIsReconnectedAndStartsAfresh_data();
  void unpluggedBoardIsReconnectedAndStartsAfresh();
  void onlyALibraryThatNamesItsStatusesCanSayGone_data();
  void onlyALibraryThatNamesItsStatusesCanSayGone();
  void failedReconnectLeavesAConnectedWindowAsItWas();
  void restoreWritesWhatWasKnownAsOpeningASetupDoes();
};

namespace {

// Every call into the board library after the start, as one line each: the
// session's steps by name, requests as the recording board describes them.
class CallLines : public BoardCallListener {
public:
  void OnBoardCall(const BoardCall &call) override {
    switch (call.Kind) {
    case BoardCallKind::Search:
      lines << QStringLiteral("search");
      return;
    case BoardCallKind::Connect:
      lines << QStringLiteral("connect");
      return;
    case BoardCallKind::Download:
      lines << QStringLiteral("download");
      return;
    case BoardCallKind::Request:
      break;
    }
    lines << QString::fromStdString(
        Describe(RecordedRequest{call.Request, call.Value, call.Index, call.Direction, call.Length, 0}));
  }
  QStringList Take() { return std::exchange(lines, {}); }
  QStringList lines;
};

QAction *Action(MainWindow &window, const char *name) {
  auto *action = window.findChild<QAction *>(QString::fromLatin1(name));
  if (action == nullptr)
    qFatal("no action %s", name);
  return action;
}

// The frames whose controls talk to the board.
QList<QGroupBox *> BoardFrames(const MainWindowControls &ui) {
  return {ui.RegisterFrame, ui.FunctionFrame, ui.HardwareFrame, ui.TemperatureFrame, ui.CalibrationFrame};
}

bool AllEnabled(const QList<QGroupBox *> &frames, bool enabled) {
  return std::all_of(frames.begin(), frames.end(),
                     [enabled](QGroupBox *frame) { return frame->isEnabled() == enabled; });
}

QString StatusText(MainWindow &window) {
  return window.Status().Message();
}

QPushButton *ReconnectButton(MainWindow &window) {
  return window.findChild<QPushButton *>(QStringLiteral("StatusReconnect"));
}

} // namespace

void ReconnectTest::unpluggedBoardIsReconnectedAndStartsAfresh_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::addColumn<QStringList>("session");
  QTest::addColumn<QString>("notFound");
  char ids[32];
  std::snprintf(ids, sizeof ids, "0x%04X:0x%04X", VQ_VENDOR_ID, VQ_PRODUCT_ID);
  QTest::newRow("VQ8231(version2)")
      << false << QStringList{"search", "connect", "download"}
      << QStringLiteral("no board with the identifiers %1 is on the USB bus").arg(QString::fromLatin1(ids));
  QTest::newRow("VQ8231") << true << QStringList{"download"}
                          << QStringLiteral("The firmware download: no board with these identifiers (status -7)");
}

void ReconnectTest::unpluggedBoardIsReconnectedAndStartsAfresh() {
  QFETCH(bool, earlierBuild);
  QFETCH(QStringList, session);
  QFETCH(QString, notFound);
  SimulatedProgram program(earlierBuild);
  CallLines calls;
  program.link->AddCallListener(&calls);
  QVERIFY(program.fixture.Start());
  const QStringList startUp = calls.Take();
  MainWindow &window = program.fixture.Window();
  MainWindowControls &ui = program.Controls();
  auto *connected = window.findChild<FrontPanel *>()->findChild<QCheckBox *>(QStringLiteral("BoardConnected"));
  QVERIFY(connected != nullptr && connected->isChecked());

  // Away from the start state: 2 V on DAC A in decimal, no LDAC pulse.
  Click(ui.DisplayModeButton);
  Enter(ui.VoltsBox, QStringLiteral("2"));
  ui.PulseAfterWriteBox->click();
  QVERIFY(program.board.Registers(0).Input != 0x8000);

  connected->click();
  QVERIFY(!program.board.PluggedIn());
  calls.Take();
  Click(ui.ReadRegisterButton);
  QVERIFY(window.Disconnected());
  QVERIFY2(StatusText(window).startsWith(QStringLiteral("Board disconnected. ")), qPrintable(StatusText(window)));
  QVERIFY(ReconnectButton(window)->isVisible());
  QVERIFY(AllEnabled(BoardFrames(ui), false));
  QVERIFY(!window.RegisterMap().findChild<QPushButton *>(QStringLiteral("RegisterMapReadAll"))->isEnabled());
  QVERIFY(Action(window, "MnuReconnect")->isEnabled());
  QVERIFY(connected->isEnabled());

  // Still unplugged: the reconnect says why it failed and changes nothing.
  calls.Take();
  Click(ReconnectButton(window));
  QCOMPARE(StatusText(window), QStringLiteral("Reconnect failed: %1.").arg(notFound));
  QVERIFY(window.Disconnected());
  QVERIFY(AllEnabled(BoardFrames(ui), false));
  QCOMPARE(calls.Take().mid(session.size()), QStringList{});

  // Back: the session once more, then exactly the start-up's requests.
  connected->click();
  QCOMPARE(program.board.Registers(0).Input, 0x8000); // lost with the power
  Action(window, "MnuReconnect")->trigger();
  QCOMPARE(calls.Take(), startUp);
  QCOMPARE(startUp.mid(0, session.size()), session);
  QVERIFY(!window.Disconnected());
  QCOMPARE(StatusText(window), QStringLiteral("Board reconnected."));
  QVERIFY(!ReconnectButton(window)->isVisible());
  QVERIFY(AllEnabled(BoardFrames(ui), true));
  QVERIFY(window.RegisterMap().findChild<QPushButton *>(QStringLiteral("RegisterMapReadAll"))->isEnabled());
  // The program-wide values as at start-up.
  QCOMPARE(ui.DisplayModeButton->text(), QStringLiteral("Hex"));
  QVERIFY(ui.PulseAfterWriteBox->isChecked());
  QVERIFY(!ui.LdacSwitch->Operable());
  QCOMPARE(ui.RegisterList->currentText(), QStringLiteral("Data Register"));
  QCOMPARE(ui.RegisterList->count(), 5);
  QCOMPARE(ui.ChannelList->currentIndex(), -1);
  QVERIFY(program.board.FirmwareRunning());
  program.link->RemoveCallListener(&calls);
}

void ReconnectTest::onlyALibraryThatNamesItsStatusesCanSayGone_data() {
  QTest::addColumn<bool>("namesStatuses");
  QTest::newRow("our library") << true;
  QTest::newRow("a library without words") << false;
}

void ReconnectTest::onlyALibraryThatNamesItsStatusesCanSayGone() {
  QFETCH(bool, namesStatuses);
  LoadedPanel panel;
  if (namesStatuses)
    panel.Link().NameStatusesByTable();
  panel.Link().RequestStatus = StatusValue(BoardStatus::Gone);
  Click(panel.Controls().ReadRegisterButton);
  QCOMPARE(panel.Window().Disconnected(), namesStatuses);
  QCOMPARE(AllEnabled(BoardFrames(panel.Controls()), !namesStatuses), true);
  QCOMPARE(StatusText(panel.Window()).startsWith(QStringLiteral("Board disconnected.")), namesStatuses);
  QVERIFY(!StatusText(panel.Window()).isEmpty());

  // Either way Reconnect brings the board back once it answers again.
  panel.Link().RequestStatus = 0;
  panel.Taken();
  Action(panel.Window(), "MnuReconnect")->trigger();
  QCOMPARE(panel.Link().Downloads, 2);
  QVERIFY(!panel.Window().Disconnected());
  QVERIFY(AllEnabled(BoardFrames(panel.Controls()), true));
  QCOMPARE(panel.Taken().mid(0, 2), Read(Command::FunctionRegister));
}

void ReconnectTest::failedReconnectLeavesAConnectedWindowAsItWas() {
  LoadedPanel panel;
  panel.Link().DownloadStatus = 1;
  Action(panel.Window(), "MnuReconnect")->trigger();
  QCOMPARE(StatusText(panel.Window()), QStringLiteral("Reconnect failed: the firmware download failed (status 1)."));
  QVERIFY(!panel.Window().Disconnected());
  QVERIFY(AllEnabled(BoardFrames(panel.Controls()), true));
  QCOMPARE(panel.Taken(), QStringList{});

  // Still connected, the user goes on: a reconnect that then succeeds
  // restores what is known now, not what was known at the failed try.
  Choose(panel.Controls().ChannelList, QStringLiteral("DAC B"));
  Enter(panel.Controls().DataBox, QStringLiteral("1234"));
  panel.Link().DownloadStatus = 0;
  panel.form.fixture.answerer.Answer = QMessageBox::Yes;
  panel.Taken();
  Action(panel.Window(), "MnuReconnect")->trigger();
  QVERIFY(panel.Taken().contains(QStringLiteral("D9 out v=11 i=1234")));
}

void ReconnectTest::restoreWritesWhatWasKnownAsOpeningASetupDoes() {
  SimulatedProgram program(false);
  CallLines calls;
  program.link->AddCallListener(&calls);
  QVERIFY(program.fixture.Start());
  MainWindow &window = program.fixture.Window();
  MainWindowControls &ui = program.Controls();
  Choose(ui.ChannelList, QStringLiteral("DAC B"));
  Enter(ui.VoltsBox, QStringLiteral("1"));
  program.board.SetPluggedIn(false);
  Click(ui.ReadRegisterButton);
  QVERIFY(window.Disconnected());
  // What the program still knows once the board is lost: the function word
  // that found it gone took nothing away.
  const WordAddress dataB{Register::Data, Channel::B};
  const BoardSetup known = SetupFromModel(window.Registers(), program.fixture.values.Lines,
                                          window.Board().PulsesAfterDataWrite(), program.fixture.values.Options);
  QVERIFY(known.Code(dataB).has_value());
  QVERIFY(known.Function().has_value());
  QVERIFY(!known.IsComplete()); // DAC C's registers, say, were never seen
  // What opening this setup sends, on a board of its own.
  RecordingLink setupBoard;
  SerialAccess serial(setupBoard);
  LoadSetup(serial, known);
  QStringList loadRequests;
  for (const std::string &line : Describe(setupBoard.Requests))
    loadRequests << QString::fromStdString(line);

  // A try before the board is back fails, and what was known stays known.
  Action(window, "MnuReconnect")->trigger();
  QVERIFY(window.Disconnected());

  program.board.SetPluggedIn(true);
  program.fixture.answerer.Answer = QMessageBox::Yes;
  calls.Take();
  Action(window, "MnuReconnect")->trigger();
  const QStringList session{"search", "connect", "download"};
  const QStringList restored = calls.Take();
  QVERIFY2(restored == session + loadRequests, qPrintable(restored.join(", ") + " / " + loadRequests.join(", ")));
  QVERIFY(!window.Disconnected());
  QVERIFY(std::any_of(program.fixture.answerer.Seen.begin(), program.fixture.answerer.Seen.end(), [](const auto &seen) {
    return seen.text == QStringLiteral("Restore the board's previous settings?");
  }));
  QCOMPARE(program.board.Registers(1).Input, *known.Code(dataB));
  QVERIFY2(StatusText(window).startsWith(QStringLiteral("Board reconnected; its previous settings restored.")),
           qPrintable(StatusText(window)));
  QVERIFY2(StatusText(window).contains(QStringLiteral("DAC C")), qPrintable(StatusText(window))); // not restored
  program.link->RemoveCallListener(&calls);
}

QTEST_MAIN(ReconnectTest)
#include "tst_reconnect.moc"
