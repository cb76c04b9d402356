// The host's table of suites: acquisition and release by name and version, with use counts.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "sqsdk/types.h"

namespace sqhost {

class SuiteRegistry {
 public:
  // Publishes a suite. The table must outlive the registry. A name/version pair is published once.
  void add(const std::string& name, int32_t version, const void* table);

  // Acquires a suite: the table and 0, or kSPSuiteNotFoundError (and null) for an unknown pair.
  AIErr acquire(const std::string& name, int32_t version, const void** outTable);
  // Releases one acquisition: kSPSuiteNotFoundError for an unknown pair, kBadParameterErr when the
  // suite is not held.
  AIErr release(const std::string& name, int32_t version);

  // Current use count of a suite (0 for an unknown one).
  int32_t useCount(const std::string& name, int32_t version) const;
  // Sum of all use counts: 0 when every acquisition has been released.
  int64_t totalUseCount() const;

  // Makes acquisitions of one suite fail (tests of the plug-in's failure path).
  void setUnavailable(const std::string& name, bool unavailable);

  std::size_t size() const { return suites_.size(); }

 private:
  struct Entry {
    const void* table = nullptr;
    int32_t useCount = 0;
  };
  std::map<std::pair<std::string, int32_t>, Entry> suites_;
  std::map<std::string, bool> unavailable_;
};

}  // namespace sqhost
