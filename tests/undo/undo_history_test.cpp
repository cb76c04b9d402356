// Undo history kept as records: random histories of every kind of change, silent and unrecorded
// changes, cancelling contexts, drags that touch only the dragged path, and what entries keep.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "document/document_list.hpp"
#include "document/random_edits.hpp"
#include "sqsdk/errors.h"
#include "undo/undo_manager.hpp"

namespace sqhost {
namespace {

using test::corner;

ArtId addPath(Document& doc, ArtId parent, std::size_t index = 0) {
  const Result<ArtId> id = doc.createArt(ArtType::kPath, parent, index);
  EXPECT_TRUE(id.ok());
  const std::vector<AIPathSegment> segments{corner(0, 0), corner(10, 0), corner(10, 10)};
  doc.modifyArt(id.value)->insertSegments(0, segments);
  return id.value;
}

void movePoint(Document& doc, ArtId path, std::size_t i, float dx) {
  AIPathSegment s = doc.findArt(path)->path().segment(i);
  s.p.h += dx;
  doc.modifyArt(path)->setSegments(i, std::span(&s, 1));
}

class UndoHistory : public ::testing::Test {
 protected:
  void SetUp() override {
    doc = &documents.open(Document::makeNew());
    top = doc->layer(0).group().id();
    for (int i = 0; i < 20; ++i) paths.push_back(addPath(*doc, top));
    undo.attach(*doc);
  }

