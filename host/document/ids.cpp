// The process-wide id and change stamp counters.
#include "document/ids.hpp"

#include <atomic>

namespace sqhost {

ObjectId allocateId() {
  static std::atomic<ObjectId> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

std::uint64_t nextChangeStamp() {
  static std::atomic<std::uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace sqhost
