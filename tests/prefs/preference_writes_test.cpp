// When the host writes its preference file: once at shut-down, and only after a value changed.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <string>

#include "support/host_fixture.hpp"

namespace {

// Counts the files renamed into place in a folder, as an atomic write finishes, by name.
class RenameCounter {
 public:
  explicit RenameCounter(const std::filesystem::path& folder)
      : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(fd_, 0);
    EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO), 0);
  }
  ~RenameCounter() { ::close(fd_); }
  RenameCounter(const RenameCounter&) = delete;
  RenameCounter& operator=(const RenameCounter&) = delete;

  // Renames onto `name` since the last call.
  int take(const std::string& name) {
    int count = 0;
    alignas(inotify_event) std::array<char, 4096> buffer{};
    for (;;) {
      const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
      if (got <= 0) return count;
      for (ssize_t at = 0; at < got;) {
        inotify_event event{};
        std::memcpy(&event, buffer.data() + at, sizeof event);
        const char* eventName = buffer.data() + at + sizeof event;
        if (event.len > 0 && name == eventName) ++count;
        at += static_cast<ssize_t>(sizeof event + event.len);
      }
    }
  }

 private:
  int fd_;
};

class PreferenceWrites : public sqtest::HostTest {};

TEST_F(PreferenceWrites, AtMostOncePerRunAndOnlyAfterAChange) {
  RenameCounter renames(dir_.path());
  const std::string name = prefsFile().filename().string();

  // A first run: the plug-in stores its defaults, written once, at shut-down.
  sqhost::Host& first = startHost();
  first.preferences().putInteger("", "selectionTolerance", 4);
  EXPECT_EQ(renames.take(name), 0) << "nothing is written while the host runs";
  stopHost();
  EXPECT_EQ(renames.take(name), 1);
  const std::string written = sqtest::readFile(prefsFile());

  // A run that changes nothing writes nothing, although the plug-in stores its settings again
  // and the same value is stored once more.
  sqhost::Host& second = startHost();
  second.preferences().putInteger("", "selectionTolerance", 4);
  stopHost();
  EXPECT_EQ(renames.take(name), 0);
  EXPECT_EQ(sqtest::readFile(prefsFile()), written);

  // A run that changes one value, back and forth and forth again, writes once.
  sqhost::Host& third = startHost();
  for (int value : {5, 4, 6}) third.preferences().putInteger("", "selectionTolerance", value);
  stopHost();
  EXPECT_EQ(renames.take(name), 1);
  EXPECT_EQ(storedPreferences().getInteger("", "selectionTolerance"), 6);

  // A value changed and changed back is no change.
  sqhost::Host& fourth = startHost();
  for (int value : {9, 6}) fourth.preferences().putInteger("", "selectionTolerance", value);
  stopHost();
  EXPECT_EQ(renames.take(name), 0);
}

}  // namespace
