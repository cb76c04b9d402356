// Opening documents from SVG and saving them as SVG.
//
// What is read: path data with every command (arcs and quadratics become cubics), rect, circle,
// ellipse, line, polyline and polygon as paths, a path of several subpaths as a compound path,
// groups and nested svg elements with their transforms applied to the coordinates, use elements
// (as a group holding a copy), Inkscape layers (top-level groups with inkscape:groupmode="layer",
// their inkscape:label, sodipodi:insensitive for locked and display:none for hidden; other
// top-level content goes into one extra layer), sodipodi:nodetypes for the corner flags (otherwise
// a point whose handles point in opposite directions is smooth), text as point text, text with a
// textPath as text on a path and text with shape-inside (or an Inkscape flowRoot) as area text,
// fill, stroke, stroke-width and fill-rule, and the artboard from viewBox (or width and height, or
// inkscape:page elements). Artwork coordinates are SVG user units with v = -y.
//
// What SVG cannot say is kept in attributes of the namespace urn:spindlequiver:host (prefix sq):
//   sq:selection="0 1 4 ..."  segment selection states of a path, one per anchor (subpaths of a
//                             compound path in order)
//   sq:selected="1"           the selected attribute of a group, text frame or plug-in art (or a
//                             path: then every anchor is selected)
//   sq:locked="1", sq:hidden="1"  the same as sodipodi:insensitive and display:none
//   sq:color="#rrrrggggbbbb"  a layer's colour, 16 bits a channel ("#rrggbb" is read too)
//   sq:plugin-art="name"      a group that is plug-in art of that plug-in group; its content is the
//                             result art
//   sq:ends="x y x y ..."     the in handle of an open path's first point and the out handle of
//                             its last (which no curve shows), per subpath, in user coordinates
//   sq:compound="1"           a path element that is a compound path even with one subpath
//   sq:bounds="l t r b", sq:ruler-origin="h v"  an artboard's exact bounds and ruler origin (on
//                             inkscape:page, or on the root for the artboard of its viewBox)
//   sq:canvas="l t r b", sq:active-artboard="i"  on the root element
//
// The document keeps the text it was read from (Document::source()): saving writes that text back
// with only what changed spliced in (see exportSvg), and the view draws it.
//
// Path data with an error is read up to the error, as SVG says, with a warning naming the file,
// the line, the element's id, the attribute and the character offset. Other failures never throw:
// bad XML, unknown units, numbers out of range, too deep a nesting, too many objects or segments
// (counting what use elements would build, checked before anything is built) or a path longer than
// the host's segment limit give an error naming the line and the attribute, and no document.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/document.hpp"

namespace sqhost::svg {

inline constexpr const char* kHostNamespace = "urn:spindlequiver:host";

// What one file may hold: element nesting below the root, art objects and path segments (what
// use elements build counted in).
inline constexpr int kMaxNesting = 200;
inline constexpr std::size_t kMaxObjects = 2'000'000;
inline constexpr std::size_t kMaxSegments = 4'000'000;

struct ImportResult {
  std::optional<Document> document;  // set on success
  std::string error;  // set on failure, e.g. "line 4: <rect>: attribute 'width': ..."
  int line = 0;       // the line of the failure, 0 when not known
  // What was read past (also kept on the document: Document::warnings()).
  std::vector<std::string> warnings;
  bool ok() const { return document.has_value(); }
};

// fileName, when given, names the file in warnings (errors never name it: the caller does).
ImportResult importSvg(std::string_view text, const std::string& fileName = {});
// Reads a file; the document is named after the path. A folder, a missing or unreadable file
// gives an error.
ImportResult importSvgFile(const std::string& path);

struct SaveResult {
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// The document as SVG text. A document read from SVG gives its source text with only the changes
// spliced in: the d of edited paths (in the path's own user space), their node types, edited
// shapes turned into paths, removed and inserted objects, changed attributes, and the host's sq:
// attributes where there is state to keep; an unchanged document gives the source byte for byte.
// A document without a source is written whole: absolute path data with explicit C commands and
// Z for closed paths, floats in their shortest exact form, layers bottom first. Importing the text
// gives a document with the same content (sameContent), ids aside.
struct ExportResult {
  std::string text;
  std::string error;  // set when the document cannot be written (the text is then empty)
  bool ok() const { return error.empty(); }
};
ExportResult writeSvg(const Document& document);
// writeSvg's text; empty when it fails.
std::string exportSvg(const Document& document);
// The text the view draws: writeSvg's, with the art hidden in the host hidden in the text too.
ExportResult viewSvg(const Document& document);
// viewSvg's text with data-sq="N" on every element an object was read from (N: the element's
// index in the source, counting elements in document order from 0 for the root), for a front-end
// that updates those elements one at a time. A document without a source gives writeSvg's text,
// with no marks.
ExportResult studioSvg(const Document& document);
// The attributes studioSvg's text would change on the element (data-sq) a path or compound path
// was read from, relative to the source, as the save plans them (a null value removes one).
// Nothing when the object has no element of its own, is not a path, or its changes need more
// than attribute changes (a shape that became a path element, an object in a hidden layer).
struct ElementAttributes {
  int element = -1;
  std::vector<std::pair<std::string, std::optional<std::string>>> attributes;
};
std::optional<ElementAttributes> studioElementAttributes(const Document& document, ArtId art);
// An attribute of a source element as read (its value with references resolved); nothing when
// the element has none or the document has no source.
std::optional<std::string> sourceAttribute(const Document& document, int element,
                                           std::string_view name);
// Writes writeSvg(document) to path through a temporary file in the same folder that is renamed
// over the target, so a failed save leaves an existing file untouched. Refuses what the importer
// would refuse to open again (nesting, objects, segments).
SaveResult saveSvgFile(const Document& document, const std::string& path);

}  // namespace sqhost::svg
