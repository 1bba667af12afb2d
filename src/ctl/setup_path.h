// Where a setup file named by a client of the server may lie: inside the
// setup directory only. A client far away must not reach the rest of the
// file system through SETup:SAVE and SETup:LOAD.
#pragma once

#include "instrument/bench_context.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace vq::ctl {

// The file `name` names inside `directory`, its symbolic links resolved, or
// why it is refused: an empty name, an absolute one (a drive or a root),
// a ".." anywhere, or a path whose links lead out of the directory.
std::variant<std::filesystem::path, std::string> ConfinedSetupPath(const std::filesystem::path &directory,
                                                                   std::string_view name);

// The instrument's rule for setup names on the server: ConfinedSetupPath in
// `directory`.
SetupPathRule InsideSetupDirectory(std::filesystem::path directory);

} // namespace vq::ctl
