// Replacing a file's contents all at once: a temporary file in the same folder, then a rename.
#include "io/atomic_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>

namespace sqhost::io {
namespace {

namespace fs = std::filesystem;

std::string errnoText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

bool writeAll(int fd, std::span<const unsigned char> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (wrote == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// Where the contents land: the target, or the end of its chain of symbolic links. `existing`
// gets the status of a regular file found there. Empty with the reason in `problem` when the
// place cannot take a file.
fs::path landingPlace(const fs::path& target, std::optional<struct stat>& existing,
                      std::string& problem) {
  constexpr int kMostLinks = 40;  // as the kernel allows when it follows links itself
  fs::path place = target;
  for (int links = 0; links <= kMostLinks; ++links) {
    struct stat info {};
    if (::lstat(place.c_str(), &info) != 0) {
      const int error = errno;
      if (error == ENOENT) return place;  // a new file (its folder is checked when writing)
      problem = "cannot look at " + place.string() + ": " + errnoText(error);
      return {};
    }
    if (S_ISREG(info.st_mode)) {
      existing = info;
      return place;
    }
    if (!S_ISLNK(info.st_mode)) {
      problem =
          place.string() + (S_ISDIR(info.st_mode) ? " is a folder" : " is not a regular file");
      return {};
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(place, ec);
    if (ec) {
      problem = "cannot read the link " + place.string() + ": " + ec.message();
      return {};
    }
    place = next.is_absolute() ? next : place.parent_path() / next;
  }
  problem = "too many levels of symbolic links";
  return {};
}

// True for a name mkostemp makes from "<prefix>XXXXXX": the prefix and six letters or digits.
bool isTemporaryName(std::string_view name, std::string_view prefix) {
  constexpr std::size_t kRandomLength = 6;
  if (name.size() != prefix.size() + kRandomLength || !name.starts_with(prefix)) return false;
  return std::all_of(
      name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
      });
}

// Removes what interrupted writes of one file left in its folder: regular files named like this
// writer's temporaries of that file ("<prefix>" and six characters) and owned by this user. A
// temporary that another write still holds locked is in use and stays. Failures are ignored: the
// file itself has been written.
void removeStaleTemporaries(const fs::path& folder, std::string_view prefix) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!isTemporaryName(name, prefix)) continue;
    const std::string path = it->path().string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    struct stat now {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &now) == 0 &&
        now.st_dev == info.st_dev && now.st_ino == info.st_ino) {
      ::unlink(path.c_str());
    }
    ::close(fd);
  }
}

// The permissions a new file gets: read and write for everyone the umask allows.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::string writeThroughTemporary(const fs::path& place, const std::optional<struct stat>& existing,
                                  std::span<const unsigned char> bytes) {
  const fs::path folder = place.has_parent_path() ? place.parent_path() : fs::path(".");
  // A hidden name beside the file: ".<name>.tmp-" and six characters mkostemp chooses.
  std::string hidden = ".";
  hidden += place.filename().string();
  hidden += ".tmp-XXXXXX";
  std::string pattern = (folder / hidden).string();
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    return "cannot create a temporary file in " + folder.string() + ": " + errnoText(error);
  }
  const std::string& temporary = pattern;
  // Hold a lock on the temporary while it exists, so that another write of the same file, which
  // removes temporaries left by interrupted writes, leaves this one alone. The lock belongs to the
  // open file, so a second descriptor keeps it from the close below until after the rename.
  ::flock(fd, LOCK_EX);
  const int lockFd = ::dup(fd);

  // Each step records errno at once, before building a message can disturb it.
  const char* step = nullptr;
  int error = 0;
  if (existing) {
    // Keep the owner and group where the system allows it (changing the owner needs privileges;
    // the group often works); an ownership change clears set-id bits, so it comes first.
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), existing->st_gid) != 0) {
      // The file then belongs to whoever writes it, as a new file would.
    }
  }
  const mode_t mode = existing ? existing->st_mode & 07777 : newFileMode();
  if (::fchmod(fd, mode) != 0) {
    error = errno;
    step = "cannot set the permissions of ";
  } else if (!writeAll(fd, bytes)) {
    error = errno;
    step = "cannot write ";
  } else if (::fsync(fd) != 0) {
    error = errno;
    step = "cannot flush to disk ";
  }
  if (::close(fd) != 0 && step == nullptr) {
    error = errno;
    step = "cannot close ";
  }
  if (step == nullptr && ::rename(temporary.c_str(), place.c_str()) != 0) {
    error = errno;
    step = "cannot rename ";
  }
  if (step != nullptr) {
    ::unlink(temporary.c_str());  // before anything that could throw
    if (lockFd >= 0) ::close(lockFd);
    return step + temporary + ": " + errnoText(error);
  }
  if (lockFd >= 0) ::close(lockFd);

  // Make the rename itself durable. The new contents are in place whatever this returns, so a
  // failure here is not reported as a failed write.
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    if (::fsync(folderFd) != 0) {
      // Nothing to undo: the file is complete either way.
    }
    ::close(folderFd);
  }
  removeStaleTemporaries(folder, hidden.substr(0, hidden.size() - 6));
  return {};
}

}  // namespace

std::string writeFileAtomically(const fs::path& target, std::span<const unsigned char> bytes) {
  try {
    if (target.filename().empty()) return "cannot save " + target.string() + ": not a file name";
    std::optional<struct stat> existing;
    std::string problem;
    const fs::path place = landingPlace(target, existing, problem);
    if (place.empty()) return "cannot save " + target.string() + ": " + problem;
    problem = writeThroughTemporary(place, existing, bytes);
    if (!problem.empty()) return "cannot save " + target.string() + ": " + problem;
    return {};
  } catch (const std::exception& e) {
    return "cannot save " + target.string() + ": " + e.what();
  }
}

}  // namespace sqhost::io
