// The SVG importer's internals, shared by its element, text and page readers.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/document.hpp"
#include "svg/svg_geometry.hpp"
#include "svg/svg_values.hpp"

namespace sqhost::svg::detail {

// "true" or "1".
bool isTrue(const char* value);

// A failure with its message already naming the line and attribute.
struct ImportError : std::runtime_error {
  ImportError(const std::string& message, int line) : std::runtime_error(message), line(line) {}
  int line;
};

// Inherited presentation properties.
struct StyleState {
  Paint fill;  // black
  Paint stroke{true, {0, 0, 0}};
  double strokeWidth = 1;
  bool evenOdd = false;
};

struct Context {
  Affine ctm;
  StyleState style;
  int depth = 0;
};

// The qualified attribute names of the foreign namespaces, with the prefixes the file declares.
struct Names {
  std::string svgPrefix;  // prefix bound to the SVG namespace, empty when it is the default
  std::string groupmode, label, insensitive, nodetypes, namedview, page, xlinkHref;
  std::string sqSelection, sqSelected, sqLocked, sqHidden, sqColor, sqPluginArt, sqCompound, sqEnds,
      sqBounds, sqRulerOrigin, sqCanvas, sqActiveArtboard;
};

class Importer {
 public:
  // The deepest element nesting accepted, and the most art objects one file may create.
  static constexpr int kMaxDepth = 200;
  static constexpr std::size_t kMaxArt = 2'000'000;

  explicit Importer(std::string_view text) : text_(text) {}
  // Throws ImportError.
  Document run();

  // Element readers (svg_import.cpp).
  std::unique_ptr<Art> element(pugi::xml_node node, const Context& parent, bool viaUse = false);
  // The subpaths of a shape element in its own user space, or nullopt for other elements and
  // shapes that draw nothing (a rect of zero width, a circle of zero radius).
  std::optional<std::vector<RawSubpath>> shapeGeometry(pugi::xml_node node, const std::string& tag);
  // A path (or compound path) from subpaths, with nodetypes, selection and style applied.
  std::unique_ptr<Art> makePath(pugi::xml_node node, std::vector<RawSubpath> subpaths,
                                const Context& ctx, bool isPathElement, bool singlePath);
  // Reads the presentation attributes and style of node into style; true for display:none.
  bool readStyle(pugi::xml_node node, StyleState& style);
  void readTransform(pugi::xml_node node, Context& ctx);
  void applyCommonAttributes(pugi::xml_node node, Art& art, bool hidden);
  PathStyle pathStyle(const Context& ctx, pugi::xml_node node);

  // Text readers (svg_import_text.cpp).
  std::unique_ptr<Art> text(pugi::xml_node node, const Context& ctx);
  std::unique_ptr<Art> flowRoot(pugi::xml_node node, const Context& ctx);

  // Page readers (svg_import_page.cpp): artboards, active artboard and canvas from the root.
  PageState readPage(pugi::xml_node root);

  // Helpers.
  [[noreturn]] void fail(pugi::xml_node node, std::string_view attribute,
                         const std::string& what) const;
  int lineOf(pugi::xml_node node) const;
  std::string tagOf(pugi::xml_node node) const;  // local name for SVG elements
  const char* attr(pugi::xml_node node, const std::string& name) const;
  // The element an href (xlink:href or href) or url(#id) points to; an empty node when none.
  pugi::xml_node findById(std::string_view id);
  pugi::xml_node hrefTarget(pugi::xml_node node);
  double lengthAttr(pugi::xml_node node, const char* name, double fallback);
  const Names& names() const { return names_; }
  void countArt(pugi::xml_node node, std::size_t n);

 private:
  void readNames(pugi::xml_node root);
  std::vector<std::unique_ptr<Art>> children(pugi::xml_node node, const Context& ctx);
  std::unique_ptr<Art> group(pugi::xml_node node, const Context& ctx);
  std::unique_ptr<Art> use(pugi::xml_node node, const Context& ctx);
  void addLayers(Document& doc, pugi::xml_node root, const Context& rootCtx);

  std::string_view text_;
  std::vector<std::size_t> lineStarts_;
  Names names_;
  pugi::xml_node root_;
  std::unordered_map<std::string, pugi::xml_node> ids_;
  bool idsIndexed_ = false;
  std::unordered_set<const void*> activeUses_;
  int useDepth_ = 0;
  std::size_t artCreated_ = 0;
};

}  // namespace sqhost::svg::detail
