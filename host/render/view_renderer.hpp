// Rendering a view of a document: artwork, the host's selection display and annotations, to PNG.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "document/document.hpp"
#include "render/display_list.hpp"
#include "render/raster.hpp"
#include "views/view.hpp"

namespace sqhost::render {

// A picture drawn over everything else with its hotspot on a view pixel: the mouse cursor.
struct CursorPicture {
  std::shared_ptr<const Raster> image;  // null: no cursor is drawn
  AIPoint hotspot{0, 0};                // image pixels from its top-left corner
  AIPoint at{0, 0};                     // the view pixel under the hotspot
};

struct RenderOptions {
  // Draw the outline of every artboard under the artwork.
  bool artboards = true;
  // Draw the host's own selection display: the outlines, anchor squares and visible handles of
  // selected paths in the colour of their layer.
  bool selection = true;
  // Painted over everything, in view pixels, as the annotator drew it; not owned, may be null.
  const DisplayList* annotations = nullptr;
  // Drawn last, blended by its transparency; nothing when its image is null.
  CursorPicture cursor;
};

// Renders the view as a width x height raster, pixel (x, y) being view pixel (x, y):
//   - a white background and the outline of every artboard (the active one darker);
//   - for a document read from SVG, its text with the edits applied as the SVG renderer draws it
//     (art the host hides hidden); for any other document,
//   - the artwork of visible layers, bottom-most first, with each path's fill and stroke (a thin
//     dark line for a path with neither), compound paths filled as one with the fill rule of their
//     first path, area and path text as a thin outline of their path, point text as a small cross
//     at its origin, plug-in art through its result group; hidden art is skipped;
//   - the selection display (see RenderOptions::selection);
//   - the annotation display list, each operation clipped to its rectangles;
//   - the cursor picture, at its own size, its hotspot on the pixel RenderOptions::cursor gives.
// An artwork point lands in the pixel View::toView gives for it. A view whose size Cairo cannot
// hold gives a failed raster (ok() false, error() set).
Raster renderView(const Document& document, const View& view, const RenderOptions& options = {});

// Renders the view and writes it as a PNG file through a temporary file renamed over path, so a
// failure never truncates an existing file. Returns an empty string on success, else a message.
std::string renderViewToPng(const Document& document, const View& view,
                            const RenderOptions& options, const std::filesystem::path& path);

}  // namespace sqhost::render
