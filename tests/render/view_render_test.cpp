// Rendering artwork and the selection display of a view: placement, zoom, visibility and order.
#include <gtest/gtest.h>

#include <cmath>

#include "render/render_test_support.hpp"
#include "render/view_renderer.hpp"

namespace sqhost::render {
namespace {

using testing::documentOf;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;
using testing::pixelIs;
using testing::viewAt;

TEST(ViewRender, FilledSquareCoversThePixelsToViewGives) {
  const Document doc = documentOf(R"(<rect x="20" y="30" width="10" height="10" fill="red"/>)");
  View view = viewAt(1.5f);
  view.center = {37.3f, -41.9f};  // a scroll that puts the edges part-way into pixels
  const Raster raster = renderView(doc, view);
  ASSERT_TRUE(raster.ok()) << raster.error();

  const AIPoint topLeft = *view.toView({20, -30});
  const AIPoint bottomRight = *view.toView({30, -40});
  ASSERT_LT(topLeft.h + 2, bottomRight.h);
  for (int y = topLeft.v + 1; y < bottomRight.v; ++y) {
    for (int x = topLeft.h + 1; x < bottomRight.h; ++x) ASSERT_TRUE(pixelIs(raster, x, y, kRed));
  }
  const int midX = (topLeft.h + bottomRight.h) / 2;
  const int midY = (topLeft.v + bottomRight.v) / 2;
  EXPECT_TRUE(pixelIs(raster, topLeft.h - 1, midY, kWhite));
  EXPECT_TRUE(pixelIs(raster, bottomRight.h + 1, midY, kWhite));
  EXPECT_TRUE(pixelIs(raster, midX, topLeft.v - 1, kWhite));
  EXPECT_TRUE(pixelIs(raster, midX, bottomRight.v + 1, kWhite));
  // The edge pixels are partly covered.
  EXPECT_NE(raster.pixel(topLeft.h, midY), kWhite);
  EXPECT_NE(raster.pixel(bottomRight.h, midY), kWhite);
}

// The red area along a row and a column, in pixels (a partly covered pixel counts in part; the
// grey artboard outline does not count).
double redExtent(const Raster& raster, int fixed, bool alongRow) {
  double total = 0;
  const int n = alongRow ? raster.width() : raster.height();
  for (int i = 0; i < n; ++i) {
    const Rgba p = alongRow ? raster.pixel(i, fixed) : raster.pixel(fixed, i);
    if (p.r > p.g) total += 1 - p.g / 255.0;
  }
  return total;
}

TEST(ViewRender, ZoomScalesTheArtwork) {
  const Document doc = documentOf(R"(<rect x="20" y="30" width="10" height="10" fill="red"/>)");
  const Raster one = renderView(doc, viewAt(1));
  const Raster two = renderView(doc, viewAt(2));
  const Raster half = renderView(doc, viewAt(0.5f));
  EXPECT_NEAR(redExtent(one, 35, true), 10, 0.05);
  EXPECT_NEAR(redExtent(one, 25, false), 10, 0.05);
  EXPECT_NEAR(redExtent(two, 70, true), 20, 0.05);
  EXPECT_NEAR(redExtent(two, 50, false), 20, 0.05);
  EXPECT_NEAR(redExtent(half, 17, true), 5, 0.05);
  // The corner moves with the zoom too.
  EXPECT_TRUE(pixelIs(two, 41, 61, kRed));
  EXPECT_TRUE(pixelIs(two, 39, 61, kWhite));
}

TEST(ViewRender, HiddenLayersAndHiddenArtDrawNothing) {
  const Document hidden = documentOf(R"(
    <g inkscape:groupmode="layer" inkscape:label="Off" style="display:none">
      <rect x="10" y="10" width="30" height="30" fill="red"/>
    </g>
    <g inkscape:groupmode="layer" inkscape:label="On">
      <rect x="50" y="50" width="30" height="30" fill="red" sq:hidden="1"/>
      <g style="display:none"><path d="M 10 90 L 90 90" fill="none" stroke="red"/></g>
      <path d="M 60 10 L 90 10" sq:selection="1 1" style="display:none"/>
    </g>)");
  const Document empty = documentOf("");
  const Raster a = renderView(hidden, viewAt(1));
  const Raster b = renderView(empty, viewAt(1));
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << ", " << y;
  }
}

TEST(ViewRender, ArtIsPaintedBottomUpWithItsStyle) {
  const Document doc = testing::modelOnlyDocumentOf(R"(
    <g inkscape:groupmode="layer" inkscape:label="Bottom">
      <rect x="0" y="0" width="60" height="60" fill="#00ff00"/>
    </g>
    <g inkscape:groupmode="layer" inkscape:label="Top">
      <rect x="10" y="10" width="30" height="30" fill="blue"/>
      <rect x="20" y="20" width="30" height="30" fill="red"/>
      <path d="M 70 70 L 90 70 L 90 90 Z" fill="none" stroke="blue" stroke-width="4"/>
      <path d="M 60 95 L 95 95" fill="none"/>
      <path d="M 2 70 H 30 V 98 H 2 Z M 8 76 V 92 H 24 V 76 Z" fill="red" fill-rule="evenodd"/>
      <g sq:plugin-art="Effect"><rect x="70" y="5" width="10" height="10" fill="blue"/></g>
    </g>)");
  const Raster r = renderView(doc, viewAt(1));
  EXPECT_TRUE(pixelIs(r, 15, 15, kBlue));             // blue over the lower layer
  EXPECT_TRUE(pixelIs(r, 35, 35, kRed));              // the later rectangle is on top
  EXPECT_TRUE(pixelIs(r, 55, 55, {0, 255, 0, 255}));  // the lower layer shows around them
  EXPECT_TRUE(pixelIs(r, 80, 69, kBlue));             // a 4-pixel stroke
  EXPECT_TRUE(pixelIs(r, 80, 71, kBlue));
  EXPECT_TRUE(pixelIs(r, 80, 67, kWhite));
  EXPECT_TRUE(pixelIs(r, 85, 78, kWhite));  // an unfilled inside
  EXPECT_TRUE(pixelIs(r, 5, 80, kRed));     // a compound path's ring
  EXPECT_TRUE(pixelIs(r, 16, 84, kWhite));  // and its even-odd hole
  EXPECT_TRUE(pixelIs(r, 75, 10, kBlue));   // plug-in art through its result
  const Rgba wire = r.pixel(80, 95);        // no fill, no stroke: a thin dark line
  EXPECT_LT(wire.r, 100);
  EXPECT_EQ(wire.r, wire.g);
  EXPECT_TRUE(pixelIs(r, 80, 94, kWhite));
}

TEST(ViewRender, TextFramesShowTheirPathOrAMarker) {
  const Document doc = testing::modelOnlyDocumentOf(R"(
    <defs><path id="base" d="M 10 60 L 90 60"/></defs>
    <text x="30" y="20">point</text>
    <text><textPath xlink:href="#base">along</textPath></text>)");
  const Raster r = renderView(doc, viewAt(1));
  EXPECT_LT(r.pixel(30, 20).r, 100);  // the point text marker's centre
  EXPECT_LT(r.pixel(33, 20).r, 100);
  EXPECT_TRUE(pixelIs(r, 36, 20, kWhite));
  EXPECT_LT(r.pixel(50, 60).r, 100);  // the path of the text on a path
  EXPECT_TRUE(pixelIs(r, 50, 58, kWhite));
}

constexpr Rgba kLayerColor{255, 0, 128, 255};

std::string selectedPaths(const std::string& selection) {
  return R"(<g inkscape:groupmode="layer" inkscape:label="L" sq:color="#ffff00008080">
      <path d="M 20 70 C 20 42 80 42 80 70" fill="none" sq:selection=")" +
         selection + R"("/>
      <path d="M 10 90 L 60 90" fill="none"/>
    </g>)";
}

