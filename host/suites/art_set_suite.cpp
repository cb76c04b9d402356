// "AI Art Set Suite": host-owned ordered lists of art handles, filled by matching the document.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sqsdk/suites/ai_art_set.h"
#include "suites/art_support.hpp"

namespace sqhost {
namespace {

using Ids = std::vector<ArtId>;

// One set: its handles in order, and a lookup index built only once membership is asked for (a
// set filled by matching never holds duplicates, so matching needs no index). A matched list is
// shared with the match cache and copied only when the set is changed.
class ArtSetData {
 public:
  // The handles in order; read at every step of a walk over the set, so kept at hand.
  std::span<const ArtId> items() const { return view_; }

  void assign(std::shared_ptr<const Ids> ids) {
    items_ = std::move(ids);
    view_ = *items_;
    index_.clear();
    indexed_ = false;
  }
  void clear() { assign(empty()); }
  bool contains(ArtId id) {
    if (!indexed_) {
      index_.clear();
      index_.insert(items_->begin(), items_->end());
      indexed_ = true;
    }
    return index_.count(id) != 0;
  }
  void append(ArtId id) {
    own().push_back(id);
    view_ = *items_;
    if (indexed_) index_.insert(id);
  }
  void remove(ArtId id) {
    Ids& ids = own();
    ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
    view_ = *items_;
    if (indexed_) index_.erase(id);
  }
  void replace(ArtId oldId, ArtId newId) {
    Ids& ids = own();
    *std::find(ids.begin(), ids.end(), oldId) = newId;
    view_ = *items_;
    if (indexed_) {
      index_.erase(oldId);
      index_.insert(newId);
    }
  }

 private:
  static const std::shared_ptr<const Ids>& empty() {
    static const std::shared_ptr<const Ids> none = std::make_shared<const Ids>();
    return none;
  }
  // The list for changing: the set's own, copied from a shared one first.
  Ids& own() {
    if (mine_.get() != items_.get()) {
      if (mine_) {
        mine_->assign(items_->begin(), items_->end());  // keeps the list's room for reuse
      } else {
        mine_ = std::make_shared<Ids>(*items_);
      }
      items_ = mine_;
    }
    return *mine_;
  }

  std::shared_ptr<const Ids> items_ = empty();
  std::span<const ArtId> view_;  // *items_
  std::shared_ptr<Ids> mine_;    // items_ when the set holds a list of its own
  std::unordered_set<ArtId> index_;
  bool indexed_ = false;
};

// Every live set. A handle carries the set's slot (plus one, so it is never null) in its low half
// and the slot's generation in its high half: disposing of a set bumps the generation, so the old
// handle names nothing even once the slot serves a new set. Sets belong to the plug-in until it
// disposes of them; they only hold ids, so they stay harmless after the art or even the documents
// they name are gone.
class ArtSetStore {
 public:
  static_assert(sizeof(uintptr_t) >= 8, "art set handles hold a slot and a generation");

  AIArtSet create() {
    std::uint32_t slot;
    if (!free_.empty()) {
      slot = free_.back();
      free_.pop_back();
    } else {
      slot = static_cast<std::uint32_t>(slots_.size());
      slots_.emplace_back();
    }
    slots_[slot].live = true;
    const uintptr_t key = (static_cast<uintptr_t>(slots_[slot].generation) << 32) | (slot + 1u);
    return reinterpret_cast<AIArtSet>(key);
  }
  ArtSetData* find(AIArtSet set) {
    const auto key = reinterpret_cast<uintptr_t>(set);
    const std::size_t slot = (key & 0xFFFFFFFFu) - 1;  // wraps round for a null handle
    if (slot >= slots_.size()) return nullptr;
    Slot& s = slots_[slot];
    return s.live && s.generation == (key >> 32) ? &s.data : nullptr;
  }
  bool dispose(AIArtSet set) {
    ArtSetData* data = find(set);
    if (data == nullptr) return false;
    const std::size_t slot = (reinterpret_cast<uintptr_t>(set) & 0xFFFFFFFFu) - 1;
    data->clear();
    slots_[slot].live = false;
    ++slots_[slot].generation;
    free_.push_back(static_cast<std::uint32_t>(slot));
    return true;
  }

