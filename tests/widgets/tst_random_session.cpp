// Long random sessions on the simulated board, driven through the real
// window as a careless user would: every list entry, button and switch
// (locked ones too), the calibration, About, and Return in every box with
// texts from a generator. After each action the invariants are checked; a
// failure prints the seed and the actions that led to it.
//
// VQ_SESSION_SEED picks the seed (default fixed, so CI repeats itself),
// VQ_SESSION_ACTIONS the number of actions (default 10,000); with
// VQ_SESSION_SOAK set it first warms up until the board activity log is full,
// then runs the actions, reports its resident memory and fails when it grows
// by 10 MB or more. With
// VQ_SESSION_FAULTS set the session runs on the fault-injecting board, whose
// faults change now and then; the converter is then not compared. Now and
// then the board is unplugged, and some actions later plugged in again and
// reconnected.
#include "board/board_library.h"
#include "board/four_operation_link.h"
#include "board/registers.h"
#include "boardlog/register_model.h"
#include "boardlog/register_values.h"
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "simboard/fault_plan.h"
#include "simboard/sim_board_api.h"
#include "tests/support/form_fixture.h"
#include "windows/register_map_window.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>

using namespace vq;
using namespace vq::test;

namespace {

// What the converter's registers must hold after the requests sent: written
// words land in one channel or all, RSTIN low resets and ignores words.
class ConverterExpectation {
public:
  void Take(const RecordedRequest &r) {
    if (r.Code == VQ_REQ_CONTROL_LINES) {
      rstin_ = (r.Value >> 1 & 1) != 0;
      if (!rstin_)
        Reset((r.Value >> 2 & 1) != 0);
      return;
    }
    if ((r.Code != VQ_REQ_SHIFT_WORD && r.Code != VQ_REQ_WRITE_PULSE) || !rstin_ || (r.Value >> 7 & 1) != 0)
      return;
    const int select = r.Value >> 3 & 7, address = r.Value & 7;
    for (int channel = 0; channel < sim::ChannelCount; ++channel) {
      if (address != channel && address != 4)
        continue;
      sim::ChannelRegisters &c = channels_[channel];
      switch (select) {
      case 2:
        c.Input = static_cast<uint16_t>(r.Index);
        break;
      case 3:
        c.Coarse = static_cast<uint8_t>(r.Index & 3);
        break;
      case 4:
        c.Fine = static_cast<uint8_t>(r.Index & 63);
        break;
      case 5:
        c.Offset = static_cast<uint8_t>(r.Index & 255);
        break;
      }
    }
  }
  // The board came back without power: every register at its power-on value.
  void PowerOn() { *this = ConverterExpectation(); }
  // Empty when the board agrees.
  QString Compare(const sim::BoardControl &board) const {
    for (int channel = 0; channel < sim::ChannelCount; ++channel) {
      const sim::ChannelRegisters held = board.Registers(channel), want = channels_[channel];
      if (held.Input != want.Input || held.Coarse != want.Coarse || held.Fine != want.Fine ||
          held.Offset != want.Offset)
        return QStringLiteral("DAC %1 holds input %2 coarse %3 fine %4 offset %5, expected %6 %7 %8 %9")
            .arg(QChar('A' + channel))
            .arg(held.Input)
            .arg(held.Coarse)
            .arg(held.Fine)
            .arg(held.Offset)
            .arg(want.Input)
            .arg(want.Coarse)
            .arg(want.Fine)
            .arg(want.Offset);
    }
    return {};
  }

private:
  void Reset(bool binaryCoding) {
    for (sim::ChannelRegisters &c : channels_)
      c = {static_cast<uint16_t>(binaryCoding ? 0x8000 : 0), 0, 0, 0, 0};
  }
  bool rstin_ = true;
  std::array<sim::ChannelRegisters, sim::ChannelCount> channels_{
      {{0x8000, 0x8000, 0, 0, 0}, {0x8000, 0x8000, 0, 0, 0}, {0x8000, 0x8000, 0, 0, 0}, {0x8000, 0x8000, 0, 0, 0}}};
};

// Texts a hurried or hostile user types or pastes.
QString TypedText(std::mt19937 &random) {
  static const QStringList fixed = {
      "",           " ",       "0",      "1",        "-1",       "4.096",     "-4.311",
      "1e308",      "-1e308",  "9e9999", "1e-320",   "2.5E-3",   "+-3",       "- 2 . 5",
      "abc",        "12G",     "FFFF",   "ffffffff", "80000000", "123456789", "00000000FFFF",
      "7FFF",       "1,5",     "0x10",   "&h10",     "é½∞",      "3\t4\n5",   "15.875",
      "-16",        "-0.0625", "-0.5",   "31",       "-32.6",    "65535",     "65536",
      "-0",         ".",       "e5",     "1e",       "NaN",      "inf",       "\u00a0",
      "99999999999"};
  std::uniform_int_distribution<int> kind(0, 9);
  switch (kind(random)) {
  case 0: { // a pasted page
    std::uniform_int_distribution<int> length(100, 32767);
    return QString(length(random), QChar('0' + static_cast<int>(random() % 10)));
  }
  case 1: { // random digits with a point and a sign
    QString text = (random() % 2) ? "-" : "";
    for (int i = static_cast<int>(random() % 12); i >= 0; --i)
      text += QChar('0' + static_cast<int>(random() % 10));
    if (random() % 2)
      text.insert(static_cast<int>(random() % text.size()), '.');
    return text;
  }
  default:
    return fixed[static_cast<int>(random() % fixed.size())];
  }
}

std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4096;
}

