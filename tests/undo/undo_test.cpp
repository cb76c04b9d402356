// Undo and redo over random edits: exact documents back, contexts, silence and UndoChanges.
#include <gtest/gtest.h>

#include <random>

#include "app/host.hpp"
#include "document/document_list.hpp"
#include "sqsdk/errors.h"
#include "support/host_fixture.hpp"
#include "svg/svg_io.hpp"
#include "undo/undo_manager.hpp"

namespace {

using namespace sqhost;

const char* kSvg = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 200">
  <path id="a" d="M 10 10 C 20 0 40 0 50 10 C 60 20 60 40 50 50 Z"/>
  <path id="b" d="M 100 100 L 150 100 L 150 150"/>
  <g id="g"><path id="c" d="M 0 0 C 10 10 20 10 30 0"/></g>
</svg>)";

class UndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto imported = svg::importSvg(kSvg);
    ASSERT_TRUE(imported.ok()) << imported.error;
    doc = &documents.open(std::move(*imported.document));
    undo.attach(*doc);
  }

  std::vector<ArtId> paths() const {
    std::vector<ArtId> out;
    collect(doc->layer(0).group(), out);
    return out;
  }
  static void collect(const Art& art, std::vector<ArtId>& out) {
    if (art.type() == ArtType::kPath) out.push_back(art.id());
    for (std::size_t i = 0; i < art.childCount(); ++i) collect(art.child(i), out);
  }

  // One random edit: move a point, change a selection, insert or delete a point, reverse, close.
  void randomEdit(std::mt19937& rng) {
    const auto ids = paths();
    if (ids.empty()) return;
    Art* art = doc->modifyArt(ids[rng() % ids.size()]);
    const std::size_t n = art->path().size();
    std::uniform_real_distribution<float> coord(-300, 300);
    switch (rng() % 6) {
      case 0: {
        AIPathSegment s = art->path().segment(rng() % n);
        s.p = {coord(rng), coord(rng)};
        art->setSegments(rng() % n, std::span(&s, 1));
        break;
      }
      case 1:
        art->setSegmentSelection(rng() % n, static_cast<SegmentSelection>(rng() % 5));
        break;
      case 2: {
        const AIPathSegment s{{coord(rng), coord(rng)}, {0, 0}, {1, 1}, 1};
        art->insertSegments(rng() % (n + 1), std::span(&s, 1));
        break;
      }
      case 3:
        if (n > 2) art->deleteSegments(rng() % n, 1);
        break;
      case 4:
        art->reverse();
        break;
      default:
        art->setClosed(!art->path().closed());
        break;
    }
  }

  DocumentList documents;
  UndoManager undo{documents};
  Document* doc = nullptr;
};

TEST_F(UndoTest, RandomContextsUndoAndRedoToExactDocuments) {
  std::mt19937 rng(20261208);
  std::vector<Document> states{*doc};
  for (int round = 0; round < 40; ++round) {
    undo.beginContext("edit " + std::to_string(round));
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int k = 0; k < edits; ++k) randomEdit(rng);
    undo.endContext();
    if (!(*doc == states.back())) states.push_back(*doc);
  }
  ASSERT_EQ(undo.undoCount(), states.size() - 1);
  for (std::size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(undo.undo());
    ASSERT_TRUE(*doc == states[i - 1]) << "after undoing back to state " << i - 1;
  }
  EXPECT_FALSE(undo.undo());
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(undo.redo());
    ASSERT_TRUE(*doc == states[i]) << "after redoing to state " << i;
  }
  EXPECT_FALSE(undo.redo());
}

TEST_F(UndoTest, UndoChangesReturnsToTheMouseDownState) {
  const ArtId a = paths()[0];
  undo.beginContext("drag");
  // What the mouse-down handler changes stays.
  doc->modifyArt(a)->setSegmentSelection(0, SegmentSelection::kAnchor);
  undo.markGestureStart();
  const Document atMouseDown = *doc;
  for (int step = 0; step < 3; ++step) {
    ASSERT_EQ(undo.undoChanges(), kNoErr);
    EXPECT_TRUE(*doc == atMouseDown);
    AIPathSegment s = doc->findArt(a)->path().segment(1);
    s.p.h += 10.0f * static_cast<float>(step + 1);
    doc->modifyArt(a)->setSegments(1, std::span(&s, 1));
  }
  const Document atMouseUp = *doc;
  undo.endContext();
  EXPECT_EQ(undo.undoCount(), 1u);
  ASSERT_TRUE(undo.undo());
  EXPECT_EQ(doc->findArt(a)->path().selection(0), SegmentSelection::kNone);
  ASSERT_TRUE(undo.redo());
  EXPECT_TRUE(*doc == atMouseUp);
  EXPECT_EQ(undo.undoChanges(), kNothingToUndoErr);
}

