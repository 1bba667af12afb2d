#include "app/start.h"

#include "board/dynamic_library.h"
#include "rules/number_rules.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace vq {
namespace {

int Fatal(const QString &text, int status) {
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ApplicationTitle), text, QMessageBox::Ok);
  box.exec();
  return status;
}

// VQ_REPORT_WINDOW_SHOWN=1 says "window shown" on stderr once the event loop
// runs with the main window on screen; =quit then also ends the program. For
// the package test and the start-up benchmark, which start the program from
// outside and see nothing else.
void ReportWindowShown(const MainWindow &window) {
  const QByteArray report = qgetenv("VQ_REPORT_WINDOW_SHOWN");
  if (report != "1" && report != "quit")
    return;
  QTimer::singleShot(0, &window, [&window, quit = report == "quit"] {
    if (!window.isVisible())
      return;
    std::fprintf(stderr, "%s: window shown\n", qPrintable(window.windowTitle()));
    std::fflush(stderr);
    if (quit)
      QCoreApplication::quit();
  });
}

} // namespace

int RunProgram(QApplication &app, BoardLink &link, const std::string &programDirectory, ProgramVariant variant) {
  ProgramValues values; // the program-wide values at their start values
  BoardSession session;
  session.ProgramDirectory = programDirectory;
  MainWindow window(values, link, session, variant);
  QObject::connect(&window, &MainWindow::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);
  try {
    if (!window.Start())
      return DownloadFailed;
  } catch (const BoardLibraryError &error) {
    return Fatal(QString::fromLocal8Bit(error.what()), BoardLibraryMissing);
  } catch (const FirmwarePathTooLong &error) {
    return Fatal(QString::fromLocal8Bit(error.what()) + QStringLiteral("\n\nFirmware path: ") +
                     QString::fromLocal8Bit(QuotedExcerpt(error.Path())),
                 ProgramPathTooLong);
  }
  window.show();
  ReportWindowShown(window);
  return app.exec();
}

} // namespace vq
