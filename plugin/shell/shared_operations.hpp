// The operations every part of the plug-in calls: refreshing the panel, invalidating the views,
// the front view and reading a whole path. Declared below the tool, the panel and the commands so
// that each of them, and the geometry, may call them.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Shows the current selection in the point editor panel. Does nothing while no panel exists.
AIErr RefreshPanel(PluginState& s);
// Shows the handle selection of the point table in the panel. Does nothing while no panel exists.
AIErr ShowHandleSelection(PluginState& s);

// The front view of the current document; null without a document.
AIDocumentViewHandle frontView();
// Fills viewRect with the whole of one view: (0, 0) to the view position of its bounds' far corner.
AIErr computeViewRect(PluginState& s, AIDocumentViewHandle view);
// Asks one view to redraw all its annotations, with viewRect set to the whole of it. A null view
// (no document) is ignored.
AIErr invalidateView(PluginState& s, AIDocumentViewHandle view);
// Asks every view of the current document to redraw all annotations; marks a full redraw pending.
AIErr invalidateAllViews(PluginState& s);

// One path as read from the host: its segments and its closed flag.
struct WholePath {
  std::vector<AIPathSegment> segments;
  bool closed = false;
  int32_t count() const { return static_cast<int32_t>(segments.size()); }
};

// Reads every segment of a path into segments, replacing what it held (its capacity is kept, so
// one buffer serves many paths). False, with segments empty, when the path has no segments or
// cannot be read.
bool readPathSegments(AIArtHandle path, std::vector<AIPathSegment>& segments);
// The segments and closed flag of a path; no segments when it cannot be read.
WholePath readWholePath(AIArtHandle path);

}  // namespace sq
