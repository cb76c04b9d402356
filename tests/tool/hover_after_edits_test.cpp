// Hovering with the tool right after the document changed, through the real plug-in: whatever the
// host keeps between two movements, the second one sees the change, whether a suite, undo and redo
// or a script line made it.
#include <gtest/gtest.h>

#include "hittest/hit_test.hpp"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_path.h"
#include "support/host_fixture.hpp"
#include "svg/svg_io.hpp"

namespace {

constexpr int32_t kArrow = 16000;
constexpr int32_t kHandle = 16002;
constexpr int32_t kCorner = 16004;

// A straight path from (100, 100) to (200, 100) and a curve whose first out handle is at
// (150, 250). Zoom 1, artwork (x, -y) at pixel (x, y); the host's reach and the tool's pick radius
// are both 6 pixels, so at 5 pixels off in both directions only the tool's own search finds a
// point.
class HoverAfterEdits : public sqtest::HostTest {
 protected:
  void SetUp() override {
    startHost();
    auto imported = sqhost::svg::importSvg(
        R"(<svg xmlns="http://www.w3.org/2000/svg"
                xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
                viewBox="0 0 400 400">
             <path id="p" d="M 100 100 L 200 100" sodipodi:nodetypes="cc"/>
             <path id="q" d="M 100 300 C 150 250 250 250 300 300"/></svg>)");
    ASSERT_TRUE(imported.ok()) << imported.error;
    host().openDocument(std::move(*imported.document));
    sqhost::View& v = *host().currentView();
    v.width = v.height = 400;
    v.zoom = 1;
    v.center = {200, -200};
    host().selectTool(*host().registrations().toolByName("Spindlequiver Tool"));
    host().deliverNotifications();
    const void* table = nullptr;
    ASSERT_EQ(host().basicSuite()->AcquireSuite(kAIArtSuite, kAIArtSuiteVersion, &table), kNoErr);
    arts = static_cast<const AIArtSuite*>(table);
    ASSERT_EQ(host().basicSuite()->AcquireSuite(kAIPathSuite, kAIPathSuiteVersion, &table), kNoErr);
    paths = static_cast<const AIPathSuite*>(table);
  }

  // The cursor the tool shows over SVG point (x, y).
  int32_t cursorAt(float x, float y) {
    sqhost::Event e;
    e.kind = sqhost::Event::Kind::MouseMove;
    e.point = {x, -y};
    EXPECT_TRUE(host().handleEvent(e));
    const auto& c = host().cursor();
    return c ? c->id : -1;
  }
  bool hostHits(float x, float y) {
    return sqhost::hitTest(*host().currentDocument(), *host().currentView(), {{x, -y}, 6, 0})
        .has_value();
  }
  AIArtHandle handleOf(const char* name) {
    const sqhost::Art& layer = host().currentDocument()->layer(0).group();
    for (std::size_t i = 0; i < layer.childCount(); ++i) {
      if (layer.child(i).name() == name) {
        return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(layer.child(i).id()));
      }
    }
    ADD_FAILURE() << "no path " << name;
    return nullptr;
  }
  void send(sqhost::Event::Kind kind) {
    sqhost::Event e;
    e.kind = kind;
    ASSERT_TRUE(host().handleEvent(e));
  }

  const AIArtSuite* arts = nullptr;
  const AIPathSuite* paths = nullptr;
};

TEST_F(HoverAfterEdits, SuiteChangesShowAtTheNextMovement) {
  // The tool's own search finds p's first anchor where the host's hit test does not.
  EXPECT_FALSE(hostHits(95, 95));
  EXPECT_EQ(cursorAt(95, 95), kCorner);
  EXPECT_EQ(cursorAt(101, 101), kCorner);
  EXPECT_EQ(cursorAt(150, 250), kArrow);  // q's handles are not shown

  // Selecting both sides of q's first point shows its handles, to the host and to the tool.
  ASSERT_EQ(paths->SetPathSegmentSelected(handleOf("q"), 0, kAISegmentInOutSelected), kNoErr);
  EXPECT_EQ(cursorAt(150, 250), kHandle);
  EXPECT_FALSE(hostHits(154.5f, 254.5f));
  EXPECT_EQ(cursorAt(154.5f, 254.5f), kHandle);

  // Locked art is found by neither search; unlocked, it is found again.
  ASSERT_EQ(arts->SetArtUserAttr(handleOf("p"), kAIArtLocked, kAIArtLocked), kNoErr);
  EXPECT_EQ(cursorAt(95, 95), kArrow);
  EXPECT_EQ(cursorAt(101, 101), kArrow);
  ASSERT_EQ(arts->SetArtUserAttr(handleOf("p"), kAIArtLocked, 0), kNoErr);
  EXPECT_EQ(cursorAt(95, 95), kCorner);

  // Moved away, then disposed of.
  const AIPathSegment moved{{50, -50}, {50, -50}, {50, -50}, 1};
  ASSERT_EQ(paths->SetPathSegments(handleOf("p"), 0, 1, &moved), kNoErr);
  EXPECT_EQ(cursorAt(95, 95), kArrow);
  EXPECT_EQ(cursorAt(45, 45), kCorner);
  ASSERT_EQ(arts->DisposeArt(handleOf("p")), kNoErr);
  EXPECT_EQ(cursorAt(45, 45), kArrow);
  EXPECT_EQ(cursorAt(51, 51), kArrow);
}

TEST_F(HoverAfterEdits, ScriptEditsUndoAndRedoShowAtTheNextMovement) {
  EXPECT_EQ(cursorAt(95, 95), kCorner);
  EXPECT_EQ(cursorAt(95, 195), kArrow);

  // A script line moves p's first point 100 down in SVG units.
  ASSERT_TRUE(driver().run("move-point p 0 0 -100\n"));
  EXPECT_EQ(cursorAt(95, 195), kCorner);
  EXPECT_EQ(cursorAt(101, 201), kCorner);
  EXPECT_EQ(cursorAt(95, 95), kArrow);

  send(sqhost::Event::Kind::Undo);
  EXPECT_EQ(cursorAt(95, 95), kCorner);
  EXPECT_EQ(cursorAt(95, 195), kArrow);
  send(sqhost::Event::Kind::Redo);
  EXPECT_EQ(cursorAt(95, 195), kCorner);
  EXPECT_EQ(cursorAt(95, 95), kArrow);
}

}  // namespace
