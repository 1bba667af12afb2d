// The program's own cost of each user action: the real main window on the
// simulated board (through the real library path), driven through its widgets
// offscreen. Per action, the CPU time of this thread from the key or mouse
// event until the handler returns ("handler_us"), and apart from it the CPU
// time of the repaint that follows ("repaint_us"); for the push buttons also
// what Qt spends on the click around the handler ("button_us"). With the argument
// front_panel:1 the simulated board's front panel is open, as the simulated-
// board program starts; with 0 it is closed, as on a real board.
#include "panels/choice_list.h"
#include "panels/toggle_switch.h"
#include "window_program.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

using vq::bench::Settle;
using vq::bench::ThreadCpuNanoseconds;
using Program = vq::bench::WindowProgram;

// Made at first use, dropped before the application ends: its windows must
// not outlive it.
std::unique_ptr<Program> theProgram;

Program &TheProgram() {
  if (!theProgram)
    theProgram = std::make_unique<Program>();
  return *theProgram;
}

// Runs `prepare` (the user's typing, untimed), then `act` (timed as the
// handler), then lets the window repaint (timed apart).
void MeasureAction(benchmark::State &state, const std::function<void(int)> &prepare,
                   const std::function<void(int)> &act) {
  Program &program = TheProgram();
  program.frontPanel->setVisible(state.range(0) != 0);
  Settle();
  double handler = 0, repaint = 0;
  int round = 0;
  for (auto _ : state) {
    prepare(round);
    const double start = ThreadCpuNanoseconds();
    act(round);
    const double handled = ThreadCpuNanoseconds();
    Settle();
    repaint += ThreadCpuNanoseconds() - handled;
    handler += handled - start;
    ++round;
  }
  state.counters["handler_us"] = benchmark::Counter(handler / 1e3, benchmark::Counter::kAvgIterations);
  state.counters["repaint_us"] = benchmark::Counter(repaint / 1e3, benchmark::Counter::kAvgIterations);
}

// A mouse click on a push button: Qt repaints the button pressed and released
// within the click, before and after the program's handler runs. The handler
// is timed from "released" (emitted just before "clicked") to a probe on
// "clicked" connected after the program's own slot; the rest of the click,
// Qt's dispatch and the button's own repaint, is reported as "button_us".
void MeasureButton(benchmark::State &state, QPushButton *button) {
  Program &program = TheProgram();
  program.frontPanel->setVisible(state.range(0) != 0);
  Settle();
  double handlerStart = 0, handlerEnd = 0;
  const auto started =
      QObject::connect(button, &QPushButton::released, [&handlerStart] { handlerStart = ThreadCpuNanoseconds(); });
  const auto ended =
      QObject::connect(button, &QPushButton::clicked, [&handlerEnd] { handlerEnd = ThreadCpuNanoseconds(); });
  double handler = 0, click = 0, repaint = 0;
  for (auto _ : state) {
    const double start = ThreadCpuNanoseconds();
    QTest::mouseClick(button, Qt::LeftButton);
    const double clicked = ThreadCpuNanoseconds();
    Settle();
    repaint += ThreadCpuNanoseconds() - clicked;
    handler += handlerEnd - handlerStart;
    click += (clicked - start) - (handlerEnd - handlerStart);
  }
  QObject::disconnect(started);
  QObject::disconnect(ended);
  state.counters["handler_us"] = benchmark::Counter(handler / 1e3, benchmark::Counter::kAvgIterations);
  state.counters["button_us"] = benchmark::Counter(click / 1e3, benchmark::Counter::kAvgIterations);
  state.counters["repaint_us"] = benchmark::Counter(repaint / 1e3, benchmark::Counter::kAvgIterations);
}

// Return in a box of the data register view, alternating two texts so every
// press writes a new value.
void MeasureEntry(benchmark::State &state, const char *channel, const char *boxName, const QString &odd,
                  const QString &even) {
  Program &program = TheProgram();
  program.Choose("ComboReg", QStringLiteral("Data Register"));
  program.Choose("ComboAddr", QString::fromLatin1(channel));
  auto *box = program.Find<QLineEdit>(boxName);
  MeasureAction(
      state, [=](int round) { box->setText(round % 2 ? odd : even); },
      [box](int) { QTest::keyClick(box, Qt::Key_Return); });
}

void BM_DataEntryReturn(benchmark::State &state) {
  MeasureEntry(state, "DAC B", "TextData", QStringLiteral("BEEF"), QStringLiteral("1234"));
}

void BM_VoltageEntryReturn(benchmark::State &state) {
  MeasureEntry(state, "DAC C", "TextVolts", QStringLiteral("1.25"), QStringLiteral("-2.5"));
}

void BM_ReadRegister(benchmark::State &state) {
  Program &program = TheProgram();
  program.Choose("ComboReg", QStringLiteral("Data Register"));
  program.Choose("ComboAddr", QStringLiteral("DAC B"));
  MeasureButton(state, program.Find<QPushButton>("Command1"));
}

void BM_RegisterListChoice(benchmark::State &state) {
  Program &program = TheProgram();
  program.Choose("ComboAddr", QStringLiteral("DAC A"));
  auto *list = program.Find<vq::ChoiceList>("ComboReg");
  const int data = list->findText(QStringLiteral("Data Register"), Qt::MatchExactly);
  const int fine = list->findText(QStringLiteral("Fine Gain Register"), Qt::MatchExactly);
  MeasureAction(
      state, [](int) {},
      [list, data, fine](int round) {
        const int index = round % 2 ? data : fine;
        list->setCurrentIndex(index);
        emit list->activated(index);
      });
}

void BM_SwitchFlip(benchmark::State &state) {
  auto *toggle = TheProgram().Find<vq::ToggleSwitch>("Toggle7"); // SDO
  MeasureAction(
      state, [](int) {}, [toggle](int) { QTest::mouseClick(toggle, Qt::LeftButton); });
}

void BM_Measure(benchmark::State &state) {
  MeasureButton(state, TheProgram().Find<QPushButton>("Command7"));
}

// "Read All" in the register map, open: the function word and 17 reads (35
// requests), the register model following each, and the map's rows.
void BM_ReadAll(benchmark::State &state) {
  Program &program = TheProgram();
  program.form->RegisterMap().show();
  Settle();
  MeasureButton(state, program.Find<QPushButton>("RegisterMapReadAll"));
  program.form->RegisterMap().hide();
}

BENCHMARK(BM_DataEntryReturn)->ArgName("front_panel")->Arg(1)->Arg(0);
BENCHMARK(BM_VoltageEntryReturn)->ArgName("front_panel")->Arg(1)->Arg(0);
BENCHMARK(BM_ReadRegister)->ArgName("front_panel")->Arg(1)->Arg(0);
BENCHMARK(BM_RegisterListChoice)->ArgName("front_panel")->Arg(1)->Arg(0);
BENCHMARK(BM_SwitchFlip)->ArgName("front_panel")->Arg(1)->Arg(0);
BENCHMARK(BM_Measure)->ArgName("front_panel")->Arg(1)->Arg(0);
BENCHMARK(BM_ReadAll)->ArgName("front_panel")->Arg(1)->Arg(0);

} // namespace

int main(int argc, char *argv[]) {
  return vq::bench::RunWindowBenchmarks(argc, argv, [] { theProgram.reset(); });
}
