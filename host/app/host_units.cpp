// The host's general measurement units, kept in its own preferences, and warnings about stored
// preferences.
#include <array>
#include <iostream>

#include "app/host.hpp"
#include "sqsdk/suites/adm_types.h"
#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_preference.h"

namespace sqhost {

void Host::applyUnitsPreference() {
  // The dialog manager's units for each ruler unit, in the order of ai_document.h.
  static constexpr std::array<int32_t, 6> kDialogUnits = {kADMPointUnits,      kADMInchUnits,
                                                          kADMMillimeterUnits, kADMCentimeterUnits,
                                                          kADMPicaUnits,       kADMPixelUnits};
  int32_t units = kADMPointUnits;
  if (const auto stored = preferences_.getValue("", kAIPrefGeneralUnits)) {
    const auto* ruler = std::get_if<int32_t>(&*stored);
    if (ruler != nullptr && *ruler >= kAIPointUnits && *ruler <= kAIPixelUnits) {
      units = kDialogUnits[static_cast<std::size_t>(*ruler)];
    } else {
      observer_.note(std::string("the host preference ") + kAIPrefGeneralUnits + " is " +
                     describePreferenceValue(*stored) + " (" +
                     std::string(preferenceTypeName(*stored)) +
                     "), not a ruler unit from 0 (points) to 5 (pixels); points are used");
    }
  }
  dialogs_.setAppUnits(units);
}

void Host::warnPreferenceType(const std::string& section, const std::string& key,
                              const std::string& storedType, const std::string& askedType) {
  if (!warnedPreferences_.emplace(section, key).second) return;
  const std::string where =
      section.empty() ? "the host's own section" : "section \"" + section + "\"";
  const std::string line = "preference file " + options_.preferenceFile.string() + ", " + where +
                           ", key \"" + key + "\": stored as " + storedType + ", read as " +
                           askedType + "; the stored value is not used";
  observer_.note(line);
  if (warn_) {
    warn_(line);
  } else {
    std::cerr << "sqhost: " << line << "\n";
  }
}

}  // namespace sqhost
