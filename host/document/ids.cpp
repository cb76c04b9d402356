// The process-wide id counter.
#include "document/ids.hpp"

#include <atomic>

namespace sqhost {

ObjectId allocateId() {
  static std::atomic<ObjectId> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace sqhost
