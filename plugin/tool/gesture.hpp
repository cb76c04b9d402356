// What the press, drag and release handlers of the tool share: the keys held, the three edited
// points and their connector records, reading and writing one point, and the grabbed handle's
// direction.
#pragma once

#include <cstdint>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Modifier bits of the host's tracker.
inline constexpr int32_t kShiftKey = 0x20;
inline constexpr int32_t kCtrlKey = 0x40;
inline constexpr int32_t kAltKey = 0x80;

// The modifier keys of the event being handled, as the host's tracker reports them.
int32_t HeldModifiers();
// True while the key with this virtual-key code is down in the system keyboard state.
bool KeyIsDown(int32_t virtualKey);
// True when the host uses smart guides (anchor snapping) in the view.
bool SmartGuidesOn(AIDocumentViewHandle view);

// True when the host's hit reference holds a hit; a null reference holds none.
bool IsHostHit(AIHitRef hitRef);
// Releases a hit reference (a null one is ignored) and nulls it.
void ReleaseHostHit(AIHitRef& hitRef);

// The edited points by record index: 0 the grabbed point, 1 its previous and 2 its next point.
inline constexpr int kGrabbedRecord = 0;
inline constexpr int kPreviousRecord = 1;
inline constexpr int kNextRecord = 2;
PointRecord& EditedPoint(PluginState& s, int record);
ConnectorState& EditedConnector(PluginState& s, int record);

// Reads segment `index` of `art` into record: its segment (and savedSegment), its selection state
// and its layer colour; the handle flags are cleared. Returns the last host status.
AIErr ReadPoint(PointRecord& record, AIArtHandle art, int32_t index);
// Sends the record's segment back to the host at its index.
AIErr WritePoint(const PointRecord& record);

// Stores the direction of handleTarget from the grabbed point's anchor: handleDirection, and,
// when both components are non-zero, handleSlope = b ÷ a and handleSlopeSum = b ÷ a + a ÷ b.
void StoreHandleDirection(PluginState& s);

}  // namespace sq