// Counts the failed requests the board library returned, beside the window.
struct FailureCounter : BoardCallListener {
  void OnBoardCall(const BoardCall &call) override {
    if (call.Kind == BoardCallKind::Request && call.Status != 0)
      ++Failed;
  }
  int Failed = 0;
};

class Session {
public:
  Session(uint32_t seed, bool faulty)
      : random_(seed), path_(std::string(faulty ? VQ_FAULTY_DIR : VQ_BIN_DIR) + "/" + VQ_USB4_FILE_NAME),
        library_(path_), board_(*library_.resolve<VqSim_Board_Fn>(VQ_SIM_BOARD_ACCESSOR)()),
        faults_(faulty ? library_.resolve<VqSim_Faults_Fn>(VQ_SIM_FAULTS_ACCESSOR)() : nullptr),
        real_((board_.PowerCycle(), path_)), link_(real_), fixture_(link_) {
    if (faults_ != nullptr)
      faults_->SetPlan({});
    real_.AddCallListener(&counter_);
    QObject::connect(&fixture_.Window().Board(), &BoardAccess::actionEnded, [this] {
      lastActionFailed_ = counter_.Failed > 0;
      counter_.Failed = 0;
    });
  }

  bool Load() {
    fixture_.Window().Calibration().SetCompletePause([] {});
    return fixture_.Start();
  }

  // One random action; false with `problem` set when an invariant broke.
  bool Step(QString &problem) {
    if (faults_ != nullptr && random_() % 200 == 0) {
      const sim::FaultPlan plan{static_cast<int>(random_() % 4), static_cast<int>(random_() % 5) - 1,
                                random_() % 3 == 0 ? static_cast<int>(random_() % 50) : -1};
      Log(QString::asprintf("faults: fail every %d, read bytes %d, answers left %d", plan.FailEvery, plan.ReadBytes,
                            plan.AnswersLeft));
      faults_->SetPlan(plan);
      // A short read succeeds with the buffer's old bytes, which nobody
      // above the library can tell from an answer.
      shortReadsPlayed_ = shortReadsPlayed_ || plan.ReadBytes >= 0;
    }
    if (random_() % 300 == 0)
      PullOrPlugIn();
    const std::size_t before = link_.Requests.size();
    Act();
    for (std::size_t i = before; i < link_.Requests.size(); ++i) {
      const RecordedRequest &r = link_.Requests[i];
      if (r.Code == VQ_REQ_SHIFT_WORD || r.Code == VQ_REQ_WRITE_PULSE)
        endsWithRead_ = actionReads_;
      if (r.Code < VQ_REQ_WRITE_PULSE || r.Code > VQ_REQ_CONTROL_LINES || r.Value < 0 || r.Value > 255 || r.Index < 0 ||
          r.Index > 65535) {
        problem = QString::asprintf("request %02X value %d index %d is not one the program may send", r.Code, r.Value,
                                    r.Index);
        return false;
      }
    }
    // What went out to an unplugged board reached no converter.
    for (std::size_t i = checked_; i < link_.Requests.size() && board_.PluggedIn(); ++i)
      expected_.Take(link_.Requests[i]);
    checked_ = link_.Requests.size();
    problem = Invariants();
    return problem.isEmpty();
  }

