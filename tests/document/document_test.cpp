// Documents: lookup by id, structure rules, copies, and undo through observed before-images.
#include "document/document.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <variant>

#include "document/document_list.hpp"
#include "document/random_edits.hpp"

namespace sqhost {
namespace {

using test::corner;
using test::randomEdit;

ArtId addPath(Document& doc, ArtId parent, std::vector<AIPathSegment> segments) {
  Result<ArtId> id = doc.createArt(ArtType::kPath, parent, 0);
  EXPECT_TRUE(id.ok());
  doc.modifyArt(id.value)->insertSegments(0, segments);
  return id.value;
}

TEST(Document, IdsResolveUntilObjectsLeave) {
  Document doc = Document::makeNew();
  ASSERT_EQ(doc.layerCount(), 1u);
  ArtId top = doc.layer(0).group().id();
  ArtId group = doc.createArt(ArtType::kGroup, top, 0).value;
  ArtId path = addPath(doc, group, {corner(0, 0), corner(1, 1)});
  EXPECT_NE(group, path);
  EXPECT_EQ(doc.findArt(path)->parent()->id(), group);
  EXPECT_EQ(doc.layerOfArt(path), &doc.layer(0));
  EXPECT_EQ(doc.artCount(), 3u);

  std::unique_ptr<Art> taken = doc.removeArt(group);
  ASSERT_TRUE(taken);
  EXPECT_EQ(doc.findArt(group), nullptr);
  EXPECT_EQ(doc.findArt(path), nullptr);  // stale ids resolve to nothing
  EXPECT_EQ(doc.modifyArt(path), nullptr);
  EXPECT_EQ(doc.layerOfArt(path), nullptr);
  // Put back, it resolves again under the same ids.
  ASSERT_EQ(doc.insertArt(top, 0, std::move(taken)), kNoErr);
  EXPECT_EQ(doc.findArt(path)->parent()->id(), group);

  // The same ids cannot be inserted twice; copies with fresh ids can.
  EXPECT_EQ(doc.insertArt(top, 0, doc.cloneArt(group)), kBadParameterErr);
  Result<ArtId> copy = doc.duplicateArt(group, top, 1);
  ASSERT_TRUE(copy.ok());
  EXPECT_NE(copy.value, group);
  EXPECT_TRUE(sameContent(*doc.findArt(copy.value), *doc.findArt(group)));
  EXPECT_EQ(doc.artCount(), 5u);
}

TEST(Document, StructureRulesAreEnforced) {
  Document doc = Document::makeNew();
  ArtId top = doc.layer(0).group().id();
  ArtId path = addPath(doc, top, {corner(0, 0)});
  EXPECT_EQ(doc.createArt(ArtType::kPath, path, 0).error, kBadParameterErr);
  EXPECT_EQ(doc.createArt(ArtType::kPath, top, 5).error, kOutOfRangeErr);
  EXPECT_EQ(doc.createArt(ArtType::kPath, 999999999, 0).error, kBadHandleErr);
  ArtId compound = doc.createArt(ArtType::kCompoundPath, top, 0).value;
  EXPECT_EQ(doc.createArt(ArtType::kGroup, compound, 0).error, kBadParameterErr);
  EXPECT_TRUE(doc.createArt(ArtType::kPath, compound, 0).ok());

  // A text frame keeps its path object, plug-in art its result group; layer groups stay.
  auto frame = Art::createTextFrame(TextFrameType::kOnPath, "abc");
  ArtId frameId = frame->id(), framePath = frame->textPath()->id();
  ASSERT_EQ(doc.insertArt(top, 0, std::move(frame)), kNoErr);
  EXPECT_EQ(doc.removeArt(framePath), nullptr);
  EXPECT_EQ(doc.createArt(ArtType::kPath, frameId, 0).error, kBadParameterErr);
  ArtId plugin = doc.createArt(ArtType::kPluginArt, top, 0).value;
  ArtId result = doc.findArt(plugin)->pluginResult()->id();
  EXPECT_EQ(doc.removeArt(result), nullptr);
  EXPECT_TRUE(doc.createArt(ArtType::kPath, result, 0).ok());
  EXPECT_EQ(doc.removeArt(top), nullptr);
  EXPECT_EQ(Art::createTextFrame(TextFrameType::kPoint, "p")->textPath(), nullptr);
}

TEST(Document, PageValuesMustBeFinite) {
  Document doc;
  const PageState before = doc.pageState();
  Artboard board;
  board.bounds = AIRealRect{0, 10, std::numeric_limits<float>::infinity(), 0};
  EXPECT_EQ(doc.setArtboard(0, board), kNonFiniteErr);
  board.bounds = AIRealRect{10, 10, 0, 0};
  EXPECT_EQ(doc.setArtboard(0, board), kBadParameterErr);
  EXPECT_EQ(doc.setActiveArtboard(1), kOutOfRangeErr);
  EXPECT_EQ(doc.setCanvasBounds(AIRealRect{0, std::nanf(""), 1, 0}), kNonFiniteErr);
  EXPECT_EQ(doc.pageState(), before);
  EXPECT_TRUE(sameRect(doc.canvasBounds(), Document::canvasAround(doc.artboard(0).bounds)));
}

TEST(DocumentList, FrontActivateClose) {
  DocumentList list;
  EXPECT_EQ(list.front(), nullptr);
  DocumentId a = list.open(Document::makeNew()).id();
  DocumentId b = list.open(Document::makeNew()).id();
  EXPECT_EQ(list.front()->id(), b);
  EXPECT_EQ(list.activate(a), kNoErr);
  EXPECT_EQ(list.at(0).id(), a);
  EXPECT_EQ(list.close(a), kNoErr);
  EXPECT_EQ(list.find(a), nullptr);
  EXPECT_EQ(list.close(a), kBadHandleErr);
  EXPECT_EQ(list.count(), 1u);
}

// An undo recorder built only on the observer: it keeps before-images and plays them back in
// reverse order.
class Recorder : public DocumentObserver {
 public:
  void artWillChange(const Document&, const Art& art) override {
    ArtId id = art.id();
    ArtData image = art.data();
    steps_.push_back([id, image](Document& d) { d.modifyArt(id)->restoreData(image); });
  }
  void artInserted(const Document&, ArtId, std::size_t, const Art& art) override {
    ArtId id = art.id();
    steps_.push_back([id](Document& d) { d.removeArt(id); });
  }
  void artRemoved(const Document&, ArtId parent, std::size_t index, const Art& art) override {
    std::shared_ptr<Art> image = art.clone();
    steps_.push_back(
        [parent, index, image](Document& d) { d.insertArt(parent, index, image->clone()); });
  }
  void layerWillChange(const Document&, const Layer& layer) override {
    LayerId id = layer.id();
    LayerProps props = layer.props();
    steps_.push_back([id, props](Document& d) { d.setLayerProps(id, props); });
  }
  void layerInserted(const Document&, std::size_t, const Layer& layer) override {
    LayerId id = layer.id();
    steps_.push_back([id](Document& d) { d.removeLayer(id); });
  }
  void layerRemoved(const Document&, std::size_t index, const Layer& layer) override {
    std::shared_ptr<Layer> image = layer.clone();
    steps_.push_back([index, image](Document& d) { d.insertLayer(index, image->clone()); });
  }
  void documentWillChange(const Document& doc) override {
    PageState page = doc.pageState();
    steps_.push_back([page](Document& d) { d.setPageState(page); });
  }

