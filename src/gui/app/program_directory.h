// The directory of the running program, as the operating system names it.
#pragma once

#include <string>

namespace vq {

// Without a trailing separator, byte for byte: a name that is not valid
// UTF-8 passes through unchanged, since the board library and the loader
// take bytes, not text.
std::string ProgramDirectory();

} // namespace vq
