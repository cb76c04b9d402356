// The studio's session with the real plug-in: hover and drag through requests, edited paths as
// the save writes them, panels, dialogs and alerts answered while they wait, files kept inside
// the folder, and a page that goes away mid-drag.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "resources/resource_ids.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "studio/studio_fixture.hpp"
#include "studio/update_parts.hpp"
#include "svg/svg_io.hpp"

namespace {

using nlohmann::json;
using sqtest::readFile;
using sqtest::writeFile;

constexpr const char* kHeader = R"(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
    xmlns:sq="urn:spindlequiver:host" viewBox="0 0 400 400">)";

// The wave's middle point (200, 100) is selected and smooth, its handles shown.
const std::string kWave = std::string(kHeader) + R"(
  <path id="wave" d="M 100 100 C 130 60 170 60 200 100 C 230 140 270 140 300 100"
        sodipodi:nodetypes="csc" sq:selection="0 4 0"/>
  <path id="flat" d="M 100 300 L 250 300" sodipodi:nodetypes="cc"/>
</svg>)";
constexpr int kWaveElement = 1;

std::string dOf(const std::string& svg, const std::string& id) {
  std::smatch m;
  const std::regex re("id=\"" + id + "\"[^>]*?\\sd=\"([^\"]*)\"");
  return std::regex_search(svg, m, re) ? m[1].str() : std::string();
}

class StudioSessionTest : public sqtest::StudioTest {};

TEST_F(StudioSessionTest, HoverSendsTheAnnotationsAndNoDocument) {
  open("points.svg", std::string(kHeader) + R"(
  <path id="smooth" d="M 50 300 C 50 250 100 250 150 250 C 200 250 250 250 250 300"
        sodipodi:nodetypes="csc"/></svg>)");
  const json first = update();
  ASSERT_TRUE(first.contains("document"));
  EXPECT_NE(first["document"]["svg"].get<std::string>().find("data-sq=\"1\""), std::string::npos);
  EXPECT_EQ(first["document"]["file"], "points.svg");

  ASSERT_TRUE(mouse("move", 150, 250).is_null());
  const json hover = update();
  EXPECT_FALSE(hover.contains("document"));
  EXPECT_FALSE(hover.contains("paths"));
  EXPECT_FALSE(hover.contains("selection"));
  ASSERT_TRUE(hover.contains("annotations")) << hover.dump();
  // The label and the path's arrowhead, as the plug-in's own pictures.
  const auto* resources = host().dialogs().resources();
  ASSERT_NE(resources, nullptr);
  // Pictures come in several indices of one resource: any of them.
  auto isPicture = [&](const std::string& picture, int32_t id) {
    for (const auto& [key, png] : resources->images) {
      if (key.first == id && picture == sqhost::studio::pngDataUrl(png)) return true;
    }
    return false;
  };
  bool arrow = false, label = false;
  for (const json& op : hover["annotations"]["ops"]) {
    if (op["op"] != "icon" || !op["picture"].is_string()) continue;
    arrow = arrow || isPicture(op["picture"], sq::kArrowheadIconID);
    label = label || isPicture(op["picture"], sq::kLabelIconID);
  }
  EXPECT_TRUE(arrow) << hover["annotations"].dump();
  EXPECT_TRUE(label);
  ASSERT_TRUE(hover.contains("cursor"));
  EXPECT_EQ(hover["cursor"]["id"], sq::CursorResourceID(sq::kCursorSmoothPoint));
  EXPECT_EQ(hover["cursor"]["png"].get<std::string>().rfind("data:image/png;base64,", 0), 0u);

  // Nothing moved: nothing to send but what changed.
  ASSERT_TRUE(mouse("move", 150, 250).is_null());
  const json again = update();
  EXPECT_FALSE(again.contains("cursor"));
  EXPECT_FALSE(again.contains("tools"));
  EXPECT_FALSE(again.contains("panels"));
}

