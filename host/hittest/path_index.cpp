// The path index: an R-tree over pickable path bounds, checked against the document's stamp.
#include "hittest/path_index.hpp"

#include <algorithm>
#include <array>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace sqhost {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using TreePoint = bg::model::point<float, 2, bg::cs::cartesian>;
using Box = bg::model::box<TreePoint>;
using Value = std::pair<Box, std::uint32_t>;  // bounds and place in paint order
using Tree = bgi::rtree<Value, bgi::quadratic<16>>;

Box boxOf(const AIRealRect& r) {
  return Box(TreePoint(r.left, r.bottom), TreePoint(r.right, r.top));
}

// The same test the walk-based search makes: p within the bounds grown by radius.
bool near(const AIRealRect& r, const AIRealPoint& p, double radius) {
  return p.h >= r.left - radius && p.h <= r.right + radius && p.v >= r.bottom - radius &&
         p.v <= r.top + radius;
}

// A float no greater (no less) than x, so that a query box never misses what the exact test takes.
float below(double x) {
  const auto f = static_cast<float>(x);
  return static_cast<double>(f) <= x ? f
                                     : std::nextafter(f, -std::numeric_limits<float>::infinity());
}
float above(double x) {
  const auto f = static_cast<float>(x);
  return static_cast<double>(f) >= x ? f
                                     : std::nextafter(f, std::numeric_limits<float>::infinity());
}

bool sameBounds(const AIRealRect& a, const AIRealRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Calls visit(path, bounds) for the paths with bounds below container, topmost first, walking the
// containers that are neither locked nor hidden.
template <typename Visit>
void visitChildren(const Art& container, Visit& visit) {
  // Objects lie scattered in memory: ask for the bounds of one a few steps ahead while reading
  // this one, so that large groups are walked at memory bandwidth rather than latency. Only the
  // bounds of a path are read: only paths have bounds, so a container is told apart by having
  // none, without reading its type.
  constexpr std::size_t kAhead = 16;
  const std::size_t n = container.childCount();
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) __builtin_prefetch(&container.child(i + kAhead).path().bounds());
    const Art& art = container.child(i);
    if (const auto& bounds = art.path().bounds()) {
      visit(art, *bounds);
    } else if (art.type() != ArtType::kPath && usable(art)) {
      visitChildren(art, visit);
    }
  }
}

// Whether a path the walk reached can be picked (its containers and layer having been checked).
bool pickablePath(const Art& art) {
  return usable(art) && art.type() == ArtType::kPath;
}

}  // namespace

void appendReachablePaths(const Art& root, std::vector<PathEntry>& out) {
  if (!usable(root)) return;
  if (const auto& bounds = root.path().bounds()) {
    out.push_back({&root, *bounds});
    return;
  }
  auto append = [&](const Art& art, const AIRealRect& bounds) { out.push_back({&art, bounds}); };
  if (root.type() != ArtType::kPath) visitChildren(root, append);
}

struct PathIndex::Impl {
  struct Change {
    std::uint32_t index;
    AIRealRect bounds;
  };

  bool valid = false;
  std::uint64_t stamp = 0;
  std::vector<PathEntry> entries;  // paint order, topmost first
  std::vector<PathEntry> walked;   // the walk, once it left the entries' order
  std::vector<Change> changes;     // entries whose bounds the walk found changed
  std::vector<Value> values;       // room for building the tree
  Tree tree;
  bool treeBuilt = false;       // the tree holds the entries
  std::size_t unbuiltUses = 0;  // updates since the entries last changed order, without a tree
  std::size_t rebuilds = 0;
  std::size_t moves = 0;
  mutable std::vector<std::uint32_t> found;

