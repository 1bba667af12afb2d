// What the Board Activity window adds to a user's action when its log is
// full. The real main window on the simulated board; the log is filled with a
// scripted 100,000 calls, then one action (a voltage typed into TextVolts and
// Return: three requests) is timed with the activity window closed, open and
// following the newest call, and open and paused. Per action, this thread's
// CPU time from the key press to the end of the event-loop turn without the
// repaint ("action_us", median and 99th percentile apart), and the repaint
// that follows ("repaint_us").
#include "boardlog/request_log.h"
#include "window_program.h"
#include "windows/activity_window.h"
#include "windows/board_views.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using vq::bench::Settle;
using vq::bench::ThreadCpuNanoseconds;

enum class WindowState { Closed, Following, Paused };

// A session's worth of calls: data writes, read frames in pairs, control
// lines and temperature samples, as the program sends them.
vq::BoardCall ScriptedCall(int n) {
  vq::BoardCall call;
  switch (n % 5) {
  case 0:
    call.Request = 0xD9;
    call.Value = 0x10 | (n % 4);
    call.Index = n & 0xFFFF;
    break;
  case 1:
  case 2:
    call.Request = 0xDD;
    call.Value = 0x98;
    call.Direction = 1;
    call.Length = 3;
    call.ByteCount = 3;
    break;
  case 3:
    call.Request = 0xDE;
    call.Length = 10;
    call.Direction = 0;
    break;
  default:
    call.Request = 0xDA;
    call.Direction = 1;
    call.Length = 2;
    call.ByteCount = 2;
    call.Bytes = {0x12, 0x34};
    break;
  }
  return call;
}

struct ActivityBench {
  ActivityBench() {
    program.frontPanel->hide(); // its cost is not the activity window's
    views = program.form->findChild<vq::BoardViews *>(QStringLiteral("BoardViews"));
    vq::RequestLog &log = views->Log();
    for (int n = 0; n < static_cast<int>(log.Capacity()); ++n)
      log.Record(ScriptedCall(n), n * 100);
    views->ShowActivity();
    window = views->Activity();
    pause = window->findChild<QCheckBox *>(QStringLiteral("ActivityPause"));
    program.Choose("ComboReg", QStringLiteral("Data Register"));
    program.Choose("ComboAddr", QStringLiteral("DAC C"));
    volts = program.Find<QLineEdit>("TextVolts");
    Settle();
  }
  void Put(WindowState state) {
    pause->setChecked(state == WindowState::Paused);
    if (state == WindowState::Closed)
      window->hide();
    else
      views->ShowActivity();
    Settle();
  }

  vq::bench::WindowProgram program;
  vq::BoardViews *views = nullptr;
  vq::ActivityWindow *window = nullptr;
  QCheckBox *pause = nullptr;
  QLineEdit *volts = nullptr;
};

// Made on first use and gone before the application: its windows must not
// outlive QApplication, as a static of this function would.
std::unique_ptr<ActivityBench> theBench;

ActivityBench &TheBench() {
  if (!theBench)
    theBench = std::make_unique<ActivityBench>();
  return *theBench;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void BM_VoltageEntryWithFullLog(benchmark::State &state) {
  ActivityBench &bench = TheBench();
  bench.Put(static_cast<WindowState>(state.range(0)));
  std::vector<double> actions;
  double repaint = 0;
  int round = 0;
  for (auto _ : state) {
    bench.volts->setText(round++ % 2 ? QStringLiteral("1.25") : QStringLiteral("-2.5"));
    const double start = ThreadCpuNanoseconds();
    QTest::keyClick(bench.volts, Qt::Key_Return);
    // The rest of the event-loop turn: what was queued for it, not the paint.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    const double acted = ThreadCpuNanoseconds();
    Settle();
    repaint += ThreadCpuNanoseconds() - acted;
    actions.push_back(acted - start);
  }
  state.counters["action_us"] = benchmark::Counter(Percentile(actions, 0.5) / 1e3);
  state.counters["action_p99_us"] = benchmark::Counter(Percentile(actions, 0.99) / 1e3);
  state.counters["repaint_us"] = benchmark::Counter(repaint / 1e3, benchmark::Counter::kAvgIterations);
  state.counters["rows"] = static_cast<double>(bench.window->Model().rowCount());
}

BENCHMARK(BM_VoltageEntryWithFullLog)
    ->ArgName("window")
    ->Arg(static_cast<int>(WindowState::Closed))
    ->Arg(static_cast<int>(WindowState::Following))
    ->Arg(static_cast<int>(WindowState::Paused))
    ->Iterations(1000);

} // namespace

int main(int argc, char *argv[]) {
  return vq::bench::RunWindowBenchmarks(argc, argv, [] { theBench.reset(); });
}
