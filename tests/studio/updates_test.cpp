// The studio's updates: the marked view text against the view's own, only the parts that changed,
// and modal dialogs and alerts shown while they wait and answered by the page.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "render/view_renderer.hpp"
#include "studio/studio_fixture.hpp"
#include "svg/svg_io.hpp"

namespace {

using nlohmann::json;

const char* kLayers = R"(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
    xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" viewBox="0 0 200 200">
  <g inkscape:groupmode="layer" inkscape:label="Ink" id="ink">
    <path id="a" d="M 20 20 C 60 0 100 40 140 20" style="fill:none;stroke:#000000;stroke-width:3"/>
    <rect id="b" x="30" y="60" width="80" height="50" fill="#ff0000"/>
    <g id="nest"><circle id="c" cx="150" cy="150" r="30" fill="#0000ff"/></g>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="Off" style="display:none">
    <path id="off" d="M 0 0 L 200 200" style="stroke:#00ff00;stroke-width:9"/>
  </g>
</svg>)";

class StudioUpdates : public sqtest::StudioTest {};

TEST_F(StudioUpdates, TheMarkedTextReadsAndRendersAsTheViewText) {
  auto imported = sqhost::svg::importSvg(kLayers);
  ASSERT_TRUE(imported.ok()) << imported.error;
  sqhost::Document& doc = host().openDocument(std::move(*imported.document));
  // An edit and a hidden object, so the text is spliced.
  const sqhost::Art& layer = doc.layer(1).group();  // Ink: layer 0 is the topmost
  const sqhost::ArtId a = layer.child(layer.childCount() - 1).id();
  AIPathSegment s = doc.findArt(a)->path().segment(0);
  s.p = {25, -30};
  ASSERT_EQ(doc.modifyArt(a)->setSegments(0, std::span(&s, 1)), kNoErr);
  ASSERT_EQ(doc.modifyArt(layer.child(0).id())->setHidden(true), kNoErr);

  const sqhost::svg::ExportResult marked = sqhost::svg::studioSvg(doc);
  const sqhost::svg::ExportResult view = sqhost::svg::viewSvg(doc);
  ASSERT_TRUE(marked.ok() && view.ok());
  // Every element an object came from is marked with its index, in document order.
  for (const auto& [id, index] : std::vector<std::pair<std::string, int>>{
           {"ink", 1}, {"a", 2}, {"b", 3}, {"nest", 4}, {"c", 5}}) {
    EXPECT_NE(marked.text.find("id=\"" + id + "\""), std::string::npos);
    const std::size_t at = marked.text.find("id=\"" + id + "\"");
    const std::size_t tagEnd = marked.text.find('>', at);
    const std::size_t tagStart = marked.text.rfind('<', at);
    const std::string tag = marked.text.substr(tagStart, tagEnd - tagStart);
    EXPECT_NE(tag.find("data-sq=\"" + std::to_string(index) + "\""), std::string::npos) << tag;
  }
  // The marks aside, the same drawing: the same objects when read, the same pixels when drawn.
  auto fromMarked = sqhost::svg::importSvg(marked.text);
  auto fromView = sqhost::svg::importSvg(view.text);
  ASSERT_TRUE(fromMarked.ok() && fromView.ok());
  EXPECT_TRUE(sameContent(*fromMarked.document, *fromView.document));
  sqhost::View v;
  v.width = v.height = 200;
  v.center = {100, -100};
  sqhost::render::RenderOptions plain;
  plain.selection = false;
  const auto left = sqhost::render::renderView(*fromMarked.document, v, plain);
  const auto right = sqhost::render::renderView(*fromView.document, v, plain);
  ASSERT_TRUE(left.ok() && right.ok());
  int differing = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      const auto p = left.pixel(x, y);
      const auto q = right.pixel(x, y);
      differing += p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a;
    }
  }
  EXPECT_EQ(differing, 0);
  // Saving is untouched by the marks.
  EXPECT_EQ(sqhost::svg::exportSvg(doc).find("data-sq"), std::string::npos);
}

TEST_F(StudioUpdates, OnlyWhatChangedIsSentAndStructureSendsTheDocument) {
  sqtest::writeFile(folder() / "layers.svg", kLayers);
  ASSERT_TRUE(send({{"type", "open"}, {"file", "layers.svg"}}).is_null());
  const json full = json::parse(studio().fullUpdate(9));
  EXPECT_EQ(full["seq"], 9);
  for (const char* part : {"document", "view", "selection", "annotations", "cursor", "tools",
                           "panels", "modal", "alert", "flyout", "status"}) {
    EXPECT_TRUE(full.contains(part)) << part;
  }
  EXPECT_TRUE(full["modal"].is_null());
  EXPECT_TRUE(full["alert"].is_null());

  const json quiet = update();
  EXPECT_EQ(quiet.size(), 2u) << quiet.dump();  // type and seq only

  // A point moved in its element: that element's attributes, not the document.
  sqhost::Document& doc = *host().currentDocument();
  const sqhost::Art& layer = doc.layer(1).group();  // Ink: layer 0 is the topmost
  const sqhost::ArtId a = layer.child(layer.childCount() - 1).id();
  AIPathSegment s = doc.findArt(a)->path().segment(1);
  s.p.h += 5;
  ASSERT_EQ(doc.modifyArt(a)->setSegments(1, std::span(&s, 1)), kNoErr);
  const json edited = update();
  EXPECT_FALSE(edited.contains("document"));
  ASSERT_TRUE(edited.contains("paths"));
  EXPECT_EQ(edited["paths"][0]["e"], 2);
  EXPECT_TRUE(edited["paths"][0]["attrs"].contains("d"));

  // An object taken out: the whole document again, without it.
  doc.removeArt(layer.child(0).id());
  const json removed = update();
  ASSERT_TRUE(removed.contains("document"));
  EXPECT_EQ(removed["document"]["svg"].get<std::string>().find("id=\"c\""), std::string::npos);
  // Hiding an object: the document, which hides it.
  ASSERT_EQ(doc.modifyArt(a)->setHidden(true), kNoErr);
  EXPECT_TRUE(update().contains("document"));
}

