// The file writer against a failure at each step (a file system that fails
// where told), against real folders, devices, links and permissions, and
// against a full disk (a small tmpfs mounted in a child process of its own).
// After every failure the target must be byte for byte what it was and no
// temporary file may be left beside it.
#include "files/file_writer.h"
#include "rules/number_rules.h"
#include "tests/support/delegating_file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vq {
namespace {

namespace fs = std::filesystem;

const std::string OldBytes = "the file as it was\n";

std::string Contents(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Put(const fs::path &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Entries(const fs::path &folder) {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Text(SystemError error) {
  return NativeFileSystem().ErrorText(error);
}

// A fresh folder of its own, removed afterwards, open to every user so a
// child without privileges can reach it.
class Folder {
public:
  Folder() {
    char name[] = "/tmp/vq-writer-XXXXXX";
    path_ = ::mkdtemp(name);
    fs::permissions(path_, fs::perms::all);
  }
  ~Folder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::all, ignored);
    fs::remove_all(path_, ignored);
  }
  const fs::path &Path() const { return path_; }
  std::string operator/(const std::string &name) const { return (path_ / name).string(); }

private:
  fs::path path_;
};

enum class Step { Create, Write, WriteAfterPart, WriteNothing, Permissions, Sync, Size, Close, Replace };

// The real file system, except that one step fails with the given error.
class FailingFileSystem : public test::DelegatingFileSystem {
public:
  FailingFileSystem(Step step, SystemError error) : step_(step), error_(error) {}
  bool failRemove = false;

  SystemError CreateNew(const std::string &path, FileHandle &file) override {
    return step_ == Step::Create ? error_ : real_.CreateNew(path, file);
  }
  SystemError Write(FileHandle file, const char *data, std::size_t size, std::size_t &written) override {
    ++writes_;
    if (step_ == Step::Write || (step_ == Step::WriteAfterPart && writes_ > 1))
      return error_;
    if (step_ == Step::WriteNothing) {
      written = 0;
      return 0;
    }
    // A part first, as a disk that is nearly full takes it.
    return real_.Write(file, data, step_ == Step::WriteAfterPart ? size / 2 : size, written);
  }
  SystemError KeepAttributes(FileHandle file, const PathInfo &of) override {
    return step_ == Step::Permissions ? error_ : real_.KeepAttributes(file, of);
  }
  SystemError Sync(FileHandle file) override { return step_ == Step::Sync ? error_ : real_.Sync(file); }
  SystemError SizeOf(FileHandle file, uint64_t &size) override {
    const SystemError error = real_.SizeOf(file, size);
    if (step_ == Step::Size)
      --size; // a byte short on the disk
    return error;
  }
  SystemError Close(FileHandle file) override {
    const SystemError error = real_.Close(file);
    return step_ == Step::Close ? error_ : error;
  }
  SystemError Replace(const std::string &from, const std::string &to) override {
    return step_ == Step::Replace ? error_ : real_.Replace(from, to);
  }
  SystemError Remove(const std::string &path) override {
    const SystemError error = real_.Remove(path);
    return failRemove ? EBUSY : error;
  }

private:
  Step step_;
  SystemError error_;
  int writes_ = 0;
};

// Runs `body` in a child process and returns what it returned: the child may
// give up privileges or mount a file system of its own without touching this
// process. "skip: why" means the child could not set up its case.
std::string InChild(const std::function<std::string()> &body) {
  int pipe[2];
  if (::pipe(pipe) != 0)
    return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe[0]);
    const std::string said = body();
    (void)!::write(pipe[1], said.data(), said.size());
    ::_exit(0);
  }
  ::close(pipe[1]);
  std::string said;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
    said.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? said : "the child ended abnormally: " + said;
}

// As a user without privileges: root writes wherever it likes.
bool WithoutPrivileges() {
  if (::geteuid() != 0)
    return true;
  const gid_t nobody = 65534;
  return ::setgroups(0, nullptr) == 0 && ::setresgid(nobody, nobody, nobody) == 0 &&
         ::setresuid(nobody, nobody, nobody) == 0;
}

