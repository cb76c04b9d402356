// The path suite (segments, limits, reversal, selection states) with style, layer and user suites,
// undo of suite edits and the selection notification they cause.
#include <cmath>
#include <limits>

#include "document/path_geometry.hpp"
#include "sqsdk/suites/ai_document.h"
#include "suites/art_suites_fixture.hpp"

namespace sqtest {
namespace {

const char* kDocument = R"svg(
  <g inkscape:groupmode="layer" inkscape:label="Hidden" style="display:none">
    <path id="off" d="M 0 0 L 1 1"/>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="Main">
    <path id="compound" d="M 0 0 L 9 0 L 9 9 Z M 2 2 L 4 2 L 4 4 Z" style="fill:#ff0000"/>
    <path id="tri" d="M 0 0 C 10 0 20 10 20 20 L 0 20 Z" sq:selection="2 3 0"/>
    <path id="open" d="M 0 0 L 10 0 L 20 0 L 30 0" sq:selection="0 1 0 0"/>
  </g>)svg";

std::vector<AIPathSegment> read(const AIPathSuite* paths, AIArtHandle h) {
  int32_t n = 0;
  paths->GetPathSegmentCount(h, &n);
  std::vector<AIPathSegment> out(static_cast<std::size_t>(n));
  EXPECT_EQ(paths->GetPathSegments(h, 0, n, out.data()), kNoErr);
  return out;
}

std::vector<float> anchorsH(const std::vector<AIPathSegment>& segments) {
  std::vector<float> out;
  for (const auto& s : segments) out.push_back(s.p.h);
  return out;
}

TEST_F(ArtSuitesTest, SegmentsAreReadWrittenInsertedAndDeleted) {
  open(kDocument);
  const AIArtHandle open = named("open");
  AIPathSegment s[2] = {corner(5, 1), corner(15, 1)};
  s[0].corner = 7;  // stored as 1
  EXPECT_EQ(paths->InsertPathSegments(open, 1, 2, s), kNoErr);
  EXPECT_EQ(anchorsH(read(paths, open)), (std::vector<float>{0, 5, 15, 10, 20, 30}));
  EXPECT_EQ(read(paths, open)[1].corner, 1);
  EXPECT_EQ(states(open), (std::vector<int32_t>{0, 0, 0, 1, 0, 0}));  // states move with segments

  AIPathSegment moved = corner(11, 2);
  EXPECT_EQ(paths->SetPathSegments(open, 3, 1, &moved), kNoErr);
  EXPECT_EQ(states(open)[3], 1);  // setting keeps the state at its index
  EXPECT_EQ(paths->DeletePathSegments(open, 0, 2), kNoErr);
  EXPECT_EQ(anchorsH(read(paths, open)), (std::vector<float>{15, 11, 20, 30}));

  // Ranges, nulls and types.
  AIPathSegment out[2];
  EXPECT_EQ(paths->GetPathSegments(open, 3, 2, out), kOutOfRangeErr);
  EXPECT_EQ(paths->GetPathSegments(open, -1, 1, out), kOutOfRangeErr);
  EXPECT_EQ(paths->GetPathSegments(open, 4, 0, nullptr), kNoErr);
  EXPECT_EQ(paths->SetPathSegments(open, 4, 1, s), kOutOfRangeErr);
  EXPECT_EQ(paths->InsertPathSegments(open, 5, 1, s), kOutOfRangeErr);
  EXPECT_EQ(paths->InsertPathSegments(open, 0, 1, nullptr), kBadParameterErr);
  EXPECT_EQ(paths->DeletePathSegments(open, 2, 3), kOutOfRangeErr);
  EXPECT_EQ(paths->GetPathSegments(named("compound"), 0, 1, out), kBadParameterErr);

  // Non-finite values are refused and change nothing.
  AIPathSegment bad[2] = {corner(1, 1), corner(std::numeric_limits<float>::quiet_NaN(), 0)};
  bad[0].out.v = std::numeric_limits<float>::infinity();
  EXPECT_EQ(paths->SetPathSegments(open, 0, 2, bad), kNonFiniteErr);
  EXPECT_EQ(paths->InsertPathSegments(open, 0, 2, bad), kNonFiniteErr);
  EXPECT_EQ(anchorsH(read(paths, open)), (std::vector<float>{15, 11, 20, 30}));

  // Deleting every segment leaves an empty path that is not selected.
  EXPECT_EQ(paths->DeletePathSegments(open, 0, 4), kNoErr);
  EXPECT_EQ(attr(open), 0);
  EXPECT_TRUE(read(paths, open).empty());
}

TEST_F(ArtSuitesTest, InsertionPastTheSegmentLimitIsRefusedWhole) {
  open(kDocument);
  struct RestoreLimit {
    ~RestoreLimit() {
      sqhost::PathGeometry::setSegmentLimit(sqhost::PathGeometry::kDefaultSegmentLimit);
    }
  } restore;
  int32_t max = 0;
  EXPECT_EQ(paths->GetMaxPathSegments(&max), kNoErr);
  EXPECT_EQ(max, kAIDefaultMaxPathSegments);
  sqhost::PathGeometry::setSegmentLimit(6);
  EXPECT_EQ(paths->GetMaxPathSegments(&max), kNoErr);
  EXPECT_EQ(max, 6);
  const AIArtHandle open = named("open");
  AIPathSegment s[3] = {corner(1, 1), corner(2, 2), corner(3, 3)};
  EXPECT_EQ(paths->InsertPathSegments(open, 4, 3, s), kTooManySegmentsErr);
  EXPECT_EQ(read(paths, open).size(), 4u);
  EXPECT_EQ(paths->InsertPathSegments(open, 4, 2, s), kNoErr);
  EXPECT_EQ(paths->InsertPathSegments(open, 0, 1, s), kTooManySegmentsErr);
  EXPECT_EQ(read(paths, open).size(), 6u);
}

TEST_F(ArtSuitesTest, ReverseAndBeziersIncludingTheClosingCurve) {
  open(kDocument);
  const AIArtHandle tri = named("tri");
  const auto before = read(paths, tri);
  EXPECT_EQ(paths->ReversePathSegments(tri), kNoErr);
  const auto after = read(paths, tri);
  ASSERT_EQ(after.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(sqhost::samePoint(after[i].p, before[2 - i].p));
    EXPECT_TRUE(sqhost::samePoint(after[i].in, before[2 - i].out));
    EXPECT_TRUE(sqhost::samePoint(after[i].out, before[2 - i].in));
  }
  EXPECT_EQ(states(tri), (std::vector<int32_t>{0, 2, 3}));  // in and out sides swap
  AIBoolean closed = 0;
  EXPECT_EQ(paths->GetPathClosed(tri, &closed), kNoErr);
  EXPECT_EQ(closed, 1);

  // On a closed path the last index is the curve back to segment 0.
  AIRealBezier b{};
  EXPECT_EQ(paths->GetPathBezier(tri, 2, &b), kNoErr);
  EXPECT_TRUE(sqhost::samePoint(b.p0, after[2].p));
  EXPECT_TRUE(sqhost::samePoint(b.p1, after[2].out));
  EXPECT_TRUE(sqhost::samePoint(b.p2, after[0].in));
  EXPECT_TRUE(sqhost::samePoint(b.p3, after[0].p));
  EXPECT_EQ(paths->SetPathClosed(tri, 0), kNoErr);
  EXPECT_EQ(paths->GetPathBezier(tri, 2, &b), kOutOfRangeErr);
  EXPECT_EQ(paths->GetPathBezier(tri, 1, &b), kNoErr);
}

TEST_F(ArtSuitesTest, SegmentSelectionDrivesTheSelectedAttribute) {
  open(kDocument);
  const AIArtHandle open = named("open");
  AIBoolean all = 1;
  EXPECT_EQ(paths->SetPathSegmentSelected(open, 1, kAISegmentNotSelected), kNoErr);
  EXPECT_EQ(attr(open), 0);
  EXPECT_EQ(paths->SetPathSegmentSelected(open, 3, kAISegmentInOutSelected), kNoErr);
  EXPECT_EQ(attr(open), kAIArtSelected);
  EXPECT_EQ(paths->SetPathSegmentSelected(open, 0, 5), kBadParameterErr);
  EXPECT_EQ(paths->SetPathSegmentSelected(open, 4, 1), kOutOfRangeErr);
  EXPECT_EQ(paths->GetPathAllSegmentsSelected(open, &all), kNoErr);
  EXPECT_EQ(all, 0);
  EXPECT_EQ(art->SetArtUserAttr(open, kAIArtSelected, 0), kNoErr);
  EXPECT_EQ(art->SetArtUserAttr(open, kAIArtSelected, kAIArtSelected), kNoErr);
  EXPECT_EQ(paths->GetPathAllSegmentsSelected(open, &all), kNoErr);
  EXPECT_EQ(all, 1);

  // Art on a hidden layer cannot be changed or selected, but deselecting always works.
  const AIArtHandle off = named("off");
  AIPathSegment s = corner(3, 3);
  EXPECT_EQ(paths->SetPathSegments(off, 0, 1, &s), kLockedErr);
  EXPECT_EQ(paths->InsertPathSegments(off, 0, 1, &s), kLockedErr);
  EXPECT_EQ(paths->ReversePathSegments(off), kLockedErr);
  EXPECT_EQ(paths->SetPathClosed(off, 1), kLockedErr);
  EXPECT_EQ(paths->SetPathSegmentSelected(off, 0, 1), kLockedErr);
  EXPECT_EQ(paths->SetPathSegmentSelected(off, 0, 0), kNoErr);
  EXPECT_EQ(read(paths, off).size(), 2u);
}

TEST_F(ArtSuitesTest, StylesOfPathsAndCompoundPaths) {
  open(kDocument);
  AIArtHandle sub = nullptr;
  ASSERT_EQ(art->GetArtFirstChild(named("compound"), &sub), kNoErr);
  AIPathStyle style{};
  ASSERT_EQ(styles->GetPathStyle(sub, &style), kNoErr);
  EXPECT_EQ(style.fillPaint, 1);
  EXPECT_EQ(style.fillColor.red, 0xFFFF);
  style.strokePaint = 1;
  style.strokeWidth = 2.5f;
  EXPECT_EQ(styles->SetPathStyle(sub, &style), kNoErr);  // writes the compound path's style
  AIArtHandle other = nullptr;
  art->GetArtSibling(sub, &other);
  AIPathStyle read{};
  ASSERT_EQ(styles->GetPathStyle(other, &read), kNoErr);
  EXPECT_EQ(read.strokePaint, 1);
  EXPECT_FLOAT_EQ(read.strokeWidth, 2.5f);

  style.strokeWidth = -1;
  EXPECT_EQ(styles->SetPathStyle(named("tri"), &style), kBadParameterErr);
  style.strokeWidth = std::numeric_limits<float>::infinity();
  EXPECT_EQ(styles->SetPathStyle(named("tri"), &style), kNonFiniteErr);
  style.strokeWidth = 1;
  EXPECT_EQ(styles->SetPathStyle(named("off"), &style), kLockedErr);
  AIArtHandle root = nullptr;
  art->GetArtParent(named("tri"), &root);
  EXPECT_EQ(styles->GetPathStyle(root, &read), kBadParameterErr);
}

TEST_F(ArtSuitesTest, LayersAndUserSuite) {
  open(kDocument);
  int32_t count = 0;
  AILayerHandle top = nullptr;
  char title[8];
  EXPECT_EQ(layers->CountLayers(&count), kNoErr);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(layers->GetNthLayer(0, &top), kNoErr);
  EXPECT_EQ(layers->GetNthLayer(2, &top), kOutOfRangeErr);
  EXPECT_EQ(layers->GetLayerTitle(top, title, sizeof title), kNoErr);
  EXPECT_STREQ(title, "Main");
  EXPECT_EQ(layers->SetLayerTitle(top, "Main layer"), kNoErr);
  EXPECT_EQ(layers->GetLayerTitle(top, title, sizeof title), kBufferTooSmallErr);
  EXPECT_STREQ(title, "Main la");
  const AIRGBColor red{0xFFFF, 0, 0};
  AIRGBColor color{};
  EXPECT_EQ(layers->SetLayerColor(top, &red), kNoErr);
  EXPECT_EQ(layers->GetLayerColor(top, &color), kNoErr);
  EXPECT_EQ(color.red, 0xFFFF);
  EXPECT_EQ(color.blue, 0);
  // Locking a layer deselects its art.
  EXPECT_EQ(layers->SetLayerEditable(top, 0), kNoErr);
  EXPECT_EQ(attr(named("tri")), 0);
  EXPECT_EQ(layers->GetLayerColor(reinterpret_cast<AILayerHandle>(uintptr_t{1}), &color),
            kBadHandleErr);

  char units[4];
  EXPECT_EQ(user->GetUnitsString(kAIMillimeterUnits, units, sizeof units), kNoErr);
  EXPECT_STREQ(units, "mm");
  EXPECT_EQ(user->GetUnitsString(6, units, sizeof units), kBadParameterErr);
  EXPECT_EQ(user->MessageAlert("Something to say"), kNoErr);
  ASSERT_EQ(host().dialogs().alerts().size(), 1u);
  EXPECT_EQ(host().dialogs().alerts()[0].text, "Something to say");
}

TEST_F(ArtSuitesTest, SuiteEditsAreUndoneExactlyAndNotifyThePlugin) {
  restartWithPlugin();
  open(kDocument);
  host().deliverNotifications();
  const sqhost::Document before = doc();
  const std::size_t received = notificationsReceived();

  // A failing call notifies nobody.
  AIPathSegment s = corner(1, 1);
  EXPECT_EQ(paths->InsertPathSegments(named("off"), 0, 1, &s), kLockedErr);
  host().deliverNotifications();
  EXPECT_EQ(notificationsReceived(), received);

  host().undo().beginContext("edit");
  EXPECT_EQ(paths->InsertPathSegments(named("open"), 0, 1, &s), kNoErr);
  EXPECT_EQ(paths->ReversePathSegments(named("tri")), kNoErr);
  AIArtHandle made = nullptr;
  EXPECT_EQ(art->NewArt(kAIGroupArt, kAIPlaceAbove, named("tri"), &made), kNoErr);
  EXPECT_EQ(art->DisposeArt(named("compound")), kNoErr);
  EXPECT_EQ(art->SetArtUserAttr(named("tri"), kAIArtSelected, 0), kNoErr);
  host().undo().endContext();
  host().deliverNotifications();
  EXPECT_EQ(notificationsReceived(), received + 1);  // coalesced into one

  ASSERT_TRUE(host().undo().undo());
  EXPECT_TRUE(doc() == before);
}

}  // namespace
}  // namespace sqtest
