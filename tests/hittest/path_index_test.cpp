// The path index answers exactly as a walk over the document would, however the document changed.
#include "hittest/path_index.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "hittest/hit_test.hpp"

namespace sqhost {
namespace {

// Every pickable path whose bounds grown by radius hold p, topmost first, found the slow way.
void walk(const Document& doc, const Art& art, const AIRealPoint& p, double r,
          std::vector<const Art*>& out) {
  if (art.type() == ArtType::kPath) {
    const auto& b = art.path().bounds();
    if (b && pickable(doc, art) && p.h >= b->left - r && p.h <= b->right + r &&
        p.v >= b->bottom - r && p.v <= b->top + r) {
      out.push_back(&art);
    }
    return;
  }
  for (std::size_t i = 0; i < art.childCount(); ++i) walk(doc, art.child(i), p, r, out);
}

std::vector<const Art*> expected(const Document& doc, const AIRealPoint& p, double r) {
  std::vector<const Art*> out;
  for (std::size_t i = 0; i < doc.layerCount(); ++i) walk(doc, doc.layer(i).group(), p, r, out);
  return out;
}

std::vector<AIPathSegment> squareAt(float h, float v, float size) {
  std::vector<AIPathSegment> s;
  for (const auto& [dh, dv] : {std::pair{0.f, 0.f}, {size, 0.f}, {size, size}, {0.f, size}}) {
    const AIRealPoint p{h + dh, v + dv};
    s.push_back({p, {p.h - 2, p.v}, {p.h + 2, p.v}, 0});
  }
  return s;
}

std::unique_ptr<Art> pathAt(float h, float v, float size) {
  auto art = Art::create(ArtType::kPath);
  art->insertSegments(0, squareAt(h, v, size));
  return art;
}

// A document of two layers holding paths, groups of paths, a compound path and area text.
Document makeDocument(std::mt19937& rng) {
  std::uniform_real_distribution<float> coord(0, 400), size(2, 60);
  Document doc;
  for (int l = 0; l < 2; ++l) {
    const LayerId layer = doc.insertLayer(doc.layerCount(), LayerProps{}).value;
    const ArtId top = doc.findLayer(layer)->group().id();
    for (int i = 0; i < 6; ++i) doc.insertArt(top, 0, pathAt(coord(rng), coord(rng), size(rng)));
    const ArtId group = doc.createArt(ArtType::kGroup, top, 1).value;
    for (int i = 0; i < 4; ++i) doc.insertArt(group, 0, pathAt(coord(rng), coord(rng), size(rng)));
    const ArtId compound = doc.createArt(ArtType::kCompoundPath, group, 0).value;
    for (int i = 0; i < 2; ++i)
      doc.insertArt(compound, 0, pathAt(coord(rng), coord(rng), size(rng)));
  }
  auto text = Art::createTextFrame(TextFrameType::kArea, "x", pathAt(100, -100, 50));
  doc.insertArt(doc.layer(0).group().id(), 0, std::move(text));
  return doc;
}

// Every object below the layer groups, and the containers among them (layer groups included).
void objectsOf(const Art& art, std::vector<const Art*>& all, std::vector<const Art*>& holders) {
  if (art.canHoldChild(ArtType::kPath) && art.type() != ArtType::kTextFrame)
    holders.push_back(&art);
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    all.push_back(&art.child(i));
    objectsOf(art.child(i), all, holders);
  }
}

// Changes a document in one random way: through each kind of change the model has.
void change(Document& doc, const Document& earlier, std::mt19937& rng) {
  std::vector<const Art*> all, holders;
  for (std::size_t i = 0; i < doc.layerCount(); ++i) objectsOf(doc.layer(i).group(), all, holders);
  auto pick = [&](const std::vector<const Art*>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
  };
  std::uniform_real_distribution<float> shift(-80, 80);
  const Art* art = pick(all);
  switch (std::uniform_int_distribution<int>(0, 8)(rng)) {
    case 0:
    case 1:  // move a path, the most common edit
      if (art->type() == ArtType::kPath && !art->path().empty()) {
        std::vector<AIPathSegment> s(art->path().segments().begin(), art->path().segments().end());
        const float dh = shift(rng), dv = shift(rng);
        for (AIPathSegment& seg : s) {
          for (AIRealPoint* p : {&seg.p, &seg.in, &seg.out}) *p = {p->h + dh, p->v + dv};
        }
        doc.modifyArt(art->id())->setSegments(0, s);
      }
      break;
    case 2: {  // a new path somewhere
      const Art* holder = pick(holders);
      doc.insertArt(holder->id(), holder->childCount() / 2,
                    pathAt(shift(rng) + 200, shift(rng) - 200, 20));
      break;
    }
    case 3:  // take something out
      doc.removeArt(art->id());
      break;
    case 4:  // lock or hide, or show and unlock
      doc.modifyArt(art->id())->setAttributes(
          std::uniform_int_distribution<int>(0, 1)(rng) ? kArtLocked : kArtHidden,
          !(art->locked() || art->hidden()));
      break;
    case 5: {  // a layer shown, hidden, locked or unlocked
      const Layer& layer = doc.layer(std::uniform_int_distribution<std::size_t>(0, 1)(rng));
      LayerProps props = layer.props();
      (std::uniform_int_distribution<int>(0, 1)(rng) ? props.visible : props.locked) ^= true;
      doc.setLayerProps(layer.id(), props);
      break;
    }
    case 6:  // selection alone
      if (art->type() == ArtType::kPath) doc.modifyArt(art->id())->setSelected(!art->selected());
      break;
    case 7:  // a path emptied
      if (art->type() == ArtType::kPath)
        doc.modifyArt(art->id())->deleteSegments(0, art->path().size());
      break;
    case 8:  // the whole document put back as it was, as undo may
      doc = earlier;
      break;
  }
}

TEST(PathIndex, AnswersAsAWalkWouldAfterEveryKindOfChange) {
  std::mt19937 rng(7);
  // More documents than the host keeps indexes for, so they also take each other's place.
  std::vector<Document> docs;
  std::vector<Document> earlier;
  for (int i = 0; i < 6; ++i) {
    docs.push_back(makeDocument(rng));
    earlier.push_back(docs.back());
  }
  std::uniform_real_distribution<float> coord(-50, 450), radius(0, 80);
  for (int step = 0; step < 1500; ++step) {
    const std::size_t d = std::uniform_int_distribution<std::size_t>(0, docs.size() - 1)(rng);
    if (step % 50 == 0) earlier[d] = docs[d];
    change(docs[d], earlier[d], rng);
    // Now and then enough queries for the tree to be built, so that both ways of answering and
    // the moves in the tree are checked.
    const int queries = step % 3 == 0 ? PathIndex::kUsesBeforeTree + 4 : 4;
    for (int q = 0; q < queries; ++q) {
      const AIRealPoint p{coord(rng), -coord(rng)};
      const double r = radius(rng);
      ASSERT_EQ(pickablePathsNear(docs[d], p, r), expected(docs[d], p, r))
          << "step " << step << " at " << p.h << ", " << p.v << " radius " << r;
    }
  }
}

// Queries of an unchanged document until the index has built its tree.
void useUntilBuilt(const Document& doc) {
  for (std::size_t i = 0; i <= PathIndex::kUsesBeforeTree; ++i) pickablePathsNear(doc, {0, 0}, 1);
}

TEST(PathIndex, AnEditedPathMovesInTheTreeAndNewPathsRebuildIt) {
  std::mt19937 rng(11);
  Document doc = makeDocument(rng);
  const PathIndex& index = pathIndexOf(doc);
  const std::size_t rebuilds = index.rebuilds();
  const std::size_t moves = index.moves();
  EXPECT_EQ(index.size(), 25u);
  useUntilBuilt(doc);
  EXPECT_EQ(index.rebuilds(), rebuilds + 1);

  // One path moved: the walk finds the same paths in the same order, one entry moves.
  const Art& path = doc.layer(0).group().child(1);
  auto s = squareAt(900, -900, 10);
  doc.modifyArt(path.id())->setSegments(0, s);
  EXPECT_EQ(pickablePathsNear(doc, {905, -895}, 1), std::vector<const Art*>{&path});
  EXPECT_EQ(index.moves(), moves + 1);

  // Nothing changed: nothing to do. A selection change: a walk, nothing to move.
  pickablePathsNear(doc, {0, 0}, 1);
  doc.modifyArt(path.id())->setSelected(true);
  pickablePathsNear(doc, {0, 0}, 1);
  EXPECT_EQ(index.moves(), moves + 1);
  EXPECT_EQ(index.rebuilds(), rebuilds + 1);

  // A new path: found at once by a scan; the tree is built again once the document stays put.
  doc.insertArt(doc.layer(1).group().id(), 0, pathAt(-500, 500, 10));
  EXPECT_EQ(pickablePathsNear(doc, {-495, 505}, 1).size(), 1u);
  EXPECT_EQ(index.size(), 26u);
  EXPECT_EQ(index.rebuilds(), rebuilds + 1);
  useUntilBuilt(doc);
  EXPECT_EQ(index.rebuilds(), rebuilds + 2);
  EXPECT_EQ(pickablePathsNear(doc, {-495, 505}, 1).size(), 1u);
}

}  // namespace
}  // namespace sqhost
