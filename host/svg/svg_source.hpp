// The source of an imported document: the file's bytes, the place of every element in them, and
// the element each art object was read from, so a save can rewrite only what changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/document.hpp"
#include "svg/svg_values.hpp"

namespace sqhost::svg {

// One attribute of a start tag, as written.
struct SourceAttribute {
  std::string name;        // qualified, as written
  std::size_t nameBegin;   // offset of the name
  std::size_t valueBegin;  // offset just past the opening quote
  std::size_t valueEnd;    // offset of the closing quote
};

// One element of the source text, in document order.
struct SourceElement {
  std::string name;            // qualified, as written
  std::size_t begin = 0;       // offset of '<'
  std::size_t startEnd = 0;    // just past the start tag's '>'
  std::size_t contentEnd = 0;  // offset of the end tag's '<' (startEnd when self-closing)
  std::size_t end = 0;         // just past the end tag (startEnd when self-closing)
  bool selfClosing = false;
  int parent = -1;  // index of the parent element, -1 for the root
  int depth = 0;    // 0 for the root
  std::vector<SourceAttribute> attributes;
  const SourceAttribute* attribute(std::string_view name) const;
};

// The elements of well-formed XML text with their byte ranges, in document order (the order in
// which an XML parser meets their start tags). nullopt when the text is not what it expects.
std::optional<std::vector<SourceElement>> scanElements(std::string_view text);

// The attribute names of the foreign namespaces, with the prefixes the file declares (or the
// usual ones when it declares none).
struct QualifiedNames {
  std::string svgPrefix;  // prefix bound to the SVG namespace, empty when it is the default
  std::string inkscape = "inkscape", sodipodi = "sodipodi", sq = "sq", xlink = "xlink";
  bool declaresInkscape = false, declaresSodipodi = false, declaresSq = false,
       declaresXlink = false;
  std::string groupmode, label, insensitive, nodetypes, namedview, page, xlinkHref;
  std::string sqSelection, sqSelected, sqLocked, sqHidden, sqColor, sqPluginArt, sqCompound, sqEnds,
      sqBounds, sqRulerOrigin, sqCanvas, sqActiveArtboard;
  void build();  // fills the qualified names from the prefixes
};

// How an art object relates to the element it was read from.
enum class OriginKind : std::uint8_t {
  kElement,       // the element itself: path, shape, group, layer, text, plug-in art or use
  kSubpath,       // one subpath of the path element of a compound path
  kPluginResult,  // the result group of plug-in art: the plug-in element's children
  kTextPath,      // the path object of a text frame: a shape element it refers to
  kInstance,      // a copy a use element built of its target; it has no element of its own
};

struct Origin {
  OriginKind kind = OriginKind::kElement;
  int element = -1;    // the element read (the use's target for instances)
  Affine ctm;          // the element's user space (its transform applied) to the root's user space
  Affine parentCtm;    // the user space the element's own transform is applied in
  bool shape = false;  // read from rect, circle, ellipse, line, polyline or polygon
  ArtId parent = kNoId;   // its parent object as read (kNoId for layer groups)
  std::size_t index = 0;  // its index among the parent's children as read
  ArtData imported;       // its own state as read
};

struct LayerOrigin {
  int element = -1;       // the layer's g element; -1 for the layer made for loose root content
  std::size_t index = 0;  // the layer's index as read
  LayerProps props;       // as read
};

class SvgSource : public DocumentSource {
 public:
  std::string fileName;  // empty when read from text
  std::string text;      // the bytes read, unchanged
  std::vector<SourceElement> elements;
  QualifiedNames names;
  std::unordered_map<ArtId, Origin> art;
  std::unordered_map<LayerId, LayerOrigin> layers;
  PageState page;  // as read
  Affine rootCtm;  // the root element's own transform
  // The root viewport in user units: the viewBox, or 0 0 width height (CSS pixels).
  double viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
  // Per element: whether an art object was read from it (kElement), so where it appears is the
  // model's to decide.
  std::vector<bool> artElement;

  const Origin* originOf(ArtId id) const {
    auto it = art.find(id);
    return it == art.end() ? nullptr : &it->second;
  }
};

}  // namespace sqhost::svg
