// The preference store's typed values: reading, writing, the write log and the JSON form.
#include "prefs/preference_store.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <utility>

namespace sqhost {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

std::string jsonQuoted(std::string_view text) {
  return json(std::string(text)).dump();
}

bool isValidUtf8(std::string_view text) {
  try {
    (void)json(std::string(text)).dump();
    return true;
  } catch (...) {
    return false;
  }
}

// Shortest text that reads back as the same number.
template <typename Number>
std::string shortestText(Number value) {
  std::array<char, 64> buffer{};
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (error != std::errc()) return "?";
  return std::string(buffer.data(), end);
}

// A float written to JSON as the double that prints like the float, so that 0.1f reads "0.1"
// in the file and still converts back to exactly 0.1f.
double floatForJson(float value) {
  const std::string text = shortestText(value);
  double result = value;
  std::from_chars(text.data(), text.data() + text.size(), result);
  return result;
}

bool isFinite(const PreferenceValue& value) {
  if (const double* real = std::get_if<double>(&value)) return std::isfinite(*real);
  if (const PreferencePoint* point = std::get_if<PreferencePoint>(&value)) {
    return std::isfinite(point->h) && std::isfinite(point->v);
  }
  return true;
}

json valueToJson(const PreferenceValue& value) {
  json entry;
  entry["type"] = std::string(preferenceTypeName(value));
  std::visit(
      [&entry](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, PreferencePoint>) {
          entry["value"] = {{"h", floatForJson(v.h)}, {"v", floatForJson(v.v)}};
        } else {
          entry["value"] = v;
        }
      },
      value);
  return entry;
}

}  // namespace

std::string_view preferenceTypeName(const PreferenceValue& value) {
  static constexpr std::array<std::string_view, 5> kNames = {"boolean", "integer", "real", "string",
                                                             "point"};
  return kNames[value.index()];
}

std::string describePreferenceValue(const PreferenceValue& value) {
  try {
    return std::visit(
        [](const auto& v) -> std::string {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, bool>) {
            return v ? "true" : "false";
          } else if constexpr (std::is_same_v<T, std::int32_t>) {
            return std::to_string(v);
          } else if constexpr (std::is_same_v<T, double>) {
            return shortestText(v);
          } else if constexpr (std::is_same_v<T, std::string>) {
            return jsonQuoted(v);
          } else {
            return "(" + shortestText(v.h) + ", " + shortestText(v.v) + ")";
          }
        },
        value);
  } catch (...) {
    return "?";
  }
}

std::string PreferenceWrite::text() const {
  try {
    std::string name = section.empty() ? key : section + "/" + key;
    return name + " = " + describePreferenceValue(value) + " (" +
           std::string(preferenceTypeName(value)) + ")";
  } catch (...) {
    return {};
  }
}

PreferenceStore::PreferenceStore(fs::path file) : file_(std::move(file)) {}

const PreferenceValue* PreferenceStore::find(std::string_view section, std::string_view key) const {
  const auto s = sections_.find(section);
  if (s == sections_.end()) return nullptr;
  const auto k = s->second.find(key);
  return k == s->second.end() ? nullptr : &k->second;
}

namespace {
template <typename T>
std::optional<T> typed(const PreferenceValue* value) noexcept {
  try {
    if (value == nullptr) return std::nullopt;
    if (const T* held = std::get_if<T>(value)) return *held;
  } catch (...) {
  }
  return std::nullopt;
}
}  // namespace

