// Where the running program lies, without Qt: the directory its board
// library and firmware are looked for in.
#pragma once

#include <string>

namespace vq::ctl {

// The program's directory without a trailing separator, byte for byte as the
// system names it; empty when the system does not tell.
std::string ProgramDirectory();

} // namespace vq::ctl