struct StepCase {
  Step step;
  SystemError error;
  std::string reason; // what the message must say
};

TEST(FileWriter, AFailureAtAnyStepLeavesTheFileAsItWasAndNoTemporaryFile) {
  const StepCase cases[] = {
      {Step::Create, ENOSPC, Text(ENOSPC) + " (while making a temporary file beside it)"},
      {Step::Write, ENOSPC, Text(ENOSPC) + " (while writing)"},
      {Step::WriteAfterPart, EIO, Text(EIO) + " (while writing)"},
      {Step::WriteNothing, 0, "the system took no more bytes after 0"},
      {Step::Permissions, EPERM, Text(EPERM) + " (while giving it the permissions of the file it replaces)"},
      {Step::Sync, EIO, Text(EIO) + " (while writing it to the disk)"},
      {Step::Size, 0, "the file on the disk has 2999 bytes of 3000"},
      {Step::Close, EDQUOT, Text(EDQUOT) + " (while closing it)"},
      {Step::Replace, EXDEV, Text(EXDEV) + " (while putting it in place)"},
  };
  const std::string bytes(3000, 'x');
  for (const StepCase &c : cases) {
    SCOPED_TRACE(c.reason);
    Folder folder;
    Put(folder / "activity.csv", OldBytes);
    FailingFileSystem system(c.step, c.error);
    const WriteResult result = WriteFile(system, folder / "activity.csv", bytes);
    EXPECT_EQ(result.Outcome, WriteOutcome::Failed);
    EXPECT_EQ(result.Message, "Could not save \"activity.csv\" in " + QuotedExcerpt(folder.Path().string()) + ": " +
                                  c.reason + ". The file there is unchanged.");
    EXPECT_EQ(Contents(folder / "activity.csv"), OldBytes);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"activity.csv"});
  }
}

TEST(FileWriter, AFailedNewFileLeavesNothingBehind) {
  for (const Step step : {Step::Write, Step::Sync, Step::Replace}) {
    Folder folder;
    FailingFileSystem system(step, ENOSPC);
    const WriteResult result = WriteFile(system, folder / "new.csv", "abc");
    EXPECT_EQ(result.Outcome, WriteOutcome::Failed);
    EXPECT_TRUE(result.Message.ends_with(". No file was made.")) << result.Message;
    EXPECT_TRUE(Entries(folder.Path()).empty());
  }
  // A temporary file that will not go is named, so the user can remove it.
  Folder folder;
  FailingFileSystem system(Step::Sync, EIO);
  system.failRemove = true;
  const WriteResult result = WriteFile(system, folder / "new.csv", "abc");
  EXPECT_NE(result.Message.find(" The temporary file \".save-"), std::string::npos) << result.Message;
  EXPECT_NE(result.Message.find(".tmp\" beside it could not be removed: " + Text(EBUSY) + "."), std::string::npos);
}

TEST(FileWriter, WritesANewFileAndReplacesAnOldOneKeepingItsPermissions) {
  Folder folder;
  const std::string bytes = "time_us,code\r\n1,2\r\n";
  EXPECT_TRUE(WriteFile(folder / "new.csv", bytes).Written());
  EXPECT_EQ(Contents(folder / "new.csv"), bytes);

  Put(folder / "old.csv", OldBytes);
  fs::permissions(folder / "old.csv", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const WriteResult replaced = WriteFile(folder / "old.csv", "");
  EXPECT_TRUE(replaced.Written()) << replaced.Message;
  EXPECT_EQ(replaced.Message, "");
  EXPECT_EQ(Contents(folder / "old.csv"), "");
  EXPECT_EQ(fs::status(folder / "old.csv").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"new.csv", "old.csv"}));
}

TEST(FileWriter, ALinkIsFollowedAndKept) {
  Folder folder;
  Put(folder / "real.csv", OldBytes);
  fs::create_symlink(folder / "real.csv", folder / "link.csv");
  ASSERT_TRUE(WriteFile(folder / "link.csv", "new").Written());
  EXPECT_TRUE(fs::is_symlink(folder / "link.csv"));
  EXPECT_EQ(Contents(folder / "real.csv"), "new");
}

