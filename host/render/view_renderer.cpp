// Rendering a view of a document to a raster and to a PNG file.
#include "render/view_renderer.hpp"

#include <algorithm>
#include <cmath>
#include <exception>

#include "io/atomic_file.hpp"
#include "render/painters.hpp"

namespace sqhost::render {
namespace {

// Whether painting the list needs the view as it was before any annotation.
bool clearsToBackground(const DisplayList& list) {
  return std::any_of(list.ops.begin(), list.ops.end(), [](const DrawOp& op) {
    return op.kind == DrawOp::Kind::ClearRect && (op.rgba & 0xFF) == 0;
  });
}

// Draws the cursor picture with its hotspot on its pixel; nothing when it lies wholly outside.
void paintCursor(const Raster& target, const CursorPicture& cursor) {
  if (!cursor.image || !cursor.image->ok()) return;
  const Raster& image = *cursor.image;
  // In double precision: a pixel near the ends of the 32-bit range minus the hotspot overflows.
  const double left = static_cast<double>(cursor.at.h) - cursor.hotspot.h;
  const double top = static_cast<double>(cursor.at.v) - cursor.hotspot.v;
  if (left >= target.width() || top >= target.height() || left + image.width() <= 0 ||
      top + image.height() <= 0) {
    return;
  }
  Context context = target.context();
  cairo_set_source_surface(context.get(), image.surface(), left, top);
  cairo_paint(context.get());
}

}  // namespace

Raster renderView(const Document& document, const View& view, const RenderOptions& options) {
  if (!std::isfinite(view.zoom) || view.zoom <= 0 || !std::isfinite(view.center.h) ||
      !std::isfinite(view.center.v)) {
    return Raster::failed("the view's zoom or centre is not a usable number");
  }
  Raster raster = Raster::create(view.width, view.height);
  if (!raster.ok()) return raster;
  {
    Context context = raster.context();
    cairo_t* cr = context.get();
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    const ViewMapping map(view);
    if (options.artboards) paintArtboards(cr, map, document);
    // A document read from SVG shows what its file shows; a new one is painted from the model.
    if (!paintSource(cr, view, document)) paintArtwork(cr, map, document);
    if (options.selection) paintSelection(cr, map, view, document);
    const cairo_status_t status = cairo_status(cr);
    if (status != CAIRO_STATUS_SUCCESS) {
      return Raster::failed(std::string("cannot draw the view: ") + cairo_status_to_string(status));
    }
  }
  if (options.annotations != nullptr) {
    const Raster base = clearsToBackground(*options.annotations) ? raster.copy() : Raster();
    paintDisplayList(raster, base, *options.annotations);
  }
  paintCursor(raster, options.cursor);
  return raster;
}

std::string renderViewToPng(const Document& document, const View& view,
                            const RenderOptions& options, const std::filesystem::path& path) {
  try {
    const Raster raster = renderView(document, view, options);
    if (!raster.ok()) return "cannot render " + path.string() + ": " + raster.error();
    const Raster::Png png = raster.encodePng();
    if (!png.error.empty()) return "cannot render " + path.string() + ": " + png.error;
    return io::writeFileAtomically(path, png.bytes);
  } catch (const std::exception& e) {
    return "cannot render " + path.string() + ": " + e.what();
  }
}

}  // namespace sqhost::render
