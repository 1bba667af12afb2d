#include "files/file_writer.h"

#include "rules/number_rules.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>

namespace vq {

namespace {

// Bytes handed to the system in one write: large enough to be quick, small
// enough that a 32-bit length never overflows.
constexpr std::size_t WriteChunk = std::size_t{1} << 20;

// Attempts at a temporary name before giving up: another process making the
// same random name a hundred times over is not going to happen by chance.
constexpr int TemporaryNameAttempts = 100;

// A path cut into its folder part (with the trailing separator, empty for a
// bare name) and its name.
struct Place {
  std::string FolderPart;
  std::string Name;
};

Place Split(const FileSystem &system, const std::string &path) {
  std::size_t cut = path.size();
  while (cut > 0 && !system.IsSeparator(path[cut - 1]))
    --cut;
  return {path.substr(0, cut), path.substr(cut)};
}

// "name" in "folder", both shortened the program's one way.
std::string Where(const FileSystem &system, const Place &place) {
  if (place.FolderPart.empty())
    return QuotedExcerpt(place.Name) + " in the current folder";
  std::string folder = place.FolderPart;
  while (folder.size() > 1 && system.IsSeparator(folder.back()))
    folder.pop_back();
  return QuotedExcerpt(place.Name) + " in " + QuotedExcerpt(folder);
}

// What became of the target, said at the end of every failure.
enum class Left { Untouched, Unchanged, NotMade, Incomplete };

std::string Sentence(Left left) {
  switch (left) {
  case Left::Untouched:
    return "Nothing was written.";
  case Left::Unchanged:
    return "The file there is unchanged.";
  case Left::NotMade:
    return "No file was made.";
  case Left::Incomplete:
    return "The file may now be incomplete.";
  }
  return {};
}

WriteResult Failure(const std::string &verb, const FileSystem &system, const Place &place, const std::string &reason,
                    Left left) {
  return {WriteOutcome::Failed,
          "Could not " + verb + " " + Where(system, place) + ": " + reason + ". " + Sentence(left)};
}

std::string Because(const FileSystem &system, SystemError error, const char *step) {
  return system.ErrorText(error) + " (" + step + ")";
}

const char *KindName(PathKind kind) {
  switch (kind) {
  case PathKind::Directory:
    return "a folder";
  case PathKind::Device:
    return "a device";
  case PathKind::Pipe:
    return "a pipe";
  default:
    return "neither a file nor a folder";
  }
}

// Writes all the bytes; empty when done, else why not.
std::string WriteAll(FileSystem &system, FileHandle file, std::string_view bytes, std::size_t &done) {
  done = 0;
  while (done < bytes.size()) {
    std::size_t written = 0;
    const std::size_t chunk = std::min(WriteChunk, bytes.size() - done);
    if (const SystemError error = system.Write(file, bytes.data() + done, chunk, written))
      return Because(system, error, "while writing");
    if (written == 0)
      return "the system took no more bytes after " + std::to_string(done);
    done += std::min(written, chunk);
  }
  return {};
}

// Syncs the file to the disk and checks that all of it is there; empty when
// it is, else why not.
std::string SyncAndMeasure(FileSystem &system, FileHandle file, std::size_t expected) {
  if (const SystemError error = system.Sync(file))
    return Because(system, error, "while writing it to the disk");
  uint64_t size = 0;
  if (const SystemError error = system.SizeOf(file, size))
    return Because(system, error, "while checking its size");
  if (size != expected)
    return "the file on the disk has " + std::to_string(size) + " bytes of " + std::to_string(expected);
  return {};
}

// Syncs and measures the file unless `reason` already says why it failed,
// then closes it either way; the first reason it failed, empty when none.
std::string Finish(FileSystem &system, FileHandle file, std::size_t expected, std::string reason) {
  if (reason.empty())
    reason = SyncAndMeasure(system, file, expected);
  const SystemError closing = system.Close(file);
  if (reason.empty() && closing != 0)
    reason = Because(system, closing, "while closing it");
  return reason;
}

std::string TemporaryName() {
  static std::atomic<uint64_t> counter{0};
  static const uint64_t seed = [] {
    std::random_device device;
    return (uint64_t{device()} << 32) ^ device() ^
           static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }();
  std::mt19937_64 mix(seed + counter.fetch_add(1));
  char name[40];
  std::snprintf(name, sizeof name, ".save-%016llx.tmp", static_cast<unsigned long long>(mix()));
  return name;
}

// Makes a new temporary file beside `path`; its name goes to `temporary`.
SystemError CreateTemporary(FileSystem &system, const Place &place, std::string &temporary, FileHandle &file) {
  SystemError error = 0;
  for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
    temporary = place.FolderPart + TemporaryName();
    error = system.CreateNew(temporary, file);
    if (system.KindOf(error) != ErrorKind::Exists)
      return error;
  }
  return error;
}

// The path with links followed and what is there; a failure as a result.
struct Target {
  std::string Path;
  Place Where;
  PathInfo Info;
};

bool Look(FileSystem &system, const std::string &requested, const std::string &verb, Target &target,
          WriteResult &failure) {
  if (std::string problem = NameProblem(system, requested); !problem.empty()) {
    failure = {WriteOutcome::Failed, problem + " " + Sentence(Left::Untouched)};
    return false;
  }
  if (const SystemError error = system.Resolve(requested, target.Path)) {
    failure = Failure(verb, system, Split(system, requested), Because(system, error, "while following the link"),
                      Left::Untouched);
    return false;
  }
  target.Where = Split(system, target.Path);
  if (const SystemError error = system.Inspect(target.Path, target.Info)) {
    failure = Failure(verb, system, target.Where, Because(system, error, "while looking at it"), Left::Untouched);
    return false;
  }
  if (target.Info.Kind != PathKind::Missing && target.Info.Kind != PathKind::Regular) {
    failure = Failure(verb, system, target.Where,
                      std::string("it is not a regular file (") + KindName(target.Info.Kind) + ")", Left::Untouched);
    return false;
  }
  return true;
}

// Whether the file can be opened for writing; opening it changes nothing.
bool WritableInPlace(FileSystem &system, const std::string &path) {
  FileHandle file = 0;
  if (system.OpenExisting(path, file) != 0)
    return false;
  system.Close(file);
  return true;
}

} // namespace

