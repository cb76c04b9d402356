// The view, hit test, cursor snap and annotation-invalidation suites as a plug-in calls them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <random>

#include "app/events.hpp"
#include "app/host.hpp"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "svg/svg_io.hpp"

namespace {

class ViewSuites : public ::testing::Test {
 protected:
  void SetUp() override {
    prefs_ = std::filesystem::temp_directory_path() /
             ("sq-views-" + std::to_string(std::random_device{}()) + ".json");
    sqhost::HostOptions options;
    options.pluginPath = SQ_PLUGIN_PATH;
    options.preferenceFile = prefs_;
    host_ = std::make_unique<sqhost::Host>(options);
    acquire(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, views);
    acquire(kAIHitTestSuite, kAIHitTestSuiteVersion, hits);
    acquire(kAICursorSnapSuite, kAICursorSnapSuiteVersion, snap);
    acquire(kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, annotator);
  }
  void TearDown() override {
    host_.reset();
    std::filesystem::remove(prefs_);
  }

  template <typename Suite>
  void acquire(const char* name, int32_t version, const Suite*& out) {
    const void* table = nullptr;
    ASSERT_EQ(host_->basicSuite()->AcquireSuite(name, version, &table), kNoErr) << name;
    out = static_cast<const Suite*>(table);
  }

