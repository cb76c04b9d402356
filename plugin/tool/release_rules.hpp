// What the release handler's click rules share: the host's segment selection of one path, the
// table entries of one point, and the segment click rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "shell/plugin_state.hpp"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/types.h"

namespace sq::release {

const AIPathSuite* Paths();
const AIArtSuite* Arts();

int32_t StateOf(AIArtHandle art, int32_t index);
AIErr SetSegmentState(AIArtHandle art, int32_t index, int32_t state);
int32_t SegmentCount(AIArtHandle art);
// The path's host selected attribute: set while any of its segments has a non-zero state.
bool ArtSelected(AIArtHandle art);
// Clears the selected attribute: every segment of a path gets state 0.
AIErr Deselect(AIArtHandle art);
// Gives every segment of the path state 4, or only those whose state is not 1 when `keepAnchors`,
// or only those in state 1 when `onlyAnchors`.
AIErr ShowAllSides(AIArtHandle art, bool keepAnchors, bool onlyAnchors = false);

// The first table entry of this point, whatever its flags.
std::optional<int> EntryOf(const PluginState& s, const PointRecord& point);
// Clears one handle flag of entry i, in its handle flags and in what it shows; an entry left with
// no flag leaves the table. True when it left.
bool ClearFlag(PluginState& s, int index, std::size_t flag);
// Removes every entry of the path from the table, with its counts.
void DiscardEntriesOf(PluginState& s, AIArtHandle art);

bool Retracted(AIRealPoint handle, AIRealPoint anchor);

// The end of a gesture that grabbed a segment: selects the segment's sides or the whole path,
// toggles them with Shift, equalises, straightens or curves the segment with Alt and Shift, and
// trims the point table to match. Shift and Alt are the keys held at the release.
AIErr SegmentClick(PluginState& s, bool shift, bool alt);

}  // namespace sq::release