  QStringList Actions;
  long long TextsTyped = 0;
  int Unplugs = 0;
  long long FaultsInjected() const { return faults_ == nullptr ? 0 : faults_->Injected(); }
  MessageAnswerer &Answerer() { return fixture_.answerer; }
  std::size_t RequestCount() const { return link_.Requests.size(); }
  void ForgetRequests() {
    link_.Requests.clear();
    checked_ = 0;
  }

private:
  MainWindowControls &Controls() { return fixture_.Controls(); }

  template <typename T> T Pick(const std::vector<T> &from) { return from[random_() % from.size()]; }

  // The cable pulled; or put back, and the board reconnected through the
  // status bar's button or the menu, whichever the window offers.
  void PullOrPlugIn() {
    if (board_.PluggedIn()) {
      Log("unplug the board");
      ++Unplugs;
      board_.SetPluggedIn(false);
      return;
    }
    Log("plug the board in and reconnect");
    board_.SetPluggedIn(true);
    expected_.PowerOn();
    checked_ = link_.Requests.size();
    auto *button = fixture_.Window().findChild<QPushButton *>(QStringLiteral("StatusReconnect"));
    if (button->isVisible())
      button->click();
    else
      fixture_.Window().findChild<QAction *>(QStringLiteral("MnuReconnect"))->trigger();
  }