  void undo(Document& doc) {
    doc.setObserver(nullptr);
    for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) (*it)(doc);
    steps_.clear();
  }

 private:
  std::vector<std::function<void(Document&)>> steps_;
};

TEST(DocumentUndo, BeforeImagesRestoreTheExactDocument) {
  std::mt19937 rng(20240611);
  Document doc = Document::makeNew();
  for (int round = 0; round < 60; ++round) {
    const Document before = doc;  // a copy keeps every id
    ASSERT_TRUE(before == doc);
    Recorder recorder;
    doc.setObserver(&recorder);
    int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) randomEdit(doc, rng);
    Document after = doc;
    recorder.undo(doc);
    ASSERT_TRUE(doc == before) << "round " << round;
    // Move on from the edited state so the document grows.
    doc = after;
    ASSERT_TRUE(doc == after);
  }
  EXPECT_GT(doc.artCount(), 5u);
}

TEST(DocumentUndo, CopiesAreIndependent) {
  Document doc = Document::makeNew();
  ArtId path = addPath(doc, doc.layer(0).group().id(), {corner(0, 0), corner(5, 5)});
  Document copy = doc;
  EXPECT_EQ(copy.id(), doc.id());
  EXPECT_NE(copy.findArt(path), doc.findArt(path));
  doc.modifyArt(path)->setSegmentSelection(0, SegmentSelection::kAnchor);
  EXPECT_FALSE(copy == doc);
  EXPECT_FALSE(copy.findArt(path)->selected());
  Document moved = std::move(copy);
  EXPECT_TRUE(moved.findArt(path) != nullptr);
}

}  // namespace
}  // namespace sqhost

