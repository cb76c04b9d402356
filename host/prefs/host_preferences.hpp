// The host's own preferences (the section without a name): each key's type, range and default.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "prefs/preference_store.hpp"

namespace sqhost {

// One preference the host defines. Integers and reals must lie in [minimum, maximum] (reals
// must also be finite); booleans have no range. `fallback` is what the host uses when nothing
// valid is stored (0 or 1 for booleans).
struct HostPreference {
  enum class Type { Boolean, Integer, Real };
  std::string_view key;
  Type type;
  double minimum;
  double maximum;
  double fallback;
  std::string_view meaning;  // what the value is, for messages: "the selection tolerance in pixels"
};

// Every preference the host defines, in key order.
std::span<const HostPreference> hostPreferences();

// The table's entry for a key of the host's own section, or null for a key the host does not
// define (such keys are stored as they come).
const HostPreference* findHostPreference(std::string_view key);

// What a value must be, as a phrase: "a whole number from 1 to 64", "a finite number",
// "true or false".
std::string describeRange(const HostPreference& preference);

// The value in the table's type when it fits, else nullopt. An integer given for a real is
// widened; a real given for an integer is taken when it is whole; a boolean fits only a boolean.
std::optional<PreferenceValue> fitHostPreference(const HostPreference& preference,
                                                 const PreferenceValue& value);

// The table's default in the table's type.
PreferenceValue fallbackValue(const HostPreference& preference);

// The stored value of a host preference when it fits the table, else the table's fallback.
// Keys outside the table give nullopt.
std::optional<double> hostPreferenceNumber(const PreferenceStore& store, std::string_view key);

// Brings the host's own section of a freshly loaded store in line with the table: values that fit
// after a lossless conversion are converted; values that do not fit are removed, so the host's
// default applies and the next save drops them. Returns one message per removed key, naming the
// store's file and the key.
std::vector<std::string> enforceHostPreferenceTable(PreferenceStore& store);

}  // namespace sqhost
