// The table of the host's own preferences and the checks every way into the store makes with it.
#include "prefs/host_preferences.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace sqhost {
namespace {

using Type = HostPreference::Type;
constexpr double kUnbounded = std::numeric_limits<double>::infinity();

// Sorted by key. Tolerances are pick radii in screen pixels: at least one pixel, and at most 64,
// beyond which a pick square would cover a large part of a view and integer arithmetic on view
// coordinates stays far from overflowing. The anchor mark types are the host's three anchor
// sizes (1 small, 2 medium, 3 large); the handle mark types its eleven handle styles. The
// constrain angle is kept as given, in degrees (the snapping reduces it itself). The grid spacing
// is in points; a tenth of a point keeps grid points far apart at the largest zoom.
constexpr std::array kTable = {
    HostPreference{"constrain/angle", Type::Real, -kUnbounded, kUnbounded, 0,
                   "the constrain angle in degrees"},
    HostPreference{"directionHandleMarkType", Type::Integer, 1, 11, 4,
                   "the direction handle mark type"},
    HostPreference{"grid/spacing", Type::Real, 0.1, 10000, 72, "the grid spacing in points"},
    HostPreference{"isRulerIn4thQuad", Type::Boolean, 0, 1, 1,
                   "whether vertical ruler values grow downward"},
    HostPreference{"selectedAnchorMarkType", Type::Integer, 1, 3, 2,
                   "the selected anchor mark type"},
    HostPreference{"selectionTolerance", Type::Integer, 1, 64, 6,
                   "the selection tolerance in pixels"},
    HostPreference{"smartGuides/showToolGuides", Type::Boolean, 0, 1, 1,
                   "whether smart guides show tool guides"},
    HostPreference{"smartGuides/tolerance", Type::Integer, 1, 64, 6,
                   "the smart guides tolerance in pixels"},
    HostPreference{"units/general", Type::Integer, 0, 5, 0,
                   "the general measurement units (0 points .. 5 pixels)"},
    HostPreference{"unselectedAnchorMarkType", Type::Integer, 1, 3, 1,
                   "the unselected anchor mark type"},
};

static_assert(std::is_sorted(kTable.begin(), kTable.end(),
                             [](const HostPreference& a, const HostPreference& b) {
                               return a.key < b.key;
                             }));

std::string wholeText(double value) {
  return std::to_string(static_cast<long long>(value));
}

}  // namespace

std::span<const HostPreference> hostPreferences() {
  return kTable;
}

const HostPreference* findHostPreference(std::string_view key) {
  const auto found =
      std::lower_bound(kTable.begin(), kTable.end(), key,
                       [](const HostPreference& p, std::string_view k) { return p.key < k; });
  return found != kTable.end() && found->key == key ? &*found : nullptr;
}

std::string describeRange(const HostPreference& preference) {
  switch (preference.type) {
    case Type::Boolean:
      return "true or false";
    case Type::Integer:
      return "a whole number from " + wholeText(preference.minimum) + " to " +
             wholeText(preference.maximum);
    case Type::Real:
      break;
  }
  return "a finite number";
}

std::optional<PreferenceValue> fitHostPreference(const HostPreference& preference,
                                                 const PreferenceValue& value) {
  if (preference.type == Type::Boolean) {
    if (std::holds_alternative<bool>(value)) return value;
    return std::nullopt;
  }
  double number = 0;
  if (const auto* i = std::get_if<std::int32_t>(&value)) {
    number = *i;
  } else if (const auto* r = std::get_if<double>(&value)) {
    number = *r;
  } else {
    return std::nullopt;
  }
  // Written so that NaN fails every comparison.
  if (!(std::isfinite(number) && number >= preference.minimum && number <= preference.maximum)) {
    return std::nullopt;
  }
  // Made in place: a variant moved into the optional leaves the compiler unsure that its string
  // alternative was ever constructed.
  if (preference.type == Type::Real) return std::optional<PreferenceValue>(std::in_place, number);
  if (std::trunc(number) != number) return std::nullopt;
  // The table's integer ranges lie inside the 32-bit range.
  return std::optional<PreferenceValue>(std::in_place, static_cast<std::int32_t>(number));
}

PreferenceValue fallbackValue(const HostPreference& preference) {
  switch (preference.type) {
    case Type::Boolean:
      return PreferenceValue(preference.fallback != 0);
    case Type::Integer:
      return PreferenceValue(static_cast<std::int32_t>(preference.fallback));
    case Type::Real:
      break;
  }
  return PreferenceValue(preference.fallback);
}

std::optional<double> hostPreferenceNumber(const PreferenceStore& store, std::string_view key) {
  const HostPreference* preference = findHostPreference(key);
  if (preference == nullptr) return std::nullopt;
  if (const std::optional<PreferenceValue> stored = store.getValue("", key)) {
    if (const std::optional<PreferenceValue> fitted = fitHostPreference(*preference, *stored)) {
      if (const auto* b = std::get_if<bool>(&*fitted)) return *b ? 1.0 : 0.0;
      if (const auto* i = std::get_if<std::int32_t>(&*fitted)) return *i;
      return std::get<double>(*fitted);
    }
  }
  return preference->fallback;
}

std::vector<std::string> enforceHostPreferenceTable(PreferenceStore& store) {
  std::vector<std::string> messages;
  for (const std::string& key : store.keys("")) {
    const HostPreference* preference = findHostPreference(key);
    if (preference == nullptr) continue;
    const std::optional<PreferenceValue> stored = store.getValue("", key);
    if (!stored) continue;
    const std::optional<PreferenceValue> fitted = fitHostPreference(*preference, *stored);
    if (fitted && fitted->index() == stored->index()) continue;
    if (fitted) {
      // The same number in the table's type, such as a whole angle stored as an integer.
      store.putValue("", key, *fitted);
      continue;
    }
    store.remove("", key);
    messages.push_back("The preference file " + store.file().string() + " holds " +
                       describePreferenceValue(*stored) + " (" +
                       std::string(preferenceTypeName(*stored)) + ") for the host preference \"" +
                       key + "\", " + std::string(preference->meaning) + ", which must be " +
                       describeRange(*preference) + "; it is ignored and the default " +
                       describePreferenceValue(fallbackValue(*preference)) + " is used");
  }
  return messages;
}

}  // namespace sqhost
