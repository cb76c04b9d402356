// Writing files atomically: kept permissions, links written through, failures that leave the
// old file whole and no temporary file behind.
#include "io/atomic_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "support/file_size_limit.hpp"
#include "support/host_fixture.hpp"

namespace sqhost::io {
namespace {

namespace fs = std::filesystem;
using sqtest::readFile;
using sqtest::writeFile;

std::vector<std::string> entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

mode_t modeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(AtomicFile, ReplacesTheContentsAndKeepsThePermissions) {
  sqtest::TempDir dir;
  const fs::path file = dir.path() / "kept.txt";
  writeFile(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  EXPECT_EQ(writeFileAtomically(file, std::string_view("new contents")), "");
  EXPECT_EQ(readFile(file), "new contents");
  EXPECT_EQ(modeOf(file), 0640u);

  // A new file gets what the umask allows; an empty write is a write too.
  const mode_t previous = ::umask(027);
  const fs::path fresh = dir.path() / "fresh.txt";
  EXPECT_EQ(writeFileAtomically(fresh, std::string_view()), "");
  ::umask(previous);
  EXPECT_EQ(readFile(fresh), "");
  EXPECT_EQ(modeOf(fresh), 0640u);
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"fresh.txt", "kept.txt"}));
}

TEST(AtomicFile, WritesThroughSymbolicLinks) {
  sqtest::TempDir dir;
  fs::create_directory(dir.path() / "real");
  const fs::path target = dir.path() / "real" / "settings.json";
  writeFile(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
  // A relative link, and a link to that link.
  const fs::path link = dir.path() / "link.json";
  const fs::path second = dir.path() / "second.json";
  fs::create_symlink(fs::path("real") / "settings.json", link);
  fs::create_symlink("link.json", second);

  EXPECT_EQ(writeFileAtomically(second, std::string_view("through two links")), "");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink(second));
  EXPECT_EQ(fs::read_symlink(link), fs::path("real") / "settings.json");
  EXPECT_EQ(readFile(target), "through two links");
  EXPECT_EQ(modeOf(target), 0600u);
  // The temporary file lived beside the real file, and neither folder keeps one.
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"link.json", "real", "second.json"}));
  EXPECT_EQ(entries(dir.path() / "real"), (std::vector<std::string>{"settings.json"}));

  // A link to a file that does not exist yet creates that file and stays a link.
  const fs::path dangling = dir.path() / "dangling.json";
  fs::create_symlink(fs::path("real") / "later.json", dangling);
  EXPECT_EQ(writeFileAtomically(dangling, std::string_view("later")), "");
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(readFile(dir.path() / "real" / "later.json"), "later");

  // A loop of links is refused with a reason.
  fs::create_symlink("loop-b", dir.path() / "loop-a");
  fs::create_symlink("loop-a", dir.path() / "loop-b");
  const std::string looped = writeFileAtomically(dir.path() / "loop-a", std::string_view("x"));
  EXPECT_NE(looped.find("symbolic links"), std::string::npos) << looped;
}

// Runs `write` where the folder's permissions hold: in a child process without root rights when
// the tests run as root, else here with the folder made read-only. True when it reported an
// error naming `file`.
bool failsInReadOnlyFolder(const fs::path& folder, const fs::path& file) {
  const auto check = [&] {
    const std::string error = writeFileAtomically(file, std::string_view("new"));
    return error.find(file.string()) != std::string::npos &&
           error.find("Permission denied") != std::string::npos;
  };
  if (::geteuid() != 0) {
    ::chmod(folder.c_str(), 0555);
    const bool failed = check();
    ::chmod(folder.c_str(), 0755);
    return failed;
  }
  ::chmod(folder.c_str(), 0755);
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(AtomicFile, AFailedWriteLeavesTheFileWholeAndNamesIt) {
  sqtest::TempDir dir;
  const fs::path file = dir.path() / "keep.txt";
  writeFile(file, "previous contents");

  EXPECT_TRUE(failsInReadOnlyFolder(dir.path(), file));
  EXPECT_EQ(readFile(file), "previous contents");

  // The write fails part-way, as on a full disk.
  const std::string tooLarge =
      sqtest::withFileSizeLimit(8, [&] { return writeFileAtomically(file, std::string(64, 'x')); });
  EXPECT_NE(tooLarge.find("cannot save " + file.string()), std::string::npos) << tooLarge;
  EXPECT_EQ(readFile(file), "previous contents");

  // A folder where the file should be is never replaced.
  const fs::path folder = dir.path() / "folder.txt";
  fs::create_directory(folder);
  writeFile(folder / "inside", "x");
  const std::string isFolder = writeFileAtomically(folder, std::string_view("new"));
  EXPECT_NE(isFolder.find(folder.string()), std::string::npos) << isFolder;
  EXPECT_NE(isFolder.find("is a folder"), std::string::npos) << isFolder;
  EXPECT_EQ(readFile(folder / "inside"), "x");

  const fs::path missing = dir.path() / "missing" / "a.txt";
  const std::string noFolder = writeFileAtomically(missing, std::string_view("new"));
  EXPECT_NE(noFolder.find(missing.string()), std::string::npos) << noFolder;
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"folder.txt", "keep.txt"}));
}

