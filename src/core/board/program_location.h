// Where the running program lies: the directory its board library and
// firmware are looked for in.
#pragma once

#include <string>

namespace vq {

// The program's directory without a trailing separator, byte for byte as the
// system names it (a name that is not valid UTF-8 passes through unchanged:
// the board library and the loader take bytes, not text); empty when the
// system does not tell.
std::string ProgramDirectory();

} // namespace vq
