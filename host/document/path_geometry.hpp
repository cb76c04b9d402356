// The geometry of one path: its segments, closed flag, per-segment selection states and bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "sqsdk/errors.h"
#include "sqsdk/types.h"

namespace sqhost {

// The host's segment selection states.
enum class SegmentSelection : std::uint8_t {
  kNone = 0,    // not selected
  kAnchor = 1,  // the anchor point is selected
  kIn = 2,      // the in side (in handle) is selected
  kOut = 3,     // the out side (out handle) is selected
  kInOut = 4,   // both sides are selected
};

// Which handles of one segment the host shows (draws, and lets the hit test find).
struct ShownHandles {
  bool in = false;
  bool out = false;
  friend bool operator==(const ShownHandles&, const ShownHandles&) = default;
};

bool isFinite(const AIRealPoint& p);
bool isFinite(const AIPathSegment& s);
bool isFinite(const AIRealRect& r);
// Exact value comparisons of the SDK records (corner flags compare as booleans).
bool samePoint(const AIRealPoint& a, const AIRealPoint& b);
bool sameSegment(const AIPathSegment& a, const AIPathSegment& b);
bool sameRect(const AIRealRect& a, const AIRealRect& b);
bool sameColor(const AIRGBColor& a, const AIRGBColor& b);

// True when the two artwork rectangles (top is the larger v) share at least one point.
bool rectsOverlap(const AIRealRect& a, const AIRealRect& b);

// A path's segments with their selection states. A value type whose copies share the segment and
// state arrays until one of them changes (copy on write), so a before-image of a path, a copy of a
// document and a removed subtree kept for undo cost no array copy for what does not change
// afterwards; a change copies only the array it writes (a selection change leaves the segments
// shared).
//
// Segment i runs from anchor i to anchor i + 1; a closed path has one more segment, from the last
// anchor back to anchor 0. previous()/next() give the neighbouring anchor, wrapping round on closed
// paths only. Corner flags are stored as 0 or 1. Every change keeps the cached bounds up to date,
// and every change that would store a non-finite coordinate or exceed the segment limit is refused
// with nothing changed.
//
// The selected attribute of the art object that owns the geometry is kept in step by Art; this
// class only stores the states.
class PathGeometry {
 public:
  // The host's limit on segments per path. Segment indices are exchanged with plug-ins as signed
  // 16-bit numbers, so the default stays below 32768.
  static constexpr std::size_t kDefaultSegmentLimit = 32000;
  // The limit in force for the whole process; settable so tests can reach it cheaply.
  static std::size_t segmentLimit();
  static void setSegmentLimit(std::size_t limit);

  std::size_t size() const { return segments_ ? segments_->size() : 0; }
  bool empty() const { return size() == 0; }
  bool closed() const { return closed_; }
  const AIPathSegment& segment(std::size_t i) const { return (*segments_)[i]; }
  std::span<const AIPathSegment> segments() const {
    return segments_ ? std::span<const AIPathSegment>(*segments_)
                     : std::span<const AIPathSegment>();
  }
  SegmentSelection selection(std::size_t i) const { return (*states_)[i]; }
  std::span<const SegmentSelection> selections() const {
    return states_ ? std::span<const SegmentSelection>(*states_)
                   : std::span<const SegmentSelection>();
  }
  // Whether this geometry and other hold the very same segment array (not merely equal ones).
  bool sharesSegmentsWith(const PathGeometry& other) const {
    return segments_ != nullptr && segments_ == other.segments_;
  }
  // Number of segments whose state is not kNone.
  std::size_t selectedCount() const { return selectedCount_; }

  // The rectangle round every anchor and handle (so it holds the whole curve); nullopt when empty.
  // Cached: reading it never touches the segments.
  const std::optional<AIRealRect>& bounds() const { return bounds_; }

  // The rectangle round the curve itself (its extremes, not its handles); nullopt when empty.
  // Computed on first use after a change and kept until the next one.
  const std::optional<AIRealRect>& curveBounds() const;

  // The anchor before / after anchor i: on an open path nothing before 0 and after the last; on a
  // closed path 0 follows the last (a one-point closed path is its own neighbour).
  std::optional<std::size_t> previous(std::size_t i) const;
  std::optional<std::size_t> next(std::size_t i) const;
  // Number of curve pieces: size() - 1 when open (0 when empty), size() when closed.
  std::size_t bezierCount() const;
  // Curve piece k: from anchor k through its out handle and the in handle of next(k) to next(k).
  // k must be below bezierCount().
  AIRealBezier bezier(std::size_t k) const;

  // The handles of segment i the host shows: the in handle for states kIn and kInOut, the out
  // handle for kOut and kInOut, and both handles of the path's single anchor-selected point (when
  // exactly one segment is in state kAnchor). A retracted handle (equal to its anchor) is never
  // shown.
  ShownHandles shownHandles(std::size_t i) const;

  // Overwrites segments index .. index + values.size() - 1, which must exist.
  AIErr setSegments(std::size_t index, std::span<const AIPathSegment> values);
  // Inserts the values before segment index (index == size() appends), with state kNone.
  AIErr insertSegments(std::size_t index, std::span<const AIPathSegment> values);
  // Removes count segments starting at index.
  AIErr deleteSegments(std::size_t index, std::size_t count);
  void setClosed(bool closed) {
    closed_ = closed;
    curveBoundsKnown_ = false;  // the closing curve comes or goes
  }
  AIErr setSelection(std::size_t i, SegmentSelection state);
  // Sets every segment to the same state.
  void setAllSelections(SegmentSelection state);
  // Reverses the direction: the segment order is reversed, each segment's in and out handles are
  // swapped, and so are the in and out sides of the selection states (kIn <-> kOut).
  void reverse();

  // Same segments, states and closed flag.
  friend bool operator==(const PathGeometry& a, const PathGeometry& b);

 private:
  void updateBounds();
  void normalizeCorners(std::size_t index, std::size_t count);
  // The arrays for writing: a private copy first when another geometry shares them.
  std::vector<AIPathSegment>& writableSegments();
  std::vector<SegmentSelection>& writableStates();

  // Shared with copies until written; null while the path is empty and never written.
  std::shared_ptr<std::vector<AIPathSegment>> segments_;
  std::shared_ptr<std::vector<SegmentSelection>> states_;  // one per segment
  bool closed_ = false;
  std::size_t selectedCount_ = 0;
  std::optional<AIRealRect> bounds_;
  mutable std::optional<AIRealRect> curveBounds_;
  mutable bool curveBoundsKnown_ = false;
};

}  // namespace sqhost