// A front-end's waiting source: the page's requests, read while a dialog waits.
class PageSource final : public sqhost::EventSource {
 public:
  PageSource(sqhost::studio::StudioSession& studio, std::vector<json> requests)
      : studio_(studio), requests_(requests.begin(), requests.end()) {}
  bool waits() const override { return true; }
  void post(sqhost::Event e) override { ready_.push_back(std::move(e)); }
  std::optional<sqhost::Event> peek() override {
    while (ready_.empty() && !requests_.empty()) {
      // The page sees the dialog before it answers.
      shown.push_back(json::parse(studio_.update(0)));
      const auto parsed = sqhost::studio::parseRequest(requests_.front().dump());
      requests_.pop_front();
      std::string reply;
      if (auto e = studio_.nestedEvent(*parsed.request, reply)) ready_.push_back(*e);
      replies.push_back(reply.empty() ? json(nullptr) : json::parse(reply));
    }
    if (ready_.empty()) return std::nullopt;
    return ready_.front();
  }
  std::optional<sqhost::Event> take() override {
    auto e = peek();
    if (e) ready_.pop_front();
    return e;
  }
  bool empty() const override { return ready_.empty() && requests_.empty(); }
  std::size_t size() const override { return ready_.size() + requests_.size(); }
  void clear() override { ready_.clear(); }

  std::vector<json> shown;
  std::vector<json> replies;

 private:
  sqhost::studio::StudioSession& studio_;
  std::deque<json> requests_;
  std::deque<sqhost::Event> ready_;
};

TEST_F(StudioUpdates, AnAlertWaitingShowsAndANestedPressAnswersIt) {
  PageSource page(
      studio(), {json{{"type", "files"}, {"seq", 1}}, json{{"type", "hello"}, {"seq", 2}},
                 json{{"type", "key"}, {"action", "down"}, {"key", "a"}},
                 json{{"type", "dialog"}, {"dialog", "alert"}, {"action", "press"}, {"item", 1}}});
  host().useEventSource(&page);
  host().dialogs().showAlert(sqhost::AlertRecord::Kind::Error, "The path is full.");
  host().useEventSource(nullptr);

  ASSERT_EQ(page.replies.size(), 4u);
  EXPECT_NE(errorOf(page.replies[0]).find("a dialog is open"), std::string::npos);
  EXPECT_EQ(page.replies[1]["full"], true);
  EXPECT_EQ(page.replies[1]["alert"]["text"], "The path is full.");
  EXPECT_TRUE(page.replies[2].is_null());  // a key for the view: the alert's loop refuses it
  ASSERT_FALSE(page.shown.empty());
  EXPECT_EQ(page.shown[0]["alert"]["kind"], "error");
  EXPECT_TRUE(noted("input refused while \"alert\" is open"));
  // Answered: the alert is gone from the next update.
  EXPECT_TRUE(update()["alert"].is_null());
}

TEST_F(StudioUpdates, AModalDialogShowsItsItemsAndAnswersFromThePage) {
  PageSource page(studio(),
                  {json{{"type", "undo"}},
                   json{{"type", "dialog"}, {"dialog", ""}, {"action", "press"}, {"item", 1}}});
  host().useEventSource(&page);
  sqhost::Event about;
  about.kind = sqhost::Event::Kind::About;
  host().handleEvent(about);
  host().useEventSource(nullptr);

  ASSERT_EQ(page.replies.size(), 2u);
  EXPECT_NE(errorOf(page.replies[0]).find("a dialog is open"), std::string::npos);
  ASSERT_FALSE(page.shown.empty());
  const json& modal = page.shown[0]["modal"];
  ASSERT_TRUE(modal.is_object()) << page.shown[0].dump();
  EXPECT_FALSE(modal["items"].empty());
  bool okDefault = false;
  for (const json& item : modal["items"]) {
    if (item["id"] == 1) okDefault = item["default"].get<bool>();
  }
  EXPECT_TRUE(okDefault);
  EXPECT_TRUE(noted("closed with item 1"));
  EXPECT_TRUE(update()["modal"].is_null());
}

}  // namespace