TEST_F(StudioSessionTest, HandleDragSendsTheSavedPathDataAndUndoRestoresIt) {
  open("wave.svg", kWave);
  update();
  ASSERT_TRUE(mouse("down", 230, 140).is_null());
  ASSERT_TRUE(mouse("drag", 260, 120).is_null());
  const json step = update();
  EXPECT_FALSE(step.contains("document")) << step.dump();
  ASSERT_TRUE(step.contains("paths")) << step.dump();
  ASSERT_EQ(step["paths"].size(), 1u);
  EXPECT_EQ(step["paths"][0]["e"], kWaveElement);
  // The selection display in view pixels: the wave's outline through its moved handle, its
  // shown handles from the middle anchor, and its anchors, hollow: the middle one has its
  // handles selected, not itself.
  ASSERT_TRUE(step.contains("selection"));
  ASSERT_EQ(step["selection"]["paths"].size(), 1u);
  const json& marks = step["selection"]["paths"][0];
  EXPECT_EQ(marks["outline"].get<std::string>().rfind("M 100.5 100.5 C ", 0), 0u) << marks.dump();
  EXPECT_EQ(marks["handles"].size(), 2u);
  EXPECT_EQ(marks["handles"][1], json::array({200.5, 100.5, 260.5, 120.5}));
  EXPECT_EQ(marks["anchors"].size(), 3u);
  EXPECT_EQ(marks["anchors"][1], json::array({200.5, 100.5, false}));
  ASSERT_TRUE(mouse("up", 260, 120).is_null());
  std::string shown = step["paths"][0]["attrs"]["d"];
  const json released = update();
  if (released.contains("paths")) {
    for (const json& p : released["paths"]) {
      if (p["e"] == kWaveElement && p["attrs"].contains("d")) shown = p["attrs"]["d"];
    }
  }

  ASSERT_TRUE(send({{"type", "save"}, {"file", "saved.svg"}}).is_null());
  const std::string saved = readFile(folder() / "saved.svg");
  EXPECT_EQ(dOf(saved, "wave"), shown);
  EXPECT_NE(shown, dOf(kWave, "wave"));

  ASSERT_TRUE(send({{"type", "undo"}}).is_null());
  const json undone = update();
  ASSERT_TRUE(undone.contains("paths")) << undone.dump();
  EXPECT_EQ(undone["paths"][0]["attrs"]["d"], dOf(kWave, "wave"));
  EXPECT_EQ(undone["status"]["undo"]["redo"], 1);
}

TEST_F(StudioSessionTest, APanelFieldTypedThroughADialogRequestShowsInThePanelsPart) {
  open("wave.svg", kWave);
  ASSERT_TRUE(send({{"type", "panel"}, {"dialog", "SpindlequiverInfoDialog"}, {"action", "show"}})
                  .is_null());
  // A click on the wave's middle point makes it the panel's point.
  ASSERT_TRUE(mouse("down", 200, 100).is_null());
  ASSERT_TRUE(mouse("up", 200, 100).is_null());
  auto field = [](const json& update, int32_t id) {
    for (const json& panel : update["panels"]) {
      if (panel["name"] != "SpindlequiverInfoDialog") continue;
      for (const json& item : panel["items"]) {
        if (item["id"] == id) return item;
      }
    }
    return json();
  };
  const json shown = update();
  EXPECT_EQ(field(shown, 4)["text"], "200 pt") << field(shown, 4).dump();
  EXPECT_EQ(field(shown, 4)["type"], "textEdit");
  EXPECT_TRUE(field(shown, 4)["enabled"].get<bool>());

  const json reply = send({{"type", "dialog"},
                           {"dialog", "SpindlequiverInfoDialog"},
                           {"action", "value"},
                           {"item", 4},
                           {"number", 210}});
  ASSERT_TRUE(reply.is_null()) << reply.dump();
  const json typed = update();
  ASSERT_TRUE(typed.contains("panels"));
  EXPECT_EQ(field(typed, 4)["text"], "210 pt");
  EXPECT_DOUBLE_EQ(field(typed, 4)["value"].get<double>(), 210);
  // The field committed: the focus moved on to the next one.
  EXPECT_TRUE(field(typed, 6)["focus"].get<bool>());
  // A panel that does not exist, and an item it does not have, are refused with the reason.
  EXPECT_NE(
      errorOf(send({{"type", "dialog"}, {"dialog", "Nope"}, {"action", "press"}, {"item", 1}}))
          .find("no dialog \"Nope\""),
      std::string::npos);
}

TEST_F(StudioSessionTest, FilesStayInsideTheFolder) {
  open("wave.svg", kWave);
  namespace fs = std::filesystem;
  fs::create_directories(folder() / "sub");
  writeFile(folder() / "sub" / "b.svg", kWave);
  writeFile(folder() / "notes.txt", "not a drawing");
  const sqtest::TempDir outside;
  writeFile(outside.path() / "secret.svg", kWave);
  fs::create_symlink(outside.path() / "secret.svg", folder() / "link.svg");
  fs::create_directory_symlink(outside.path(), folder() / "away");

  const json files = send({{"type", "files"}});
  EXPECT_EQ(files["files"], json::array({"sub/b.svg", "wave.svg"})) << files.dump();

  const sqhost::DocumentId before = host().currentDocument()->id();
  for (const std::string name : {"../wave.svg", "sub/../../x.svg", "/etc/passwd.svg", "link.svg",
                                 "away/secret.svg", "notes.txt"}) {
    const json opened = send({{"type", "open"}, {"file", name}});
    EXPECT_FALSE(errorOf(opened).empty()) << name;
    EXPECT_EQ(host().currentDocument()->id(), before) << name;
    const json saved = send({{"type", "save"}, {"file", name}});
    EXPECT_FALSE(errorOf(saved).empty()) << name;
  }
  // Nothing was written where the links lead.
  EXPECT_EQ(readFile(outside.path() / "secret.svg"), kWave);
  EXPECT_EQ(fs::directory_iterator(outside.path()) == fs::directory_iterator(), false);
  EXPECT_EQ(std::distance(fs::directory_iterator(outside.path()), fs::directory_iterator()), 1);

  // The document's own file is the default target, and saving unchanged keeps it byte for byte.
  ASSERT_TRUE(send({{"type", "save"}}).is_null());
  EXPECT_EQ(readFile(folder() / "wave.svg"), kWave);
  ASSERT_TRUE(send({{"type", "open"}, {"file", "sub/b.svg"}}).is_null());
  EXPECT_NE(host().currentDocument()->id(), before);
  EXPECT_EQ(update()["document"]["file"], "sub/b.svg");
}