TEST(FileWriter, RefusesWhatIsNotARegularFile) {
  Folder folder;
  fs::create_directory(folder / "folder.csv");
  Put(folder / "folder.csv/inside", OldBytes);
  WriteResult result = WriteFile(folder / "folder.csv", "new");
  EXPECT_EQ(result.Outcome, WriteOutcome::Failed);
  EXPECT_EQ(result.Message, "Could not save \"folder.csv\" in " + QuotedExcerpt(folder.Path().string()) +
                                ": it is not a regular file (a folder). Nothing was written.");
  EXPECT_EQ(Contents(folder / "folder.csv/inside"), OldBytes);

  // A device node like the system's full device, made here when we may;
  // a pipe otherwise (opening one to write would wait for a reader).
  const bool device = ::mknod((folder / "node").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
  if (!device) {
    ASSERT_EQ(::mkfifo((folder / "node").c_str(), 0666), 0);
  }
  result = WriteFile(folder / "node", "new");
  EXPECT_EQ(result.Outcome, WriteOutcome::Failed);
  EXPECT_NE(result.Message.find(device ? "it is not a regular file (a device)" : "it is not a regular file (a pipe)"),
            std::string::npos)
      << result.Message;
  const fs::file_status node = fs::symlink_status(folder / "node");
  EXPECT_EQ(node.type(), device ? fs::file_type::character : fs::file_type::fifo);
  EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"folder.csv", "node"}));
}

TEST(FileWriter, AMissingFolderIsNamed) {
  Folder folder;
  const WriteResult result = WriteFile(folder / "gone/activity.csv", "new");
  EXPECT_EQ(result.Message, "Could not save \"activity.csv\" in " + QuotedExcerpt(folder / "gone") +
                                ": the folder does not exist. No file was made.");
  EXPECT_TRUE(Entries(folder.Path()).empty());
}

