// libFuzzer target for the host's preference file: whatever the file holds, loading never
// crashes and ends in a clean load or a damaged file set aside with its bytes intact. A clean
// load saved and loaded again gives the same values, and saving those gives the same file.
//
// The store reads and writes a real file, so each fuzzing process keeps one folder of its own,
// emptied before every input, and removes it when it ends.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "prefs/preference_store.hpp"

namespace {

namespace fs = std::filesystem;
using sqhost::PreferenceLoadResult;
using sqhost::PreferenceStore;

void require(bool condition) {
  if (!condition) std::abort();
}

// The folder of this process, made at the first input and removed when the process ends.
class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "sq-prefs-fuzz-XXXXXX").string();
    require(::mkdtemp(pattern.data()) != nullptr);
    path_ = pattern;
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Empties the folder (a damaged file set aside by the last input) and returns it.
  const fs::path& fresh() {
    for (const fs::directory_entry& entry : fs::directory_iterator(path_)) fs::remove(entry);
    return path_;
  }

 private:
  fs::path path_;
};

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  require(static_cast<bool>(out.flush()));
}

// Every section and key holds the same value of the same type in both stores.
bool sameValues(const PreferenceStore& a, const PreferenceStore& b) {
  if (a.sections() != b.sections()) return false;
  for (const std::string& section : a.sections()) {
    if (a.keys(section) != b.keys(section)) return false;
    for (const std::string& key : a.keys(section)) {
      if (a.getValue(section, key) != b.getValue(section, key)) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Folder folder;
  const fs::path file = folder.fresh() / "preferences.json";
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  writeAll(file, bytes);

  PreferenceStore store(file);
  const PreferenceLoadResult loaded = store.load();
  switch (loaded.status) {
    case PreferenceLoadResult::Status::loaded:
      break;
    case PreferenceLoadResult::Status::setAside:
      // Damaged: reported, moved aside whole, and the store starts empty.
      require(!loaded.ok() && loaded.message.find("damaged") != std::string::npos);
      require(store.empty() && !fs::exists(file));
      require(readAll(loaded.asidePath) == bytes);
      return 0;
    case PreferenceLoadResult::Status::missing:
    case PreferenceLoadResult::Status::unreadable:
      // The file is there and readable: neither may happen.
      std::abort();
  }
  require(loaded.ok() && !store.hasUnsavedChanges());
  // A JSON text holds no NUL byte (not even inside strings, where it is escaped), so a file with
  // one that loads has lost what follows it.
  require(bytes.find('\0') == std::string_view::npos);

  // Round trip: saved and loaded again, the same values; saved again, the same file.
  require(store.save().ok() && !store.hasUnsavedChanges());
  const std::string saved = readAll(file);
  PreferenceStore again(file);
  require(again.load().status == PreferenceLoadResult::Status::loaded);
  require(sameValues(store, again));
  require(again.save().ok() && readAll(file) == saved);
  return 0;
}
