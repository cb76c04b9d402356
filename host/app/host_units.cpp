// The host's general measurement units, kept in its own preferences.
#include <array>

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

}  // namespace sqhost
