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

StartOptions ReadStartOptions(const QStringList &arguments) {
  StartOptions options;
  const QString name = QStringLiteral("--setup");
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString &argument = arguments[i];
    QString file;
    if (argument == name) {
      if (i + 1 == arguments.size()) {
        options.Problem = QStringLiteral("--setup needs the name of a setup file.");
        return options;
      }
      file = arguments[++i];
    } else if (argument.startsWith(name + QLatin1Char('='))) {
      file = argument.mid(name.size() + 1);
    } else {
      continue;
    }
    if (file.isEmpty() || !options.SetupFile.isEmpty()) {
      options.Problem = file.isEmpty() ? QStringLiteral("--setup needs the name of a setup file.")
                                       : QStringLiteral("--setup is given more than once.");
      return options;
    }
    options.SetupFile = file;
  }
  return options;
}

int RunProgram(QApplication &app, BoardLink &link, const std::string &programDirectory, ProgramVariant variant) {
  const StartOptions options = ReadStartOptions(QCoreApplication::arguments());
  if (!options.Problem.isEmpty())
    return Fatal(options.Problem, BadArguments);
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
  // A refused setup has shown its message; the window goes on in the
  // start-up state.
  if (!options.SetupFile.isEmpty()) {
    if (const QString refusal = window.OpenSetupFile(options.SetupFile); !refusal.isEmpty())
      std::fprintf(stderr, "%s\n", refusal.toLocal8Bit().constData());
  }
  window.show();
  ReportWindowShown(window);
  return app.exec();
}

} // namespace vq
