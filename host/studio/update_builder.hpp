// The studio's updates: what the page shows, kept as last sent, and the parts that changed since.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "app/host.hpp"
#include "document/document_observer.hpp"
#include "studio/update_parts.hpp"

namespace sqhost::studio {

// Builds the parts of an update (see PROTOCOL.md) for the host's current document and user
// interface. It watches the current document's changes as one of its observers, so that an edit
// costs in proportion to the objects it touched: a path changed in its own element becomes a
// `paths` entry planned by the same splicer the save uses, anything else the whole `document`.
class UpdateBuilder final : private DocumentObserver {
 public:
  UpdateBuilder(Host& host, std::filesystem::path root);
  ~UpdateBuilder() override;
  UpdateBuilder(const UpdateBuilder&) = delete;
  UpdateBuilder& operator=(const UpdateBuilder&) = delete;

  // The parts that changed since the last call (every part when full), as the members of a JSON
  // object ("name":value,...), empty when nothing changed.
  std::string build(bool full);

 private:
  void artWillChange(const Document&, const Art& art) override;
  void artInserted(const Document&, ArtId, std::size_t, const Art&) override {
    restructured_ = true;
  }
  void artRemoved(const Document&, ArtId, std::size_t, const Art&) override {
    restructured_ = true;
  }
  void layerWillChange(const Document&, const Layer&) override { restructured_ = true; }
  void layerInserted(const Document&, std::size_t, const Layer&) override { restructured_ = true; }
  void layerRemoved(const Document&, std::size_t, const Layer&) override { restructured_ = true; }
  void documentWillChange(const Document&) override { restructured_ = true; }

  // Watches the current document from now on (none: nothing).
  void follow(Document* doc);
  void addDocument(nlohmann::json& out, Document* doc, bool full);
  nlohmann::json documentJson(const Document& doc);
  // The paths part for the objects changed since the last update; nothing when one of them needs
  // the whole document.
  std::optional<nlohmann::json> pathsJson(const Document& doc);
  // The page's attributes of element: those it was given that differ from the source.
  using Attributes = std::map<std::string, std::optional<std::string>>;
  void rememberShown(const Document& doc);
  nlohmann::json viewJson(const View* view) const;
  // The selection part as JSON text; each path's text is kept until that path, the view or the
  // document's structure changes.
  std::string selectionText(const Document* doc, const View* view);
  nlohmann::json annotationsJson(View* view, bool full);
  nlohmann::json cursorJson();
  nlohmann::json statusJson(const View* view, bool full);
  // Sets out[name] to value when it differs from what was last sent (always when full).
  void part(nlohmann::json& out, const char* name, nlohmann::json value, bool full);

  Host& host_;
  std::filesystem::path root_;
  PictureCache pictures_;

  // The document followed, and what changed in it since the last update.
  DocumentId followed_ = kNoId;
  uint64_t generation_ = 0;  // the document's generation at the last update
  bool restructured_ = false;
  bool sawChange_ = false;
  std::unordered_map<ArtId, bool> changed_;  // changed objects: hidden before the change
  // Every object changed since the page last got the whole document, and the attributes the
  // page's elements carry that differ from the source.
  std::unordered_set<ArtId> touched_;
  std::unordered_map<int, Attributes> shown_;

  // What was sent last, per part.
  std::map<std::string, nlohmann::json> sent_;
  // The selection's inputs when it was last built: the document's generation and the view.
  struct SelectionKey {
    uint64_t generation = 0;
    DocumentId document = kNoId;
    int32_t width = 0, height = 0;
    float zoom = 0;
    float centerH = 0, centerV = 0;
    bool edges = false;
    bool operator==(const SelectionKey&) const = default;
  };
  std::optional<SelectionKey> selectionKey_;
  std::string sentSelection_;
  std::unordered_map<ArtId, std::string> selectionPaths_;  // the text of each path's marks
  std::unordered_set<ArtId> selectionChanged_;             // objects changed since then
  uint64_t paints_ = 0;           // the view's paint count at the last update
  ObjectId paintedView_ = kNoId;  // the view those paints were counted in
  std::size_t lines_ = 0;         // observer lines already sent
};

}  // namespace sqhost::studio
