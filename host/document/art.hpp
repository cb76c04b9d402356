// Art objects: groups, compound paths, paths, text frames and plug-in art, as nodes of a tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/ids.hpp"
#include "document/path_geometry.hpp"

namespace sqhost {

// Art types, numbered as the host reports them to plug-ins.
enum class ArtType : std::int32_t {
  kGroup = 1,
  kPath = 2,
  kCompoundPath = 3,
  kPluginArt = 10,
  kTextFrame = 12,
};

// User attributes, as bits of Art::attributes(), numbered as the host reports them.
inline constexpr std::uint32_t kArtSelected = 1;
inline constexpr std::uint32_t kArtLocked = 2;
inline constexpr std::uint32_t kArtHidden = 4;
inline constexpr std::uint32_t kArtUserAttributes = kArtSelected | kArtLocked | kArtHidden;

// Text frame types, numbered as the host reports them. Area text and text on a path have a path
// object (the frame's only child); point text has none and sits at TextInfo::origin.
enum class TextFrameType : std::int32_t { kPoint = 0, kArea = 1, kOnPath = 2 };

// How a path is painted. A compound path is painted with the style of its first child.
struct PathStyle {
  bool fill = true;
  AIRGBColor fillColor{0, 0, 0};
  bool stroke = false;
  AIRGBColor strokeColor{0, 0, 0};
  float strokeWidth = 1;  // artwork units, finite and >= 0
  bool evenOdd = false;   // fill rule: even-odd when set, non-zero otherwise
  friend bool operator==(const PathStyle& a, const PathStyle& b);
};

struct TextInfo {
  TextFrameType type = TextFrameType::kPoint;
  std::string contents;      // UTF-8
  AIRealPoint origin{0, 0};  // point text: where the baseline starts
  friend bool operator==(const TextInfo& a, const TextInfo& b);
};

// The own state of an art object: everything except its id, its parent and its children. It is
// the before-image an undo record keeps for a change that does not add or remove children.
struct ArtData {
  ArtType type = ArtType::kGroup;
  std::uint32_t attributes = 0;  // kArtSelected | kArtLocked | kArtHidden
  std::string name;              // the object's name (an SVG id); may be empty
  PathGeometry path;             // kPath only
  PathStyle style;               // kPath only
  TextInfo text;                 // kTextFrame only
  std::string pluginGroup;       // kPluginArt only: the name of the plug-in group
  friend bool operator==(const ArtData&, const ArtData&) = default;
};

// One art object with its subtree. Children are ordered front to back: child 0 is the topmost.
// Which children an object has depends on its type:
//   group          any art;
//   compound path  paths only;
//   text frame     exactly one path (its path object) for area text and text on a path, else none;
//   plug-in art    exactly one group (its result art);
//   path           none.
// A path's selected attribute follows its segments: it is set while any segment is selected,
// clearing it clears every segment, and setting it on a path with no selected segment selects
// every anchor (state kAnchor).
//
// Mutable access to an object that belongs to a document is only handed out by
// Document::modifyArt, which tells the document's observer first.
class Art {
 public:
  // A new detached object with a fresh id and default state. Text frames of area or path type and
  // plug-in art are created with their required child (an empty path, an empty group).
  static std::unique_ptr<Art> create(ArtType type);
  static std::unique_ptr<Art> createTextFrame(TextFrameType type, std::string contents);
  // An area or path text frame with the given detached path as its path object.
  static std::unique_ptr<Art> createTextFrame(TextFrameType type, std::string contents,
                                              std::unique_ptr<Art> path);
  static std::unique_ptr<Art> createPluginArt(std::string pluginGroup);
  // Plug-in art with the given detached group as its result art.
  static std::unique_ptr<Art> createPluginArt(std::string pluginGroup, std::unique_ptr<Art> result);

  Art(const Art&) = delete;
  Art& operator=(const Art&) = delete;

