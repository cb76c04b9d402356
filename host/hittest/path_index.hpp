// A spatial index over the bounds of a document's pickable paths, kept in step with the document.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "document/document.hpp"

namespace sqhost {

// A pickable path with its bounds (every anchor and handle), as the index holds it.
struct PathEntry {
  const Art* path = nullptr;
  AIRealRect bounds{};
};

// Appends the pickable paths of root's subtree that have bounds, topmost first: root itself when
// it is a path, else the paths below it, walking only containers that are neither locked nor
// hidden. Whether root's own ancestors and layer allow picking is the caller's to check.
void appendPickablePaths(const Art& root, std::vector<PathEntry>& out);

// The pickable paths of one document in paint order, topmost first, with an R-tree over their
// bounds. Whenever the document's change stamp differs from the one last seen, a walk over the
// document compares every pickable path and its bounds with what the index holds: when the same
// paths are in the same order, only the entries whose bounds changed move in the tree (one edited
// path costs the walk and two tree updates); when paths came, went or changed places, or when
// many bounds changed, the tree is built again. So a query always answers for the document as it
// is now, whichever way it was changed.
class PathIndex {
 public:
  PathIndex();
  ~PathIndex();
  PathIndex(const PathIndex&) = delete;
  PathIndex& operator=(const PathIndex&) = delete;

  // Brings the index in line with document; cheap when its stamp is unchanged.
  void update(const Document& document);
  // Appends the paths whose bounds grown by radius hold p, topmost first.
  void pathsNear(const AIRealPoint& p, double radius, std::vector<const Art*>& out) const;
  std::size_t size() const;

  // Times the tree was built from scratch and entries were moved in it (for tests).
  std::size_t rebuilds() const;
  std::size_t moves() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The index of document, brought up to date. The host keeps one for each of the few documents
// last asked for (host thread only); it stays valid until the next call.
const PathIndex& pathIndexOf(const Document& document);

}  // namespace sqhost
