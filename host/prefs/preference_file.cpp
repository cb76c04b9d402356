// Keeping the preference store in its file: loading, setting damaged files aside, atomic saving,
// and where the file lives.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <nlohmann/json.hpp>
#include <system_error>
#include <utility>

#include "io/atomic_file.hpp"
#include "prefs/preference_store.hpp"

namespace sqhost {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

std::string errnoText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

std::string jsonQuoted(std::string_view text) {
  return json(std::string(text)).dump();
}

// Reads a number that rounds to a finite float; nullopt for anything else. The file holds
// floats in their shortest decimal form, which for the largest floats lies a little beyond
// FLT_MAX, so values up to half a unit past it count as FLT_MAX, as rounding would make them.
std::optional<float> coordinateFromJson(const json& number) {
  if (!number.is_number()) return std::nullopt;
  const double d = number.get<double>();
  constexpr double kLargest = std::numeric_limits<float>::max();
  constexpr double kRoundsToInfinity = kLargest + 0x1p103;  // FLT_MAX plus half its spacing
  if (!std::isfinite(d) || std::fabs(d) >= kRoundsToInfinity) return std::nullopt;
  return static_cast<float>(std::clamp(d, -kLargest, kLargest));
}

// Decodes one {"type": ..., "value": ...} entry; on failure returns the reason in `problem`.
std::optional<PreferenceValue> valueFromJson(const json& entry, std::string& problem) {
  if (!entry.is_object() || entry.size() != 2 || !entry.contains("type") ||
      !entry.contains("value") || !entry["type"].is_string()) {
    problem = "expected an object with exactly a \"type\" and a \"value\"";
    return std::nullopt;
  }
  const std::string& type = entry["type"].get_ref<const std::string&>();
  const json& value = entry["value"];
  if (type == "boolean") {
    if (value.is_boolean()) return PreferenceValue(value.get<bool>());
    problem = "a boolean must be true or false";
  } else if (type == "integer") {
    if (value.is_number_integer()) {
      // Unsigned JSON integers are all above the int32 range once past int64's.
      const bool fits =
          value.is_number_unsigned()
              ? value.get<std::uint64_t>() <=
                    static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
              : value.get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min() &&
                    value.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max();
      if (fits) return PreferenceValue(static_cast<std::int32_t>(value.get<std::int64_t>()));
    }
    problem = "an integer must be a whole number from -2147483648 to 2147483647";
  } else if (type == "real") {
    if (value.is_number() && std::isfinite(value.get<double>())) {
      return PreferenceValue(value.get<double>());
    }
    problem = "a real must be a finite number";
  } else if (type == "string") {
    if (value.is_string()) return PreferenceValue(value.get<std::string>());
    problem = "a string must be a JSON string";
  } else if (type == "point") {
    if (value.is_object() && value.size() == 2 && value.contains("h") && value.contains("v")) {
      const auto h = coordinateFromJson(value["h"]);
      const auto v = coordinateFromJson(value["v"]);
      if (h && v) return PreferenceValue(PreferencePoint{*h, *v});
    }
    problem = "a point must be {\"h\": number, \"v\": number} with finite single-precision values";
  } else {
    problem = "unknown value type " + jsonQuoted(type);
  }
  return std::nullopt;
}

// Where in the text a byte offset lies, as "line L, column C, byte B".
std::string positionText(const std::string& text, std::size_t byte) {
  std::size_t line = 1;
  std::size_t column = 1;
  const std::size_t end = std::min(byte > 0 ? byte - 1 : 0, text.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ", byte " +
         std::to_string(byte);
}

// The library's explanation without its "[json.exception...] parse error at ...:" preamble.
std::string parseErrorReason(std::string what) {
  if (what.starts_with("[json.exception")) {
    const std::size_t close = what.find("] ");
    if (close != std::string::npos) what.erase(0, close + 2);
  }
  if (what.starts_with("parse error")) {
    const std::size_t colon = what.find(": ");
    if (colon != std::string::npos) what.erase(0, colon + 2);
  }
  return what;
}

enum class ReadOutcome { read, missing, failed };

ReadOutcome readWholeFile(const fs::path& path, std::string& contents, std::string& problem) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return ReadOutcome::missing;
    problem = errnoText(error);
    return ReadOutcome::failed;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    problem = "it is not a regular file";
    return ReadOutcome::failed;
  }
  std::array<char, 65536> buffer{};
  for (;;) {
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      problem = errnoText(errno);
      ::close(fd);
      return ReadOutcome::failed;
    }
    if (got == 0) break;
    contents.append(buffer.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  return ReadOutcome::read;
}

std::string utcTimestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::gmtime_r(&now, &parts);
  std::array<char, 32> buffer{};
  const std::size_t length = std::strftime(buffer.data(), buffer.size(), "%Y%m%dT%H%M%SZ", &parts);
  return std::string(buffer.data(), length);
}

