// Painting annotation display lists over a view: clipping, pixel shapes, xor, clearing, icons.
#include <gtest/gtest.h>

#include "render/drawer.hpp"
#include "render/render_test_support.hpp"
#include "render/view_renderer.hpp"
#include "sqsdk/suites/adm_drawer.h"

namespace sqhost::render {
namespace {

using testing::documentOf;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;
using testing::pixelIs;
using testing::viewAt;

constexpr Rgba kGreen{0, 255, 0, 255};

// A drawer on a 100 x 100 annotation port, as the annotator gets one.
struct Port {
  DisplayList list;
  Drawer drawer{list,          AIRect{0, 0, 100, 100}, AIRect{0, 0, 100, 100},
                AIPoint{0, 0}, kADMDialogFont,         kTransparentRGBA};
};

Raster paint(const Document& doc, const DisplayList& list) {
  RenderOptions options;
  options.annotations = &list;
  return renderView(doc, viewAt(1), options);
}

bool sameImage(const Raster& a, const Raster& b) {
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
    }
  }
  return a.width() == b.width() && a.height() == b.height();
}

TEST(AnnotationRender, ShapesShowOnlyInsideTheirClip) {
  Port port;
  port.drawer.setClip(AIRect{20, 20, 30, 30});
  port.drawer.addClip(AIRect{40, 40, 45, 45});
  port.drawer.setColor(0xFF0000FF);
  port.drawer.fillRect(AIRect{10, 10, 50, 50});
  const Raster r = paint(documentOf(""), port.list);
  EXPECT_TRUE(pixelIs(r, 20, 20, kRed));
  EXPECT_TRUE(pixelIs(r, 29, 29, kRed));
  EXPECT_TRUE(pixelIs(r, 44, 40, kRed));
  EXPECT_TRUE(pixelIs(r, 30, 30, kWhite));  // right and bottom are exclusive
  EXPECT_TRUE(pixelIs(r, 35, 35, kWhite));  // between the clip rectangles
  EXPECT_TRUE(pixelIs(r, 15, 15, kWhite));  // in the shape, outside the clip
  EXPECT_TRUE(pixelIs(r, 45, 42, kWhite));
}

TEST(AnnotationRender, LinesFramesAndOvalsCoverTheirPixels) {
  Port port;
  port.drawer.setColor(0x0000FFFF);
  port.drawer.line(AIPoint{10, 60}, AIPoint{50, 60});
  port.drawer.line(AIPoint{5, 5}, AIPoint{15, 15});
  port.drawer.frameRect(AIRect{60, 60, 70, 70});
  port.drawer.fillOval(AIRect{70, 10, 90, 30});
  port.drawer.frameOval(AIRect{10, 70, 30, 90});
  const Raster r = paint(documentOf(""), port.list);
  EXPECT_TRUE(pixelIs(r, 10, 60, kBlue));  // both end points are drawn
  EXPECT_TRUE(pixelIs(r, 50, 60, kBlue));
  EXPECT_TRUE(pixelIs(r, 51, 60, kWhite));
  EXPECT_TRUE(pixelIs(r, 30, 61, kWhite));
  for (int i = 5; i <= 15; ++i) EXPECT_TRUE(pixelIs(r, i, i, kBlue));
  EXPECT_TRUE(pixelIs(r, 60, 65, kBlue));  // the frame's outermost pixels
  EXPECT_TRUE(pixelIs(r, 69, 65, kBlue));
  EXPECT_TRUE(pixelIs(r, 65, 69, kBlue));
  EXPECT_TRUE(pixelIs(r, 65, 65, kWhite));
  EXPECT_TRUE(pixelIs(r, 70, 65, kWhite));
  EXPECT_TRUE(pixelIs(r, 80, 20, kBlue));  // a filled oval, corners left out
  EXPECT_TRUE(pixelIs(r, 70, 10, kWhite));
  // A framed oval's left and top ends (smoothed along the curve), hollow inside.
  EXPECT_LT(r.pixel(10, 80).r, 40);
  EXPECT_LT(r.pixel(20, 70).r, 40);
  EXPECT_TRUE(pixelIs(r, 20, 80, kWhite));
  EXPECT_TRUE(pixelIs(r, 20, 80, kWhite));
}

