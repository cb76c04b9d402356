// The host's preference store: typed values by section and key, kept in one JSON file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sqhost {

// The layout version of the preference file, written in its "version" member.
inline constexpr std::int64_t kPreferenceFormatVersion = 1;

// A stored point: two single-precision coordinates, as the host's geometry uses.
struct PreferencePoint {
  float h = 0;
  float v = 0;
  friend bool operator==(const PreferencePoint&, const PreferencePoint&) = default;
};

// One stored value. The alternative held is the value's type; reading with another type finds
// nothing.
using PreferenceValue = std::variant<bool, std::int32_t, double, std::string, PreferencePoint>;

// The value as a person would read it: true, 3, 0.333, "text", (1, 2).
std::string describePreferenceValue(const PreferenceValue& value);

// The type's name as the file spells it: boolean, integer, real, string or point.
std::string_view preferenceTypeName(const PreferenceValue& value);

// One accepted write, kept so the host can tell the user what was stored.
struct PreferenceWrite {
  std::string section;
  std::string key;
  PreferenceValue value;
  // "Spindlequiver/precision = 3 (integer)"; the host's own preferences have no section prefix.
  std::string text() const;
};

// What loading the file found. A missing file is not a problem; anything else that keeps the
// file's values out of the store comes with a message for the user.
struct PreferenceLoadResult {
  enum class Status {
    loaded,      // the file was read; the store holds its values
    missing,     // there is no file yet; the store is empty
    setAside,    // the file was damaged and has been renamed to asidePath; the store is empty
    unreadable,  // the file could not be read or set aside; the store is empty and will not
                 // overwrite it
  };
  Status status = Status::missing;
  std::string message;              // empty for loaded and missing
  std::filesystem::path asidePath;  // where a damaged file now lives
  bool ok() const { return message.empty(); }
};

// What saving the store did. On failure the file on disk is exactly as it was before.
struct PreferenceSaveResult {
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// Typed preferences grouped in sections; the empty section holds the host's own preferences.
// Keys are arbitrary non-empty UTF-8 strings and may contain '/'. Nothing in this class throws:
// failures come back as results. It is meant for the host's user-interface thread only.
class PreferenceStore {
 public:
  // The file that load() reads and save() writes. An empty path keeps the store in memory only.
  explicit PreferenceStore(std::filesystem::path file = {});

  const std::filesystem::path& file() const { return file_; }

  // Reading: nullopt when nothing is stored under the key or the stored value has another type.
  std::optional<bool> getBoolean(std::string_view section, std::string_view key) const;
  std::optional<std::int32_t> getInteger(std::string_view section, std::string_view key) const;
  std::optional<double> getReal(std::string_view section, std::string_view key) const;
  std::optional<std::string> getString(std::string_view section, std::string_view key) const;
  std::optional<PreferencePoint> getPoint(std::string_view section, std::string_view key) const;
  std::optional<PreferenceValue> getValue(std::string_view section, std::string_view key) const;

  // Writing replaces whatever the key held, of any type, and records the write. A write is
  // refused (false, nothing changes, nothing recorded) for an empty key, a non-finite real or
  // point coordinate, or text that is not valid UTF-8.
  bool putBoolean(std::string_view section, std::string_view key, bool value);
  bool putInteger(std::string_view section, std::string_view key, std::int32_t value);
  bool putReal(std::string_view section, std::string_view key, double value);
  bool putString(std::string_view section, std::string_view key, std::string_view value);
  bool putPoint(std::string_view section, std::string_view key, PreferencePoint value);
  bool putValue(std::string_view section, std::string_view key, const PreferenceValue& value);

  // Removes a key; a section left without keys disappears. False when nothing was stored.
  bool remove(std::string_view section, std::string_view key);

  // A section exists while it holds at least one key.
  bool hasSection(std::string_view section) const;
  // Section names and the keys of one section, in the file's (sorted) order.
  std::vector<std::string> sections() const;
  std::vector<std::string> keys(std::string_view section) const;
  bool empty() const { return sections_.empty(); }

  // Every accepted write since construction (or the last clearWrites), oldest first.
  const std::vector<PreferenceWrite>& writes() const { return writes_; }
  void clearWrites() { writes_.clear(); }
  // Called after each accepted write, in addition to the log. Exceptions it throws are dropped.
  void setWriteObserver(std::function<void(const PreferenceWrite&)> observer);

  // Replaces the contents with the file's. A damaged file is renamed to
  // "<file>.damaged-<UTC timestamp>" (never over an existing file) and the store starts empty.
  PreferenceLoadResult load();
  // Writes the contents to the file atomically: a temporary file in the same folder, flushed to
  // disk, then renamed over the target. Creates missing parent folders. Refuses to replace a
  // file that load() could neither read nor set aside.
  PreferenceSaveResult save();
  // True when the contents differ from what the file held when it was last loaded or saved
  // (a missing file holds nothing). Writing a value a key already holds changes nothing.
  bool hasUnsavedChanges() const { return sections_ != fileSections_; }

  // The contents as the file holds them (also used for machine-readable reports).
  nlohmann::json toJson() const;

 private:
  using Section = std::map<std::string, PreferenceValue, std::less<>>;

  const PreferenceValue* find(std::string_view section, std::string_view key) const;
  bool store(std::string_view section, std::string_view key, PreferenceValue value);

  std::filesystem::path file_;
  std::map<std::string, Section, std::less<>> sections_;
  std::map<std::string, Section, std::less<>> fileSections_;  // as last loaded or saved
  std::vector<PreferenceWrite> writes_;
  std::function<void(const PreferenceWrite&)> observer_;
  std::string saveRefusal_;  // why save() must not touch the file; empty when it may
};

// Where the host keeps its preferences: the --prefs option when given, else $SQHOST_PREFS, else
// $XDG_CONFIG_HOME/sqhost/preferences.json, else ~/.config/sqhost/preferences.json. Empty values
// count as unset. Returns an empty path when no home folder can be found.
std::filesystem::path resolvePreferencePath(std::optional<std::string> option);

}  // namespace sqhost