// Renames `from` to `to` unless `to` already exists. Returns 0 or the errno value.
int renameWithoutReplacing(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int error = errno;
  if (error != EINVAL && error != ENOSYS) return error;
  // The file system cannot rename exclusively; a hard link refuses an existing name too.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  if (::unlink(from.c_str()) != 0) {
    const int unlinkError = errno;
    ::unlink(to.c_str());
    return unlinkError;
  }
  return 0;
}

// Moves a damaged file out of the way under a fresh name; returns that name, or empty with the
// reason in `problem`.
fs::path setAside(const fs::path& file, std::string& problem) {
  const std::string base = file.string() + ".damaged-" + utcTimestamp();
  for (int attempt = 1; attempt <= 1000; ++attempt) {
    const fs::path aside =
        attempt == 1 ? fs::path(base) : fs::path(base + "-" + std::to_string(attempt));
    const int error = renameWithoutReplacing(file, aside);
    if (error == 0) return aside;
    if (error != EEXIST) {
      problem = errnoText(error);
      return {};
    }
  }
  problem = "too many earlier damaged copies with the same time stamp";
  return {};
}

// Replaces `target` with `data` atomically, creating its folder first when it is missing.
std::string writeAtomically(const fs::path& target, const std::string& data) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    return "cannot save " + target.string() + ": cannot create the folder " + folder.string() +
           ": " + ec.message();
  }
  return io::writeFileAtomically(target, data);
}

using Sections =
    std::map<std::string, std::map<std::string, PreferenceValue, std::less<>>, std::less<>>;

// Checks the file's layout and builds its sections; on failure returns the reason in `problem`.
bool sectionsFromJson(const json& root, Sections& out, std::string& problem) {
  if (!root.is_object()) {
    problem = "the top level is not a JSON object";
    return false;
  }
  for (const auto& [name, member] : root.items()) {
    if (name != "version" && name != "sections") {
      problem = "unexpected top-level member " + jsonQuoted(name);
      return false;
    }
  }
  if (!root.contains("version") || !root["version"].is_number_integer()) {
    problem = "the format \"version\" is missing or not a whole number";
    return false;
  }
  if (root["version"].is_number_unsigned()
          ? root["version"].get<std::uint64_t>() !=
                static_cast<std::uint64_t>(kPreferenceFormatVersion)
          : root["version"].get<std::int64_t>() != kPreferenceFormatVersion) {
    problem = "format version " + root["version"].dump() + " is not supported (expected " +
              std::to_string(kPreferenceFormatVersion) + ")";
    return false;
  }
  if (!root.contains("sections") || !root["sections"].is_object()) {
    problem = "\"sections\" is missing or not a JSON object";
    return false;
  }
  for (const auto& [name, section] : root["sections"].items()) {
    const std::string where = "section " + jsonQuoted(name);
    if (!section.is_object()) {
      problem = where + " is not a JSON object";
      return false;
    }
    for (const auto& [key, entry] : section.items()) {
      if (key.empty()) {
        problem = where + " has an empty key";
        return false;
      }
      std::string reason;
      std::optional<PreferenceValue> value = valueFromJson(entry, reason);
      if (!value) {
        problem = where + ", key " + jsonQuoted(key) + ": " + reason;
        return false;
      }
      out[name].insert_or_assign(key, std::move(*value));
    }
  }
  return true;
}

}  // namespace

