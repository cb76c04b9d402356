// Painting annotations when idle, the invalidation log in the report, and the cursor in PNGs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "render/raster.hpp"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/ai_annotator.h"
#include "support/host_fixture.hpp"

namespace {

using Selectors = std::vector<std::string>;
using sqhost::render::Raster;

class IdlePaint : public sqtest::HostTest {
 protected:
  void SetUp() override {
    startHost();
    sqtest::writeFile(dir_.path() / "d.svg",
                      R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100">
                           <path id="wave" d="M 10 50 C 30 10 60 10 80 50"/></svg>)");
    const void* table = nullptr;
    host().basicSuite()->AcquireSuite(kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, &table);
    annotator = static_cast<const AIAnnotatorSuite*>(table);
    host().basicSuite()->AcquireSuite(kADMBasicSuite, kADMBasicSuiteVersion, &table);
    basic = static_cast<const ADMBasicSuite*>(table);
  }

  // Runs script lines as top-level events; the annotation messages they caused, in order.
  Selectors run(const std::string& script) {
    const std::size_t from = host().messageResults().size();
    EXPECT_TRUE(driver().run(script)) << script;
    Selectors out;
    const auto& results = host().messageResults();
    for (std::size_t i = from; i < results.size(); ++i) {
      if (results[i].caller == "AI Annotation") out.push_back(results[i].selector);
    }
    return out;
  }

  AIErr invalidate(const AIRect& r) {
    return annotator->InvalAnnotationRect(sqhost::ViewList::handleOf(*host().currentView()), &r);
  }

  Raster png(const std::string& name) {
    run("png " + name);
    std::ifstream in(dir_.path() / name, std::ios::binary);
    return Raster::fromPng({std::istreambuf_iterator<char>(in), {}});
  }

  const AIAnnotatorSuite* annotator = nullptr;
  const ADMBasicSuite* basic = nullptr;
};

const Selectors kNone{}, kDraw{"AI Draw"}, kFull{"AI Invalidate", "AI Draw"};

TEST_F(IdlePaint, AnnotatorsHearInvalidateAndDrawWhenTheHostIsIdle) {
  run("tool \"Spindlequiver Tool\"");
  EXPECT_EQ(run("open d.svg"), kFull);
  sqhost::View& view = *host().currentView();
  EXPECT_TRUE(view.dirty.empty());
  // A change from inside a suite only marks the view; the next idle paint repaints it whole.
  host().documentChanged();
  EXPECT_TRUE(view.needsFullRepaint);
  EXPECT_EQ(run("view grid on"), kFull);
  // Invalidated rectangles are drawn without "AI Invalidate"; an empty region sends nothing.
  ASSERT_EQ(invalidate({10, 10, 30, 30}), kNoErr);
  EXPECT_EQ(run("view grid off"), kDraw);
  EXPECT_EQ(run("view grid on"), kNone);
  EXPECT_EQ(run("view zoom 2"), kFull);
  EXPECT_EQ(run("select path wave\nundo"), (Selectors{kFull[0], kFull[1], kFull[0], kFull[1]}));
  // png runs the pending invalidate first and leaves nothing for the idle paint.
  host().documentChanged();
  EXPECT_EQ(run("png out.png"), kFull);
  // While the library is unloaded the repaint waits; inactive annotators hear nothing. (The
  // point editor panel keeps the library loaded while it exists.)
  host().dialogs().closeAll();
  run("unload\nview zoom 1");
  EXPECT_EQ(run("reload"), kFull);
  EXPECT_EQ(run("tool \"Pen Tool\"\nview zoom 2"), kNone);
  EXPECT_FALSE(view.needsFullRepaint);
  EXPECT_TRUE(view.dirty.empty());
}

TEST_F(IdlePaint, InvalidatedRectanglesAreLoggedAsGivenAndReportedOnce) {
  run("open d.svg");
  sqhost::View& view = *host().currentView();
  view.invalidationLog.clear();
  ASSERT_EQ(invalidate({-10, 20, 40, 9000}), kNoErr);
  ASSERT_EQ(invalidate({9000, 0, 9050, 10}), kNoErr);  // wholly outside
  ASSERT_EQ(invalidate({5, 5, 5, 50}), kNoErr);        // empty: ignored
  host().paintAnnotations(view);                       // clears the dirty region, not the log
  EXPECT_TRUE(view.dirty.empty());
  run("report r.json");
  const auto report = nlohmann::json::parse(sqtest::readFile(dir_.path() / "r.json"));
  EXPECT_EQ(report["documents"][0]["view"]["invalidated"],
            nlohmann::json::parse("[[-10, 20, 40, 9000], [9000, 0, 9050, 10]]"));
  EXPECT_TRUE(view.invalidationLog.empty());
  EXPECT_EQ(driver().report()["documents"][0]["view"]["invalidated"].size(), 0u);
}

TEST_F(IdlePaint, PngShowsThePluginCursorAtTheLastMousePosition) {
  const auto& [id, cursor] = *host().library()->resources().cursors.begin();
  const Raster picture = Raster::fromPng(cursor.png);
  ASSERT_TRUE(picture.ok());
  run("open d.svg");
  ASSERT_EQ(basic->SetCursorID(host().pluginRef(), id), kNoErr);
  const Raster plain = png("plain.png");  // no mouse event yet
  run("move 60 -40");                     // the selection tool leaves the cursor alone
  const Raster shown = png("cursor.png");
  ASSERT_EQ(basic->SetCursorID(host().pluginRef(), kADMStandardArrowCursorID), kNoErr);
  png("arrow.png");
  // Neither the image without a mouse event nor the one with the arrow shows a cursor.
  EXPECT_EQ(sqtest::readFile(dir_.path() / "plain.png"),
            sqtest::readFile(dir_.path() / "arrow.png"));
  // Around the hotspot's pixel: the picture's opaque pixels, the view where it is transparent.
  const AIPoint at = *host().currentView()->toView({60, -40});
  const int left = at.h - cursor.hotspotX, top = at.v - cursor.hotspotY;
  int opaque = 0;
  for (int y = -2; y < picture.height() + 2; ++y) {
    for (int x = -2; x < picture.width() + 2; ++x) {
      const uint8_t alpha = picture.pixel(x, y).a;
      if (alpha != 0 && alpha != 255) continue;
      opaque += alpha == 255;
      const auto expected = alpha == 255 ? picture.pixel(x, y) : plain.pixel(left + x, top + y);
      ASSERT_EQ(shown.pixel(left + x, top + y), expected) << x << ", " << y;
    }
  }
  EXPECT_GT(opaque, 0);
}

}  // namespace