TEST(ViewRender, SelectedAnchorsAreSquaresInTheLayerColour) {
  const Document doc = documentOf(selectedPaths("1 0"));
  const View view = viewAt(1);
  const Raster r = renderView(doc, view);
  const AIPoint selected = *view.toView({20, -70});
  const AIPoint other = *view.toView({80, -70});
  // Anchor-selected: a filled 5 x 5 square.
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      EXPECT_TRUE(pixelIs(r, selected.h + dx, selected.v + dy, kLayerColor));
    }
  }
  EXPECT_NE(r.pixel(selected.h - 3, selected.v), kLayerColor);
  // The other anchor of the selected path: hollow.
  EXPECT_TRUE(pixelIs(r, other.h, other.v, kWhite));
  EXPECT_TRUE(pixelIs(r, other.h + 2, other.v + 1, kLayerColor));
  EXPECT_TRUE(pixelIs(r, other.h - 2, other.v - 2, kLayerColor));
  // The selected path is outlined in the layer colour; the unselected one has no marks.
  EXPECT_TRUE(pixelIs(r, 50, 49, kLayerColor));
  EXPECT_TRUE(pixelIs(r, 10, 92, kWhite));
  EXPECT_NE(r.pixel(30, 90), kLayerColor);

  // Without the selection display the squares are gone.
  RenderOptions plain;
  plain.selection = false;
  const Raster bare = renderView(doc, view, plain);
  EXPECT_NE(bare.pixel(selected.h + 2, selected.v + 2), kLayerColor);
}