TEST(AtomicFile, ASuccessfulWriteRemovesWhatInterruptedWritesOfTheSameFileLeft) {
  sqtest::TempDir dir;
  const fs::path folder = dir.path();
  const fs::path file = folder / "prefs.json";
  writeFile(file, "old");
  // Left by interrupted writes of this file: removed.
  for (const char* stale : {".prefs.json.tmp-a1B2c3", ".prefs.json.tmp-ZZZZZZ"}) {
    writeFile(folder / stale, "half a write");
  }
  // Everything else stays: other names, other patterns, what is not a regular file, and a
  // temporary that a write in progress holds.
  const std::vector<std::string> kept = {".other.json.tmp-a1B2c3",  ".prefs.json.tmp-a1B2c",
                                         ".prefs.json.tmp-a1B2c34", ".prefs.json.tmp-a1B2.3",
                                         "prefs.json.tmp-a1B2c3",   ".prefs.json.tmp-a1B2c3.bak",
                                         ".prefs.json.tmp-link00",  ".prefs.json.tmp-folder",
                                         ".prefs.json.tmp-inuse0",  "elsewhere.txt"};
  for (const std::string& name : kept) {
    if (name != ".prefs.json.tmp-link00" && name != ".prefs.json.tmp-folder") {
      writeFile(folder / name, "keep");
    }
  }
  fs::create_symlink("elsewhere.txt", folder / ".prefs.json.tmp-link00");
  fs::create_directory(folder / ".prefs.json.tmp-folder");
  const int inUse = ::open((folder / ".prefs.json.tmp-inuse0").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(inUse, 0);
  ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
  std::vector<std::string> expected = kept;
  // Another user's file of the pattern is not this user's to remove (only root can make one).
  if (::geteuid() == 0) {
    writeFile(folder / ".prefs.json.tmp-nobody", "theirs");
    ASSERT_EQ(::chown((folder / ".prefs.json.tmp-nobody").c_str(), 65534, 65534), 0);
    expected.push_back(".prefs.json.tmp-nobody");
  }
  expected.push_back("prefs.json");
  std::sort(expected.begin(), expected.end());

  EXPECT_EQ(writeFileAtomically(file, std::string_view("new")), "");
  ::close(inUse);
  EXPECT_EQ(readFile(file), "new");
  EXPECT_EQ(entries(folder), expected);
  EXPECT_EQ(readFile(folder / "elsewhere.txt"), "keep");

  // The lock released, that temporary is stale too; a write through a link cleans beside the
  // file the link leads to.
  fs::create_directory(folder / "sub");
  fs::create_symlink(fs::path("..") / "prefs.json", folder / "sub" / "link.json");
  EXPECT_EQ(writeFileAtomically(folder / "sub" / "link.json", std::string_view("newer")), "");
  EXPECT_FALSE(fs::exists(folder / ".prefs.json.tmp-inuse0"));
  EXPECT_TRUE(fs::exists(folder / ".prefs.json.tmp-a1B2c"));
  EXPECT_EQ(readFile(file), "newer");
}

}  // namespace
}  // namespace sqhost::io
