#include "panels/initial_state.h"

namespace vq {

void InitialState::SetHardwareSwitches() {}
void InitialState::Apply() {}

} // namespace vq