  DocumentList documents;
  UndoManager undo{documents};
  Document* doc = nullptr;
  ArtId top = kNoId;
  std::vector<ArtId> paths;
};

// Every kind of change, in contexts (some silent, some with a mark and UndoChanges) and outside
// them, with undo and redo in between: each undo gives the document as it was when the entry's
// context began, each redo as it was when it ended, and an entry is made exactly when a context
// ended with the document changed.
TEST_F(UndoHistory, RandomHistoriesRestoreTheStatesBeforeAndAfterEachEntry) {
  struct Step {
    Document before, after;
  };
  std::mt19937 rng(99);
  std::vector<Step> undone, redone;
  for (int round = 0; round < 300; ++round) {
    const unsigned what = rng() % 10;
    if (what < 5) {
      const Document before = *doc;
      undo.beginContext("edit");
      const bool silent = what == 0;
      if (silent) undo.setSilent(true);
      for (unsigned k = rng() % 3; k-- > 0;) test::randomEdit(*doc, rng);
      if (what == 1) {
        undo.markGestureStart();
        const Document atMark = *doc;
        for (int step = 0; step < 3; ++step) {
          test::randomEdit(*doc, rng);
          ASSERT_EQ(undo.undoChanges(), kNoErr);
          ASSERT_TRUE(*doc == atMark) << "round " << round;
        }
        test::randomEdit(*doc, rng);
      }
      undo.endContext();
      if (!silent && !(*doc == before)) {
        undone.push_back({before, *doc});
        redone.clear();
      }
      ASSERT_EQ(undo.undoCount(), undone.size()) << "round " << round;
      ASSERT_EQ(undo.redoCount(), redone.size()) << "round " << round;
    } else if (what == 5) {
      test::randomEdit(*doc, rng);  // outside any context: kept, not recorded
    } else if (what < 8) {
      ASSERT_EQ(undo.undo(), !undone.empty());
      if (undone.empty()) continue;
      ASSERT_TRUE(*doc == undone.back().before) << "undo in round " << round;
      redone.push_back(std::move(undone.back()));
      undone.pop_back();
    } else {
      ASSERT_EQ(undo.redo(), !redone.empty());
      if (redone.empty()) continue;
      ASSERT_TRUE(*doc == redone.back().after) << "redo in round " << round;
      undone.push_back(std::move(redone.back()));
      redone.pop_back();
    }
  }
  EXPECT_GT(undo.undoCount() + undo.redoCount(), 10u);
}

// Changes made between entries (silently or with no context) are part of the state the next
// entry starts from, but not of the history: undoing the entry before takes them back, and
// redoing the next entry makes them again.
TEST_F(UndoHistory, UnrecordedChangesBetweenEntries) {
  const Document start = *doc;
  undo.beginContext("one");
  movePoint(*doc, paths[0], 1, 5);
  undo.endContext();
  const Document afterOne = *doc;
  doc->modifyArt(paths[1])->setSelected(true);  // no context
  undo.beginContext("silent");
  undo.setSilent(true);
  doc->removeArt(paths[2]);
  undo.endContext();
  const Document beforeTwo = *doc;
  undo.beginContext("two");
  movePoint(*doc, paths[3], 0, 7);
  undo.endContext();
  const Document afterTwo = *doc;
  ASSERT_EQ(undo.undoCount(), 2u);

  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(*doc == beforeTwo);
  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(*doc == start);
  ASSERT_TRUE(undo.redo());
  EXPECT_TRUE(*doc == afterOne);
  ASSERT_TRUE(undo.redo());
  EXPECT_TRUE(*doc == afterTwo);

  // A silent change after the last entry is taken back by undo; a new entry after an undo starts
  // from the state that undo gave, unrecorded changes included.
  doc->modifyArt(paths[4])->reverse();
  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(*doc == beforeTwo);
  doc->modifyArt(paths[5])->setSelected(true);
  const Document beforeThree = *doc;
  undo.beginContext("three");
  doc->removeArt(paths[6]);
  undo.endContext();
  EXPECT_EQ(undo.redoCount(), 0u);
  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(*doc == beforeThree);
  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(*doc == start);
}

// Creating and disposing of an object, setting states back, taking everything back with
// UndoChanges: contexts that end with the document as it began make no entry.
TEST_F(UndoHistory, ContextsThatCancelOutMakeNoEntry) {
  const Document start = *doc;
  undo.beginContext("temporary art");
  const ArtId temp = addPath(*doc, top, 3);
  movePoint(*doc, temp, 0, 1);
  doc->modifyArt(paths[0])->reverse();  // a change elsewhere, set back below
  doc->removeArt(temp);
  doc->modifyArt(paths[0])->reverse();
  undo.endContext();
  undo.beginContext("temporary layer");
  const LayerId layer = doc->insertLayer(1, LayerProps{}).value;
  addPath(*doc, doc->findLayer(layer)->group().id());
  doc->removeLayer(layer);
  undo.endContext();
  undo.beginContext("back and forth");
  doc->modifyArt(paths[1])->setSelected(true);
  doc->modifyArt(paths[1])->setSelected(false);
  doc->setActiveArtboard(0);
  undo.endContext();
  undo.beginContext("taken back");
  movePoint(*doc, paths[2], 0, 3);
  doc->removeArt(paths[3]);
  undo.undoChanges();
  undo.endContext();
  EXPECT_EQ(undo.undoCount(), 0u);
  EXPECT_EQ(undo.recordCount(), 0u);
  EXPECT_TRUE(*doc == start);
}

// Insertions, removals (with a text frame's path object), layers and the page in one entry.
TEST_F(UndoHistory, StructureLayersAndPageUndoAndRedoExactly) {
  const Document before = *doc;
  undo.beginContext("everything");
  // A temporary object that shifted a removed sibling does not cancel out with its removal.
  const ArtId temp = addPath(*doc, top, 0);
  ASSERT_TRUE(doc->removeArt(paths[5]));
  ASSERT_TRUE(doc->removeArt(temp));
  const ArtId group = doc->createArt(ArtType::kGroup, top, 2).value;
  const ArtId inGroup = addPath(*doc, group);
  ASSERT_TRUE(doc->removeArt(paths[7]));
  auto frame = Art::createTextFrame(TextFrameType::kArea, "t", Art::create(ArtType::kPath));
  const ArtId frameId = frame->id();
  ASSERT_EQ(doc->insertArt(top, 0, std::move(frame)), kNoErr);
  ASSERT_TRUE(doc->removeAnyArt(doc->findArt(frameId)->textPath()->id()));
  ASSERT_EQ(doc->createArt(ArtType::kPath, frameId, 0).error, kNoErr);
  const LayerId second = doc->insertLayer(0, LayerProps{"Second"}).value;
  addPath(*doc, doc->findLayer(second)->group().id());
  LayerProps locked = doc->layer(1).props();
  locked.locked = true;
  doc->setLayerProps(doc->layer(1).id(), locked);
  Artboard board = doc->artboard(0);
  board.rulerOrigin = {3, 4};
  doc->setArtboard(0, board);
  undo.endContext();
  const Document after = *doc;

  const std::uint64_t generation = doc->generation();
  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(*doc == before);
  EXPECT_NE(doc->generation(), generation);
  // Ids of what the entry created resolve to nothing; those it removed resolve again.
  EXPECT_EQ(doc->findArt(inGroup), nullptr);
  EXPECT_EQ(doc->findLayer(second), nullptr);
  EXPECT_NE(doc->findArt(paths[7]), nullptr);
  ASSERT_TRUE(undo.redo());
  EXPECT_TRUE(*doc == after);
  EXPECT_EQ(doc->findArt(inGroup)->parent()->id(), group);
  EXPECT_EQ(doc->findArt(paths[7]), nullptr);
}

// A drag: every step takes back the previous one. Only the dragged path is recorded and put back;
// the other objects are never copied or replaced.
TEST_F(UndoHistory, DragStepsTouchOnlyTheDraggedPath) {
  const Document before = *doc;
  std::vector<const Art*> addresses;
  for (ArtId id : paths) addresses.push_back(doc->findArt(id));
  const Document shared = *doc;  // shares every path array with the document
  undo.beginContext("drag");
  doc->modifyArt(paths[0])->setSegmentSelection(1, SegmentSelection::kAnchor);  // mouse down
  undo.markGestureStart();
  const Document atMouseDown = *doc;
  movePoint(*doc, paths[0], 1, 0.5f);  // a first drag step that takes nothing back
  for (int step = 1; step <= 5; ++step) {
    const std::uint64_t generation = doc->generation();
    ASSERT_EQ(undo.undoChanges(), kNoErr);
    EXPECT_TRUE(*doc == atMouseDown);
    EXPECT_NE(doc->generation(), generation);
    movePoint(*doc, paths[0], 1, static_cast<float>(step));
    EXPECT_EQ(undo.recordCount(), 2u);  // the mouse-down image and the drag's
  }
  for (std::size_t i = 1; i < paths.size(); ++i) {
    EXPECT_EQ(doc->findArt(paths[i]), addresses[i]);
    EXPECT_TRUE(
        doc->findArt(paths[i])->path().sharesSegmentsWith(shared.findArt(paths[i])->path()));
  }
  undo.endContext();
  const Document after = *doc;
  EXPECT_EQ(undo.recordCount(), 1u);  // one image of the one path
  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(*doc == before);
  ASSERT_TRUE(undo.redo());
  EXPECT_TRUE(*doc == after);
}

// Selection changes keep two small records each, however large the document.
TEST_F(UndoHistory, EntriesKeepOnlyWhatChanged) {
  for (int i = 0; i < 200; ++i) addPath(*doc, top);
  const std::size_t atStart = undo.recordCount();
  ArtId selected = paths[0];
  for (std::size_t i = 1; i <= 50; ++i) {
    undo.beginContext("Selection");
    doc->modifyArt(selected)->setSelected(false);
    selected = paths[i % paths.size()];
    doc->modifyArt(selected)->setSelected(true);
    undo.endContext();
  }
  EXPECT_EQ(undo.undoCount(), 50u);
  EXPECT_EQ(undo.recordCount() - atStart, 1 + 49 * 2u);  // the first change selects only
}

// A document opened inside a context joins it from its opening state; one closed drops out.
TEST_F(UndoHistory, DocumentsOpenedAndClosedInsideAContext) {
  undo.beginContext("two documents");
  movePoint(*doc, paths[0], 0, 1);
  undo.markGestureStart();
  Document& other = documents.open(Document::makeNew());
  undo.attach(other);
  const Document opened = other;
  const ArtId otherPath = addPath(other, other.layer(0).group().id());
  ASSERT_EQ(undo.undoChanges(), kNoErr);
  EXPECT_TRUE(other == opened);
  addPath(other, other.layer(0).group().id());
  const Document otherAfter = other;
  undo.endContext();
  EXPECT_EQ(other.findArt(otherPath), nullptr);
  ASSERT_TRUE(undo.undo());
  EXPECT_TRUE(other == opened);
  ASSERT_TRUE(undo.redo());
  EXPECT_TRUE(other == otherAfter);

  undo.beginContext("closing");
  movePoint(other, other.layer(0).group().child(0).id(), 0, 2);
  undo.detach(other);
  ASSERT_EQ(documents.close(other.id()), kNoErr);
  undo.endContext();
  EXPECT_EQ(undo.undoCount(), 1u);  // the first entry, now of the first document only
  ASSERT_TRUE(undo.undo());
  EXPECT_EQ(doc->findArt(paths[0])->path().segment(0).p.h, 0.0f);
}

}  // namespace
}  // namespace sqhost
