// "ADM Basic Suite": alerts, string lists, the cursor and the host's measurement units.
#include "sqsdk/suites/adm_basic.h"

#include "sqsdk/errors.h"
#include "suites/adm_suites.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

AIErr errorAlert(const char* text) {
  return guarded([&]() -> AIErr {
    if (text == nullptr) return kBadParameterErr;
    dialogManager().showAlert(AlertRecord::Kind::Error, text);
    return kNoErr;
  });
}

AIErr messageAlert(const char* text) {
  return guarded([&]() -> AIErr {
    if (text == nullptr) return kBadParameterErr;
    dialogManager().showAlert(AlertRecord::Kind::Message, text);
    return kNoErr;
  });
}

AIErr getIndexString(SPPluginRef plugin, int32_t stringListID, int32_t index, char* buffer,
                     int32_t capacity) {
  return guarded([&]() -> AIErr {
    if (!isPluginRef(plugin)) return kBadHandleErr;
    if (buffer == nullptr || capacity < 1 || index < 0) return kBadParameterErr;
    const PluginResources* resources = dialogManager().resources();
    if (resources == nullptr) return kResourceNotFoundErr;
    const auto found = resources->stringLists.find(stringListID);
    if (found == resources->stringLists.end()) return kResourceNotFoundErr;
    const auto& strings = found->second;
    const auto at = static_cast<std::size_t>(index);
    return copyString(at < strings.size() ? strings[at] : std::string(), buffer, capacity);
  });
}

AIErr setCursorID(SPPluginRef plugin, int32_t cursorID) {
  return guarded([&]() -> AIErr {
    if (cursorID < 0) {
      // Only the arrow is a standard cursor of this host; unknown ones show it too.
      host().setCursor(CursorChoice{kADMStandardArrowCursorID});
      return kNoErr;
    }
    if (!isPluginRef(plugin)) return kBadHandleErr;
    const PluginResources* resources = dialogManager().resources();
    if (resources == nullptr || resources->cursors.count(cursorID) == 0) {
      return kResourceNotFoundErr;
    }
    host().setCursor(CursorChoice{cursorID});
    return kNoErr;
  });
}

AIErr getAppUnits(int32_t appUnits, int32_t* outUnits) {
  return guarded([&]() -> AIErr {
    if (outUnits == nullptr) return kBadParameterErr;
    if (appUnits == kADMAppUnits1) {
      *outUnits = dialogManager().appUnits();
      return kNoErr;
    }
    if (!isConcreteUnits(appUnits)) return kBadParameterErr;
    *outUnits = appUnits;
    return kNoErr;
  });
}

const ADMBasicSuite kBasic = {errorAlert, messageAlert, getIndexString, setCursorID, getAppUnits};

}  // namespace

void publishADMBasicSuite(SuiteRegistry& registry) {
  registry.add(kADMBasicSuite, kADMBasicSuiteVersion, &kBasic);
}

}  // namespace sqhost
