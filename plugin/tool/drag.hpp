// One step of a tool drag: what the step pipeline works out for the mode branches, and the
// handle-position and whole-point operations the handle and anchor drags share.
#pragma once

#include <cstdint>

#include "shell/plugin_state.hpp"
#include "sqsdk/messages.h"
#include "sqsdk/types.h"
#include "tool/gesture.hpp"

namespace sq {

// What every mode branch of a drag step may read.
struct DragStep {
  const AIToolMessage* message = nullptr;
  AIDocumentViewHandle view = nullptr;  // the front view (index 0)
  int32_t modifiers = 0;                // tracker bits: kShiftKey, kCtrlKey, kAltKey
  bool spaceDown = false;
  AIRealPoint cursor{};      // the raw cursor of the message
  AIRealPoint delta{};       // this step's cursor movement, slowed when slow drag is active
  AIRealRect bounds{};       // the document's bounds rectangle
  bool smartGuides = false;  // the host uses smart guides in the view
  bool toolGuides = false;   // and the host preference "smartGuides/showToolGuides" is on
  bool snapToGrid = false;   // the view's snap-to-grid option

  bool shift() const { return (modifiers & kShiftKey) != 0; }
  bool ctrl() const { return (modifiers & kCtrlKey) != 0; }
  bool alt() const { return (modifiers & kAltKey) != 0; }
};

// The new position D of the dragged handle (handle and anchor drags): slowCursor constrained to
// the handle's line with Alt (or for a connector), snapped by the host, held to 45° steps with
// Shift, and clamped into the document bounds. Sets constraining, may clear spaceMoved and set
// spaceBlocked, and sets the custom snap constraints of the step.
AIRealPoint NewHandlePosition(PluginState& s, const DragStep& step);

// The Space move of the whole grabbed point, when it applies (Space down, point table empty,
// spaceBlocked clear): the handle (in when `inHandle`, else out) goes to the step's cursor point
// and the anchor and the other handle move with it; handleTarget, the direction and savedSegment
// follow. For a point that was a connector at the press the anchor alone moves by the step's
// delta. Returns true when the point was moved (the step then only writes back).
bool SpaceMovePoint(PluginState& s, const DragStep& step, AIRealPoint d, bool inHandle);

// The mode branches that are not handle drags.
AIErr AnchorDragStep(PluginState& s, const DragStep& step, AIRealPoint d);
AIErr SegmentDragStep(PluginState& s, const DragStep& step);
// The marquee follows the raw cursor (also for a segment press while handles are kept).
void MarqueeStep(PluginState& s, const DragStep& step);

}  // namespace sq
