// A spatial index over the bounds of a document's pickable paths, kept in step with the document.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "document/document.hpp"

namespace sqhost {

// A path with its bounds (every anchor and handle), as the index holds it.
struct PathEntry {
  const Art* path = nullptr;
  AIRealRect bounds{};
};

// Whether art itself can be picked: neither locked nor hidden.
inline bool usable(const Art& art) {
  return !art.locked() && !art.hidden();
}

// Appends the paths with bounds of root's subtree, topmost first: root itself when it is a path,
// else the paths below it, walking only containers that are neither locked nor hidden (root
// included). The paths' own locked and hidden attributes are left to the caller, which reads them
// only for the few it keeps; so are root's ancestors and layer.
void appendReachablePaths(const Art& root, std::vector<PathEntry>& out);

// The paths with bounds of one document's visible and editable layers (as appendReachablePaths
// finds them) in paint order, topmost first, with an R-tree over their bounds. Whenever the
// document's change stamp differs from the one last seen, a walk over the document compares
// every path and its bounds with what the index holds. While the same paths come in the same
// order, only the entries whose bounds changed move in the tree: one edited path costs the walk
// and two tree updates. When paths came, went or changed places (or many bounds changed, or there
// is no tree yet) the entries are taken afresh and queries scan their compact list, until the
// document has stayed unchanged for kUsesBeforeTree uses and the tree is built: building costs
// about as much as that many scans, so a document that changes at every step of a drag never
// pays for a tree it would not use. Either way a query answers for the document as it is now,
// whichever way it was changed.
class PathIndex {
 public:
  static constexpr std::size_t kUsesBeforeTree = 32;

  PathIndex();
  ~PathIndex();
  PathIndex(const PathIndex&) = delete;
  PathIndex& operator=(const PathIndex&) = delete;

  // Brings the index in line with document; cheap when its stamp is unchanged.
  void update(const Document& document);
  // Appends the pickable paths whose bounds grown by radius hold p, topmost first.
  void pathsNear(const AIRealPoint& p, double radius, std::vector<const Art*>& out) const;
  std::size_t size() const;

  // Times the tree was built and entries were moved in it (for tests).
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