TEST(AnnotationRender, FarCoordinatesKeepTheirShape) {
  Port port;
  port.drawer.setColor(0x0000FFFF);
  port.drawer.line(AIPoint{-2000000000, -2000000000}, AIPoint{2000000000, 2000000000});
  port.drawer.line(AIPoint{-2000000000, 80}, AIPoint{2000000000, 80});
  port.drawer.fillOval(AIRect{-20, 40, 20, 60});
  port.drawer.frameRect(AIRect{-2000000000, 90, 2000000000, 2000000000});
  const Raster r = paint(documentOf(""), port.list);
  for (int i = 1; i < 100; ++i) ASSERT_TRUE(pixelIs(r, i, i, kBlue)) << i;
  EXPECT_TRUE(pixelIs(r, 60, 80, kBlue));
  EXPECT_TRUE(pixelIs(r, 61, 60, kWhite));
  EXPECT_TRUE(pixelIs(r, 5, 50, kBlue));
  EXPECT_TRUE(pixelIs(r, 30, 90, kBlue));  // only the frame's top edge is in view
  EXPECT_TRUE(pixelIs(r, 30, 95, kWhite));
}

TEST(AnnotationRender, XorInvertsAndUndoesItself) {
  const Document doc = documentOf(R"(<rect x="0" y="0" width="50" height="100" fill="red"/>)");
  Port once;
  once.drawer.setMode(kADMXorMode);
  once.drawer.setColor(0xFFFFFFFF);
  once.drawer.fillRect(AIRect{40, 40, 60, 60});
  const Raster r = paint(doc, once.list);
  EXPECT_TRUE(pixelIs(r, 45, 45, {0, 255, 255, 255}));  // red inverted
  EXPECT_TRUE(pixelIs(r, 55, 45, {0, 0, 0, 255}));      // white inverted
  EXPECT_TRUE(pixelIs(r, 65, 45, kWhite));

  Port twice;
  twice.drawer.setMode(kADMXorMode);
  twice.drawer.setColor(0x00FF00FF);
  for (int k = 0; k < 2; ++k) {
    twice.drawer.fillRect(AIRect{40, 40, 60, 60});
    twice.drawer.line(AIPoint{0, 0}, AIPoint{99, 37});
    twice.drawer.frameOval(AIRect{10, 10, 40, 30});
    twice.drawer.text("xor", AIPoint{20, 90});
  }
  EXPECT_TRUE(sameImage(paint(doc, twice.list), renderView(doc, viewAt(1))));
}

TEST(AnnotationRender, ClearingShowsTheViewBeneath) {
  const Document doc = documentOf(R"(<rect x="20" y="20" width="20" height="20" fill="red"/>)");
  Port port;
  port.drawer.setColor(0x0000FFFF);
  port.drawer.fillRect(AIRect{0, 0, 100, 100});
  port.drawer.clearRect(AIRect{25, 25, 50, 50});
  const Raster r = paint(doc, port.list);
  EXPECT_TRUE(pixelIs(r, 10, 10, kBlue));
  EXPECT_TRUE(pixelIs(r, 30, 30, kRed));
  EXPECT_TRUE(pixelIs(r, 45, 45, kWhite));
  EXPECT_TRUE(pixelIs(r, 55, 55, kBlue));
}

TEST(AnnotationRender, TextAndIconsDrawInTheirBoxes) {
  Raster green = Raster::create(4, 3);
  {
    Context cr = green.context();
    cairo_set_source_rgb(cr.get(), 0, 1, 0);
    cairo_paint(cr.get());
  }
  const std::shared_ptr<const IconImage> icon = decodeIcon(green.encodePng().bytes, 16056, 0);
  ASSERT_NE(icon, nullptr);

  Port port;
  port.drawer.icon(icon, AIPoint{70, 10});
  port.drawer.setColor(0x000000FF);
  port.drawer.setFont(kADMBoldDialogFont);
  port.drawer.text("Hello", AIPoint{10, 50});
  const Raster r = paint(documentOf(""), port.list);
  EXPECT_TRUE(pixelIs(r, 70, 10, kGreen));
  EXPECT_TRUE(pixelIs(r, 73, 12, kGreen));
  EXPECT_TRUE(pixelIs(r, 74, 12, kWhite));
  EXPECT_TRUE(pixelIs(r, 70, 13, kWhite));

  const AIRect box = port.list.ops.back().rect;
  int dark = 0;
  // Row and column 0 hold the artboard's outline.
  for (int y = 1; y < 100; ++y) {
    for (int x = 1; x < 100; ++x) {
      if (r.pixel(x, y).r >= 128 || (x >= 70 && y < 20)) continue;
      ++dark;
      EXPECT_TRUE(x >= box.left && x < box.right && y >= box.top && y < box.bottom)
          << "ink at " << x << ", " << y;
    }
  }
  EXPECT_GT(dark, 30);
}

}  // namespace
}  // namespace sqhost::render
