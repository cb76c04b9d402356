// Hit testing over real documents: anchors, shown handles, curves, tolerance, order and scope.
#include "hittest/hit_test.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

#include "svg/svg_io.hpp"

namespace sqhost {
namespace {

const Art* findNamed(const Art& art, std::string_view name) {
  if (art.name() == name) return &art;
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    if (const Art* found = findNamed(art.child(i), name)) return found;
  }
  return nullptr;
}

const Art& named(const Document& doc, std::string_view name) {
  for (std::size_t i = 0; i < doc.layerCount(); ++i) {
    if (const Art* found = findNamed(doc.layer(i).group(), name)) return *found;
  }
  ADD_FAILURE() << "no art named " << name;
  return doc.layer(0).group();
}

Document load(const std::string& body) {
  const std::string text =
      "<svg xmlns='http://www.w3.org/2000/svg' xmlns:sq='urn:spindlequiver:host' "
      "xmlns:xlink='http://www.w3.org/1999/xlink' "
      "xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape' "
      "xmlns:sodipodi='http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd' "
      "viewBox='0 0 400 400'>" +
      body + "</svg>";
  svg::ImportResult r = svg::importSvg(text);
  EXPECT_TRUE(r.ok()) << r.error;
  return r.ok() ? std::move(*r.document) : Document::makeNew();
}

View viewAt(float zoom) {
  View v;
  v.zoom = zoom;
  return v;
}

// Artwork point of SVG user coordinates (v = -y).
AIRealPoint at(float x, float y) {
  return {x, -y};
}

std::optional<HitResult> hit(const Document& doc, AIRealPoint p, float zoom = 1,
                             ArtId within = kNoId) {
  return hitTest(doc, viewAt(zoom), HitRequest{p, 6, within});
}

// A middle anchor at (100, 0) whose handles stand 40 away from every curve point nearer than 17.
const char* kHandles =
    "<path id='p' d='M 0 0 C 0 0 100 -40 100 0 C 100 40 200 0 200 0' sq:selection='%s'/>";

std::string withStates(const char* states) {
  std::string s = kHandles;
  return s.replace(s.find("%s"), 2, states);
}

// How far along a straight segment with retracted handles the point of parameter t lies.
double lineFraction(double t) {
  return 3 * t * t - 2 * t * t * t;
}

TEST(HitTest, AnchorsWinOverCurvesAndReportTheirSegment) {
  const Document doc = load("<path id='p' d='M 0 0 L 100 0 L 100 100'/>");
  const Art& p = named(doc, "p");
  auto h = hit(doc, at(98, 3));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->part, HitPart::kAnchor);
  EXPECT_EQ(h->art, p.id());
  EXPECT_EQ(h->segment, 1u);
  EXPECT_EQ(h->point.h, 100);
  EXPECT_EQ(h->point.v, 0);
  EXPECT_EQ(h->parameter, 0);

  // Away from anchors the curve is hit; its index is the anchor it ends at.
  h = hit(doc, at(102, 60));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->part, HitPart::kSegment);
  EXPECT_EQ(h->segment, 2u);
  // A straight segment has retracted handles, so the parameter is not proportional to length.
  EXPECT_NEAR(lineFraction(h->parameter), 0.6, 1e-5);
  EXPECT_NEAR(h->point.h, 100, 1e-4);
  EXPECT_NEAR(h->point.v, -60, 1e-4);

  EXPECT_FALSE(hit(doc, at(50, 20)));
}

TEST(HitTest, ClosingCurveHasIndexZero) {
  const Document doc = load("<path d='M 0 0 L 100 0 L 100 100 Z'/>");
  const auto h = hit(doc, at(25, 25));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->part, HitPart::kSegment);
  EXPECT_EQ(h->segment, 0u);
  // The closing curve runs from the last anchor (100, 100) to anchor 0.
  EXPECT_NEAR(lineFraction(h->parameter), 0.75, 1e-5);
}

