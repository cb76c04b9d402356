// A view of a document: a window of whole pixels showing part of the artwork at a zoom.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/ids.hpp"
#include "sqsdk/types.h"

namespace sqhost {

// View (0, 0) is the top-left pixel, x right, y down. With zoom z and (L, T) the artwork point at
// the top-left corner: x = floor((h - L)·z + 0.5), y = floor((T - v)·z + 0.5); back without
// rounding: h = L + x / z, v = T - y / z.
struct View {
  ObjectId id = kNoId;  // the view's own id: its handle for plug-ins
  DocumentId document = kNoId;
  int32_t width = 800;       // pixels
  int32_t height = 600;      // pixels
  AIRealPoint center{0, 0};  // artwork point shown at the centre
  float zoom = 1;            // pixels per point, within [1/32, 64]
  bool showGrid = false;
  bool snapToGrid = false;
  bool smartGuides = false;  // the host's smart guides (smart targeting) in this view
  // The snapping feedback: with smart guides on, the label of the custom constraint that placed
  // the cursor at the last cursor snap in this view; empty when none did (or smart guides are off).
  std::string snapLabel;

  // Annotation region to redraw: rectangles invalidated since the last paint (view pixels,
  // right and bottom exclusive, clipped to the view).
  std::vector<AIRect> dirty;
  // Set when the host repaints the whole view for its own reasons (the artwork changed, the view
  // scrolled, zoomed, was resized or came to the front). The next paint first sends "AI Invalidate"
  // to every active annotator and then draws the whole view; until then nothing is sent, so the
  // flag may be set while a plug-in message runs.
  bool needsFullRepaint = false;
  // Every rectangle plug-ins invalidated in this view, as they gave it (before clipping; empty ones
  // are not kept), oldest first. Painting leaves it alone; the report shows it and clears it.
  std::vector<AIRect> invalidationLog;
  // The artwork point of the last mouse event (move, down, drag, up) in this view; none until the
  // first one.
  std::optional<AIRealPoint> lastMouse;

  // The artwork point at the top-left corner.
  AIRealPoint topLeft() const;
  // The artwork area shown: left/top at the top-left corner, right/bottom at (width, height).
  AIRealRect bounds() const;
  // Artwork to view pixels; nothing for a non-finite point or one outside the 32-bit range.
  std::optional<AIPoint> toView(const AIRealPoint& p) const;
  AIRealPoint toArtwork(const AIPoint& p) const;
  // Adds a rectangle to the dirty region, clipped to the view; empty rectangles are ignored.
  void invalidate(const AIRect& r);
  void invalidateAll() { invalidate(AIRect{0, 0, width, height}); }
};

}  // namespace sqhost