namespace sqhost {
namespace {

// Counts the changes it is told of.
struct Counter : DocumentObserver {
  int told = 0;
  void artWillChange(const Document&, const Art&) override { ++told; }
  void artInserted(const Document&, ArtId, std::size_t, const Art&) override { ++told; }
  void documentWillChange(const Document&) override { ++told; }
};

TEST(Document, EveryChangeTellsEachObserverAndRenewsTheGeneration) {
  Document doc = Document::makeNew();
  Counter first, second;
  doc.addObserver(&first);
  doc.addObserver(&second);
  doc.addObserver(&first);  // one registration each
  std::uint64_t seen = doc.generation();
  auto renewed = [&] {
    const bool changed = doc.generation() != seen;
    seen = doc.generation();
    return changed;
  };
  const ArtId path = addPath(doc, doc.layer(0).group().id(), {corner(0, 0), corner(5, 5)});
  EXPECT_TRUE(renewed());
  EXPECT_EQ(first.told, 2);  // inserted, then its segments changed
  EXPECT_EQ(second.told, 2);
  doc.findArt(path);
  EXPECT_FALSE(renewed());  // reading changes nothing
  doc.setActiveArtboard(0);
  EXPECT_TRUE(renewed());
  doc.removeObserver(&first);
  doc.modifyArt(path)->reverse();
  EXPECT_TRUE(renewed());
  EXPECT_EQ(first.told, 3);
  EXPECT_EQ(second.told, 4);
  // A copy is another state of the document: it has a generation of its own, and no observer.
  Document copy = doc;
  EXPECT_NE(copy.generation(), doc.generation());
  EXPECT_EQ(copy.observer(), nullptr);
  copy = doc;
  EXPECT_NE(copy.generation(), doc.generation());
  doc.setObserver(nullptr);
  doc.modifyArt(path)->reverse();
  EXPECT_EQ(second.told, 4);
}

// Taking back the insertion of a text frame's path object or plug-in art's result group needs
// the removal that removeArt refuses.
TEST(Document, RemoveAnyArtTakesOutRequiredChildren) {
  Document doc = Document::makeNew();
  const ArtId top = doc.layer(0).group().id();
  auto frame = Art::createTextFrame(TextFrameType::kArea, "abc");
  const ArtId frameId = frame->id(), framePath = frame->textPath()->id();
  ASSERT_EQ(doc.insertArt(top, 0, std::move(frame)), kNoErr);
  std::unique_ptr<Art> taken = doc.removeAnyArt(framePath);
  ASSERT_TRUE(taken);
  EXPECT_EQ(doc.findArt(frameId)->textPath(), nullptr);
  EXPECT_EQ(doc.insertArt(frameId, 0, std::move(taken)), kNoErr);
  EXPECT_EQ(doc.findArt(frameId)->textPath()->id(), framePath);
  EXPECT_EQ(doc.removeAnyArt(top), nullptr);  // layer groups stay
}

}  // namespace
}  // namespace sqhost