TEST(ViewRender, HandlesShowWhereTheHostShowsThem) {
  const View view = viewAt(1);
  // The single anchor-selected point shows both handles: the out handle of anchor 0 runs up to
  // (20, 42), clear of the curve beyond the first few pixels.
  const Raster one = renderView(documentOf(selectedPaths("1 0")), view);
  EXPECT_TRUE(pixelIs(one, 20, 47, kLayerColor));
  EXPECT_TRUE(pixelIs(one, 20, 50, kLayerColor));
  EXPECT_TRUE(pixelIs(one, 19, 50, kWhite));
  EXPECT_TRUE(pixelIs(one, 21, 50, kWhite));
  EXPECT_TRUE(pixelIs(one, 20, 42, kLayerColor));  // the handle's dot
  EXPECT_TRUE(pixelIs(one, 19, 42, kLayerColor));
  // Two anchor-selected points show no handles.
  const Raster two = renderView(documentOf(selectedPaths("1 1")), view);
  EXPECT_TRUE(pixelIs(two, 20, 50, kWhite));
  // Out-side selection of anchor 0 shows its out handle; in-side of anchor 1 its in handle.
  const Raster sides = renderView(documentOf(selectedPaths("3 2")), view);
  EXPECT_TRUE(pixelIs(sides, 20, 50, kLayerColor));
  EXPECT_TRUE(pixelIs(sides, 80, 50, kLayerColor));
}

TEST(ViewRender, EverySelectionStateOfAPointShowsItsOwnHandles) {
  // The middle point has an in handle to (20, 40) and an out handle to (80, 40); the curve runs
  // well below both handle lines where they are looked at. The last point, selected on its in side
  // with a retracted in handle, keeps the path selected without showing anything of its own.
  struct Case {
    int state;
    bool in;
    bool out;
    bool filled;
  };
  const View view = viewAt(1);
  for (const Case c :
       {Case{0, false, false, false}, Case{1, true, true, true}, Case{2, true, false, false},
        Case{3, false, true, false}, Case{4, true, true, false}}) {
    SCOPED_TRACE(::testing::Message() << "state " << c.state);
    const Document doc = documentOf(
        R"(<g inkscape:groupmode="layer" inkscape:label="L" sq:color="#ffff00008080">
        <path d="M 10 80 C 10 80 20 40 50 40 C 80 40 90 80 90 80" fill="none" sq:selection="0 )" +
        std::to_string(c.state) + R"( 2"/></g>)");
    const Raster r = renderView(doc, view);
    EXPECT_EQ(pixelIs(r, 30, 40, kLayerColor), c.in);
    EXPECT_EQ(pixelIs(r, 20, 40, kLayerColor), c.in);  // the in handle's dot
    EXPECT_EQ(pixelIs(r, 70, 40, kLayerColor), c.out);
    EXPECT_EQ(pixelIs(r, 80, 40, kLayerColor), c.out);
    EXPECT_EQ(pixelIs(r, 50, 40, kWhite), !c.filled);  // the anchor square's centre
    EXPECT_TRUE(pixelIs(r, 52, 42, kLayerColor));      // and its frame
  }
}

TEST(ViewRender, UnrenderableViewsFail) {
  const Document doc = documentOf("");
  View view = viewAt(1);
  view.width = 0;
  const Raster r = renderView(doc, view);
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error().find("0 x 100"), std::string::npos) << r.error();
  view.width = 40000;
  EXPECT_FALSE(renderView(doc, view).ok());
  view = viewAt(1);
  view.zoom = 0;
  EXPECT_FALSE(renderView(doc, view).ok());
}

TEST(ViewRender, FarAwayAndHugeGeometryIsHandled) {
  // Coordinates far outside the view at the largest zoom must neither crash nor smear.
  const Document doc = documentOf(R"(
    <path d="M -1e30 50 L 1e30 50" fill="none" stroke="red"/>
    <path d="M 20 20 L 3e9 3e9" fill="none" sq:selection="1 0"/>)");
  View view = viewAt(64);
  const Raster r = renderView(doc, view);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(pixelIs(r, 10, 10, kWhite));
}

}  // namespace
}  // namespace sqhost::render