std::string NameProblem(const FileSystem &system, const std::string &path) {
  if (const std::size_t longest = system.LongestPath(); longest > 0 && path.size() > longest)
    return "The path " + QuotedExcerpt(path) + " is " + std::to_string(path.size()) +
           " bytes long; the system takes paths of at most " + std::to_string(longest) + " bytes.";
  const std::size_t longest = system.LongestName();
  std::size_t start = 0;
  while (longest > 0 && start < path.size()) {
    std::size_t end = start;
    while (end < path.size() && !system.IsSeparator(path[end]))
      ++end;
    if (end - start > longest)
      return "The name " + QuotedExcerpt(std::string_view(path).substr(start, end - start)) + " is " +
             std::to_string(end - start) + " bytes long; the system takes names of at most " + std::to_string(longest) +
             " bytes.";
    start = end + 1;
  }
  return {};
}

std::string NameProblem(const std::string &path) {
  return NameProblem(NativeFileSystem(), path);
}

WriteResult WriteFile(FileSystem &system, const std::string &path, std::string_view bytes) {
  const std::string verb = "save";
  Target target;
  WriteResult result;
  if (!Look(system, path, verb, target, result))
    return result;
  const bool replacing = target.Info.Kind == PathKind::Regular;
  const Left left = replacing ? Left::Unchanged : Left::NotMade;

  std::string temporary;
  FileHandle file = 0;
  if (const SystemError error = CreateTemporary(system, target.Where, temporary, file)) {
    switch (system.KindOf(error)) {
    case ErrorKind::Missing:
      return Failure(verb, system, target.Where, "the folder does not exist", left);
    case ErrorKind::Refused:
      if (replacing && WritableInPlace(system, target.Path))
        return {WriteOutcome::InPlaceOnly,
                "The folder of " + Where(system, target.Where) + " takes no new file (" + system.ErrorText(error) +
                    "), so the file cannot be replaced safely; the file itself can be written. Overwriting it in "
                    "place is not atomic: should that fail part way, the file is left incomplete."};
      [[fallthrough]];
    default:
      return Failure(verb, system, target.Where, Because(system, error, "while making a temporary file beside it"),
                     left);
    }
  }

  std::size_t written = 0;
  std::string reason = WriteAll(system, file, bytes, written);
  if (reason.empty() && replacing)
    if (const SystemError error = system.KeepAttributes(file, target.Info))
      reason = Because(system, error, "while giving it the permissions of the file it replaces");
  reason = Finish(system, file, bytes.size(), std::move(reason));
  if (reason.empty())
    if (const SystemError error = system.Replace(temporary, target.Path))
      reason = Because(system, error, "while putting it in place");
  if (reason.empty()) {
    system.SyncDirectory(target.Where.FolderPart.empty() ? "." : target.Where.FolderPart);
    return {WriteOutcome::Written, {}};
  }

  result = Failure(verb, system, target.Where, reason, left);
  if (const SystemError error = system.Remove(temporary))
    result.Message += " The temporary file " + QuotedExcerpt(Split(system, temporary).Name) +
                      " beside it could not be removed: " + system.ErrorText(error) + ".";
  return result;
}

WriteResult WriteFile(const std::string &path, std::string_view bytes) {
  return WriteFile(NativeFileSystem(), path, bytes);
}

WriteResult OverwriteInPlace(FileSystem &system, const std::string &path, std::string_view bytes) {
  const std::string verb = "overwrite";
  Target target;
  WriteResult result;
  if (!Look(system, path, verb, target, result))
    return result;
  if (target.Info.Kind == PathKind::Missing)
    return Failure(verb, system, target.Where, "it is no longer there", Left::Untouched);
  FileHandle file = 0;
  if (const SystemError error = system.OpenExisting(target.Path, file))
    return Failure(verb, system, target.Where, Because(system, error, "while opening it"), Left::Unchanged);

  std::size_t written = 0;
  std::string reason = WriteAll(system, file, bytes, written);
  bool touched = written > 0; // a write that failed outright wrote nothing
  if (reason.empty()) {
    touched = true;
    if (const SystemError error = system.Truncate(file, bytes.size()))
      reason = Because(system, error, "while cutting it to its new length");
  }
  reason = Finish(system, file, bytes.size(), std::move(reason));
  if (reason.empty())
    return {WriteOutcome::Written, {}};
  return Failure(verb, system, target.Where, reason, touched ? Left::Incomplete : Left::Unchanged);
}

WriteResult OverwriteInPlace(const std::string &path, std::string_view bytes) {
  return OverwriteInPlace(NativeFileSystem(), path, bytes);
}

} // namespace vq
