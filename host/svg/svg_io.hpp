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
//                             inkscape:page)
//   sq:canvas="l t r b", sq:active-artboard="i"  on the root element
//
// Failures never throw: bad XML, bad path data, unknown units, numbers out of range or a path
// longer than the host's segment limit give an error naming the line and the attribute, and no
// document.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/document.hpp"

namespace sqhost::svg {

inline constexpr const char* kHostNamespace = "urn:spindlequiver:host";

struct ImportResult {
  std::optional<Document> document;  // set on success
  std::string error;  // set on failure, e.g. "line 4: <rect>: attribute 'width': ..."
  int line = 0;       // the line of the failure, 0 when not known
  bool ok() const { return document.has_value(); }
};

ImportResult importSvg(std::string_view text);
// Reads a file; the document is named after the path.
ImportResult importSvgFile(const std::string& path);

struct SaveResult {
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// The document as SVG text: absolute path data with explicit C commands and Z for closed paths,
// floats in their shortest exact form, layers bottom first. Importing the text gives a document
// with the same content (sameContent), ids aside.
std::string exportSvg(const Document& document);
// Writes exportSvg(document) to path through a temporary file in the same folder that is renamed
// over the target, so a failed save leaves an existing file untouched.
SaveResult saveSvgFile(const Document& document, const std::string& path);

}  // namespace sqhost::svg