 private:
  struct Slot {
    ArtSetData data;
    std::uint32_t generation = 0;
    bool live = false;
  };
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> free_;
};

constinit ArtSetStore gStore;

ArtSetStore& store() {
  return gStore;
}

// The lists matching gave for the last few pairs of a document state (its change stamp, which
// names one state of one document) and rules. Plug-ins match the same rules over and over while
// the document stays the same (at every cursor movement, say), and then share one list; a list
// nobody holds any more is refilled in place for the next match rather than reallocated.
class MatchCache {
 public:
  std::shared_ptr<const Ids> find(std::uint64_t stamp, std::span<const AIArtMatchRule> rules) {
    for (const Entry& e : entries_) {
      if (e.ids && e.stamp == stamp && sameRules(e.rules, rules)) return e.ids;
    }
    return nullptr;
  }
  // A list to fill for a new entry, which the caller then stores with add.
  std::shared_ptr<Ids> spare() {
    Entry& e = entries_[next_];
    std::shared_ptr<Ids> ids = std::move(e.ids);
    e = Entry{};
    if (ids && ids.use_count() == 1) {
      ids->clear();
      return ids;
    }
    return std::make_shared<Ids>();
  }
  void add(std::uint64_t stamp, std::span<const AIArtMatchRule> rules, std::shared_ptr<Ids> ids) {
    Entry& e = entries_[next_];
    e.stamp = stamp;
    e.rules.assign(rules.begin(), rules.end());
    e.ids = std::move(ids);
    next_ = (next_ + 1) % entries_.size();
  }

 private:
  struct Entry {
    std::uint64_t stamp = 0;
    std::vector<AIArtMatchRule> rules;
    std::shared_ptr<Ids> ids;
  };
  static bool sameRules(const std::vector<AIArtMatchRule>& a, std::span<const AIArtMatchRule> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
      return x.type == y.type && x.whichAttr == y.whichAttr && x.attr == y.attr;
    });
  }
  std::array<Entry, 4> entries_;
  std::size_t next_ = 0;
};

MatchCache& matchCache() {
  static MatchCache instance;
  return instance;
}

// Collects the objects of one layer that match the rules, a container before its contents. A
// container's selected attribute depends on its contents, so its place is kept open while they
// are walked and filled in (or left as a hole to squeeze out) afterwards.
class Matcher {
 public:
  Matcher(std::span<const AIArtMatchRule> rules, std::vector<ArtId>& out)
      : rules_(rules), out_(out) {}

  void walkLayer(const Art& group) {
    for (std::size_t i = 0; i < group.childCount(); ++i) walk(group.child(i));
  }
  std::size_t holes() const { return holes_; }

 private:
  bool matches(const Art& art, std::uint32_t attributes) const {
    const auto type = static_cast<int32_t>(art.type());
    for (const AIArtMatchRule& rule : rules_) {
      if (rule.type != kAIAnyArt && rule.type != type) continue;
      const auto which = static_cast<std::uint32_t>(rule.whichAttr);
      if ((attributes & which) == (static_cast<std::uint32_t>(rule.attr) & which)) return true;
    }
    return false;
  }

  // Returns whether art reads as selected.
  bool walk(const Art& art) {
    constexpr std::uint32_t kOwn = kArtLocked | kArtHidden | kArtCenterPointHidden;
    if (!showsChildren(art)) {
      const bool selected = readsSelected(art);
      const std::uint32_t attributes = (art.attributes() & kOwn) | (selected ? kArtSelected : 0);
      if (matches(art, attributes)) out_.push_back(art.id());
      return selected;
    }
    const std::size_t slot = out_.size();
    out_.push_back(kNoId);
    bool selected = false;
    for (std::size_t i = 0; i < art.childCount(); ++i) selected = walk(art.child(i)) || selected;
    const std::uint32_t attributes = (art.attributes() & kOwn) | (selected ? kArtSelected : 0);
    if (matches(art, attributes)) {
      out_[slot] = art.id();
    } else {
      ++holes_;
    }
    return selected;
  }