PreferenceLoadResult PreferenceStore::load() {
  PreferenceLoadResult result;
  try {
    sections_.clear();
    fileSections_.clear();
    saveRefusal_.clear();
    if (file_.empty()) return result;

    std::string contents;
    std::string problem;
    switch (readWholeFile(file_, contents, problem)) {
      case ReadOutcome::missing:
        return result;
      case ReadOutcome::failed:
        result.status = PreferenceLoadResult::Status::unreadable;
        result.message = "Cannot read the preference file " + file_.string() + ": " + problem +
                         ". Using the defaults; the file will not be overwritten.";
        saveRefusal_ =
            "the preference file " + file_.string() +
            " could not be read when the preferences were loaded, so it is left as it is";
        return result;
      case ReadOutcome::read:
        break;
    }

    Sections parsed;
    try {
      // The JSON reader takes a NUL byte for the end of its input and would drop whatever
      // follows; JSON text never holds one, so a file that does is damaged.
      if (const std::size_t nul = contents.find('\0'); nul != std::string::npos) {
        problem = "not valid JSON at " + positionText(contents, nul + 1) + ": a NUL byte";
      } else {
        const json root = json::parse(contents);
        sectionsFromJson(root, parsed, problem);
      }
    } catch (const json::parse_error& error) {
      problem = "not valid JSON at " + positionText(contents, error.byte) + ": " +
                parseErrorReason(error.what());
    } catch (const json::exception& error) {
      problem = "not valid JSON: " + parseErrorReason(error.what());
    }
    if (problem.empty()) {
      fileSections_ = parsed;
      sections_ = std::move(parsed);
      result.status = PreferenceLoadResult::Status::loaded;
      return result;
    }

    std::string asideProblem;
    const fs::path aside = setAside(file_, asideProblem);
    if (aside.empty()) {
      result.status = PreferenceLoadResult::Status::unreadable;
      result.message = "The preference file " + file_.string() + " is damaged (" + problem +
                       ") and could not be set aside (" + asideProblem +
                       "). Using the defaults; the file will not be overwritten.";
      saveRefusal_ = "the damaged preference file " + file_.string() +
                     " could not be set aside, so it is left as it is";
      return result;
    }
    result.status = PreferenceLoadResult::Status::setAside;
    result.asidePath = aside;
    result.message = "The preference file " + file_.string() + " is damaged (" + problem +
                     "). It was renamed to " + aside.string() + " and the defaults are used.";
    return result;
  } catch (...) {
    sections_.clear();
    fileSections_.clear();
    result.status = PreferenceLoadResult::Status::unreadable;
    result.message = "Cannot load the preference file: out of memory. Using the defaults.";
    saveRefusal_ = "the preference file could not be loaded";
    return result;
  }
}

PreferenceSaveResult PreferenceStore::save() {
  PreferenceSaveResult result;
  try {
    if (file_.empty()) {
      result.error = "No preference file is set; the preferences were not saved.";
    } else if (!saveRefusal_.empty()) {
      result.error = "Preferences not saved: " + saveRefusal_ + ".";
    } else {
      const std::string failure = writeAtomically(file_, toJson().dump(2) + "\n");
      if (failure.empty()) {
        fileSections_ = sections_;
      } else {
        result.error = "Preferences not saved: " + failure + ".";
      }
    }
  } catch (...) {
    result.error = "Preferences not saved: out of memory.";
  }
  return result;
}

fs::path resolvePreferencePath(std::optional<std::string> option) {
  try {
    if (option && !option->empty()) return fs::path(*option);
    const auto variable = [](const char* name) -> std::string {
      const char* value = std::getenv(name);
      return value != nullptr ? std::string(value) : std::string();
    };
    if (std::string path = variable("SQHOST_PREFS"); !path.empty()) return fs::path(path);
    const fs::path relative = fs::path("sqhost") / "preferences.json";
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory convention says.
    if (fs::path config = variable("XDG_CONFIG_HOME"); config.is_absolute()) {
      return config / relative;
    }
    std::string home = variable("HOME");
    if (home.empty()) {
      std::array<char, 4096> buffer{};
      passwd entry{};
      passwd* found = nullptr;
      if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
          found != nullptr && found->pw_dir != nullptr) {
        home = found->pw_dir;
      }
    }
    if (home.empty()) return {};
    return fs::path(home) / ".config" / relative;
  } catch (...) {
    return {};
  }
}

}  // namespace sqhost
