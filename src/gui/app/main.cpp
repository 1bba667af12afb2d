// Entry point of both programs. VQ8231(version2) binds the four-operation
// board library by path; the earlier build VQ8231 (VQ_EARLIER_BUILD) binds
// the two-operation library by name.
#include "app/start.h"

#include "board/four_operation_link.h"
#include "board/program_location.h"
#include "board/two_operation_link.h"
#include "version/version.h"

#include <QApplication>
#include <QDir>
#include <QFile>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  std::string programDirectory = vq::ProgramDirectory();
  if (programDirectory.empty()) // the system did not tell; Qt may know from the command line
    programDirectory =
        QFile::encodeName(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())).toStdString();
  vq::ProgramVariant variant;
#if defined(VQ_EARLIER_BUILD)
  variant.Version = vq::EarlierBuildVersion;
  vq::TwoOperationLink link;
#else
  variant.Version = vq::CurrentBuildVersion;
  vq::FourOperationLink link(vq::FourOperationLibraryPath(programDirectory));
#endif
  return vq::RunProgram(app, link, programDirectory, variant);
}
