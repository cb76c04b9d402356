// "AI Art Set Suite": host-owned ordered lists of art handles, filled by matching the document.
#include <algorithm>
#include <memory>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sqsdk/suites/ai_art_set.h"
#include "suites/art_support.hpp"

namespace sqhost {
namespace {

// One set: its handles in order, and a lookup index built only once membership is asked for (a
// set filled by matching never holds duplicates, so matching needs no index).
struct ArtSetData {
  std::vector<ArtId> items;
  std::unordered_set<ArtId> index;
  bool indexed = false;

  void assign(std::vector<ArtId> ids) {
    items = std::move(ids);
    index.clear();
    indexed = false;
  }
  bool contains(ArtId id) {
    if (!indexed) {
      index.clear();
      index.insert(items.begin(), items.end());
      indexed = true;
    }
    return index.count(id) != 0;
  }
  void append(ArtId id) {
    items.push_back(id);
    if (indexed) index.insert(id);
  }
  void remove(ArtId id) {
    items.erase(std::remove(items.begin(), items.end(), id), items.end());
    if (indexed) index.erase(id);
  }
};

// Every live set, by handle. Sets belong to the plug-in until it disposes of them; they only hold
// ids, so they stay harmless after the art or even the documents they name are gone.
class ArtSetStore {
 public:
  AIArtSet create() {
    const uintptr_t key = next_++;
    sets_.emplace(key, std::make_unique<ArtSetData>());
    return reinterpret_cast<AIArtSet>(key);
  }
  ArtSetData* find(AIArtSet set) {
    auto it = sets_.find(reinterpret_cast<uintptr_t>(set));
    return it == sets_.end() ? nullptr : it->second.get();
  }
  bool dispose(AIArtSet set) { return sets_.erase(reinterpret_cast<uintptr_t>(set)) != 0; }

 private:
  std::unordered_map<uintptr_t, std::unique_ptr<ArtSetData>> sets_;
  uintptr_t next_ = 1;
};

ArtSetStore& store() {
  static ArtSetStore instance;
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
    std::vector<ArtId> found;
    if (count > 0) {
      found.reserve(doc->artCount());
      Matcher matcher(std::span(rules, static_cast<std::size_t>(count)), found);
      for (std::size_t i = 0; i < doc->layerCount(); ++i) matcher.walkLayer(doc->layer(i).group());
      if (matcher.holes() > 0)
        found.erase(std::remove(found.begin(), found.end(), kNoId), found.end());
    }
    data->assign(std::move(found));
    return kNoErr;
  });
}

AIErr countArtSet(AIArtSet set, int32_t* outCount) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    if (outCount == nullptr) return kBadParameterErr;
    *outCount = static_cast<int32_t>(data->items.size());
    return kNoErr;
  });
}

AIErr indexArtSet(AIArtSet set, int32_t index, AIArtHandle* outArt) {
  return guarded([&] {
    ArtSetData* data = store().find(set);
    if (data == nullptr) return kBadHandleErr;
    if (outArt == nullptr) return kBadParameterErr;
    if (index < 0 || static_cast<std::size_t>(index) >= data->items.size()) return kOutOfRangeErr;
    *outArt = toArtHandle(data->items[static_cast<std::size_t>(index)]);
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
    *std::find(data->items.begin(), data->items.end(), oldId) = newId;
    data->index.erase(oldId);
    data->index.insert(newId);
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
