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

bool usable(const Art& art) {
  return !art.locked() && !art.hidden();
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

void appendChildren(const Art& container, std::vector<PathEntry>& out) {
  // Objects lie scattered in memory: ask for the bounds of one a few steps ahead while reading
  // this one, so that large groups are walked at memory bandwidth rather than latency.
  constexpr std::size_t kAhead = 16;
  const std::size_t n = container.childCount();
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) __builtin_prefetch(&container.child(i + kAhead).path().bounds());
    const Art& art = container.child(i);
    // Only paths have bounds, so a container is told apart without reading its type first.
    if (const auto& bounds = art.path().bounds()) {
      if (usable(art) && art.type() == ArtType::kPath) out.push_back({&art, *bounds});
    } else if (art.type() != ArtType::kPath && usable(art)) {
      appendChildren(art, out);
    }
  }
}

}  // namespace

void appendPickablePaths(const Art& root, std::vector<PathEntry>& out) {
  if (!usable(root)) return;
  if (root.type() != ArtType::kPath) return appendChildren(root, out);
  if (const auto& bounds = root.path().bounds()) out.push_back({&root, *bounds});
}

struct PathIndex::Impl {
  bool valid = false;
  std::uint64_t stamp = 0;
  std::vector<PathEntry> entries;  // paint order, topmost first
  std::vector<PathEntry> walked;   // the walk of the last update, kept for its room
  std::vector<Value> values;       // room for building the tree
  Tree tree;
  std::size_t rebuilds = 0;
  std::size_t moves = 0;
  mutable std::vector<std::uint32_t> found;

  void walk(const Document& document) {
    walked.clear();
    walked.reserve(entries.size());
    for (std::size_t i = 0; i < document.layerCount(); ++i) {
      const Layer& layer = document.layer(i);
      if (layer.visible() && layer.editable()) appendPickablePaths(layer.group(), walked);
    }
  }

  // Moves the entries whose bounds changed, when the walk found the same paths in the same order
  // and few of them changed; false when the tree must be built again.
  bool moveChanged() {
    if (walked.size() != entries.size()) return false;
    std::vector<std::uint32_t>& changed = found;
    changed.clear();
    const std::size_t limit = entries.size() / 8;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (walked[i].path != entries[i].path) return false;
      if (!sameRect(walked[i].bounds, entries[i].bounds)) {
        if (changed.size() == limit) return false;
        changed.push_back(static_cast<std::uint32_t>(i));
      }
    }
    for (const std::uint32_t i : changed) {
      tree.remove(Value(boxOf(entries[i].bounds), i));
      entries[i].bounds = walked[i].bounds;
      tree.insert(Value(boxOf(entries[i].bounds), i));
      ++moves;
    }
    return true;
  }

  void rebuild() {
    std::swap(entries, walked);
    values.clear();
    values.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      values.emplace_back(boxOf(entries[i].bounds), static_cast<std::uint32_t>(i));
    }
    tree = Tree(values.begin(), values.end());  // packed in one go
    ++rebuilds;
  }
};

PathIndex::PathIndex() : impl_(std::make_unique<Impl>()) {}
PathIndex::~PathIndex() = default;

void PathIndex::update(const Document& document) {
  Impl& m = *impl_;
  if (m.valid && m.stamp == document.generation()) return;
  m.walk(document);
  if (!m.valid || !m.moveChanged()) m.rebuild();
  m.valid = true;
  m.stamp = document.generation();
}

void PathIndex::pathsNear(const AIRealPoint& p, double radius, std::vector<const Art*>& out) const {
  const Impl& m = *impl_;
  m.found.clear();
  const Box query(TreePoint(below(p.h - radius), below(p.v - radius)),
                  TreePoint(above(p.h + radius), above(p.v + radius)));
  m.tree.query(bgi::intersects(query), boost::make_function_output_iterator([&](const Value& v) {
                 if (near(m.entries[v.second].bounds, p, radius)) m.found.push_back(v.second);
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
