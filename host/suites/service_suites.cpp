// Service suites: preferences, memory blocks and handles, plug-in access and application contexts.
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "sqsdk/suites/ai_block.h"
#include "sqsdk/suites/ai_context.h"
#include "sqsdk/suites/ai_md_memory.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_plugin.h"
#include "sqsdk/suites/ai_preference.h"
#include "suites/publish_parts.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

// ---- Preferences ------------------------------------------------------------------------------

std::string sectionOf(const char* prefix) {
  return prefix ? prefix : "";
}

// Reads a typed value: untouched output and kNoErr when absent, kNoSuchPreferenceErr (reported
// once per key) when the key holds another type.
template <typename T, typename Get>
AIErr getPreference(const char* prefix, const char* suffix, T* out, const char* asked, Get get) {
  if (suffix == nullptr || out == nullptr) return kBadParameterErr;
  PreferenceStore& store = host().preferences();
  const std::string section = sectionOf(prefix);
  if (auto value = get(store, section, suffix)) {
    *out = *value;
    return kNoErr;
  }
  if (auto other = store.getValue(section, suffix)) {
    host().warnPreferenceType(section, suffix, std::string(preferenceTypeName(*other)), asked);
    return kNoSuchPreferenceErr;
  }
  return kNoErr;
}

AIErr afterPut(const char* prefix, bool stored) {
  if (!stored) return kNonFiniteErr;
  if (sectionOf(prefix).empty()) host().postNotification(kAIPreferenceChangedNotifier);
  return kNoErr;
}

AIErr getBoolean(const char* prefix, const char* suffix, AIBoolean* out) {
  return guarded([&] {
    return getPreference(prefix, suffix, out, "boolean",
                         [](auto& s, const auto& sec, const char* key) {
                           auto v = s.getBoolean(sec, key);
                           return v ? std::optional<AIBoolean>(*v ? 1 : 0) : std::nullopt;
                         });
  });
}
AIErr putBoolean(const char* prefix, const char* suffix, AIBoolean value) {
  return guarded([&] {
    if (suffix == nullptr) return kBadParameterErr;
    return afterPut(prefix, host().preferences().putBoolean(sectionOf(prefix), suffix, value != 0));
  });
}
AIErr getInteger(const char* prefix, const char* suffix, int32_t* out) {
  return guarded([&] {
    return getPreference(
        prefix, suffix, out, "integer",
        [](auto& s, const auto& sec, const char* key) { return s.getInteger(sec, key); });
  });
}
AIErr putInteger(const char* prefix, const char* suffix, int32_t value) {
  return guarded([&] {
    if (suffix == nullptr) return kBadParameterErr;
    return afterPut(prefix, host().preferences().putInteger(sectionOf(prefix), suffix, value));
  });
}
AIErr getReal(const char* prefix, const char* suffix, double* out) {
  return guarded([&] {
    return getPreference(
        prefix, suffix, out, "real",
        [](auto& s, const auto& sec, const char* key) { return s.getReal(sec, key); });
  });
}
AIErr putReal(const char* prefix, const char* suffix, double value) {
  return guarded([&] {
    if (suffix == nullptr) return kBadParameterErr;
    if (!std::isfinite(value)) return kNonFiniteErr;
    return afterPut(prefix, host().preferences().putReal(sectionOf(prefix), suffix, value));
  });
}
AIErr getString(const char* prefix, const char* suffix, char* buffer, int32_t capacity) {
  return guarded([&] {
    if (suffix == nullptr || buffer == nullptr || capacity < 1) return kBadParameterErr;
    std::string text;
    const AIErr error = getPreference(
        prefix, suffix, &text, "string",
        [](auto& s, const auto& sec, const char* key) { return s.getString(sec, key); });
    if (error != kNoErr) return error;
    // An absent key leaves the caller's buffer as it was.
    if (!host().preferences().getString(sectionOf(prefix), suffix)) return kNoErr;
    return copyString(text, buffer, capacity);
  });
}
AIErr putString(const char* prefix, const char* suffix, const char* value) {
  return guarded([&] {
    if (suffix == nullptr || value == nullptr) return kBadParameterErr;
    return afterPut(prefix, host().preferences().putString(sectionOf(prefix), suffix, value));
  });
}
AIErr getPoint(const char* prefix, const char* suffix, AIPoint* out) {
  return guarded([&] {
    return getPreference(
        prefix, suffix, out, "point", [](auto& s, const auto& sec, const char* key) {
          auto v = s.getPoint(sec, key);
          if (!v) return std::optional<AIPoint>();
          return std::optional<AIPoint>(AIPoint{static_cast<int32_t>(std::lround(v->h)),
                                                static_cast<int32_t>(std::lround(v->v))});
        });
  });
}
AIErr putPoint(const char* prefix, const char* suffix, const AIPoint* value) {
  return guarded([&] {
    if (suffix == nullptr || value == nullptr) return kBadParameterErr;
    const PreferencePoint p{static_cast<float>(value->h), static_cast<float>(value->v)};
    return afterPut(prefix, host().preferences().putPoint(sectionOf(prefix), suffix, p));
  });
}
AIErr removePreference(const char* prefix, const char* suffix) {
  return guarded([&] {
    if (suffix == nullptr) return kBadParameterErr;
    host().preferences().remove(sectionOf(prefix), suffix);
    return kNoErr;
  });
}

// ---- Blocks and handles -------------------------------------------------------------------------