  ArtId id() const { return id_; }
  ArtType type() const { return data_.type; }
  const Art* parent() const { return parent_; }
  std::size_t childCount() const { return children_.size(); }
  const Art& child(std::size_t i) const { return *children_[i]; }
  // Index of this object among its parent's children; 0 when it has no parent.
  std::size_t indexInParent() const;
  // The layer whose top-level group this is; kNoId for every other object.
  LayerId layerGroupOf() const { return layerGroupOf_; }

  const ArtData& data() const { return data_; }
  std::uint32_t attributes() const { return data_.attributes; }
  bool selected() const { return (data_.attributes & kArtSelected) != 0; }
  bool locked() const { return (data_.attributes & kArtLocked) != 0; }
  bool hidden() const { return (data_.attributes & kArtHidden) != 0; }
  const std::string& name() const { return data_.name; }
  const PathGeometry& path() const { return data_.path; }
  const PathStyle& style() const { return data_.style; }
  const TextInfo& text() const { return data_.text; }
  const std::string& pluginGroup() const { return data_.pluginGroup; }
  // The path object of an area or path text frame, or nullptr.
  const Art* textPath() const;
  // The result group of plug-in art, or nullptr.
  const Art* pluginResult() const;

  // Bounds of every anchor and handle of the paths in this subtree (hidden ones included);
  // nullopt when there is none. Cached for paths.
  std::optional<AIRealRect> bounds() const;

  // Sets or clears the user attributes in mask (kArtSelected, kArtLocked, kArtHidden).
  AIErr setAttributes(std::uint32_t mask, bool on);
  AIErr setSelected(bool on) { return setAttributes(kArtSelected, on); }
  AIErr setLocked(bool on) { return setAttributes(kArtLocked, on); }
  AIErr setHidden(bool on) { return setAttributes(kArtHidden, on); }
  void setName(std::string name) { data_.name = std::move(name); }
  AIErr setStyle(const PathStyle& style);  // paths only; refuses a non-finite or negative width
  AIErr setTextContents(std::string contents);
  AIErr setTextOrigin(const AIRealPoint& origin);
  void setPluginGroup(std::string name) { data_.pluginGroup = std::move(name); }

  // Path editing (kBadParameterErr on other types); see PathGeometry for the rules.
  AIErr setSegments(std::size_t index, std::span<const AIPathSegment> values);
  AIErr insertSegments(std::size_t index, std::span<const AIPathSegment> values);
  AIErr deleteSegments(std::size_t index, std::size_t count);
  AIErr setClosed(bool closed);
  AIErr setSegmentSelection(std::size_t i, SegmentSelection state);
  AIErr reverse();

  // Puts back a before-image taken with data(). The type cannot change.
  AIErr restoreData(ArtData data);

  // Builds detached trees: appends child as the last (bottom-most) child. Fails with
  // kBadParameterErr when this object belongs to a document or cannot hold such a child.
  AIErr appendChild(std::unique_ptr<Art> child);

  // A deep copy of this subtree with the same ids (a before-image).
  std::unique_ptr<Art> clone() const;
  // A deep copy of this subtree with fresh ids.
  std::unique_ptr<Art> cloneWithNewIds() const;

  // Same ids, own state and children, recursively.
  friend bool operator==(const Art& a, const Art& b);
  // Same own state and children, recursively, ids not compared.
  friend bool sameContent(const Art& a, const Art& b);

  // Whether an object of type parent can hold a child of type child (in its current state).
  bool canHoldChild(ArtType child) const;

 private:
  friend class Document;
  friend class Layer;
  Art(ArtId id, ArtType type);
  std::unique_ptr<Art> cloneImpl(bool freshIds) const;
  void syncPathSelected();

  ArtId id_;
  Art* parent_ = nullptr;         // not owning
  LayerId layerGroupOf_ = kNoId;  // set on a layer's top-level group
  bool attached_ = false;         // registered in a document
  std::vector<std::unique_ptr<Art>> children_;
  ArtData data_;
};

}  // namespace sqhost