TEST(HitTest, HandlesOnlyWhereShown) {
  const AIRealPoint in = at(100, -40);
  const AIRealPoint out = at(100, 40);
  struct Case {
    const char* states;
    bool inShown;
    bool outShown;
  };
  const Case cases[] = {
      {"0 0 0", false, false}, {"0 2 0", true, false}, {"0 3 0", false, true},
      {"0 4 0", true, true},   {"0 1 0", true, true},  {"1 1 0", false, false},
  };
  for (const Case& c : cases) {
    const Document doc = load(withStates(c.states));
    const auto hi = hit(doc, in);
    const auto ho = hit(doc, out);
    EXPECT_EQ(hi && hi->part == HitPart::kInHandle, c.inShown) << c.states;
    EXPECT_EQ(ho && ho->part == HitPart::kOutHandle, c.outShown) << c.states;
    if (hi && c.inShown) {
      EXPECT_EQ(hi->segment, 1u);
      EXPECT_EQ(hi->point.h, in.h);
      EXPECT_EQ(hi->point.v, in.v);
    }
  }
  // A retracted handle is never hit as a handle: the anchor is.
  const Document retracted = load("<path d='M 0 0 L 100 0' sq:selection='1 0'/>");
  const auto h = hit(retracted, at(1, 0));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->part, HitPart::kAnchor);
}

TEST(HitTest, CurveParameterIsTheNearestPoint) {
  const Document doc = load("<path id='c' d='M 0 0 C 40 -120 160 160 200 0'/>");
  const AIRealBezier b = named(doc, "c").path().bezier(0);
  auto point = [&](double t) {
    const double u = 1 - t;
    return std::pair{
        u * u * u * b.p0.h + 3 * u * u * t * b.p1.h + 3 * u * t * t * b.p2.h + t * t * t * b.p3.h,
        u * u * u * b.p0.v + 3 * u * u * t * b.p1.v + 3 * u * t * t * b.p2.v + t * t * t * b.p3.v};
  };
  for (double s : {0.05, 0.2, 0.37, 0.5, 0.64, 0.81, 0.97}) {
    // A point 3 units off the curve, beside the sample.
    const auto [ch, cv] = point(s);
    const AIRealPoint q{static_cast<float>(ch + 2), static_cast<float>(cv - 2)};
    double bestT = 0, best = INFINITY;
    for (int i = 0; i <= 20000; ++i) {
      const double t = i / 20000.0;
      const auto [h, v] = point(t);
      const double d = std::hypot(h - q.h, v - q.v);
      if (d < best) best = d, bestT = t;
    }
    const auto h = hit(doc, q);
    ASSERT_TRUE(h) << s;
    ASSERT_EQ(h->part, HitPart::kSegment);
    EXPECT_NEAR(h->parameter, bestT, 1e-3) << s;
    EXPECT_NEAR(std::hypot(h->point.h - q.h, h->point.v - q.v), best, 1e-3) << s;
    EXPECT_GE(h->parameter, 0);
    EXPECT_LE(h->parameter, 1);
  }
}

TEST(HitTest, ToleranceScalesWithZoom) {
  const Document doc = load("<path d='M 0 0 L 100 0'/>");
  // 5 units below the start: within 6 pixels at zoom 1, not at zoom 2 (3 units).
  EXPECT_TRUE(hit(doc, at(-5, 0), 1));
  EXPECT_FALSE(hit(doc, at(-5, 0), 2));
  EXPECT_TRUE(hit(doc, at(-2.5f, 0), 2));
  EXPECT_TRUE(hit(doc, at(-40, 0), 0.125f));
  EXPECT_FALSE(hit(doc, at(-50, 0), 0.125f));
  // The pixel tolerance itself.
  EXPECT_FALSE(hitTest(doc, viewAt(1), HitRequest{at(-5, 0), 4, kNoId}));
}