  void Act() {
    MainWindowControls &u = Controls();
    actionReads_ = false;
    switch (random_() % 8) {
    case 0: { // a list entry
      ChoiceList *list = Pick<ChoiceList *>({u.RegisterList, u.ChannelList, u.RangeList});
      if (!list->isVisible() || !list->isEnabled() || list->count() == 0)
        return Log("skip hidden or disabled list");
      const int index = static_cast<int>(random_() % list->count());
      Log("choose " + list->objectName() + " " + list->itemText(index));
      actionReads_ = list != u.RangeList;
      list->setCurrentIndex(index);
      emit list->activated(index);
      return;
    }
    case 1:
    case 2: { // a button
      QPushButton *button = Pick<QPushButton *>({u.ReadRegisterButton, u.DisplayModeButton, u.ClearAllButton,
                                                 u.LoadAllButton, u.ReadLinesButton, u.MeasureButton,
                                                 u.CalibrationButton, u.OffsetDoneButton, u.ZeroScaleDoneButton});
      if (!button->isVisible() || !button->isEnabled())
        return Log("skip " + button->objectName());
      Log("click " + button->objectName());
      actionReads_ = button == u.ReadRegisterButton;
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
    case 3: { // a switch, locked ones too
      ToggleSwitch *toggle = u.Switches[1 + random_() % 12];
      if (!toggle->isEnabled())
        return Log("skip disabled " + toggle->objectName());
      Log("flip " + toggle->objectName());
      QTest::mouseClick(toggle, Qt::LeftButton, Qt::NoModifier, toggle->rect().center());
      return;
    }
    case 4:
      Log("click Check1");
      u.PulseAfterWriteBox->click();
      return;
    case 5:
      if (random_() % 20 == 0) {
        Log("About, then close it");
        fixture_.Window().findChild<QAction *>(QStringLiteral("MnuAbout"))->trigger();
        if (fixture_.Window().About() != nullptr)
          fixture_.Window().About()->close();
        return;
      }
      if (random_() % 10 == 0) { // the register map: Read All, or a code typed into a row
        RegisterMapWindow &map = fixture_.Window().RegisterMap();
        if (fixture_.Window().Disconnected())
          return Log("skip the register map while disconnected");
        if (random_() % 2 == 0) {
          Log("click Read All");
          actionReads_ = true;
          map.findChild<QPushButton *>(QStringLiteral("RegisterMapReadAll"))->click();
        } else {
          const int row = static_cast<int>(random_() % ReadableRegisterCount);
          const QString code = QString::number(random_() % 0x10000, 16);
          Log(QStringLiteral("type into the map's row %1 \"%2\"").arg(row).arg(code));
          map.Model().setData(map.Model().index(row, RegisterMapModel::CodeColumn), code, Qt::EditRole);
        }
        return;
      }
      [[fallthrough]];
    default: { // Return in a box, or a reading typed for the calibration
      QLineEdit *box = Pick<QLineEdit *>(
          {u.DataBox, u.VoltsBox, u.FineGainBox, u.OffsetBox, u.OffsetReadingBox, u.ZeroScaleReadingBox});
      if (!box->isVisible() || !box->isEnabled())
        return Log("skip hidden or disabled " + box->objectName());
      const QString text = TypedText(random_);
      Log("type into " + box->objectName() + " \"" + text.left(60) + (text.size() > 60 ? "...\"" : "\""));
      ++TextsTyped;
      box->setText(text);
      QTest::keyClick(box, Qt::Key_Return);
      return;
    }
    }
  }

  void Log(const QString &action) { Actions << action; }

  QString Invariants() {
    MainWindowControls &u = Controls();
    // Every request belongs to an action, and the status bar names a failed
    // request exactly when the last action had one.
    if (counter_.Failed > 0)
      return "a request failed outside any action";
    const QString message = fixture_.Window().Status().Message();
    if (fixture_.Window().Disconnected()) {
      if (!message.startsWith("Board disconnected.") && !message.startsWith("Reconnect failed: "))
        return "disconnected, the status bar says \"" + message + "\"";
    } else if (message.contains("(status ") != lastActionFailed_)
      return "the status bar says \"" + message + "\" after an action " +
             (lastActionFailed_ ? "in which a request failed" : "whose requests all succeeded");
    const QString mode = fixture_.values.Display == DisplayMode::Hex ? "Hex" : "Dec";
    if (u.DisplayModeButton->text() != mode)
      return "the Hex/Dec caption " + u.DisplayModeButton->text() + " is not the mode " + mode;
    const QString rw = QString::number(static_cast<int>(fixture_.Window().Board().ReadWriteBit()));
    // "Read Register" (also at the end of a register or channel choice) shows
    // 1 even when the coarse gain view wrote the range back after the read.
    const bool readShown = endsWithRead_ && u.ReadWriteBit->text() == "1";
    if (u.ReadWriteBit->text() != rw && !readShown)
      return "LabelRW shows " + u.ReadWriteBit->text() + ", the last word's R/W bit is " + rw;
    const QString frame = Shown();
    if (frame != "" && frame != "LabelOff1 LabelOff2 TextOff CommandOff" &&
        frame != "LabelFS1 LabelFS2 TextFS CommandFS")
      return "the calibration frame shows " + frame;
    if (u.CalibrationButton->isEnabledTo(u.CalibrationFrame) != frame.isEmpty())
      return "the calibration's start button does not match its stage";
    // An unplugged board lost what the model knew; the reconnect's download
    // makes the model forget it too.
    if (!shortReadsPlayed_ && board_.PluggedIn())
      if (const QString wrong = RegisterModelDisagrees(); !wrong.isEmpty())
        return wrong;
    return faults_ != nullptr || !board_.PluggedIn() ? QString() : expected_.Compare(board_);
  }

  // Every code the register model knows is the one the converter holds; a
  // function register read shows the D0/D1 levels, not what was written.
  QString RegisterModelDisagrees() {
    const RegisterModel &model = fixture_.Window().Registers();
    for (int channel = 0; channel < sim::ChannelCount; ++channel) {
      const sim::ChannelRegisters held = board_.Registers(channel);
      const int codes[] = {held.Input, held.Coarse, held.Fine, held.Offset};
      for (int r = 0; r < 4; ++r) {
        const WordAddress address = ReadableRegisters[static_cast<std::size_t>(channel * 4 + r)];
        const auto known = model.KnownCode(address);
        if (known && *known != codes[r])
          return QString::asprintf("the register model has %s at 0x%X, the converter holds 0x%X",
                                   RegisterLongTitle(address).c_str(), *known, codes[r]);
      }
    }
    const RegisterState function = model.State(Command::FunctionRegister);
    const int levels = FunctionWord::D0HighBit | FunctionWord::D1HighBit;
    const int mask = function.Origin == RegisterOrigin::Read ? (0x3F & ~levels) : 0x3F;
    if (function.IsKnown() && (function.Code & mask) != (board_.FunctionRegister() & mask))
      return QString::asprintf("the register model has the function register at 0x%X, the converter 0x%X",
                               function.Code, board_.FunctionRegister());
    return {};
  }

  QString Shown() {
    MainWindowControls &u = Controls();
    QStringList names;
    for (QWidget *w : std::initializer_list<QWidget *>{
             u.OffsetInstruction, u.OffsetReadingPrompt, u.OffsetReadingBox, u.OffsetDoneButton, u.ZeroScaleInstruction,
             u.ZeroScaleReadingPrompt, u.ZeroScaleReadingBox, u.ZeroScaleDoneButton, u.CompleteLabel})
      if (w->isVisible())
        names << w->objectName();
    return names.join(' ');
  }

  std::mt19937 random_;
  std::string path_;
  DynamicLibrary library_;
  sim::BoardControl &board_;
  sim::FaultControl *faults_;
  FourOperationLink real_;
  RecordingLink link_; // passes every request on to real_ and keeps it for the checks
  FailureCounter counter_;
  bool lastActionFailed_ = false;
  FormFixture fixture_;
  ConverterExpectation expected_;
  std::size_t checked_ = 0;
  bool shortReadsPlayed_ = false;
  bool actionReads_ = false;  // the action ends with "Read Register"
  bool endsWithRead_ = false; // so did the last action that sent a word
};

int EnvironmentNumber(const char *name, int fallback) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok ? value : fallback;
}

} // namespace