  // Walks the document, comparing what it finds with the entries as it goes; only once the two
  // part ways does it copy what it finds. Then moves the changed entries in the tree, or builds
  // the tree again when the paths are not the same or many changed.
  void update(const Document& document) {
    changes.clear();
    walked.clear();
    std::size_t at = 0;
    bool apart = !valid;
    auto compare = [&](const Art& art, const AIRealRect& bounds) {
      if (!apart) {
        if (at < entries.size() && entries[at].path == &art) {
          if (!sameBounds(entries[at].bounds, bounds))
            changes.push_back({static_cast<std::uint32_t>(at), bounds});
          ++at;
          return;
        }
        apart = true;
        walked.assign(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(at));
        for (const Change& c : changes) walked[c.index].bounds = c.bounds;
      }
      walked.push_back({&art, bounds});
    };
    for (std::size_t i = 0; i < document.layerCount(); ++i) {
      const Layer& layer = document.layer(i);
      if (layer.visible() && layer.editable() && usable(layer.group()))
        visitChildren(layer.group(), compare);
    }
    if (!apart && at < entries.size()) {
      apart = true;  // paths went from the end
      walked.assign(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(at));
      for (const Change& c : changes) walked[c.index].bounds = c.bounds;
    }
    if (apart || !treeBuilt || changes.size() > entries.size() / 8) {
      if (!apart) {
        for (const Change& c : changes) entries[c.index].bounds = c.bounds;
      } else {
        std::swap(entries, walked);
      }
      treeBuilt = false;
      unbuiltUses = 0;
      return;
    }
    for (const Change& c : changes) {
      tree.remove(Value(boxOf(entries[c.index].bounds), c.index));
      entries[c.index].bounds = c.bounds;
      tree.insert(Value(boxOf(c.bounds), c.index));
      ++moves;
    }
  }

  void rebuild() {
    values.clear();
    values.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      values.emplace_back(boxOf(entries[i].bounds), static_cast<std::uint32_t>(i));
    }
    tree = Tree(values.begin(), values.end());  // packed in one go
    treeBuilt = true;
    ++rebuilds;
  }
};

PathIndex::PathIndex() : impl_(std::make_unique<Impl>()) {}
PathIndex::~PathIndex() = default;

void PathIndex::update(const Document& document) {
  Impl& m = *impl_;
  if (!m.valid || m.stamp != document.generation()) {
    m.update(document);
    m.valid = true;
  }
  if (!m.treeBuilt && ++m.unbuiltUses > kUsesBeforeTree) m.rebuild();
  m.stamp = document.generation();
}

void PathIndex::pathsNear(const AIRealPoint& p, double radius, std::vector<const Art*>& out) const {
  const Impl& m = *impl_;
  m.found.clear();
  if (!m.treeBuilt) {
    for (const PathEntry& e : m.entries) {
      if (near(e.bounds, p, radius) && pickablePath(*e.path)) out.push_back(e.path);
    }
    return;
  }
  const Box query(TreePoint(below(p.h - radius), below(p.v - radius)),
                  TreePoint(above(p.h + radius), above(p.v + radius)));
  m.tree.query(bgi::intersects(query), boost::make_function_output_iterator([&](const Value& v) {
                 const PathEntry& e = m.entries[v.second];
                 if (near(e.bounds, p, radius) && pickablePath(*e.path))
                   m.found.push_back(v.second);
               }));
  std::sort(m.found.begin(), m.found.end());
  for (const std::uint32_t i : m.found) out.push_back(m.entries[i].path);
}

std::size_t PathIndex::size() const {
  return impl_->entries.size();
}
std::size_t PathIndex::rebuilds() const {
  return impl_->rebuilds;
}
std::size_t PathIndex::moves() const {
  return impl_->moves;
}

const PathIndex& pathIndexOf(const Document& document) {
  struct Cached {
    const Document* document = nullptr;
    std::uint64_t lastUse = 0;
    PathIndex index;
  };
  static std::array<Cached, 4> cache;
  static std::uint64_t uses = 0;
  Cached* slot = nullptr;
  for (Cached& c : cache) {
    if (c.document == &document) slot = &c;
  }
  if (slot == nullptr) {
    // The least recently used index serves this document from now on.
    slot = &*std::min_element(cache.begin(), cache.end(), [](const Cached& a, const Cached& b) {
      return a.lastUse < b.lastUse;
    });
    slot->document = &document;
  }
  slot->lastUse = ++uses;
  slot->index.update(document);
  return slot->index;
}

}  // namespace sqhost
