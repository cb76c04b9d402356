// The view of a document read from SVG: the SVG renderer's own picture of the file, edits and the
// host's hidden art applied, with the host's selection display over it.
#include <gtest/gtest.h>
#include <librsvg/rsvg.h>

#include "render/painters.hpp"
#include "render/render_test_support.hpp"
#include "render/view_renderer.hpp"

namespace sqhost::render {
namespace {

using testing::documentOf;
using testing::kRed;
using testing::kWhite;
using testing::pixelIs;
using testing::viewAt;

const std::string kBody = R"svg(
  <defs><linearGradient id="g"><stop offset="0" stop-color="#0000ff"/><stop offset="1" stop-color="#00ff00"/></linearGradient></defs>
  <rect x="5" y="5" width="60" height="20" fill="url(#g)"/>
  <circle cx="50" cy="60" r="20" fill="#ff0000" opacity="0.5"/>
  <path id="edit" d="M 10 90 L 40 90" stroke="#ff0000" stroke-width="4" fill="none"/>
  <text x="60" y="95" font-size="12" fill="#000000">Text</text>)svg";

// What the renderer itself draws of text at the view's transform on white.
Raster reference(const std::string& text, const View& view) {
  Raster raster = Raster::create(view.width, view.height);
  Context context = raster.context();
  cairo_t* cr = context.get();
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text.data()), text.size(), nullptr);
  EXPECT_NE(handle, nullptr);
  const cairo_matrix_t m = viewMatrix(view);
  cairo_transform(cr, &m);
  const RsvgRectangle viewport{0, 0, 100, 100};
  EXPECT_TRUE(rsvg_handle_render_document(handle, cr, &viewport, nullptr));
  g_object_unref(handle);
  return raster;
}

std::size_t differingPixels(const Raster& a, const Raster& b) {
  std::size_t n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return n;
}

TEST(SourceRender, AnUnchangedFileLooksExactlyAsTheRendererDrawsIt) {
  const std::string text =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "xmlns:inkscape=\"http://www.inkscape.org/namespaces/"
      "inkscape\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" xmlns:sq=\"urn:spindlequiver:host\" "
      "viewBox=\"0 0 100 100\">" +
      kBody + "</svg>";
  const Document doc = documentOf(kBody);
  RenderOptions plain;
  plain.selection = false;
  plain.artboards = false;
  for (float zoom : {1.0f, 2.5f, 0.5f}) {
    const View view = viewAt(zoom, 120, 90);
    EXPECT_EQ(differingPixels(renderView(doc, view, plain), reference(text, view)), 0u) << zoom;
  }
  // Gradients, opacity and text are drawn: not grey, not opaque, not missing.
  const Raster r = renderView(doc, viewAt(1), plain);
  EXPECT_GT(r.pixel(8, 15).b, 200);
  EXPECT_GT(r.pixel(62, 15).g, 200);
  const Rgba half = r.pixel(50, 60);
  EXPECT_EQ(half.r, 255);
  EXPECT_GT(half.g, 100);
  std::size_t ink = 0;
  for (int y = 84; y < 96; ++y) {
    for (int x = 60; x < 90; ++x) ink += r.pixel(x, y).r < 128 ? 1 : 0;
  }
  EXPECT_GT(ink, 10u);
}

TEST(SourceRender, EditsAndHiddenArtShowAndTheSelectionIsDrawnOver) {
  Document doc = documentOf(
      kBody + R"(<rect x="70" y="30" width="20" height="20" fill="red" sq:hidden="1"/>)");
  const View view = viewAt(1);
  EXPECT_TRUE(pixelIs(renderView(doc, view), 80, 40, kWhite));  // hidden by the host
  const Art* path = nullptr;
  const Art& group = doc.layer(0).group();
  for (std::size_t i = 0; i < group.childCount(); ++i) {
    if (group.child(i).name() == "edit") path = &group.child(i);
  }
  ASSERT_NE(path, nullptr);
  AIPathSegment s = path->path().segment(1);
  s.p.v = s.in.v = s.out.v = -50;  // the end goes up to y = 50
  doc.modifyArt(path->id())->setSegments(1, std::span(&s, 1));
  doc.modifyArt(path->id())->setSegmentSelection(0, SegmentSelection::kAnchor);
  RenderOptions plain;
  plain.selection = false;
  const Raster bare = renderView(doc, view, plain);
  EXPECT_TRUE(pixelIs(bare, 39, 52, kRed));    // the edited stroke
  EXPECT_TRUE(pixelIs(bare, 30, 90, kWhite));  // the old one is gone
  // The selection display over it: the outline and the selected anchor's square.
  const Raster r = renderView(doc, view);
  EXPECT_NE(r.pixel(39, 52), kRed);
  EXPECT_NE(r.pixel(12, 88), bare.pixel(12, 88));
}

}  // namespace
}  // namespace sqhost::render
