// The point table: its entries, their handle flags and the counts of both. Only this code changes
// pointCount, selectedHandleCount and selectedInHandleCount; everyone else adds, removes, empties
// and re-applies entries through it.
#pragma once

#include <cstddef>
#include <optional>

#include "shell/plugin_state.hpp"

namespace sq {

// Hit parts as the host reports them.
inline constexpr int kHitAnchor = 0;
inline constexpr int kHitOutHandle = 1;
inline constexpr int kHitInHandle = 2;
inline constexpr int kHitSegment = 3;

// The first entry for (art, segment index) whose flag for the asked handle (hit part 2: in,
// 1: out) is set.
std::optional<int> findEntry(const PluginState& s, AIArtHandle art, int hitPart, int segmentIndex);

// Appends an entry at pointCount with the given segment and handle flags and adjusts the counts.
// Returns its index, or nothing when the table is full (the table is then unchanged). The caller
// fills in what needs the host (layer colour, selection state); addEntry does both.
std::optional<int> appendEntry(PluginState& s, AIArtHandle art, int segmentIndex,
                               const AIPathSegment& segment, bool inHandle, bool outHandle);

// Removes entry i, moving later entries down one place; the handle counts are left as they are
// (for a caller that has already lowered them, as clearHandleFlag does).
void removeEntry(PluginState& s, int index);
// Removes entry i, moving later entries down one place, and lowers the handle counts by its flags.
void discardEntry(PluginState& s, int index);

// Sets one handle flag (kInHandleFlag or kOutHandleFlag) of entry i and counts it. A flag that is
// already set changes nothing.
void setHandleFlag(PluginState& s, int index, std::size_t flag);

// Clears one handle flag of entry i and lowers the counts; clearing the last set flag removes the
// entry. Returns true when the entry was removed.
bool clearHandleFlag(PluginState& s, int index, std::size_t flag);

// Removes every entry: pointCount and both handle counts become 0.
void clearEntries(PluginState& s);
// Empties the table for a fresh start (another view, the tool chosen again): clearEntries, and
// dragMode becomes 0.
void emptyTable(PluginState& s);

// The same as appendEntry, then reads the entry's layer colour and selection state from the host;
// with asBothSides the state becomes 4, in the host too.
std::optional<int> addEntry(PluginState& s, AIArtHandle art, int segmentIndex,
                            const AIPathSegment& segment, bool inHandle, bool outHandle,
                            bool asBothSides = false);

// Gives entry i's segment its selection state in the host; a point-selected entry on a path with
// two or more point-selected anchors is re-applied as state 4.
AIErr reapplySelection(PluginState& s, int index);
// reapplySelection for every entry, last first. Returns the last status (that of entry 0).
AIErr reapplyAllSelections(PluginState& s);

// Reads the colour of the layer that holds the record's art into its layerColor.
AIErr readLayerColor(PointRecord& record);
// readLayerColor for every entry, last first. Returns the last status (that of entry 0).
AIErr readLayerColors(PluginState& s);

// Brings the point table in line with the document after a selection change: stale entries go
// (with their counts), live ones are read again and their selection re-applied.
AIErr refreshTable(PluginState& s);

}  // namespace sq
