// Undo logs: recording before-images, applying records both ways, and dropping what changed
// nothing.
#include "undo/undo_log.hpp"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace sqhost {

namespace {

using namespace undo_record;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelled out for clang before version 17, which does not deduce an aggregate's arguments.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Applies a record to the document and returns the record that takes the application back. A
// record the document does not fit is returned unapplied (the manager never lets that happen).
UndoRecord apply(Document& doc, UndoRecord& record) {
  return std::visit(Overloaded{
                        [&](ArtChanged& r) -> UndoRecord {
                          Art* art = doc.modifyArt(r.id);
                          if (art == nullptr || art->type() != r.data.type) return std::move(r);
                          ArtData now = art->data();  // shares the path arrays
                          art->restoreData(std::move(r.data));
                          return ArtChanged{r.id, std::move(now)};
                        },
                        [&](ArtInserted& r) -> UndoRecord {
                          const Art* art = doc.findArt(r.id);
                          if (art == nullptr || art->parent() == nullptr) return r;
                          const ArtId parent = art->parent()->id();
                          const std::size_t index = art->indexInParent();
                          std::unique_ptr<Art> tree = doc.removeAnyArt(r.id);
                          if (!tree) return r;
                          return ArtRemoved{parent, index, std::move(tree)};
                        },
                        [&](ArtRemoved& r) -> UndoRecord {
                          const ArtId id = r.tree->id();
                          if (doc.insertArt(r.parent, r.index, std::move(r.tree)) != kNoErr)
                            return std::move(r);
                          return ArtInserted{id};
                        },
                        [&](LayerChanged& r) -> UndoRecord {
                          const Layer* layer = doc.findLayer(r.id);
                          if (layer == nullptr) return std::move(r);
                          LayerProps now = layer->props();
                          doc.setLayerProps(r.id, std::move(r.props));
                          return LayerChanged{r.id, std::move(now)};
                        },
                        [&](LayerInserted& r) -> UndoRecord {
                          const std::optional<std::size_t> index = doc.layerIndex(r.id);
                          if (!index) return r;
                          return LayerRemoved{*index, doc.removeLayer(r.id)};
                        },
                        [&](LayerRemoved& r) -> UndoRecord {
                          const LayerId id = r.layer->id();
                          if (doc.insertLayer(r.index, std::move(r.layer)) != kNoErr)
                            return std::move(r);
                          return LayerInserted{id};
                        },
                        [&](PageChanged& r) -> UndoRecord {
                          PageState now = doc.pageState();
                          if (doc.setPageState(std::move(r.page)) != kNoErr) return std::move(r);
                          return PageChanged{std::move(now)};
                        },
                    },
                    record);
}

bool isStructural(const UndoRecord& r) {
  return std::holds_alternative<ArtInserted>(r) || std::holds_alternative<ArtRemoved>(r) ||
         std::holds_alternative<LayerInserted>(r) || std::holds_alternative<LayerRemoved>(r);
}

void collectIds(const Art& art, std::unordered_set<ObjectId>& out) {
  out.insert(art.id());
  for (std::size_t i = 0; i < art.childCount(); ++i) collectIds(art.child(i), out);
}

// The object or layer a record concerns (its root, for structural records); kNoId for the page.
ObjectId subject(const UndoRecord& record) {
  return std::visit(Overloaded{
                        [](const ArtChanged& r) { return r.id; },
                        [](const ArtInserted& r) { return r.id; },
                        [](const ArtRemoved& r) { return r.tree->id(); },
                        [](const LayerChanged& r) { return r.id; },
                        [](const LayerInserted& r) { return r.id; },
                        [](const LayerRemoved& r) { return r.layer->id(); },
                        [](const PageChanged&) { return kNoId; },
                    },
                    record);
}

}  // namespace

void UndoLog::record(UndoRecord record) {
  records_.push_back(std::move(record));
}

void UndoLog::artWillChange(const Art& art) {
  if (!imaged_.insert(art.id()).second) return;
  record(ArtChanged{art.id(), art.data()});
}

void UndoLog::artInserted(const Art& art) {
  record(ArtInserted{art.id()});
}

void UndoLog::artRemoved(ArtId parent, std::size_t index, const Art& art) {
  record(ArtRemoved{parent, index, art.clone()});
}

