#include "app/start.h"

#include "board/dynamic_library.h"
#include "rules/number_rules.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace vq {
namespace {

int Fatal(const QString &text, int status) {
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ApplicationTitle), text, QMessageBox::Ok);
  box.exec();
  return status;
}

} // namespace

int RunProgram(QApplication &app, BoardLink &link, const std::string &programDirectory, ProgramVariant variant) {
  ProgramValues values; // the program-wide values at their start values
  BoardSession session;
  session.ProgramDirectory = programDirectory;
  MainForm form(values, link, session, variant);
  QObject::connect(&form, &MainForm::ProgramEnd, &app, &QApplication::quit, Qt::QueuedConnection);
  try {
    if (!form.Form_Load())
      return DownloadFailed;
  } catch (const BoardLibraryError &error) {
    return Fatal(QString::fromLocal8Bit(error.what()), BoardLibraryMissing);
  } catch (const FirmwarePathTooLong &error) {
    return Fatal(QString::fromLocal8Bit(error.what()) + QStringLiteral("\n\nFirmware path: ") +
                     QString::fromLocal8Bit(QuotedExcerpt(error.Path())),
                 ProgramPathTooLong);
  }
  form.show();
  return app.exec();
}

} // namespace vq
