#include "tests/support/form_fixture.h"

namespace vq::test {

FormFixture::FormFixture(BoardLink &link, std::string programDirectory, bool earlierBuild) {
  session.ProgramDirectory = std::move(programDirectory);
  ProgramVariant variant;
  variant.Version = earlierBuild ? EarlierBuildVersion : CurrentBuildVersion;
  form = std::make_unique<MainForm>(values, link, session, variant);
  controls = std::make_unique<MainFormControls>(form.get());
}

FormFixture::~FormFixture() = default;

bool FormFixture::Load() {
  if (!form->Form_Load())
    return false;
  form->show();
  return true;
}

} // namespace vq::test