void UndoLog::layerWillChange(const Layer& layer) {
  if (!imaged_.insert(layer.id()).second) return;
  record(LayerChanged{layer.id(), layer.props()});
}

void UndoLog::layerInserted(const Layer& layer) {
  record(LayerInserted{layer.id()});
}

void UndoLog::layerRemoved(std::size_t index, const Layer& layer) {
  record(LayerRemoved{index, layer.clone()});
}

void UndoLog::pageWillChange(const Document& document) {
  if (std::exchange(pageImaged_, true)) return;
  record(PageChanged{document.pageState()});
}

void UndoLog::barrier() {
  imaged_.clear();
  pageImaged_ = false;
}

void UndoLog::revertFrom(Document& document, std::size_t from) {
  while (records_.size() > from) {
    apply(document, records_.back());
    records_.pop_back();
  }
  barrier();
}

void UndoLog::undo(Document& document) {
  for (auto it = records_.rbegin(); it != records_.rend(); ++it) *it = apply(document, *it);
}

void UndoLog::redo(Document& document) {
  for (UndoRecord& r : records_) r = apply(document, r);
}

void UndoLog::append(UndoLog&& later) {
  records_.insert(records_.end(), std::make_move_iterator(later.records_.begin()),
                  std::make_move_iterator(later.records_.end()));
  later.records_.clear();
  later.barrier();
  barrier();
}

void UndoLog::compact(const Document& document) {
  dropInsertedThenRemoved();
  if (std::none_of(records_.begin(), records_.end(), isStructural)) dropUnchanged(document);
}

void UndoLog::dropInsertedThenRemoved() {
  std::size_t j = 0;
  while (j < records_.size()) {
    const std::optional<std::size_t> next = dropWithItsInsertion(j);
    j = next ? *next : j + 1;
  }
}

std::optional<std::size_t> UndoLog::dropWithItsInsertion(std::size_t j) {
  // A removal whose root was inserted earlier in the log: when everything in between concerns
  // the removed subtree or is a change of own state, layer properties or page elsewhere (which
  // does not depend on the subtree being there), the insertion, the removal and the changes
  // inside the subtree together change nothing, and they go.
  std::unordered_set<ObjectId> inside;
  if (const auto* removed = std::get_if<ArtRemoved>(&records_[j])) {
    collectIds(*removed->tree, inside);
  } else if (const auto* layer = std::get_if<LayerRemoved>(&records_[j])) {
    inside.insert(layer->layer->id());
    collectIds(layer->layer->group(), inside);
  } else {
    return std::nullopt;
  }
  const ObjectId root = subject(records_[j]);
  for (std::size_t i = j; i-- > 0;) {
    const UndoRecord& r = records_[i];
    const bool insertion =
        std::holds_alternative<ArtInserted>(r) || std::holds_alternative<LayerInserted>(r);
    if (insertion && subject(r) == root) {
      std::vector<UndoRecord> kept;
      kept.reserve(records_.size());
      for (std::size_t k = 0; k < records_.size(); ++k) {
        const bool cancelled = k == j || (k >= i && k < j && inside.count(subject(records_[k])));
        if (!cancelled) kept.push_back(std::move(records_[k]));
      }
      records_ = std::move(kept);
      return i;  // nothing before i changed; look again from there
    }
    if (isStructural(r) && !(insertion && inside.count(subject(r)) != 0)) return std::nullopt;
  }
  return std::nullopt;
}

void UndoLog::dropUnchanged(const Document& document) {
  // Only own states, layer properties and the page are left, so the records are independent of
  // each other and the first of each subject holds the state before the log.
  std::unordered_set<ObjectId> seen;
  bool pageSeen = false;
  std::erase_if(records_, [&](const UndoRecord& record) {
    return std::visit(
        Overloaded{
            [&](const ArtChanged& r) {
              const Art* art = document.findArt(r.id);
              return !seen.insert(r.id).second || (art != nullptr && art->data() == r.data);
            },
            [&](const LayerChanged& r) {
              const Layer* layer = document.findLayer(r.id);
              return !seen.insert(r.id).second || (layer != nullptr && layer->props() == r.props);
            },
            [&](const PageChanged& r) {
              return std::exchange(pageSeen, true) || document.pageState() == r.page;
            },
            [](const auto&) { return false; },
        },
        record);
  });
}

}  // namespace sqhost