TEST(FileWriter, AReadOnlyFolderOffersToOverwriteAWritableFileInPlace) {
  Folder folder;
  fs::create_directory(folder / "locked");
  Put(folder / "locked/activity.csv", OldBytes);
  fs::permissions(folder / "locked/activity.csv",
                  fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
  fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const std::string target = folder / "locked/activity.csv";
  const std::string said = InChild([&] {
    if (!WithoutPrivileges())
      return std::string("skip: cannot give up privileges");
    const WriteResult fresh = WriteFile(folder / "locked/new.csv", "new");
    const WriteResult first = WriteFile(target, "new");
    if (first.Outcome != WriteOutcome::InPlaceOnly)
      return "not offered in place: " + first.Message;
    const std::string before = Contents(target);
    const WriteResult second = OverwriteInPlace(target, "new");
    return fresh.Message + "\n" + first.Message + "\n" + before + (second.Written() ? "written" : second.Message);
  });
  if (said.starts_with("skip: "))
    GTEST_SKIP() << said;
  fs::permissions(folder / "locked", fs::perms::all);
  const std::string folderText = QuotedExcerpt(folder / "locked");
  EXPECT_EQ(said, "Could not save \"new.csv\" in " + folderText + ": " + Text(EACCES) +
                      " (while making a temporary file beside it). No file was made.\n"
                      "The folder of \"activity.csv\" in " +
                      folderText + " takes no new file (" + Text(EACCES) +
                      "), so the file cannot be replaced safely; the file itself can be written. Overwriting it in "
                      "place is not atomic: should that fail part way, the file is left incomplete.\n" +
                      OldBytes + "written");
  EXPECT_EQ(Contents(target), "new");
  EXPECT_EQ(Entries(folder / "locked"), std::vector<std::string>{"activity.csv"});
}

TEST(FileWriter, OverwritingInPlaceSaysWhetherTheFileWasTouched) {
  Folder folder;
  Put(folder / "a.csv", OldBytes);
  FailingFileSystem failsAtOnce(Step::Write, ENOSPC);
  WriteResult result = OverwriteInPlace(failsAtOnce, folder / "a.csv", "new bytes");
  EXPECT_TRUE(result.Message.ends_with(Text(ENOSPC) + " (while writing). The file there is unchanged."))
      << result.Message;
  EXPECT_EQ(Contents(folder / "a.csv"), OldBytes);

  FailingFileSystem failsLater(Step::WriteAfterPart, ENOSPC);
  result = OverwriteInPlace(failsLater, folder / "a.csv", "new bytes");
  EXPECT_TRUE(result.Message.ends_with("The file may now be incomplete.")) << result.Message;

  FailingFileSystem shortOnDisk(Step::Size, 0);
  result = OverwriteInPlace(shortOnDisk, folder / "a.csv", "new bytes");
  EXPECT_TRUE(result.Message.starts_with("Could not overwrite \"a.csv\"")) << result.Message;
  EXPECT_NE(result.Message.find("has 8 bytes of 9. The file may now be incomplete."), std::string::npos);

  EXPECT_TRUE(OverwriteInPlace(folder / "a.csv", "shorter").Written());
  EXPECT_EQ(Contents(folder / "a.csv"), "shorter");
  EXPECT_EQ(OverwriteInPlace(folder / "b.csv", "x").Outcome, WriteOutcome::Failed);
  EXPECT_FALSE(fs::exists(folder / "b.csv"));
}

TEST(FileWriter, NamesAndPathsTooLongGetABoundedMessage) {
  Folder folder;
  const std::string longName(300, 'n');
  WriteResult result = WriteFile(folder / longName, "x");
  EXPECT_EQ(result.Message, "The name \"" + std::string(40, 'n') +
                                "...\" is 300 bytes long; the system takes names of at most 255 bytes. "
                                "Nothing was written.");
  EXPECT_EQ(NameProblem(folder / std::string(255, 'n')), "");

  std::string longPath = folder.Path().string();
  while (longPath.size() < 5000)
    longPath += "/" + std::string(200, 'd');
  result = WriteFile(longPath, "x");
  EXPECT_EQ(result.Message, "The path \"" + longPath.substr(0, 40) + "...\" is " + std::to_string(longPath.size()) +
                                " bytes long; the system takes paths of at most 4095 bytes. Nothing was written.");
  EXPECT_TRUE(Entries(folder.Path()).empty());
}

// The disk itself full: a tmpfs of 64 KiB, mounted in a mount namespace of a
// child's own, so it vanishes with the child whatever happens.
TEST(FileWriter, AFullDiskIsAFailureAndTheOldFileStays) {
  Folder folder;
  const std::string mountPoint = folder / "disk";
  fs::create_directory(mountPoint);
  const std::string said = InChild([&]() -> std::string {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("vq-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
      return "skip: no tmpfs can be mounted here (" + Text(errno) + ")";
    const std::string target = mountPoint + "/activity.csv";
    Put(target, OldBytes);
    std::string report;
    // Larger than the disk; then, with a filler taking the rest, a small file
    // that a buffered writer would have kept until after its check.
    const WriteResult large = WriteFile(target, std::string(200 * 1024, 'x'));
    report += large.Message + "\n" + Contents(target) + "\n";
    Put(mountPoint + "/filler", std::string(128 * 1024, 'f'));
    const WriteResult small = WriteFile(target, std::string(100, 'x'));
    report += small.Message + "\n" + Contents(target) + "\n";
    for (const std::string &name : Entries(mountPoint))
      report += name + " ";
    return report;
  });
  if (said.starts_with("skip: "))
    GTEST_SKIP() << said;
  const std::string failed = "Could not save \"activity.csv\" in " + QuotedExcerpt(mountPoint) + ": " + Text(ENOSPC) +
                             " (while writing). The file there is unchanged.\n" + OldBytes + "\n";
  EXPECT_EQ(said, failed + failed + "activity.csv filler ");
}

} // namespace
} // namespace vq