  // Opens a 400 x 400 document whose body is SVG content (artwork v = -y).
  sqhost::Document& open(const std::string& body) {
    auto r = sqhost::svg::importSvg(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 400 400'>" + body + "</svg>");
    EXPECT_TRUE(r.ok()) << r.error;
    return host_->openDocument(std::move(*r.document));
  }

  AIDocumentViewHandle front() {
    AIDocumentViewHandle v = nullptr;
    EXPECT_EQ(views->GetNthDocumentView(0, &v), kNoErr);
    return v;
  }

  sqhost::Host& host() { return *host_; }

  const AIDocumentViewSuite* views = nullptr;
  const AIHitTestSuite* hits = nullptr;
  const AICursorSnapSuite* snap = nullptr;
  const AIAnnotatorSuite* annotator = nullptr;

 private:
  std::filesystem::path prefs_;
  std::unique_ptr<sqhost::Host> host_;
};

TEST_F(ViewSuites, ViewsAreNumberedFromTheFront) {
  int32_t count = -1;
  AIDocumentViewHandle v = nullptr;
  EXPECT_EQ(views->CountDocumentViews(&count), kNoDocumentErr);
  EXPECT_EQ(views->GetNthDocumentView(0, &v), kNoDocumentErr);

  sqhost::Document& doc = open("<path d='M 0 0 L 10 10'/>");
  const AIDocumentViewHandle first = front();
  host().views().open(doc);  // a second view, now in front
  EXPECT_EQ(views->CountDocumentViews(&count), kNoErr);
  EXPECT_EQ(count, 2);
  AIDocumentViewHandle v0 = nullptr, v1 = nullptr, v2 = nullptr;
  EXPECT_EQ(views->GetNthDocumentView(0, &v0), kNoErr);
  EXPECT_EQ(views->GetNthDocumentView(1, &v1), kNoErr);
  EXPECT_EQ(views->GetNthDocumentView(2, &v2), kNoErr);
  EXPECT_EQ(v0, v1);
  EXPECT_NE(v0, first);
  EXPECT_EQ(v2, first);
  v = nullptr;
  EXPECT_EQ(views->GetNthDocumentView(3, &v), kOutOfRangeErr);
  EXPECT_EQ(views->GetNthDocumentView(-1, &v), kOutOfRangeErr);
  EXPECT_EQ(v, nullptr);
}

TEST_F(ViewSuites, ZoomScrollAndBounds) {
  open("");
  const AIDocumentViewHandle v = front();
  sqhost::View& view = *host().views().fromHandle(v);
  AIRealPoint center{};
  ASSERT_EQ(views->GetDocumentViewCenter(v, &center), kNoErr);

  // A change asks for a full repaint at the next paint; a refused one does not.
  view.needsFullRepaint = false;
  EXPECT_EQ(views->SetDocumentViewZoom(v, 100), kBadParameterErr);
  EXPECT_EQ(views->SetDocumentViewZoom(v, 0), kBadParameterErr);
  EXPECT_EQ(views->SetDocumentViewZoom(v, std::numeric_limits<float>::quiet_NaN()), kNonFiniteErr);
  EXPECT_FALSE(view.needsFullRepaint);
  ASSERT_EQ(views->SetDocumentViewZoom(v, 4), kNoErr);
  AIReal zoom = 0;
  EXPECT_EQ(views->GetDocumentViewZoom(v, &zoom), kNoErr);
  EXPECT_EQ(zoom, 4);
  AIRealPoint after{};
  EXPECT_EQ(views->GetDocumentViewCenter(v, &after), kNoErr);
  EXPECT_EQ(after.h, center.h);
  EXPECT_EQ(after.v, center.v);
  EXPECT_TRUE(view.needsFullRepaint);

  const AIRealPoint target{100, -50};
  view.needsFullRepaint = false;
  ASSERT_EQ(views->SetDocumentViewCenter(v, &target), kNoErr);
  EXPECT_TRUE(view.needsFullRepaint);
  const AIRealPoint bad{std::numeric_limits<float>::infinity(), 0};
  EXPECT_EQ(views->SetDocumentViewCenter(v, &bad), kNonFiniteErr);

  // The bounds' bottom-right corner is the view's size in pixels; the centre maps to the middle.
  AIRealRect bounds{};
  ASSERT_EQ(views->GetDocumentViewBounds(v, &bounds), kNoErr);
  const AIRealPoint corner{bounds.right, bounds.bottom};
  AIPoint px{};
  ASSERT_EQ(views->ArtworkPointToViewPoint(v, &corner, &px), kNoErr);
  EXPECT_EQ(px.h, view.width);
  EXPECT_EQ(px.v, view.height);
  ASSERT_EQ(views->ArtworkPointToViewPoint(v, &target, &px), kNoErr);
  EXPECT_EQ(px.h, view.width / 2);
  EXPECT_EQ(px.v, view.height / 2);
  const AIRealPoint far{1e30f, 0};
  EXPECT_EQ(views->ArtworkPointToViewPoint(v, &far, &px), kBadParameterErr);
  EXPECT_EQ(views->ArtworkPointToViewPoint(v, &bad, &px), kNonFiniteErr);

  const auto stale = reinterpret_cast<AIDocumentViewHandle>(uintptr_t{0xDEAD});
  EXPECT_EQ(views->GetDocumentViewZoom(stale, &zoom), kBadHandleErr);
}

TEST_F(ViewSuites, ArtworkAndViewPointsRoundTrip) {
  open("");
  const AIDocumentViewHandle v = front();
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(-8000, 8000);
  std::uniform_int_distribution<int32_t> pixel(-5000, 5000);
  for (float zoom : {0.03125f, 0.3f, 1.0f, 2.5f, 64.0f}) {
    ASSERT_EQ(views->SetDocumentViewZoom(v, zoom), kNoErr);
    const AIRealPoint center{coord(rng) / 4, coord(rng) / 4};
    ASSERT_EQ(views->SetDocumentViewCenter(v, &center), kNoErr);
    for (int i = 0; i < 200; ++i) {
      const AIRealPoint p{center.h + coord(rng) / zoom / 64, center.v + coord(rng) / zoom / 64};
      AIPoint q{};
      AIRealPoint back{};
      ASSERT_EQ(views->ArtworkPointToViewPoint(v, &p, &q), kNoErr);
      ASSERT_EQ(views->ViewPointToArtworkPoint(v, &q, &back), kNoErr);
      EXPECT_LE(std::abs(back.h - p.h) * zoom, 0.5 + 1e-3) << zoom;
      EXPECT_LE(std::abs(back.v - p.v) * zoom, 0.5 + 1e-3) << zoom;

      const AIPoint r{pixel(rng), pixel(rng)};
      AIRealPoint a{};
      AIPoint again{};
      ASSERT_EQ(views->ViewPointToArtworkPoint(v, &r, &a), kNoErr);
      ASSERT_EQ(views->ArtworkPointToViewPoint(v, &a, &again), kNoErr);
      EXPECT_EQ(again.h, r.h) << zoom;
      EXPECT_EQ(again.v, r.v) << zoom;
    }
  }
}

TEST_F(ViewSuites, HitReferences) {
  AIHitRef ref = reinterpret_cast<AIHitRef>(uintptr_t{1});
  const AIRealPoint p{-5, 0};
  EXPECT_EQ(hits->HitTest(nullptr, &p, kAIHitRequestAll, &ref), kNoDocumentErr);
  EXPECT_EQ(ref, nullptr);

  open("<path d='M 0 0 L 100 0'/>");
  ASSERT_EQ(views->SetDocumentViewZoom(front(), 1), kNoErr);
  EXPECT_EQ(hits->HitTest(nullptr, &p, 7, &ref), kBadParameterErr);
  const AIRealPoint nan{std::numeric_limits<float>::quiet_NaN(), 0};
  EXPECT_EQ(hits->HitTest(nullptr, &nan, kAIHitRequestAll, &ref), kNonFiniteErr);
  const auto stale = reinterpret_cast<AIArtHandle>(uintptr_t{0xDEAD});
  EXPECT_EQ(hits->HitTest(stale, &p, kAIHitRequestArt, &ref), kBadHandleErr);
  EXPECT_EQ(ref, nullptr);

  ASSERT_EQ(hits->HitTest(nullptr, &p, kAIHitRequestAll, &ref), kNoErr);
  AIBoolean isHit = 0;
  int32_t type = -1, index = -1;
  AIArtHandle art = nullptr;
  EXPECT_EQ(hits->IsHit(ref, &isHit), kNoErr);
  EXPECT_TRUE(isHit);
  EXPECT_EQ(hits->GetHitType(ref, &type), kNoErr);
  EXPECT_EQ(type, kAIHitAnchor);
  EXPECT_EQ(hits->GetHitSegmentIndex(ref, &index), kNoErr);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(hits->GetHitArt(ref, &art), kNoErr);
  EXPECT_NE(art, nullptr);
  EXPECT_EQ(hits->ReleaseHit(ref), kNoErr);
  EXPECT_EQ(hits->ReleaseHit(ref), kBadHandleErr);
  EXPECT_EQ(hits->ReleaseHit(nullptr), kNoErr);

  // The tolerance comes from "selectionTolerance": 3 pixels no longer reach 5 units away.
  host().preferences().putInteger("", "selectionTolerance", 3);
  ASSERT_EQ(hits->HitTest(art, &p, kAIHitRequestArt, &ref), kNoErr);
  EXPECT_EQ(hits->IsHit(ref, &isHit), kNoErr);
  EXPECT_FALSE(isHit);
  type = -1;
  EXPECT_EQ(hits->GetHitType(ref, &type), kBadParameterErr);
  EXPECT_EQ(type, -1);
  EXPECT_EQ(hits->ReleaseHit(ref), kNoErr);
}

TEST_F(ViewSuites, SnappingToAnchorsAndConstraints) {
  open("<path d='M 0 0 L 100 0'/>");
  const AIDocumentViewHandle v = front();
  ASSERT_EQ(views->SetDocumentViewZoom(v, 1), kNoErr);
  const AIRealPoint nearAnchor{103, 2};
  AIRealPoint out{};
  auto track = [&](const AIRealPoint& c, const char* control) {
    EXPECT_EQ(snap->Track(v, &c, nullptr, control, &out), kNoErr);
    return out;
  };

  AIBoolean on = 1;
  EXPECT_EQ(snap->UseSmartTargeting(v, &on), kNoErr);
  EXPECT_EQ(on, 0);
  EXPECT_EQ(track(nearAnchor, kAISnapControlHover).h, 103);  // smart guides off
  ASSERT_EQ(snap->SetSmartTargeting(v, 1), kNoErr);
  EXPECT_EQ(track(nearAnchor, kAISnapControlHover).h, 100);
  EXPECT_EQ(track(nearAnchor, kAISnapControlHover).v, 0);
  EXPECT_EQ(track({108, 0}, kAISnapControlHover).h, 108);  // beyond 6 pixels
  EXPECT_EQ(track(nearAnchor, "").h, 103);
  ASSERT_EQ(views->SetDocumentViewZoom(v, 4), kNoErr);  // 1.5 units at zoom 4
  EXPECT_EQ(track(nearAnchor, kAISnapControlHover).h, 103);
  ASSERT_EQ(views->SetDocumentViewZoom(v, 1), kNoErr);

  // A hard constraint at 15 degrees relative to a constrain angle of 30: the 45-degree line.
  host().preferences().putReal("", "constrain/angle", 30);
  const AICursorConstraint hard{kAILinearConstraintRelative, 0, {200, 200}, 15, "anchor"};
  ASSERT_EQ(snap->SetCustomConstraints(&hard, 1), kNoErr);
  out = track({210, 230}, kAISnapControlConstrained);
  EXPECT_NEAR(out.h, 220, 1e-3);
  EXPECT_NEAR(out.v, 220, 1e-3);
  // Hard constraints come before anchors; without 'T' they have no effect.
  EXPECT_NEAR(track(nearAnchor, kAISnapControlConstrained).h, 52.5, 1e-3);
  EXPECT_EQ(track({210, 230}, kAISnapControlHover).h, 210);

  // Soft constraints attract only within the tolerance, and after anchors.
  const AICursorConstraint soft[] = {
      {kAILinearConstraintRelative, kAISoftConstraintFlag, {0, 300}, -30, "origin 0\xB0"},
      {kAILinearConstraintRelative, kAISoftConstraintFlag, {0, 300}, 60, nullptr}};
  ASSERT_EQ(snap->SetCustomConstraints(soft, 2), kNoErr);
  EXPECT_NEAR(track({50, 304}, kAISnapControlDrag).v, 300, 1e-3);
  EXPECT_EQ(track({50, 310}, kAISnapControlDrag).v, 310);
  EXPECT_EQ(track(nearAnchor, kAISnapControlDrag).h, 100);

  // Refused constraints leave the previous ones in force.
  const AICursorConstraint badKind{1, 0, {0, 0}, 0, nullptr};
  const AICursorConstraint badAngle{kAILinearConstraintRelative, 0, {0, 0}, INFINITY, nullptr};
  EXPECT_EQ(snap->SetCustomConstraints(&badKind, 1), kBadParameterErr);
  EXPECT_EQ(snap->SetCustomConstraints(&badAngle, 1), kNonFiniteErr);
  EXPECT_NEAR(track({50, 304}, kAISnapControlDrag).v, 300, 1e-3);

  // Cleared explicitly, or by choosing another tool.
  EXPECT_EQ(snap->ClearCustomConstraints(), kNoErr);
  EXPECT_EQ(track({50, 304}, kAISnapControlDrag).v, 304);
  ASSERT_EQ(snap->SetCustomConstraints(soft, 2), kNoErr);
  sqhost::ToolRecord tool;
  tool.name = "Other";
  tool.builtIn = true;
  host().registrations().setCurrentTool(&host().registrations().addTool(tool));
  EXPECT_EQ(track({50, 304}, kAISnapControlDrag).v, 304);

  const AIRealPoint nan{NAN, 0};
  EXPECT_EQ(snap->Track(v, &nan, nullptr, "A", &out), kNonFiniteErr);
  EXPECT_EQ(snap->Track(nullptr, &nearAnchor, nullptr, "A", &out), kBadParameterErr);
}

TEST_F(ViewSuites, TheGridSnapsAfterAnchorsAndConstraints) {
  open("<path d='M 0 0 L 100 0'/>");
  const AIDocumentViewHandle v = front();
  ASSERT_EQ(views->SetDocumentViewZoom(v, 1), kNoErr);
  AIRealPoint out{};
  auto track = [&](const AIRealPoint& c, const char* control) {
    EXPECT_EQ(snap->Track(v, &c, nullptr, control, &out), kNoErr);
    return out;
  };
  host().preferences().putReal("", "grid/spacing", 10);
  EXPECT_EQ(track({13, -26}, kAISnapControlDrag).h, 13);  // snap-to-grid off
  ASSERT_EQ(views->SetDocumentViewGridOptions(v, 1, 1), kNoErr);
  for (const char* control : {kAISnapControlHover, kAISnapControlConstrained, kAISnapControlDrag}) {
    const AIRealPoint g = track({13, -26}, control);
    EXPECT_EQ(g.h, 10) << control;
    EXPECT_EQ(g.v, -30) << control;
  }
  EXPECT_EQ(track({13, -26}, "").h, 13);  // an empty control string never snaps
  // An anchor within the tolerance comes first with smart guides on, a hard constraint always.
  ASSERT_EQ(snap->SetSmartTargeting(v, 1), kNoErr);
  EXPECT_EQ(track({98, 3}, kAISnapControlDrag).h, 100);
  const AICursorConstraint hard{kAILinearConstraintRelative, 0, {0, 0}, 90, nullptr};
  ASSERT_EQ(snap->SetCustomConstraints(&hard, 1), kNoErr);
  out = track({13, -26}, kAISnapControlConstrained);
  EXPECT_NEAR(out.h, 0, 1e-4);
  EXPECT_EQ(out.v, -26);
  // Far from the origin the grid point stays exact (multiples of the spacing, not sums).
  ASSERT_EQ(snap->ClearCustomConstraints(), kNoErr);
  host().preferences().putReal("", "grid/spacing", 0.5);
  EXPECT_EQ(track({100000.3f, -4.2f}, kAISnapControlDrag).h, 100000.5f);
}

TEST_F(ViewSuites, ConstraintsLastUntilClearedOrTheToolChanges) {
  open("");
  const AIDocumentViewHandle v = front();
  AIRealPoint out{};
  auto snappedV = [&] {
    const AIRealPoint c{50, 304};
    EXPECT_EQ(snap->Track(v, &c, nullptr, kAISnapControlDrag, &out), kNoErr);
    return out.v;
  };
  auto& tools = host().registrations();
  sqhost::ToolRecord record;
  record.name = "Stand-in";
  record.builtIn = true;
  sqhost::ToolRecord& stand = tools.addTool(record);
  record.name = "Another";
  sqhost::ToolRecord& another = tools.addTool(record);
  tools.setCurrentTool(&stand);
  const AICursorConstraint soft{
      kAILinearConstraintRelative, kAISoftConstraintFlag, {0, 300}, 0, "origin 0\xB0"};
  ASSERT_EQ(snap->SetCustomConstraints(&soft, 1), kNoErr);

  // A whole gesture leaves them in force: only the tool clears them.
  for (auto kind : {sqhost::Event::Kind::MouseDown, sqhost::Event::Kind::MouseDrag,
                    sqhost::Event::Kind::MouseUp}) {
    sqhost::Event e;
    e.kind = kind;
    e.point = {10, 10};
    ASSERT_TRUE(host().handleEvent(e));
  }
  EXPECT_NEAR(snappedV(), 300, 1e-4);
  // Choosing the same tool again changes nothing; another tool drops them, for good.
  tools.setCurrentTool(&stand);
  EXPECT_NEAR(snappedV(), 300, 1e-4);
  tools.setCurrentTool(&another);
  EXPECT_EQ(snappedV(), 304);
  tools.setCurrentTool(&stand);
  EXPECT_EQ(snappedV(), 304);
}

TEST_F(ViewSuites, TheSnappingFeedbackNamesTheConstraintThatSnapped) {
  open("<path d='M 0 0 L 100 0'/>");
  const AIDocumentViewHandle v = front();
  const sqhost::View& view = *host().views().fromHandle(v);
  ASSERT_EQ(views->SetDocumentViewZoom(v, 1), kNoErr);
  AIRealPoint out{};
  auto track = [&](const AIRealPoint& c) {
    EXPECT_EQ(snap->Track(v, &c, nullptr, kAISnapControlDrag, &out), kNoErr);
    return view.snapLabel;
  };
  const AICursorConstraint lines[] = {
      {kAILinearConstraintRelative, kAISoftConstraintFlag, {0, 300}, 0, "origin 0\xB0"},
      {kAILinearConstraintRelative, kAISoftConstraintFlag, {0, 300}, 90, "\x80 \x81"},
      {kAILinearConstraintRelative, kAISoftConstraintFlag, {200, 300}, 90, nullptr}};
  ASSERT_EQ(snap->SetCustomConstraints(lines, 3), kNoErr);
  EXPECT_EQ(track({50, 304}), "");  // smart guides off: no feedback, though the cursor snaps
  EXPECT_NEAR(out.v, 300, 1e-4);
  ASSERT_EQ(snap->SetSmartTargeting(v, 1), kNoErr);
  EXPECT_EQ(track({50, 304}), "origin 0\u00B0");  // Windows-1252 shown as UTF-8
  EXPECT_EQ(track({2, 250}), "\u20AC \uFFFD");
  EXPECT_EQ(track({202, 250}), "");  // a constraint without a label
  EXPECT_EQ(track({50, 250}), "");   // nothing snapped
  EXPECT_EQ(track({98, 1}), "");     // an anchor snapped
  const AICursorConstraint hard{kAILinearConstraintRelative, 0, {0, 0}, 45, "anchor"};
  ASSERT_EQ(snap->SetCustomConstraints(&hard, 1), kNoErr);
  EXPECT_EQ(track({98, 1}), "anchor");
}

TEST_F(ViewSuites, AnnotationRectanglesAreClippedToTheView) {
  const AIRect r{10, 10, 20, 20};
  EXPECT_EQ(annotator->InvalAnnotationRect(nullptr, &r), kBadHandleErr);
  open("");
  const AIDocumentViewHandle v = front();
  sqhost::View& view = *host().views().fromHandle(v);
  view.dirty.clear();
  const AIRect partly{-10, view.height - 5, 30, view.height + 50};
  const AIRect empty{5, 5, 5, 50};
  EXPECT_EQ(annotator->InvalAnnotationRect(v, &partly), kNoErr);
  EXPECT_EQ(annotator->InvalAnnotationRect(v, &empty), kNoErr);
  EXPECT_EQ(annotator->InvalAnnotationRect(v, nullptr), kBadParameterErr);
  ASSERT_EQ(view.dirty.size(), 1u);
  EXPECT_EQ(view.dirty[0].left, 0);
  EXPECT_EQ(view.dirty[0].top, view.height - 5);
  EXPECT_EQ(view.dirty[0].right, 30);
  EXPECT_EQ(view.dirty[0].bottom, view.height);
}

}  // namespace