std::optional<bool> PreferenceStore::getBoolean(std::string_view section,
                                                std::string_view key) const {
  return typed<bool>(find(section, key));
}
std::optional<std::int32_t> PreferenceStore::getInteger(std::string_view section,
                                                        std::string_view key) const {
  return typed<std::int32_t>(find(section, key));
}
std::optional<double> PreferenceStore::getReal(std::string_view section,
                                               std::string_view key) const {
  return typed<double>(find(section, key));
}
std::optional<std::string> PreferenceStore::getString(std::string_view section,
                                                      std::string_view key) const {
  return typed<std::string>(find(section, key));
}
std::optional<PreferencePoint> PreferenceStore::getPoint(std::string_view section,
                                                         std::string_view key) const {
  return typed<PreferencePoint>(find(section, key));
}
std::optional<PreferenceValue> PreferenceStore::getValue(std::string_view section,
                                                         std::string_view key) const {
  try {
    const PreferenceValue* value = find(section, key);
    if (value != nullptr) return *value;
  } catch (...) {
  }
  return std::nullopt;
}

bool PreferenceStore::store(std::string_view section, std::string_view key, PreferenceValue value) {
  try {
    if (key.empty() || !isValidUtf8(section) || !isValidUtf8(key) || !isFinite(value)) return false;
    if (const std::string* text = std::get_if<std::string>(&value); text && !isValidUtf8(*text)) {
      return false;
    }
    writes_.push_back(PreferenceWrite{std::string(section), std::string(key), value});
    try {
      auto s = sections_.find(section);
      if (s == sections_.end()) s = sections_.emplace(std::string(section), Section{}).first;
      s->second.insert_or_assign(std::string(key), std::move(value));
    } catch (...) {
      writes_.pop_back();
      return false;
    }
    if (observer_) {
      try {
        observer_(writes_.back());
      } catch (...) {
      }
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool PreferenceStore::putBoolean(std::string_view section, std::string_view key, bool value) {
  return store(section, key, PreferenceValue(value));
}
bool PreferenceStore::putInteger(std::string_view section, std::string_view key,
                                 std::int32_t value) {
  return store(section, key, PreferenceValue(value));
}
bool PreferenceStore::putReal(std::string_view section, std::string_view key, double value) {
  return store(section, key, PreferenceValue(value));
}
bool PreferenceStore::putString(std::string_view section, std::string_view key,
                                std::string_view value) {
  try {
    return store(section, key, PreferenceValue(std::string(value)));
  } catch (...) {
    return false;
  }
}
bool PreferenceStore::putPoint(std::string_view section, std::string_view key,
                               PreferencePoint value) {
  return store(section, key, PreferenceValue(value));
}
bool PreferenceStore::putValue(std::string_view section, std::string_view key,
                               const PreferenceValue& value) {
  try {
    return store(section, key, value);
  } catch (...) {
    return false;
  }
}

bool PreferenceStore::remove(std::string_view section, std::string_view key) {
  const auto s = sections_.find(section);
  if (s == sections_.end()) return false;
  const auto k = s->second.find(key);
  if (k == s->second.end()) return false;
  s->second.erase(k);
  if (s->second.empty()) sections_.erase(s);
  return true;
}

bool PreferenceStore::hasSection(std::string_view section) const {
  return sections_.find(section) != sections_.end();
}

std::vector<std::string> PreferenceStore::sections() const {
  std::vector<std::string> names;
  try {
    for (const auto& [name, keys] : sections_) names.push_back(name);
  } catch (...) {
  }
  return names;
}

std::vector<std::string> PreferenceStore::keys(std::string_view section) const {
  std::vector<std::string> names;
  try {
    const auto s = sections_.find(section);
    if (s != sections_.end()) {
      for (const auto& [name, value] : s->second) names.push_back(name);
    }
  } catch (...) {
  }
  return names;
}

void PreferenceStore::setWriteObserver(std::function<void(const PreferenceWrite&)> observer) {
  observer_ = std::move(observer);
}

json PreferenceStore::toJson() const {
  try {
    json sections = json::object();
    for (const auto& [name, keys] : sections_) {
      json section = json::object();
      for (const auto& [key, value] : keys) section[key] = valueToJson(value);
      sections[name] = std::move(section);
    }
    return json{{"version", kPreferenceFormatVersion}, {"sections", std::move(sections)}};
  } catch (...) {
    return json();
  }
}

}  // namespace sqhost
