// Documents: lookup by id, structure rules, copies, and undo through observed before-images.
#include "document/document.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <variant>

#include "document/document_list.hpp"

namespace sqhost {
namespace {

AIPathSegment corner(float h, float v) {
  return AIPathSegment{{h, v}, {h, v}, {h, v}, 1};
}

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

// Collects every object id of a document, for picking random targets.
void collect(const Art& art, std::vector<const Art*>& out) {
  out.push_back(&art);
  for (std::size_t i = 0; i < art.childCount(); ++i) collect(art.child(i), out);
}

void randomEdit(Document& doc, std::mt19937& rng) {
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  auto coord = [&] { return std::uniform_real_distribution<float>(-100, 100)(rng); };
  std::vector<const Art*> all;
  for (std::size_t i = 0; i < doc.layerCount(); ++i) collect(doc.layer(i).group(), all);
  std::vector<const Art*> paths, holders;
  for (const Art* a : all) {
    if (a->type() == ArtType::kPath) paths.push_back(a);
    if (a->type() == ArtType::kGroup) holders.push_back(a);
  }
  switch (pick(9)) {
    case 0: {
      const Art* g = holders[pick(holders.size())];
      auto p = Art::create(ArtType::kPath);
      p->insertSegments(
          0, std::vector<AIPathSegment>{corner(coord(), coord()), corner(coord(), coord())});
      doc.insertArt(g->id(), pick(g->childCount() + 1), std::move(p));
      break;
    }
    case 1:
      if (!paths.empty()) {
        Art* p = doc.modifyArt(paths[pick(paths.size())]->id());
        p->insertSegments(pick(p->path().size() + 1),
                          std::vector<AIPathSegment>{corner(coord(), coord())});
      }
      break;
    case 2:
      if (!paths.empty()) {
        Art* p = doc.modifyArt(paths[pick(paths.size())]->id());
        if (!p->path().empty()) {
          p->setSegmentSelection(pick(p->path().size()), static_cast<SegmentSelection>(pick(5)));
        }
      }
      break;
    case 3:
      if (!paths.empty()) doc.modifyArt(paths[pick(paths.size())]->id())->reverse();
      break;
    case 4: {
      const Art* a = all[pick(all.size())];
      if (a->parent() != nullptr) doc.removeArt(a->id());
      break;
    }
    case 5: {
      const Art* a = all[pick(all.size())];
      doc.modifyArt(a->id())->setAttributes(kArtLocked | kArtHidden, pick(2) == 0);
      break;
    }
    case 6: {
      LayerProps props;
      props.name = "L" + std::to_string(pick(100));
      doc.insertLayer(pick(doc.layerCount() + 1), props);
      break;
    }
    case 7:
      if (doc.layerCount() > 1) {
        doc.removeLayer(doc.layer(pick(doc.layerCount())).id());
      } else {
        LayerProps props = doc.layer(0).props();
        props.locked = !props.locked;
        doc.setLayerProps(doc.layer(0).id(), props);
      }
      break;
    case 8: {
      Artboard board = doc.artboard(0);
      board.rulerOrigin = AIRealPoint{coord(), coord()};
      doc.setArtboard(0, board);
      break;
    }
  }
}

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