  std::span<const AIArtMatchRule> rules_;
  std::vector<ArtId>& out_;
  std::size_t holes_ = 0;
};

AIErr newArtSet(AIArtSet* outSet) {
  return guarded([&] {
    if (outSet == nullptr) return kBadParameterErr;
    if (const AIErr e = injected("NewArtSet")) return e;
    *outSet = store().create();
    return kNoErr;
  });
}

AIErr disposeArtSet(AIArtSet set) {
  return guarded([&] {
    if (set == nullptr) return kNoErr;
    return store().dispose(set) ? kNoErr : kBadHandleErr;
  });
}

AIErr matchingArtSet(AIArtSet set, const AIArtMatchRule* rules, int32_t count) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    if (count < 0 || (rules == nullptr && count > 0)) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    if (const AIErr e = injected("MatchingArtSet")) return e;
    const std::span<const AIArtMatchRule> matched(rules, static_cast<std::size_t>(count));
    if (std::shared_ptr<const Ids> known = matchCache().find(doc->generation(), matched)) {
      data->assign(std::move(known));
      return kNoErr;
    }
    std::shared_ptr<Ids> found = matchCache().spare();
    if (count > 0) {
      found->reserve(doc->artCount());
      Matcher matcher(matched, *found);
      for (std::size_t i = 0; i < doc->layerCount(); ++i) matcher.walkLayer(doc->layer(i).group());
      if (matcher.holes() > 0)
        found->erase(std::remove(found->begin(), found->end(), kNoId), found->end());
    }
    matchCache().add(doc->generation(), matched, found);
    data->assign(std::move(found));
    return kNoErr;
  });
}

AIErr countArtSet(AIArtSet set, int32_t* outCount) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    if (outCount == nullptr) return kBadParameterErr;
    *outCount = static_cast<int32_t>(data->items().size());
    return kNoErr;
  });
}

AIErr indexArtSet(AIArtSet set, int32_t index, AIArtHandle* outArt) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    if (outArt == nullptr) return kBadParameterErr;
    if (index < 0 || static_cast<std::size_t>(index) >= data->items().size()) return kOutOfRangeErr;
    *outArt = toArtHandle(data->items()[static_cast<std::size_t>(index)]);
    return kNoErr;
  });
}

AIErr addArtToArtSet(AIArtSet set, AIArtHandle art) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    if (!resolveArt(art)) return kBadHandleErr;
    const ArtId id = artIdOf(art);
    if (!data->contains(id)) data->append(id);
    return kNoErr;
  });
}

AIErr removeArtFromArtSet(AIArtSet set, AIArtHandle art) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    // Stale handles can be removed too: disposed art stays in a set until taken out.
    const ArtId id = artIdOf(art);
    if (data->contains(id)) data->remove(id);
    return kNoErr;
  });
}

AIErr replaceArtInArtSet(AIArtSet set, AIArtHandle oldArt, AIArtHandle newArt) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    const ArtId oldId = artIdOf(oldArt);
    const ArtId newId = artIdOf(newArt);
    if (!data->contains(oldId)) return kBadParameterErr;
    if (!resolveArt(newArt)) return kBadHandleErr;
    if (oldId == newId) return kNoErr;
    if (data->contains(newId)) {
      data->remove(oldId);
      return kNoErr;
    }
    data->replace(oldId, newId);
    return kNoErr;
  });
}

const AIArtSetSuite kArtSetSuite = {
    newArtSet,   disposeArtSet,  matchingArtSet,      countArtSet,
    indexArtSet, addArtToArtSet, removeArtFromArtSet, replaceArtInArtSet,
};

}  // namespace

void publishArtSetSuite(SuiteRegistry& registry) {
  registry.add(kAIArtSetSuite, kAIArtSetSuiteVersion, &kArtSetSuite);
}

}  // namespace sqhost
