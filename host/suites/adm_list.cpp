// "ADM List Suite" and "ADM Entry Suite": the entries of popups, list boxes and flyout menus.
#include "sqsdk/suites/adm_list.h"

#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_entry.h"
#include "suites/adm_suites.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

template <typename F>
AIErr withList(ADMListRef ref, F&& f) {
  return guarded([&]() -> AIErr {
    List* list = dialogManager().list(ref);
    if (list == nullptr) return kBadHandleErr;
    return f(*list);
  });
}

template <typename F>
AIErr withEntry(ADMEntryRef ref, F&& f) {
  return guarded([&]() -> AIErr {
    Entry* entry = dialogManager().entry(ref);
    if (entry == nullptr) return kBadHandleErr;
    return f(*entry);
  });
}

int32_t countOf(const List& list) {
  return static_cast<int32_t>(list.entries.size());
}

void invalidateOwner(const List& list) {
  if (list.item != nullptr) list.item->invalid = true;
}

// ---- Lists ----

AIErr setMenuID(ADMListRef ref, int32_t menuID) {
  return withList(ref, [&](List& list) -> AIErr {
    const PluginResources* resources = dialogManager().resources();
    if (resources == nullptr) return kResourceNotFoundErr;
    const auto found = resources->menus.find(menuID);
    if (found == resources->menus.end()) return kResourceNotFoundErr;
    dialogManager().replaceEntries(list, found->second.entries);
    invalidateOwner(list);
    return kNoErr;
  });
}

AIErr numberOfEntries(ADMListRef ref, int32_t* outCount) {
  return withList(ref, [&](List& list) -> AIErr {
    if (outCount == nullptr) return kBadParameterErr;
    *outCount = countOf(list);
    return kNoErr;
  });
}

AIErr getEntry(ADMListRef ref, int32_t index, ADMEntryRef* outEntry) {
  return withList(ref, [&](List& list) -> AIErr {
    if (outEntry == nullptr) return kBadParameterErr;
    *outEntry = nullptr;
    if (index < 0 || index >= countOf(list)) return kOutOfRangeErr;
    *outEntry = refOf<ADMEntryRef>(list.entries[static_cast<std::size_t>(index)]->handle);
    return kNoErr;
  });
}

AIErr getActiveEntry(ADMListRef ref, ADMEntryRef* outEntry) {
  return withList(ref, [&](List& list) -> AIErr {
    if (outEntry == nullptr) return kBadParameterErr;
    *outEntry = list.active != nullptr ? refOf<ADMEntryRef>(list.active->handle) : nullptr;
    return kNoErr;
  });
}

AIErr insertEntry(ADMListRef ref, int32_t index, ADMEntryRef* outEntry) {
  return withList(ref, [&](List& list) -> AIErr {
    if (outEntry == nullptr) return kBadParameterErr;
    *outEntry = nullptr;
    if (index < 0 || index > countOf(list)) return kOutOfRangeErr;
    Entry& entry = dialogManager().insertEntry(list, static_cast<std::size_t>(index));
    invalidateOwner(list);
    *outEntry = refOf<ADMEntryRef>(entry.handle);
    return kNoErr;
  });
}

AIErr removeEntry(ADMListRef ref, int32_t index) {
  return withList(ref, [&](List& list) -> AIErr {
    if (index < 0 || index >= countOf(list)) return kOutOfRangeErr;
    dialogManager().removeEntry(list, static_cast<std::size_t>(index));
    invalidateOwner(list);
    return kNoErr;
  });
}

// ---- Entries ----

AIErr getIndex(ADMEntryRef ref, int32_t* outIndex) {
  return withEntry(ref, [&](Entry& entry) -> AIErr {
    if (outIndex == nullptr) return kBadParameterErr;
    *outIndex = entry.list->indexOf(entry);
    return kNoErr;
  });
}

AIErr setEntryText(ADMEntryRef ref, const char* text) {
  return withEntry(ref, [&](Entry& entry) -> AIErr {
    if (text == nullptr) return kBadParameterErr;
    entry.text = text;
    invalidateOwner(*entry.list);
    return kNoErr;
  });
}

AIErr getEntryText(ADMEntryRef ref, char* buffer, int32_t capacity) {
  return withEntry(ref,
                   [&](Entry& entry) -> AIErr { return copyString(entry.text, buffer, capacity); });
}

AIErr enableEntry(ADMEntryRef ref, AIBoolean enable) {
  return withEntry(ref, [&](Entry& entry) -> AIErr {
    entry.enabled = enable != 0 && !entry.separator;
    invalidateOwner(*entry.list);
    return kNoErr;
  });
}

AIErr isEntryEnabled(ADMEntryRef ref, AIBoolean* outEnabled) {
  return withEntry(ref, [&](Entry& entry) -> AIErr {
    if (outEnabled == nullptr) return kBadParameterErr;
    *outEnabled = entry.enabled ? 1 : 0;
    return kNoErr;
  });
}

AIErr activateEntry(ADMEntryRef ref, AIBoolean activate) {
  return withEntry(ref, [&](Entry& entry) -> AIErr {
    List& list = *entry.list;
    if (activate != 0) {
      list.active = &entry;
    } else if (list.active == &entry) {
      list.active = nullptr;
    }
    invalidateOwner(list);
    return kNoErr;
  });
}

AIErr isEntryActive(ADMEntryRef ref, AIBoolean* outActive) {
  return withEntry(ref, [&](Entry& entry) -> AIErr {
    if (outActive == nullptr) return kBadParameterErr;
    *outActive = entry.list->active == &entry ? 1 : 0;
    return kNoErr;
  });
}

const ADMListSuite kList = {setMenuID,      numberOfEntries, getEntry,
                            getActiveEntry, insertEntry,     removeEntry};

const ADMEntrySuite kEntry = {getIndex,       setEntryText,  getEntryText, enableEntry,
                              isEntryEnabled, activateEntry, isEntryActive};

}  // namespace

void publishADMListSuites(SuiteRegistry& registry) {
  registry.add(kADMListSuite, kADMListSuiteVersion, &kList);
  registry.add(kADMEntrySuite, kADMEntrySuiteVersion, &kEntry);
}

}  // namespace sqhost
