// Entry point of both programs. VQ8231(version2) binds the four-operation
// board library by path; the earlier build VQ8231 (VQ_EARLIER_BUILD) binds
// the two-operation library by name.
#include "app/program_directory.h"
#include "app/start.h"

#include "board/four_operation_link.h"
#include "board/two_operation_link.h"
#include "version/version.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  const std::string programDirectory = vq::ProgramDirectory();
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