TEST_F(StudioSessionTest, APageClosingMidDragEndsTheGestureAsOneUndoStep) {
  open("wave.svg", kWave);
  const std::size_t undoBefore = host().undo().undoCount();
  ASSERT_TRUE(send({{"type", "key"}, {"action", "down"}, {"key", "c"}}).is_null());
  ASSERT_TRUE(mouse("down", 230, 140).is_null());
  ASSERT_TRUE(mouse("drag", 260, 120).is_null());
  ASSERT_TRUE(mouse("drag", 270, 110).is_null());
  ASSERT_TRUE(host().buttonDown());
  sqhost::studio::Request closed;
  closed.kind = sqhost::studio::Request::Kind::Disconnected;
  EXPECT_TRUE(studio().handle(closed).empty());
  EXPECT_FALSE(host().buttonDown());
  EXPECT_EQ(host().undo().undoCount(), undoBefore + 1);
  // The key held came up: a new gesture starts cleanly.
  ASSERT_TRUE(send({{"type", "undo"}}).is_null());
  const json undone = update();
  EXPECT_EQ(undone["status"]["undo"]["undo"], undoBefore);
  EXPECT_EQ(dOf(sqhost::svg::exportSvg(*host().currentDocument()), "wave"), dOf(kWave, "wave"));
  // A mouse up now has no button down: the host refuses it, and the page hears why.
  EXPECT_NE(errorOf(mouse("up", 0, 0)).find("up without a button down"), std::string::npos);
}

TEST_F(StudioSessionTest, ViewRequestsKeepThePointUnderTheCursor) {
  open("wave.svg", kWave);
  const AIRealPoint before = host().currentView()->toArtwork({100, 50});
  ASSERT_TRUE(send({{"type", "view"}, {"zoom", 4}, {"at", {100, 50}}}).is_null());
  const sqhost::View& v = *host().currentView();
  EXPECT_FLOAT_EQ(v.zoom, 4);
  const AIRealPoint after = v.toArtwork({100, 50});
  EXPECT_NEAR(after.h, before.h, 1e-3);
  EXPECT_NEAR(after.v, before.v, 1e-3);
  const json zoomed = update();
  EXPECT_EQ(zoomed["view"]["zoom"], 4);
  EXPECT_TRUE(zoomed["annotations"]["whole"].get<bool>());

  ASSERT_TRUE(send({{"type", "view"}, {"scroll", {40, -20}}}).is_null());
  EXPECT_NEAR(host().currentView()->toArtwork({100, 50}).h, before.h + 10, 1e-3);
  ASSERT_TRUE(send({{"type", "view"}, {"fit", true}}).is_null());
  // The 400 x 400 artboard fills the 400 x 400 view.
  EXPECT_FLOAT_EQ(host().currentView()->zoom, 1);
  EXPECT_NEAR(host().currentView()->center.h, 200, 1e-3);
  ASSERT_TRUE(send({{"type", "view"}, {"size", {300, 200}}}).is_null());
  EXPECT_EQ(update()["view"]["width"], 300);
}

TEST_F(StudioSessionTest, ToolOptionsGoToThePluginToolOnly) {
  EXPECT_TRUE(send({{"type", "toolOptions"}, {"name", sqtest::kStudioTool}}).is_null());
  EXPECT_EQ(lastResult(kCallerAITool, kSelectorAIEditToolOptions), kNoErr);
  EXPECT_NE(errorOf(send({{"type", "toolOptions"}, {"name", "Pen Tool"}})).find("no options"),
            std::string::npos);
  EXPECT_NE(errorOf(send({{"type", "toolOptions"}, {"name", "Nope"}})).find("no tool"),
            std::string::npos);
  const json tools = studio().fullUpdate(3).empty() ? json() : json::parse(studio().fullUpdate(3));
  ASSERT_TRUE(tools["full"].get<bool>());
  bool icon = false;
  for (const json& tool : tools["tools"]) {
    if (tool["name"] == sqtest::kStudioTool) icon = tool["icon"].is_string();
  }
  EXPECT_TRUE(icon) << tools["tools"].dump();
}

}  // namespace
