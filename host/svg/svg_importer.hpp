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
#include "svg/svg_io.hpp"
#include "svg/svg_source.hpp"
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

using Names = QualifiedNames;

// Why the importer refuses text for its limits, or empty.
std::string limitFailure(std::string_view text);

class Importer {
 public:
  // The deepest element nesting accepted, and the most art objects one file may create.
  static constexpr int kMaxDepth = kMaxNesting;
  static constexpr std::size_t kMaxArt = kMaxObjects;

  // fileName (may be empty) names the file in warnings.
  Importer(std::string_view text, std::string fileName);
  // Throws ImportError.
  Document run();
  // Only the limits: throws ImportError when run() would refuse the text for them.
  Document checkOnly();

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

  // Page readers (svg_import_page.cpp): artboards, active artboard and canvas from the root, and
  // the root viewport the view draws.
  PageState readPage(pugi::xml_node root);
  void readViewport(pugi::xml_node root);
  // The four numbers of a viewBox attribute with a positive size; fails otherwise.
  std::vector<double> viewBoxOf(pugi::xml_node node);
  // Fits a viewBox into a viewport of width w and height h at the origin, as preserveAspectRatio
  // (null: the default, xMidYMid meet) says.
  static Affine viewBoxTransform(const std::vector<double>& box, double w, double h,
                                 const char* preserveAspectRatio);

  // Limits (svg_import_limits.cpp): the nesting, the objects and the segments the root's content
  // would make, what use elements copy counted in, before anything is built.
  void checkLimits(pugi::xml_node root);

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
  // Notes where an art object came from (its parent and index are filled in at the end).
  void recordOrigin(const Art& art, OriginKind kind, pugi::xml_node node, const Affine& ctm,
                    const Affine& parentCtm, bool shape = false);
  int elementIndex(pugi::xml_node node) const;
  // A warning naming the file, the line and the element's id.
  void warn(pugi::xml_node node, std::string_view attribute, const std::string& what);

 private:
  void readNames(pugi::xml_node root);
  std::vector<std::unique_ptr<Art>> children(pugi::xml_node node, const Context& ctx);
  std::unique_ptr<Art> group(pugi::xml_node node, const Context& ctx);
  std::unique_ptr<Art> use(pugi::xml_node node, const Context& ctx);
  void addLayers(Document& doc, pugi::xml_node root, const Context& rootCtx);

  void indexElements(const pugi::xml_document& xml);
  void finishOrigins(const Document& doc);

  std::string_view text_;
  std::vector<std::size_t> lineStarts_;
  std::shared_ptr<SvgSource> source_;
  std::unordered_map<const void*, int> elementOf_;
  Names names_;
  pugi::xml_node root_;
  std::unordered_map<std::string, pugi::xml_node> ids_;
  bool idsIndexed_ = false;
  std::unordered_set<const void*> activeUses_;
  int useDepth_ = 0;
  std::size_t artCreated_ = 0;
};

}  // namespace sqhost::svg::detail
