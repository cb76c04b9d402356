// Documents: layers, the art tree with its id index, artboards and canvas, observer calls.
#include "document/document.hpp"

#include <algorithm>
#include <utility>

namespace sqhost {

namespace {

bool validRect(const AIRealRect& r) {
  return isFinite(r) && r.left <= r.right && r.bottom <= r.top;
}

}  // namespace

template <class F>
void Document::changing(F f) {
  generation_ = nextChangeStamp();
  for (DocumentObserver* observer : observers_) f(*observer);
}

void Document::setObserver(DocumentObserver* observer) {
  observers_.clear();
  if (observer != nullptr) observers_.push_back(observer);
}

void Document::addObserver(DocumentObserver* observer) {
  if (observer != nullptr && std::ranges::find(observers_, observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void Document::removeObserver(DocumentObserver* observer) {
  std::erase(observers_, observer);
}

Document::Document() : id_(allocateId()), generation_(nextChangeStamp()) {
  Artboard board;
  board.name = "Artboard 1";
  page_.artboards.push_back(board);
  page_.canvas = canvasAround(board.bounds);
}

Document Document::makeNew() {
  Document doc;
  LayerProps props;
  props.name = "Layer 1";
  props.color = defaultLayerColor(0);
  doc.insertLayer(0, std::move(props));
  return doc;
}

Document::Document(const Document& other) {
  copyFrom(other);
}

Document& Document::operator=(const Document& other) {
  if (this != &other) {
    std::vector<DocumentObserver*> keep = std::move(observers_);
    copyFrom(other);
    observers_ = std::move(keep);
  }
  return *this;
}

Document::Document(Document&& other) noexcept
    : id_(other.id_),
      name_(std::move(other.name_)),
      layers_(std::move(other.layers_)),
      page_(std::move(other.page_)),
      art_(std::move(other.art_)),
      observers_(std::move(other.observers_)),
      generation_(nextChangeStamp()),
      source_(std::move(other.source_)) {
  other.art_.clear();
  other.layers_.clear();
  other.observers_.clear();
  other.generation_ = nextChangeStamp();
}

Document& Document::operator=(Document&& other) noexcept {
  if (this != &other) {
    id_ = other.id_;
    name_ = std::move(other.name_);
    layers_ = std::move(other.layers_);
    page_ = std::move(other.page_);
    art_ = std::move(other.art_);
    observers_ = std::move(other.observers_);
    generation_ = nextChangeStamp();
    source_ = std::move(other.source_);
    other.art_.clear();
    other.layers_.clear();
    other.observers_.clear();
    other.generation_ = nextChangeStamp();
  }
  return *this;
}

Document::~Document() = default;

const std::vector<std::string>& Document::warnings() const {
  static const std::vector<std::string> kNone;
  return source_ ? source_->warnings : kNone;
}

void Document::copyFrom(const Document& other) {
  id_ = other.id_;
  name_ = other.name_;
  page_ = other.page_;
  source_ = other.source_;
  layers_.clear();
  art_.clear();
  art_.reserve(other.art_.size());
  for (const auto& layer : other.layers_) {
    layers_.push_back(layer->clone());
    registerTree(*layers_.back()->group_);
  }
  observers_.clear();
  generation_ = nextChangeStamp();
}

void Document::registerTree(Art& art) {
  art.attached_ = true;
  art_[art.id_] = &art;
  for (auto& child : art.children_) registerTree(*child);
}

void Document::unregisterTree(Art& art) {
  art.attached_ = false;
  art_.erase(art.id_);
  for (auto& child : art.children_) unregisterTree(*child);
}

bool Document::anyIdInUse(const Art& art) const {
  if (art_.count(art.id_) != 0) return true;
  for (const auto& child : art.children_) {
    if (anyIdInUse(*child)) return true;
  }
  return false;
}

Art* Document::findMutable(ArtId id) const {
  auto it = art_.find(id);
  return it == art_.end() ? nullptr : it->second;
}

const Layer* Document::findLayer(LayerId id) const {
  for (const auto& layer : layers_) {
    if (layer->id_ == id) return layer.get();
  }
  return nullptr;
}

std::optional<std::size_t> Document::layerIndex(LayerId id) const {
  for (std::size_t i = 0; i < layers_.size(); ++i) {
    if (layers_[i]->id_ == id) return i;
  }
  return std::nullopt;
}

const Layer* Document::layerOfArt(ArtId id) const {
  const Art* art = findArt(id);
  if (art == nullptr) return nullptr;
  while (art->parent_ != nullptr) art = art->parent_;
  return findLayer(art->layerGroupOf_);
}

Result<LayerId> Document::insertLayer(std::size_t index, LayerProps props) {
  auto layer = Layer::create(std::move(props));
  LayerId id = layer->id();
  AIErr err = insertLayer(index, std::move(layer));
  return {err, err == kNoErr ? id : kNoId};
}

AIErr Document::insertLayer(std::size_t index, std::unique_ptr<Layer> layer) {
  if (index > layers_.size()) return kOutOfRangeErr;
  if (!layer || !layer->group_ || findLayer(layer->id_) != nullptr || anyIdInUse(*layer->group_)) {
    return kBadParameterErr;
  }
  Layer& ref = *layer;
  layers_.insert(layers_.begin() + static_cast<std::ptrdiff_t>(index), std::move(layer));
  registerTree(*ref.group_);
  changing([&](DocumentObserver& o) { o.layerInserted(*this, index, ref); });
  return kNoErr;
}

AIErr Document::setLayerProps(LayerId id, LayerProps props) {
  auto index = layerIndex(id);
  if (!index) return kBadHandleErr;
  Layer& layer = *layers_[*index];
  changing([&](DocumentObserver& o) { o.layerWillChange(*this, layer); });
  layer.props_ = std::move(props);
  return kNoErr;
}

std::unique_ptr<Layer> Document::removeLayer(LayerId id) {
  auto index = layerIndex(id);
  if (!index) return nullptr;
  auto at = layers_.begin() + static_cast<std::ptrdiff_t>(*index);
  std::unique_ptr<Layer> layer = std::move(*at);
  layers_.erase(at);
  unregisterTree(*layer->group_);
  changing([&](DocumentObserver& o) { o.layerRemoved(*this, *index, *layer); });
  return layer;
}

const Art* Document::findArt(ArtId id) const {
  return findMutable(id);
}

Art* Document::modifyArt(ArtId id) {
  Art* art = findMutable(id);
  if (art != nullptr) changing([&](DocumentObserver& o) { o.artWillChange(*this, *art); });
  return art;
}

AIErr Document::insertArt(ArtId parent, std::size_t index, std::unique_ptr<Art> art) {
  Art* holder = findMutable(parent);
  if (holder == nullptr) return kBadHandleErr;
  if (index > holder->children_.size()) return kOutOfRangeErr;
  if (!art || art->parent_ != nullptr || art->layerGroupOf_ != kNoId ||
      !holder->canHoldChild(art->type()) || anyIdInUse(*art)) {
    return kBadParameterErr;
  }
  Art& ref = *art;
  ref.parent_ = holder;
  holder->children_.insert(holder->children_.begin() + static_cast<std::ptrdiff_t>(index),
                           std::move(art));
  registerTree(ref);
  changing([&](DocumentObserver& o) { o.artInserted(*this, parent, index, ref); });
  return kNoErr;
}

Result<ArtId> Document::createArt(ArtType type, ArtId parent, std::size_t index) {
  auto art = Art::create(type);
  ArtId id = art->id();
  AIErr err = insertArt(parent, index, std::move(art));
  return {err, err == kNoErr ? id : kNoId};
}

std::unique_ptr<Art> Document::removeArt(ArtId id) {
  return takeArt(id, false);
}

std::unique_ptr<Art> Document::removeAnyArt(ArtId id) {
  return takeArt(id, true);
}

std::unique_ptr<Art> Document::takeArt(ArtId id, bool fromAnyHolder) {
  Art* art = findMutable(id);
  if (art == nullptr || art->parent_ == nullptr) return nullptr;
  Art* holder = art->parent_;
  // A text frame's path object and a plug-in's result group go only with their owner.
  if (!fromAnyHolder &&
      (holder->type() == ArtType::kTextFrame || holder->type() == ArtType::kPluginArt)) {
    return nullptr;
  }
  std::size_t index = art->indexInParent();
  auto at = holder->children_.begin() + static_cast<std::ptrdiff_t>(index);
  std::unique_ptr<Art> taken = std::move(*at);
  holder->children_.erase(at);
  taken->parent_ = nullptr;
  unregisterTree(*taken);
  changing([&](DocumentObserver& o) { o.artRemoved(*this, holder->id_, index, *taken); });
  return taken;
}

Result<ArtId> Document::duplicateArt(ArtId id, ArtId parent, std::size_t index) {
  const Art* art = findArt(id);
  if (art == nullptr) return {kBadHandleErr, kNoId};
  auto copy = art->cloneWithNewIds();
  ArtId copyId = copy->id();
  AIErr err = insertArt(parent, index, std::move(copy));
  return {err, err == kNoErr ? copyId : kNoId};
}

std::unique_ptr<Art> Document::cloneArt(ArtId id) const {
  const Art* art = findArt(id);
  return art == nullptr ? nullptr : art->clone();
}

AIErr Document::setPageState(PageState state) {
  if (state.artboards.empty() || state.activeArtboard >= state.artboards.size()) {
    return kBadParameterErr;
  }
  for (const Artboard& board : state.artboards) {
    if (!isFinite(board.bounds) || !isFinite(board.rulerOrigin)) return kNonFiniteErr;
    if (!validRect(board.bounds)) return kBadParameterErr;
  }
  if (!isFinite(state.canvas)) return kNonFiniteErr;
  if (!validRect(state.canvas)) return kBadParameterErr;
  changing([&](DocumentObserver& o) { o.documentWillChange(*this); });
  page_ = std::move(state);
  return kNoErr;
}

AIErr Document::setArtboard(std::size_t i, Artboard artboard) {
  if (i >= page_.artboards.size()) return kOutOfRangeErr;
  PageState state = page_;
  state.artboards[i] = std::move(artboard);
  return setPageState(std::move(state));
}

AIErr Document::setActiveArtboard(std::size_t i) {
  if (i >= page_.artboards.size()) return kOutOfRangeErr;
  PageState state = page_;
  state.activeArtboard = i;
  return setPageState(std::move(state));
}

AIErr Document::setCanvasBounds(const AIRealRect& bounds) {
  PageState state = page_;
  state.canvas = bounds;
  return setPageState(std::move(state));
}

AIRealRect Document::canvasAround(const AIRealRect& artboard) {
  float cx = (artboard.left + artboard.right) / 2;
  float cy = (artboard.top + artboard.bottom) / 2;
  float half = std::max({kCanvasSize / 2, (artboard.right - artboard.left) / 2,
                         (artboard.top - artboard.bottom) / 2});
  return AIRealRect{cx - half, cy + half, cx + half, cy - half};
}

bool operator==(const Document& a, const Document& b) {
  if (a.id_ != b.id_ || a.name_ != b.name_ || !(a.page_ == b.page_) ||
      a.layers_.size() != b.layers_.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.layers_.size(); ++i) {
    if (!(*a.layers_[i] == *b.layers_[i])) return false;
  }
  return true;
}

bool sameContent(const Document& a, const Document& b) {
  if (!(a.pageState() == b.pageState()) || a.layerCount() != b.layerCount()) return false;
  for (std::size_t i = 0; i < a.layerCount(); ++i) {
    if (!sameContent(a.layer(i), b.layer(i))) return false;
  }
  return true;
}

}  // namespace sqhost
