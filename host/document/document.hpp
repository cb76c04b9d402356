// A document: layers of art, artboards and canvas bounds, with O(1) lookup of objects by id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/art.hpp"
#include "document/document_observer.hpp"
#include "document/layer.hpp"

namespace sqhost {

// A value with the host's error code: value is meaningful only when error is kNoErr.
template <class T>
struct Result {
  AIErr error = kNoErr;
  T value{};
  bool ok() const { return error == kNoErr; }
};

struct Artboard {
  std::string name;
  AIRealRect bounds{0, 0, 612, -792};  // artwork coordinates, top is the larger v
  AIRealPoint rulerOrigin{0, 0};       // relative to the artboard's top-left corner
  friend bool operator==(const Artboard& a, const Artboard& b) {
    return a.name == b.name && sameRect(a.bounds, b.bounds) &&
           samePoint(a.rulerOrigin, b.rulerOrigin);
  }
};

// Artboards, the active artboard and the canvas: the part of a document outside the art tree.
struct PageState {
  std::vector<Artboard> artboards;  // never empty
  std::size_t activeArtboard = 0;
  AIRealRect canvas{};  // the whole area art may occupy
  friend bool operator==(const PageState& a, const PageState& b) {
    return a.artboards == b.artboards && a.activeArtboard == b.activeArtboard &&
           sameRect(a.canvas, b.canvas);
  }
};

// What a document was read from, kept unchanged beside the model and shared by every copy of it
// (undo snapshots included): the reader that made it derives its own record from this one, so
// this layer knows nothing of file formats.
class DocumentSource {
 public:
  virtual ~DocumentSource() = default;
  // What the reader could read past, one line each, naming the file and the place.
  std::vector<std::string> warnings;
};

// Undo strategy: a Document is a copyable value (a copy keeps every id, and shares the path arrays
// with the original until either changes), and it also reports every change to its observers
// before or after it happens, so a recorder keeps small before-images: the own state of a changed
// object (ArtData), clones of removed subtrees with their ids, layer properties, and the page
// state. Restoring them through modifyArt/restoreData, insertArt, removeArt, setLayerProps,
// insertLayer, removeLayer and setPageState gives back a document equal (operator==, ids
// included) to the one before the change.
//
// Ordering: layer 0 is the topmost layer; a group's child 0 is its topmost object.
class Document {
 public:
  // The side of the square canvas, in points, centred on the first artboard.
  static constexpr float kCanvasSize = 16383;

  // An empty document: no layer, one US-letter artboard with its top-left corner at the origin
  // (so it extends to negative v, as imported SVG does) and the canvas round it.
  Document();
  // Document() plus one empty layer named "Layer 1".
  static Document makeNew();

  // Copies keep every id (including the document's own); the observer is not copied.
  Document(const Document& other);
  Document& operator=(const Document& other);
  Document(Document&& other) noexcept;
  Document& operator=(Document&& other) noexcept;
  ~Document();

  DocumentId id() const { return id_; }
  // The document's title or file path; not part of the content.
  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }

  // The source the document was read from, or null for a new document. Copies share it.
  const std::shared_ptr<const DocumentSource>& source() const { return source_; }
  void setSource(std::shared_ptr<const DocumentSource> source) { source_ = std::move(source); }
  // The reader's warnings about the source; empty without one.
  const std::vector<std::string>& warnings() const;

  // Observers are told of every change, in the order they were added; each must outlive its
  // registration. setObserver replaces all of them with one (nullptr: none); observer() is the
  // first, or nullptr. Adding an observer twice keeps one registration.
  void setObserver(DocumentObserver* observer);
  DocumentObserver* observer() const { return observers_.empty() ? nullptr : observers_.front(); }
  void addObserver(DocumentObserver* observer);
  void removeObserver(DocumentObserver* observer);

  // A stamp that changes whenever the document announces a change (modifyArt handing out an
  // object, an insertion or removal, layer or page changes, undo and redo, which change it through
  // the same calls) and when it is assigned. Stamps come from one process-wide counter, so two
  // states never share one: a cache built at stamp s is current while generation() == s. The art
  // modifyArt hands out must be changed at once, not kept for later changes.
  std::uint64_t generation() const { return generation_; }

