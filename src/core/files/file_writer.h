// The one way the program writes a file. The bytes go to a new temporary file
// beside the target; every write is checked, the file is synced to the disk
// and its size checked, and only then is it renamed over the target. Any
// failure removes the temporary file and leaves the target exactly as it was.
// Success is reported only when the bytes are on the disk under the name.
#pragma once

#include "files/file_system.h"

#include <string>
#include <string_view>

namespace vq {

enum class WriteOutcome {
  Written, // the bytes are on the disk under the name
  Failed,  // nothing changed; the message says why
  // The folder takes no new file, but the file there may be written: the
  // caller may ask the user and then OverwriteInPlace (not atomic).
  InPlaceOnly,
};

struct WriteResult {
  WriteOutcome Outcome = WriteOutcome::Failed;
  // Empty when written; else sentences naming the file (its name and folder,
  // each shortened to an excerpt) and the reason in words.
  std::string Message;
  bool Written() const { return Outcome == WriteOutcome::Written; }
};

// Writes `bytes` as the file `path` (bytes as the system takes them: UTF-8
// on Windows). A target that exists and is not a regular file is refused; a
// symbolic link is followed and kept; a file replaced keeps its permissions.
WriteResult WriteFile(const std::string &path, std::string_view bytes);
WriteResult WriteFile(FileSystem &system, const std::string &path, std::string_view bytes);

// Writes `bytes` over the existing regular file `path` in place: for a folder
// that takes no new file. Not atomic: a failure part way leaves the file
// incomplete, and the message says so.
WriteResult OverwriteInPlace(const std::string &path, std::string_view bytes);
WriteResult OverwriteInPlace(FileSystem &system, const std::string &path, std::string_view bytes);

// Why the system cannot take `path` as a file name (a name or a path longer
// than it takes), as a sentence; empty when it can.
std::string NameProblem(const FileSystem &system, const std::string &path);
std::string NameProblem(const std::string &path);

} // namespace vq
