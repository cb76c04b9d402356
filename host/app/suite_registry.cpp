// The host's table of suites: acquisition and release by name and version, with use counts.
#include "app/suite_registry.hpp"

#include "sqsdk/errors.h"

namespace sqhost {

void SuiteRegistry::add(const std::string& name, int32_t version, const void* table) {
  suites_[{name, version}] = Entry{table, 0};
}

AIErr SuiteRegistry::acquire(const std::string& name, int32_t version, const void** outTable) {
  if (outTable == nullptr) return kBadParameterErr;
  *outTable = nullptr;
  auto it = suites_.find({name, version});
  if (it == suites_.end() || it->second.table == nullptr) return kSPSuiteNotFoundError;
  if (auto u = unavailable_.find(name); u != unavailable_.end() && u->second) {
    return kSPSuiteNotFoundError;
  }
  ++it->second.useCount;
  *outTable = it->second.table;
  return kNoErr;
}

AIErr SuiteRegistry::release(const std::string& name, int32_t version) {
  auto it = suites_.find({name, version});
  if (it == suites_.end()) return kSPSuiteNotFoundError;
  if (it->second.useCount <= 0) return kBadParameterErr;
  --it->second.useCount;
  return kNoErr;
}

int32_t SuiteRegistry::useCount(const std::string& name, int32_t version) const {
  auto it = suites_.find({name, version});
  return it == suites_.end() ? 0 : it->second.useCount;
}

int64_t SuiteRegistry::totalUseCount() const {
  int64_t total = 0;
  for (const auto& [key, entry] : suites_) total += entry.useCount;
  return total;
}

void SuiteRegistry::setUnavailable(const std::string& name, bool unavailable) {
  unavailable_[name] = unavailable;
}

}  // namespace sqhost