  // Layers.
  std::size_t layerCount() const { return layers_.size(); }
  const Layer& layer(std::size_t index) const { return *layers_[index]; }
  const Layer* findLayer(LayerId id) const;
  std::optional<std::size_t> layerIndex(LayerId id) const;
  // The layer that holds an art object (walking its parents), or nullptr.
  const Layer* layerOfArt(ArtId id) const;
  // Inserts a new empty layer before index (index == layerCount() appends at the bottom).
  Result<LayerId> insertLayer(std::size_t index, LayerProps props);
  // Inserts a detached layer (a new one or a before-image of a removed one, ids kept).
  AIErr insertLayer(std::size_t index, std::unique_ptr<Layer> layer);
  AIErr setLayerProps(LayerId id, LayerProps props);
  // Takes a layer out with its art; the ids of its objects then resolve to nothing.
  std::unique_ptr<Layer> removeLayer(LayerId id);

  // Art.
  std::size_t artCount() const { return art_.size(); }  // every object, layer groups included
  const Art* findArt(ArtId id) const;
  // The object for changing its own state (attributes, segments, style, text); tells the
  // observer first. nullptr for an unknown id.
  Art* modifyArt(ArtId id);
  // Inserts a detached subtree before child index of parent (index == childCount() appends at the
  // bottom). Fails with kBadHandleErr for an unknown parent, kOutOfRangeErr for a bad index and
  // kBadParameterErr when the parent cannot hold it or one of its ids is already in use.
  AIErr insertArt(ArtId parent, std::size_t index, std::unique_ptr<Art> art);
  // Creates a new object of the given type at the given place; see Art::create.
  Result<ArtId> createArt(ArtType type, ArtId parent, std::size_t index);
  // Takes an object out with its subtree (ids kept in the returned tree). Layer groups cannot be
  // removed this way. nullptr for an unknown id.
  std::unique_ptr<Art> removeArt(ArtId id);
  // removeArt that also takes a text frame's path object or a plug-in art's result group out (for
  // taking back their insertion); layer groups still stay.
  std::unique_ptr<Art> removeAnyArt(ArtId id);
  // Copies an object (fresh ids) to the given place; returns the copy's id.
  Result<ArtId> duplicateArt(ArtId id, ArtId parent, std::size_t index);
  // A before-image of an object with its subtree (same ids); nullptr for an unknown id.
  std::unique_ptr<Art> cloneArt(ArtId id) const;

  // Artboards and canvas. Every rectangle and point must be finite.
  const PageState& pageState() const { return page_; }
  AIErr setPageState(PageState state);
  std::size_t artboardCount() const { return page_.artboards.size(); }
  const Artboard& artboard(std::size_t i) const { return page_.artboards[i]; }
  std::size_t activeArtboard() const { return page_.activeArtboard; }
  AIErr setArtboard(std::size_t i, Artboard artboard);
  AIErr setActiveArtboard(std::size_t i);
  const AIRealRect& canvasBounds() const { return page_.canvas; }
  AIErr setCanvasBounds(const AIRealRect& bounds);
  // The default canvas: a square centred on the given artboard bounds, kCanvasSize wide or wide
  // enough to hold the artboard.
  static AIRealRect canvasAround(const AIRealRect& artboard);

  // Everything equal, ids and name included.
  friend bool operator==(const Document& a, const Document& b);

 private:
  void registerTree(Art& art);
  void unregisterTree(Art& art);
  bool anyIdInUse(const Art& art) const;
  void copyFrom(const Document& other);
  Art* findMutable(ArtId id) const;
  std::unique_ptr<Art> takeArt(ArtId id, bool fromAnyHolder);
  // Calls f(observer) on every observer and takes a new generation: every change goes through it.
  template <class F>
  void changing(F f);

  DocumentId id_;
  std::string name_;
  std::vector<std::unique_ptr<Layer>> layers_;
  PageState page_;
  std::unordered_map<ArtId, Art*> art_;  // every object of every layer, layer groups included
  std::vector<DocumentObserver*> observers_;
  std::uint64_t generation_ = 0;
  std::shared_ptr<const DocumentSource> source_;  // immutable, shared by copies
};

// Same content: layers, art and page state equal with ids, the document id and name ignored.
bool sameContent(const Document& a, const Document& b);

}  // namespace sqhost
