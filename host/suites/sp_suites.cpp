// "SP Blocks Suite" and "SP Access Suite".
#include <cstring>

#include "app/host.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/sp_access.h"
#include "sqsdk/suites/sp_blocks.h"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

AIErr allocateBlock(size_t size, const char* debugName, void** outBlock) {
  if (outBlock == nullptr) return kBadParameterErr;
  *outBlock = host().allocateBlock(size, debugName ? debugName : "");
  return *outBlock ? kNoErr : kOutOfMemoryErr;
}

AIErr freeBlock(void* block) {
  if (block == nullptr) return kNoErr;
  return host().freeBlock(block) ? kNoErr : kBadParameterErr;
}

AIErr reallocateBlock(void* block, size_t newSize, const char* debugName, void** outBlock) {
  if (outBlock == nullptr) return kBadParameterErr;
  *outBlock = host().reallocateBlock(block, newSize, debugName ? debugName : "");
  return *outBlock ? kNoErr : kBadParameterErr;
}

bool isOurPlugin(SPPluginRef plugin) {
  return plugin != nullptr && plugin == host().pluginRef();
}

AIErr getPluginAccess(SPPluginRef plugin, SPAccessRef* outAccess) {
  if (outAccess == nullptr) return kBadParameterErr;
  *outAccess = nullptr;
  if (!isOurPlugin(plugin)) return kBadHandleErr;
  *outAccess = reinterpret_cast<SPAccessRef>(plugin);
  return kNoErr;
}

AIErr isPluginLoaded(SPPluginRef plugin, AIBoolean* outLoaded) {
  if (outLoaded == nullptr) return kBadParameterErr;
  if (!isOurPlugin(plugin)) return kBadHandleErr;
  *outLoaded = host().library() != nullptr && host().library()->loaded();
  return kNoErr;
}

AIErr getPluginFilePath(SPPluginRef plugin, char* buffer, int32_t capacity) {
  if (!isOurPlugin(plugin) || host().library() == nullptr) return kBadHandleErr;
  return copyString(host().library()->path(), buffer, capacity);
}

AIErr getPluginName(SPPluginRef plugin, char* buffer, int32_t capacity) {
  if (!isOurPlugin(plugin) || host().library() == nullptr) return kBadHandleErr;
  return copyString(host().library()->properties().name, buffer, capacity);
}

const SPBlocksSuite kBlocks = {allocateBlock, freeBlock, reallocateBlock};
const SPAccessSuite kAccess = {getPluginAccess, isPluginLoaded, getPluginFilePath, getPluginName};

}  // namespace

void publishSPSuites(SuiteRegistry& registry) {
  registry.add(kSPBlocksSuite, kSPBlocksSuiteVersion, &kBlocks);
  registry.add(kSPAccessSuite, kSPAccessSuiteVersion, &kAccess);
}

}  // namespace sqhost
