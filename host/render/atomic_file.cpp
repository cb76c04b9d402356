// Replacing a file's contents all at once: a temporary file in the same folder, then a rename.
#include "render/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sqhost::render {
namespace {

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

}  // namespace

std::string writeFileAtomically(const std::filesystem::path& target,
                                std::span<const unsigned char> bytes) {
  namespace fs = std::filesystem;
  if (target.filename().empty()) return "cannot write " + target.string() + ": not a file name";
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string pattern = (folder / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    return "cannot create a temporary file in " + folder.string() + ": " + std::strerror(errno);
  }
  const fs::path temporary = pattern;

  // Keep the permissions of the file being replaced; a new file gets the usual ones.
  struct stat existing {};
  mode_t mode = 0666;
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }

  // Each step records errno at once, before building a message can disturb it.
  const char* step = nullptr;
  int error = 0;
  if (::fchmod(fd, mode) != 0) {
    error = errno;
    step = "cannot set the permissions of ";
  } else if (!writeAll(fd, bytes)) {
    error = errno;
    step = "cannot write ";
  } else if (::fsync(fd) != 0) {
    error = errno;
    step = "cannot flush ";
  }
  if (::close(fd) != 0 && step == nullptr) {
    error = errno;
    step = "cannot close ";
  }
  std::string failure;
  if (step != nullptr) {
    failure = step + temporary.string() + ": " + std::strerror(error);
  } else if (::rename(temporary.c_str(), target.c_str()) != 0) {
    failure = "cannot replace " + target.string() + ": " + std::strerror(errno);
  }
  if (!failure.empty()) ::unlink(temporary.c_str());
  return failure;
}

}  // namespace sqhost::render