class RandomSessionTest : public QObject {
  Q_OBJECT
private slots:
  void sessionKeepsEveryInvariant();
};

void RandomSessionTest::sessionKeepsEveryInvariant() {
  const auto seed = static_cast<uint32_t>(EnvironmentNumber("VQ_SESSION_SEED", 20261207));
  const int actions = EnvironmentNumber("VQ_SESSION_ACTIONS", 10000);
  const bool soak = qEnvironmentVariableIsSet("VQ_SESSION_SOAK");
  Session session(seed, qEnvironmentVariableIsSet("VQ_SESSION_FAULTS"));
  QVERIFY(session.Load());

  // A soak first warms up until the board activity log's ring of 100,000
  // calls is full; only then does the growth count.
  std::size_t warm = 0, peak = 0;
  long long requests = 0;
  bool warming = soak;
  for (int n = 0; n < actions || warming; ++n) {
    QString problem;
    if (!session.Step(problem)) {
      std::fprintf(stderr, "Seed %u broke after %d actions: %s\nReplay with VQ_SESSION_SEED=%u; the actions:\n", seed,
                   n + 1, qPrintable(problem), seed);
      for (const QString &action : session.Actions)
        std::fprintf(stderr, "  %s\n", qPrintable(action));
      QFAIL(qPrintable(problem));
    }
    // What the test itself keeps must not count as the program's growth.
    if (session.RequestCount() > 100000) {
      requests += static_cast<long long>(session.RequestCount());
      session.ForgetRequests();
    }
    session.Answerer().Seen.clear();
    if (session.Actions.size() > 1000)
      session.Actions.remove(0, 500);
    if (warming && requests + static_cast<long long>(session.RequestCount()) > 110000) {
      warming = false;
      warm = ResidentBytes();
      std::fprintf(stderr, "Warmed up after %d actions\n", n + 1);
      n = -1; // the actions counted from here
    } else if (soak && !warming) {
      peak = std::max(peak, ResidentBytes());
    }
  }
  requests += static_cast<long long>(session.RequestCount());
  std::fprintf(stderr,
               "Seed %u: %d actions, %lld texts typed, %lld requests, %lld faults injected, %d unplugs, every "
               "invariant held\n",
               seed, actions, session.TextsTyped, requests, session.FaultsInjected(), session.Unplugs);
  if (soak) {
    std::fprintf(stderr, "Resident memory after warm-up %.1f MB, at most %.1f MB after\n", warm / 1e6, peak / 1e6);
    QVERIFY2(peak < warm + 10'000'000, "memory grew by 10 MB or more after the warm-up");
  }
}

QTEST_MAIN(RandomSessionTest)
#include "tst_random_session.moc"
