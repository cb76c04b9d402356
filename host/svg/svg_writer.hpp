// Writing art objects as new SVG elements: for documents without a source, and for the objects a
// spliced save inserts into one.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <unordered_set>

#include "document/document.hpp"
#include "svg/svg_source.hpp"
#include "svg/svg_values.hpp"

namespace sqhost::svg::detail {

class ArtWriter {
 public:
  // names gives the prefixes to write; usedNames holds every id in use (fresh ids avoid them).
  ArtWriter(const QualifiedNames& names, std::unordered_set<std::string>& usedNames)
      : names_(names), usedNames_(usedNames) {}

  // Where text frames put the path they refer to.
  void setDefs(pugi::xml_node defs) { defs_ = defs; }
  // Writes art (with its subtree) as the last child of parent. toUser maps root user coordinates
  // (artwork (h, v) is (h, -v)) into the parent's user space; null for none.
  void write(pugi::xml_node parent, const Art& art, const Affine* toUser);
  // The attributes of a path element for a path or compound path: d, node types, selection,
  // open end handles, and the compound marker; plus a style and the common attributes when
  // styled.
  void writePathAttributes(pugi::xml_node node, const Art& art, const Affine* toUser, bool styled);
  void common(pugi::xml_node node, const Art& art, bool styled);
  // Sets an attribute by qualified name, noting which foreign prefixes were used.
  void set(pugi::xml_node node, const std::string& name, const std::string& value);
  std::string freshName();

  bool usedInkscape = false, usedSodipodi = false, usedSq = false, usedXlink = false;

 private:
  void writeChildren(pugi::xml_node parent, const Art& art, const Affine* toUser);
  void writeText(pugi::xml_node parent, const Art& art, const Affine* toUser);

  const QualifiedNames& names_;
  std::unordered_set<std::string>& usedNames_;
  pugi::xml_node defs_;
  int nextName_ = 0;
};

// The attributes of a layer's g element.
void writeLayerAttributes(pugi::xml_node g, const Layer& layer, const QualifiedNames& names);
// The style of the host's path model as an SVG style attribute (widths divided by widthScale).
std::string styleText(const PathStyle& style, bool hidden, double widthScale = 1);
// Serialises one node (and its subtree) without indentation.
std::string printNode(pugi::xml_node node);
// Every art name (SVG id) in the document.
void collectNames(const Document& doc, std::unordered_set<std::string>& names);

}  // namespace sqhost::svg::detail