TEST_F(UndoTest, SilentAndEmptyContextsMakeNoEntry) {
  const ArtId a = paths()[0];
  const std::size_t n = doc->findArt(a)->path().size();
  const float lastAnchor = doc->findArt(a)->path().segment(n - 1).p.h;
  undo.beginContext("nothing");
  undo.endContext();
  undo.beginContext("silent");
  ASSERT_EQ(undo.setSilent(true), kNoErr);
  doc->modifyArt(a)->reverse();
  undo.endContext();
  EXPECT_EQ(undo.undoCount(), 0u);
  // The silent change stays in the document.
  EXPECT_EQ(doc->findArt(a)->path().segment(0).p.h, lastAnchor);
  EXPECT_EQ(undo.setSilent(true), kNothingToUndoErr);
}

TEST_F(UndoTest, NewEntryClearsRedoAndNestedBeginsJoinOneContext) {
  const ArtId b = paths()[1];
  undo.beginContext("outer");
  undo.beginContext("inner");
  doc->modifyArt(b)->setClosed(true);
  undo.endContext();
  EXPECT_TRUE(undo.inContext());
  doc->modifyArt(b)->reverse();
  undo.endContext();
  EXPECT_EQ(undo.undoCount(), 1u);
  EXPECT_EQ(undo.undoText(), "outer");
  ASSERT_TRUE(undo.undo());
  EXPECT_FALSE(doc->findArt(b)->path().closed());
  EXPECT_EQ(undo.redoCount(), 1u);
  undo.beginContext("other");
  doc->modifyArt(b)->setClosed(true);
  undo.endContext();
  EXPECT_EQ(undo.redoCount(), 0u);
}

TEST_F(UndoTest, ClosingADocumentDropsItsEntries) {
  undo.beginContext("edit");
  doc->modifyArt(paths()[0])->reverse();
  undo.endContext();
  ASSERT_EQ(undo.undoCount(), 1u);
  undo.detach(*doc);
  ASSERT_EQ(documents.close(doc->id()), kNoErr);
  EXPECT_EQ(undo.undoCount(), 0u);
  EXPECT_FALSE(undo.undo());
}

}  // namespace

namespace {

// Plug-in code that runs outside a message pushes its context: the outermost push is one undo
// entry, and a push inside an open context joins it.
TEST(ContextUndoTest, OutermostPushIsOneEntryAndInnerPushesJoin) {
  sqtest::TempDir dir;
  sqhost::HostOptions options;
  options.pluginPath = SQ_PLUGIN_PATH;
  options.preferenceFile = dir.path() / "p.json";
  sqhost::Host host(options);
  auto imported = sqhost::svg::importSvg(
      R"(<svg xmlns="http://www.w3.org/2000/svg"><path id="p" d="M 0 0 L 10 0 L 10 10"/></svg>)");
  ASSERT_TRUE(imported.ok());
  sqhost::Document& doc = host.openDocument(std::move(*imported.document));
  const sqhost::ArtId id = doc.layer(0).group().child(0).id();

  AIAppContextHandle outer = host.pushContext();
  AIAppContextHandle inner = host.pushContext();
  doc.modifyArt(id)->reverse();
  EXPECT_FALSE(host.popContext(outer));  // not the innermost
  EXPECT_TRUE(host.popContext(inner));
  doc.modifyArt(id)->setClosed(true);
  EXPECT_TRUE(host.popContext(outer));
  EXPECT_EQ(host.undo().undoCount(), 1u);
  ASSERT_TRUE(host.undo().undo());
  EXPECT_FALSE(doc.findArt(id)->path().closed());
  EXPECT_EQ(doc.findArt(id)->path().segment(0).p.h, 0.0f);

  host.undo().beginContext("gesture");
  AIAppContextHandle joined = host.pushContext();
  doc.modifyArt(id)->reverse();
  EXPECT_TRUE(host.popContext(joined));
  EXPECT_TRUE(host.undo().inContext());
  host.undo().endContext();
  EXPECT_EQ(host.undo().undoCount(), 1u);
}

}  // namespace
