#include "tests/support/form_fixture.h"

namespace vq::test {

FormFixture::FormFixture(BoardLink &link, std::string programDirectory, bool earlierBuild) {
  session.ProgramDirectory = std::move(programDirectory);
  ProgramVariant variant;
  variant.Version = earlierBuild ? EarlierBuildVersion : CurrentBuildVersion;
  window_ = std::make_unique<MainWindow>(values, link, session, variant);
  controls_ = std::make_unique<MainWindowControls>(window_.get());
}

FormFixture::~FormFixture() = default;

bool FormFixture::Start() {
  if (!window_->Start())
    return false;
  window_->show();
  return true;
}

namespace {

QStringList Lines(const std::vector<std::string> &lines) {
  QStringList list;
  for (const std::string &line : lines)
    list << QString::fromStdString(line);
  return list;
}

} // namespace

QStringList Taken(RecordingLink &link) {
  return Lines(link.Take());
}

QStringList Read(WordAddress address) {
  return Lines(ReadLines(address));
}

} // namespace vq::test
