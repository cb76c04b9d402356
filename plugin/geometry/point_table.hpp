// The point table's bookkeeping: capacity, order, and the handle flags with their counts.
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
// fills in what needs the host (layer colour, selection state).
std::optional<int> appendEntry(PluginState& s, AIArtHandle art, int segmentIndex,
                               const AIPathSegment& segment, bool inHandle, bool outHandle);

// Removes entry i, moving later entries down one place; the handle counts are the caller's.
void removeEntry(PluginState& s, int index);

// Sets one handle flag (kInHandleFlag or kOutHandleFlag) of entry i and counts it. A flag that is
// already set changes nothing.
void setHandleFlag(PluginState& s, int index, std::size_t flag);

// Clears one handle flag of entry i and lowers the counts; clearing the last set flag removes the
// entry. Returns true when the entry was removed.
bool clearHandleFlag(PluginState& s, int index, std::size_t flag);

// Empties the table: pointCount, both handle counts and dragMode become 0.
void emptyTable(PluginState& s);

}  // namespace sq
