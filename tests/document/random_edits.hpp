// Random document edits of every kind (art, paths, attributes, layers, artboards) for tests.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "document/document.hpp"

namespace sqhost::test {

inline AIPathSegment corner(float h, float v) {
  return AIPathSegment{{h, v}, {h, v}, {h, v}, 1};
}

// Collects every object id of a document, for picking random targets.
inline void collect(const Art& art, std::vector<const Art*>& out) {
  out.push_back(&art);
  for (std::size_t i = 0; i < art.childCount(); ++i) collect(art.child(i), out);
}

inline void randomEdit(Document& doc, std::mt19937& rng) {
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

}  // namespace sqhost::test
