// The real main window on the simulated board (through the real library
// path), loaded as the program loads it, for the benchmarks that drive it
// through its widgets offscreen; and this thread's CPU clock.
#pragma once

#include "app/main_window.h"
#include "board/board_library.h"
#include "board/four_operation_link.h"
#include "panels/choice_list.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace vq::bench {

// A POSIX CPU clock read in nanoseconds; the type of its reading (seconds
// and nanoseconds) comes from clock_gettime's own declaration.
template <typename Reading> double CpuNanoseconds(int (*readClock)(clockid_t, Reading *), clockid_t clock) {
  Reading now{};
  readClock(clock, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Only this thread's CPU time: the handlers run on it, the rest of the
// process is not ours to count.
inline double ThreadCpuNanoseconds() {
  return CpuNanoseconds(&clock_gettime, CLOCK_THREAD_CPUTIME_ID);
}

// The window as the simulated-board program shows it after its start.
struct WindowProgram {
  WindowProgram() {
    session.ProgramDirectory = VQ_BIN_DIR;
    variant.Version = {1, 0, 4};
    form = std::make_unique<MainWindow>(values, link, session, variant);
    if (!form->Start())
      throw std::runtime_error("the simulated board refused the firmware");
    form->show();
    QCoreApplication::processEvents();
    frontPanel = form->findChild<QWidget *>(QStringLiteral("FrontPanel"));
    if (frontPanel == nullptr)
      throw std::runtime_error("no front panel on the simulated board");
  }
  template <typename Widget> Widget *Find(const char *name) {
    auto *widget = form->findChild<Widget *>(QLatin1String(name));
    if (widget == nullptr)
      throw std::runtime_error(std::string("no control named ") + name);
    return widget;
  }
  void Choose(const char *list, const QString &text) {
    auto *choices = Find<ChoiceList>(list);
    const int index = choices->findText(text, Qt::MatchExactly);
    choices->setCurrentIndex(index);
    emit choices->activated(index);
  }

  FourOperationLink link{FourOperationLibraryPath(VQ_BIN_DIR)};
  ProgramValues values;
  BoardSession session;
  ProgramVariant variant;
  std::unique_ptr<MainWindow> form;
  QWidget *frontPanel = nullptr;
};

// Everything the last action left for the event loop, repaints included.
inline void Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

// The benchmark program's main: offscreen unless told otherwise, one
// application for every benchmark; `beforeTheApplicationEnds` drops what the
// benchmarks kept of its widgets while it still exists.
inline int RunWindowBenchmarks(int argc, char *argv[], const std::function<void()> &beforeTheApplicationEnds = {}) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (beforeTheApplicationEnds)
    beforeTheApplicationEnds();
  return 0;
}

} // namespace vq::bench
