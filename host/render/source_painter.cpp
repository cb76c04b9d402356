// Painting the artwork of a document read from SVG: its source, with the edits applied, drawn by
// the SVG renderer at the view's transform.
#include <librsvg/rsvg.h>

#include <memory>
#include <string>

#include "render/painters.hpp"
#include "svg/svg_io.hpp"
#include "svg/svg_source.hpp"

namespace sqhost::render {
namespace {

struct GObjectUnref {
  void operator()(void* object) const {
    if (object != nullptr) g_object_unref(object);
  }
};
using HandlePtr = std::unique_ptr<RsvgHandle, GObjectUnref>;

// The renderer's reading of the last text drawn, kept while the same text is drawn again (every
// view of an unchanged document, every repaint between edits).
struct ParsedText {
  std::weak_ptr<const DocumentSource> source;
  std::string text;
  HandlePtr handle;
};

ParsedText& lastParsed() {
  static ParsedText parsed;
  return parsed;
}

HandlePtr parse(const std::string& text, const std::string& fileName) {
  // The renderer reads the bytes in place: they live in the cache entry that keeps the handle.
  std::unique_ptr<GInputStream, GObjectUnref> stream(
      g_memory_input_stream_new_from_data(text.data(), static_cast<gssize>(text.size()), nullptr));
  std::unique_ptr<GFile, GObjectUnref> base(
      fileName.empty() ? nullptr : g_file_new_for_path(fileName.c_str()));
  GError* error = nullptr;
  HandlePtr handle(rsvg_handle_new_from_stream_sync(stream.get(), base.get(),
                                                    RSVG_HANDLE_FLAGS_NONE, nullptr, &error));
  if (error != nullptr) g_error_free(error);
  return handle;
}

}  // namespace

// The SVG renderer draws text through fontconfig, whose caches live as long as the process; the
// leak checker of sanitizer builds is told so.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SQ_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(SQ_LEAK_CHECKED)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
#endif

cairo_matrix_t viewMatrix(const View& view) {
  // The mapping of ViewMapping: artwork (h, v) to ((h - left) z + 1/2, (top - v) z + 1/2), with
  // SVG's user y = -v.
  const AIRealPoint topLeft = view.topLeft();
  const double zoom = view.zoom;
  cairo_matrix_t m;
  cairo_matrix_init(&m, zoom, 0, 0, zoom, 0.5 - static_cast<double>(topLeft.h) * zoom,
                    0.5 + static_cast<double>(topLeft.v) * zoom);
  return m;
}

bool paintSource(cairo_t* cr, const View& view, const Document& document) {
  const auto source = std::dynamic_pointer_cast<const svg::SvgSource>(document.source());
  if (!source) return false;
  svg::ExportResult shown = svg::viewSvg(document);
  if (!shown.ok()) return false;
  ParsedText& cache = lastParsed();
  if (!cache.handle || cache.source.lock() != document.source() || cache.text != shown.text) {
    cache.handle.reset();
    cache.text = std::move(shown.text);
    cache.source = document.source();
    cache.handle = parse(cache.text, source->fileName);
    if (!cache.handle) return false;
  }
  cairo_save(cr);
  const cairo_matrix_t m = viewMatrix(view);
  cairo_transform(cr, &m);
  const RsvgRectangle viewport{source->viewX, source->viewY, source->viewWidth, source->viewHeight};
  GError* error = nullptr;
  const gboolean drawn = rsvg_handle_render_document(cache.handle.get(), cr, &viewport, &error);
  if (error != nullptr) g_error_free(error);
  cairo_restore(cr);
  return drawn != FALSE;
}

}  // namespace sqhost::render
