// SVG import on the fixtures: layers, transforms, node types, shapes, every path command, text
// frames, plug-in art, compound paths, selection and artboards.
#include <cmath>

#include "svg_test_support.hpp"

namespace sqhost {
namespace {

using testing::named;
using testing::openFixture;
using testing::pointIs;
using testing::pointNear;

std::vector<int> statesOf(const Art& path) {
  std::vector<int> out;
  for (SegmentSelection s : path.path().selections()) out.push_back(static_cast<int>(s));
  return out;
}

std::vector<int> cornersOf(const Art& path) {
  std::vector<int> out;
  for (const AIPathSegment& s : path.path().segments()) out.push_back(s.corner);
  return out;
}

TEST(SvgImport, LayersTransformsAndNodeTypes) {
  Document doc = openFixture("layers.svg");
  ASSERT_EQ(doc.layerCount(), 3u);
  // Topmost first: SVG's last layer is the top one; loose content gets a layer of its own.
  EXPECT_EQ(doc.layer(0).name(), "Locked");
  EXPECT_EQ(doc.layer(1).name(), "Back");
  EXPECT_EQ(doc.layer(2).name(), "Unlayered");
  EXPECT_TRUE(doc.layer(0).locked());
  EXPECT_FALSE(doc.layer(0).visible());
  EXPECT_TRUE(doc.layer(1).visible() && doc.layer(1).editable());
  EXPECT_TRUE(sameColor(doc.layer(1).color(), AIRGBColor{0xFFFF, 0x0000, 0x0001}));
  EXPECT_EQ(doc.layer(2).group().child(0).name(), "loose");

  const Art& wave = named(doc, "wave");
  ASSERT_EQ(wave.path().size(), 3u);
  EXPECT_EQ(cornersOf(wave), (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(statesOf(wave), (std::vector<int>{0, 4, 1}));
  EXPECT_TRUE(wave.selected());
  EXPECT_TRUE(pointIs(wave.path().segment(0).p, 10, -50));  // v = -y
  EXPECT_TRUE(pointIs(wave.path().segment(0).out, 20, -30));
  EXPECT_TRUE(pointIs(wave.path().segment(1).in, 40, -30));
  EXPECT_TRUE(pointIs(wave.path().segment(1).out, 60, -70));
  EXPECT_FALSE(wave.style().fill);
  EXPECT_TRUE(wave.style().stroke);
  EXPECT_TRUE(sameColor(wave.style().strokeColor, AIRGBColor{0xFFFF, 0, 0}));
  EXPECT_EQ(wave.style().strokeWidth, 2);

  // translate(100 10) scale(2) is applied to the coordinates.
  const Art& tri = named(doc, "tri");
  ASSERT_EQ(tri.path().size(), 3u);
  EXPECT_TRUE(tri.path().closed());
  EXPECT_TRUE(pointIs(tri.path().segment(0).p, 100, -10));
  EXPECT_TRUE(pointIs(tri.path().segment(1).p, 120, -10));
  EXPECT_TRUE(pointIs(tri.path().segment(2).p, 100, -30));
  EXPECT_EQ(statesOf(tri), (std::vector<int>{3, 0, 2}));
  EXPECT_EQ(tri.parent()->name(), "moved");

  // Without node types, opposite handles make a smooth point.
  EXPECT_EQ(cornersOf(named(doc, "smooth")), (std::vector<int>{1, 0, 1}));
  EXPECT_TRUE(sameRect(doc.artboard(0).bounds, AIRealRect{0, 0, 200, -100}));
}

TEST(SvgImport, BasicShapesBecomePaths) {
  Document doc = openFixture("shapes.svg");
  const float mm = 96 / 25.4f;
  EXPECT_NEAR(doc.artboard(0).bounds.right, 100 * mm, 1e-3);
  EXPECT_NEAR(doc.artboard(0).bounds.bottom, -50 * mm, 1e-3);

  const Art& sharp = named(doc, "sharp");
  ASSERT_EQ(sharp.path().size(), 4u);
  EXPECT_TRUE(sharp.path().closed());
  EXPECT_TRUE(pointIs(sharp.path().segment(0).p, 10, -20));
  EXPECT_TRUE(pointIs(sharp.path().segment(2).p, 40, -60));
  EXPECT_EQ(cornersOf(sharp), (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(statesOf(sharp), (std::vector<int>{1, 0, 0, 0}));

  EXPECT_EQ(named(doc, "rounded").path().size(), 8u);
  const Art& circle = named(doc, "circle");
  ASSERT_EQ(circle.path().size(), 4u);
  EXPECT_EQ(cornersOf(circle), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_TRUE(pointIs(circle.path().segment(0).p, 70, -50));
  EXPECT_TRUE(sameColor(circle.style().fillColor, AIRGBColor{0, 0xFFFF, 0}));
  const Art& ellipse = named(doc, "ellipse");
  EXPECT_TRUE(ellipse.style().stroke);
  EXPECT_NEAR(ellipse.style().strokeWidth, mm, 1e-5);

  const Art& line = named(doc, "line");
  ASSERT_EQ(line.path().size(), 2u);
  EXPECT_FALSE(line.path().closed());
  EXPECT_TRUE(pointIs(line.path().segment(1).p, 96, 0));
  EXPECT_FALSE(named(doc, "polyline").path().closed());
  EXPECT_TRUE(named(doc, "polygon").path().closed());
  EXPECT_EQ(named(doc, "polygon").path().size(), 3u);
}

TEST(SvgImport, EveryPathCommand) {
  Document doc = openFixture("commands.svg");
  const Art& abs = named(doc, "absolute");
  const Art& rel = named(doc, "relative");
  // M L H V C S Q T A: nine command points, the half-circle arc split in two quarter turns.
  ASSERT_EQ(abs.path().size(), 10u);
  EXPECT_TRUE(abs.path().closed());
  EXPECT_EQ(abs.path(), rel.path());

  const PathGeometry& p = abs.path();
  EXPECT_TRUE(pointIs(p.segment(2).p, 20, 0));    // H 20
  EXPECT_TRUE(pointIs(p.segment(3).p, 20, -10));  // V 10
  // S reflects the previous control point through the anchor: a smooth point.
  EXPECT_TRUE(pointIs(p.segment(4).in, 30, -20));
  EXPECT_TRUE(pointIs(p.segment(4).out, 30, 0));
  EXPECT_EQ(p.segment(4).corner, 0);
  // Q becomes the exact cubic: controls two thirds of the way to the quadratic control point.
  EXPECT_TRUE(pointNear(p.segment(5).out, 40 + 20 / 3.f, -(10 + 20 / 3.f), 1e-5f));
  EXPECT_TRUE(pointNear(p.segment(6).in, 60 - 20 / 3.f, -(10 + 20 / 3.f), 1e-5f));
  // T reflects the quadratic control point (50,20) through (60,10) to (70,0).
  EXPECT_TRUE(pointNear(p.segment(6).out, 60 + 20 / 3.f, -(10 - 20 / 3.f), 1e-5f));
  // The arc: centre (90,10), radius 10, sweeping through (90,0) and ending exactly at (100,10).
  EXPECT_TRUE(pointNear(p.segment(8).p, 90, 0, 1e-4f));
  EXPECT_TRUE(pointIs(p.segment(9).p, 100, -10));
  EXPECT_EQ(p.segment(8).corner, 0);
  float k = 10 * 0.5522847f;
  EXPECT_TRUE(pointNear(p.segment(8).in, 90 - k, 0, 1e-3f));

  // A closed curve returning to its start keeps two anchors; the last curve's handle moves to 0.
  const Art& closed = named(doc, "closed-curve");
  ASSERT_EQ(closed.path().size(), 2u);
  EXPECT_TRUE(pointIs(closed.path().segment(0).in, 10, -10));
  EXPECT_TRUE(pointIs(closed.path().segment(0).out, 10, 10));

  const Art& two = named(doc, "two-subpaths");
  ASSERT_EQ(two.type(), ArtType::kCompoundPath);
  ASSERT_EQ(two.childCount(), 2u);
  EXPECT_EQ(two.child(0).path().size(), 3u);
  EXPECT_TRUE(two.child(1).style().evenOdd);
  EXPECT_EQ(named(doc, "single-point").path().size(), 1u);
}

TEST(SvgImport, TextFrames) {
  Document doc = openFixture("text.svg");
  ASSERT_EQ(doc.layerCount(), 1u);
  EXPECT_EQ(doc.layer(0).group().childCount(), 4u);  // nothing from defs

  const Art& label = named(doc, "label");
  EXPECT_EQ(label.text().type, TextFrameType::kPoint);
  EXPECT_EQ(label.text().contents, "Hello world");
  EXPECT_TRUE(pointIs(label.text().origin, 20, -30));
  EXPECT_EQ(label.textPath(), nullptr);

  const Art& curved = named(doc, "curved");
  EXPECT_EQ(curved.text().type, TextFrameType::kOnPath);
  EXPECT_EQ(curved.text().contents, "along the curve");
  ASSERT_NE(curved.textPath(), nullptr);
  EXPECT_EQ(curved.textPath()->path().size(), 2u);
  EXPECT_EQ(statesOf(*curved.textPath()), (std::vector<int>{1, 0}));

  const Art& area = named(doc, "area");
  EXPECT_EQ(area.text().type, TextFrameType::kArea);
  ASSERT_NE(area.textPath(), nullptr);
  EXPECT_TRUE(pointIs(area.textPath()->path().segment(0).p, 150, -10));

  const Art& flowed = named(doc, "flowed");
  EXPECT_EQ(flowed.text().type, TextFrameType::kArea);
  EXPECT_EQ(flowed.text().contents, "one\ntwo");
  EXPECT_EQ(flowed.textPath()->path().size(), 4u);
}

TEST(SvgImport, PluginArtCompoundsAttributesAndArtboards) {
  Document doc = openFixture("objects.svg");
  ASSERT_EQ(doc.artboardCount(), 2u);
  EXPECT_EQ(doc.activeArtboard(), 1u);
  EXPECT_EQ(doc.artboard(1).name, "Side");
  EXPECT_TRUE(sameRect(doc.artboard(1).bounds, AIRealRect{120, 0, 170, -50}));
  EXPECT_TRUE(pointIs(doc.artboard(1).rulerOrigin, 5, -5));

  const Art& effect = named(doc, "effect");
  EXPECT_EQ(effect.type(), ArtType::kPluginArt);
  EXPECT_EQ(effect.pluginGroup(), "Spindlequiver Effect");
  EXPECT_TRUE(effect.selected());
  ASSERT_NE(effect.pluginResult(), nullptr);
  EXPECT_EQ(effect.pluginResult()->childCount(), 2u);

  const Art& donut = named(doc, "donut");
  ASSERT_EQ(donut.type(), ArtType::kCompoundPath);
  EXPECT_EQ(statesOf(donut.child(0)), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(statesOf(donut.child(1)), (std::vector<int>{1, 1, 0, 0}));
  EXPECT_EQ(named(doc, "lone-compound").type(), ArtType::kCompoundPath);
  EXPECT_EQ(named(doc, "lone-compound").childCount(), 1u);

  const Art& locked = named(doc, "locked-group");
  EXPECT_TRUE(locked.locked() && locked.selected() && !locked.hidden());
  EXPECT_TRUE(named(doc, "hidden-path").hidden());
  EXPECT_EQ(statesOf(named(doc, "whole")), (std::vector<int>{1, 1, 1}));

  // use: a group holding a copy of the circle, placed at x, y.
  const Art& top = doc.layer(0).group();
  const Art& used = top.child(1);
  ASSERT_EQ(used.type(), ArtType::kGroup);
  ASSERT_EQ(used.childCount(), 1u);
  EXPECT_TRUE(pointIs(used.child(0).path().segment(0).p, 62, -60));
  EXPECT_EQ(used.child(0).name(), "");  // the copy does not repeat the id "dot"
  // A nested svg maps its viewBox onto its viewport.
  const Art& nested = named(doc, "nested");
  EXPECT_TRUE(pointIs(nested.path().segment(0).p, 70, -70));
  EXPECT_TRUE(pointIs(nested.path().segment(2).p, 90, -90));
}

}  // namespace
}  // namespace sqhost