TEST(HitTest, LockedAndHiddenArtIsNeverHit) {
  const Document doc = load(
      "<g inkscape:groupmode='layer' inkscape:label='below'>"
      "  <path id='base' d='M 0 0 L 100 0'/></g>"
      "<g inkscape:groupmode='layer' inkscape:label='above'>"
      "  <path id='locked' d='M 0 0 L 100 0' sq:locked='1' sq:selection='1 1'/>"
      "  <path id='hidden' d='M 0 0 L 100 0' sq:hidden='1'/>"
      "  <g sq:locked='1'><path id='inLockedGroup' d='M 0 0 L 100 0'/></g>"
      "  <g style='display:none'><path id='inHiddenGroup' d='M 0 0 L 100 0'/></g></g>"
      "<g inkscape:groupmode='layer' inkscape:label='locked' sodipodi:insensitive='true'>"
      "  <path id='onLockedLayer' d='M 0 0 L 100 0'/></g>"
      "<g inkscape:groupmode='layer' inkscape:label='hidden' style='display:none'>"
      "  <path id='onHiddenLayer' d='M 0 0 L 100 0'/></g>");
  const ArtId base = named(doc, "base").id();
  for (AIRealPoint p : {at(0, 0), at(50, 1)}) {
    const auto h = hit(doc, p);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->art, base);
  }
  for (const char* name : {"locked", "hidden", "inLockedGroup", "onLockedLayer", "onHiddenLayer"}) {
    EXPECT_FALSE(hit(doc, at(0, 0), 1, named(doc, name).id())) << name;
  }
}

TEST(HitTest, TopmostObjectFirstAndPointsBeforeCurves) {
  // The later element is on top. Its anchor is farther than the lower path's, yet it wins.
  const Document doc = load(
      "<path id='lower' d='M 0 0 L 100 0'/>"
      "<path id='upper' d='M 4 0 L 4 100'/>"
      "<path id='curveOnly' d='M -50 -1 L 50 -1'/>");
  auto h = hit(doc, at(1, 0));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->art, named(doc, "upper").id());
  EXPECT_EQ(h->part, HitPart::kAnchor);
  // The topmost path's curve passes closer, but a lower path's anchor in reach comes first.
  h = hit(doc, at(98, -0.5f));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->art, named(doc, "lower").id());
  EXPECT_EQ(h->part, HitPart::kAnchor);
  // With no point in reach, the topmost curve.
  h = hit(doc, at(30, 0));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->art, named(doc, "curveOnly").id());
  EXPECT_EQ(h->part, HitPart::kSegment);
}

TEST(HitTest, RestrictedScopeAndReportedArt) {
  const Document doc = load(
      "<defs><path id='base' d='M 0 200 L 200 200'/></defs>"
      "<path id='lower' d='M 0 0 L 100 0'/>"
      "<path id='upper' d='M 0 0 L 0 100'/>"
      "<text id='onPath'><textPath xlink:href='#base'>along</textPath></text>"
      "<g id='effect' sq:plugin-art='Effect'><path id='result' d='M 300 0 L 300 100'/></g>"
      "<g id='group'><path id='inGroup' d='M 300 300 L 350 300'/></g>");
  EXPECT_EQ(hit(doc, at(0, 0), 1, named(doc, "lower").id())->art, named(doc, "lower").id());
  EXPECT_EQ(hit(doc, at(0, 0))->art, named(doc, "upper").id());
  EXPECT_FALSE(hit(doc, at(300, 50), 1, named(doc, "lower").id()));

  const Art& frame = named(doc, "onPath");
  const Art& framePath = *frame.textPath();
  auto h = hit(doc, at(100, 200));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->art, frame.id());
  EXPECT_EQ(h->path, framePath.id());
  EXPECT_EQ(hit(doc, at(100, 200), 1, frame.id())->art, frame.id());
  EXPECT_EQ(hit(doc, at(100, 200), 1, framePath.id())->art, framePath.id());

  h = hit(doc, at(300, 50));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->art, named(doc, "effect").id());
  EXPECT_EQ(h->path, named(doc, "result").id());
  EXPECT_EQ(hit(doc, at(310, 300), 1, named(doc, "group").id())->art, named(doc, "inGroup").id());
}

}  // namespace
}  // namespace sqhost
