// Stable object ids: every art object, layer and document gets one, unique in the process.
#pragma once

#include <cstdint>

namespace sqhost {

// An object id. 0 never names an object. Ids are handed out from one process-wide counter, so an
// id names at most one object of any kind; copies of a document and undo/redo keep ids unchanged.
// The suites turn ids into the SDK's opaque handles and resolve them through the document, where a
// stale id resolves to nothing.
using ObjectId = std::uint64_t;
using ArtId = ObjectId;
using LayerId = ObjectId;
using DocumentId = ObjectId;

inline constexpr ObjectId kNoId = 0;

// Returns a fresh id, never returned before in this process. Thread-safe.
ObjectId allocateId();

}  // namespace sqhost