AIErr allocateBlock(size_t size, void** outBlock) {
  return guarded([&] {
    if (outBlock == nullptr) return kBadParameterErr;
    *outBlock = host().allocateBlock(size, "block");
    return *outBlock ? kNoErr : kOutOfMemoryErr;
  });
}
AIErr disposeBlock(void* block) {
  if (block == nullptr) return kNoErr;
  return host().freeBlock(block) ? kNoErr : kBadParameterErr;
}
AIErr reallocateBlock(void* block, size_t newSize, void** outBlock) {
  return guarded([&] {
    if (outBlock == nullptr) return kBadParameterErr;
    *outBlock = host().reallocateBlock(block, newSize, "block");
    return *outBlock ? kNoErr : kBadParameterErr;
  });
}
AIErr getBlockSize(const void* block, size_t* outSize) {
  if (outSize == nullptr) return kBadParameterErr;
  const auto size = host().blockSize(block);
  if (!size) return kBadParameterErr;
  *outSize = *size;
  return kNoErr;
}

// A memory handle is a host record pointing at a block, so the block may move on resize.
struct MemoryHandle {
  void* block = nullptr;
};
std::vector<std::unique_ptr<MemoryHandle>>& memoryHandles() {
  static std::vector<std::unique_ptr<MemoryHandle>> handles;
  return handles;
}
MemoryHandle* findHandle(AIMdMemoryHandle h) {
  for (auto& m : memoryHandles()) {
    if (reinterpret_cast<AIMdMemoryHandle>(m.get()) == h) return m.get();
  }
  return nullptr;
}
AIErr newHandle(size_t size, AIMdMemoryHandle* outHandle) {
  return guarded([&] {
    if (outHandle == nullptr) return kBadParameterErr;
    *outHandle = nullptr;
    void* block = host().allocateBlock(size, "memory handle");
    if (block == nullptr) return kOutOfMemoryErr;
    memoryHandles().push_back(std::make_unique<MemoryHandle>(MemoryHandle{block}));
    *outHandle = reinterpret_cast<AIMdMemoryHandle>(memoryHandles().back().get());
    return kNoErr;
  });
}
AIErr disposeHandle(AIMdMemoryHandle handle) {
  MemoryHandle* m = findHandle(handle);
  if (m == nullptr) return kBadHandleErr;
  host().freeBlock(m->block);
  std::erase_if(memoryHandles(), [m](const auto& p) { return p.get() == m; });
  return kNoErr;
}
AIErr getHandleSize(AIMdMemoryHandle handle, size_t* outSize) {
  MemoryHandle* m = findHandle(handle);
  if (m == nullptr) return kBadHandleErr;
  return getBlockSize(m->block, outSize);
}
AIErr setHandleSize(AIMdMemoryHandle handle, size_t newSize) {
  return guarded([&] {
    MemoryHandle* m = findHandle(handle);
    if (m == nullptr) return kBadHandleErr;
    void* fresh = host().reallocateBlock(m->block, newSize, "memory handle");
    if (fresh == nullptr) return kOutOfMemoryErr;
    m->block = fresh;
    return kNoErr;
  });
}
AIErr getHandlePointer(AIMdMemoryHandle handle, void** outPointer) {
  if (outPointer == nullptr) return kBadParameterErr;
  MemoryHandle* m = findHandle(handle);
  if (m == nullptr) return kBadHandleErr;
  *outPointer = m->block;
  return kNoErr;
}

// ---- Plug-in access and contexts --------------------------------------------------------------

int gAccessCount = 0;

AIErr acquirePluginAccess(SPPluginRef plugin, SPAccessRef* outAccess) {
  if (outAccess == nullptr) return kBadParameterErr;
  *outAccess = nullptr;
  if (plugin == nullptr || plugin != host().pluginRef()) return kBadHandleErr;
  ++gAccessCount;
  *outAccess = reinterpret_cast<SPAccessRef>(plugin);
  return kNoErr;
}
AIErr releasePluginAccess(SPAccessRef access) {
  if (access == nullptr || reinterpret_cast<SPPluginRef>(access) != host().pluginRef() ||
      gAccessCount == 0) {
    return kBadHandleErr;
  }
  --gAccessCount;
  return kNoErr;
}

AIErr pushAppContext(SPPluginRef plugin, AIAppContextHandle* outContext) {
  return guarded([&] {
    if (outContext == nullptr) return kBadParameterErr;
    *outContext = nullptr;
    if (plugin == nullptr || plugin != host().pluginRef()) return kBadHandleErr;
    *outContext = host().pushContext();
    return kNoErr;
  });
}
AIErr popAppContext(AIAppContextHandle context) {
  return guarded([&] { return host().popContext(context) ? kNoErr : kBadParameterErr; });
}

const AIPreferenceSuite kPreference = {getBoolean, putBoolean, getInteger,      putInteger,
                                       getReal,    putReal,    getString,       putString,
                                       getPoint,   putPoint,   removePreference};
const AIBlockSuite kBlock = {allocateBlock, disposeBlock, reallocateBlock, getBlockSize};
const AIMdMemorySuite kMdMemory = {newHandle, disposeHandle, getHandleSize, setHandleSize,
                                   getHandlePointer};
const AIPluginSuite kPlugin = {acquirePluginAccess, releasePluginAccess};
const AIContextSuite kContext = {pushAppContext, popAppContext};

}  // namespace

void publishServiceSuites(SuiteRegistry& registry) {
  registry.add(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &kPreference);
  registry.add(kAIBlockSuite, kAIBlockSuiteVersion, &kBlock);
  registry.add(kAIMdMemorySuite, kAIMdMemorySuiteVersion, &kMdMemory);
  registry.add(kAIPluginSuite, kAIPluginSuiteVersion, &kPlugin);
  registry.add(kAIContextSuite, kAIContextSuiteVersion, &kContext);
}

}  // namespace sqhost
