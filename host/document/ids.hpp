// Stable object ids, unique in the process, and the stamps of document states.
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

// Returns a fresh value of the sequence documents stamp their states with (never 0, never
// returned before in this process). Thread-safe. A sequence of its own, so that stamping does not
// spread the object ids, which stay dense for tables indexed by id.
std::uint64_t nextChangeStamp();

}  // namespace sqhost
