// SVG import helpers: names, lines and errors, styles, transforms, shapes and paths.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "svg/svg_importer.hpp"
#include "svg/svg_io.hpp"

namespace sqhost::svg {

namespace detail {

namespace {

constexpr const char* kSvgNs = "http://www.w3.org/2000/svg";
constexpr const char* kInkscapeNs = "http://www.inkscape.org/namespaces/inkscape";
constexpr const char* kSodipodiNs = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
constexpr const char* kXlinkNs = "http://www.w3.org/1999/xlink";

}  // namespace

bool isTrue(const char* value) {
  return value != nullptr && (std::strcmp(value, "true") == 0 || std::strcmp(value, "1") == 0);
}

void Importer::readNames(pugi::xml_node root) {
  for (pugi::xml_attribute a : root.attributes()) {
    std::string_view name = a.name();
    if (name.rfind("xmlns:", 0) != 0) continue;
    std::string prefix(name.substr(6));
    std::string_view uri = a.value();
    if (uri == kInkscapeNs) names_.inkscape = prefix, names_.declaresInkscape = true;
    if (uri == kSodipodiNs) names_.sodipodi = prefix, names_.declaresSodipodi = true;
    if (uri == kHostNamespace) names_.sq = prefix, names_.declaresSq = true;
    if (uri == kXlinkNs) names_.xlink = prefix, names_.declaresXlink = true;
    if (uri == kSvgNs) names_.svgPrefix = prefix;
  }
  names_.build();
}

int Importer::lineOf(pugi::xml_node node) const {
  std::ptrdiff_t offset = node.offset_debug();
  if (offset < 0) return 0;
  auto it =
      std::upper_bound(lineStarts_.begin(), lineStarts_.end(), static_cast<std::size_t>(offset));
  return static_cast<int>(it - lineStarts_.begin());
}

std::string Importer::tagOf(pugi::xml_node node) const {
  std::string_view name = node.name();
  if (!names_.svgPrefix.empty() && name.size() > names_.svgPrefix.size() + 1 &&
      name.rfind(names_.svgPrefix + ":", 0) == 0) {
    name.remove_prefix(names_.svgPrefix.size() + 1);
  }
  return std::string(name);
}

int Importer::elementIndex(pugi::xml_node node) const {
  auto it = elementOf_.find(node.internal_object());
  return it == elementOf_.end() ? -1 : it->second;
}

void Importer::recordOrigin(const Art& art, OriginKind kind, pugi::xml_node node, const Affine& ctm,
                            const Affine& parentCtm, bool shape) {
  Origin origin;
  origin.kind = kind;
  origin.element = elementIndex(node);
  origin.ctm = ctm;
  origin.parentCtm = parentCtm;
  origin.shape = shape;
  if (kind == OriginKind::kElement && origin.element >= 0) {
    source_->artElement[static_cast<std::size_t>(origin.element)] = true;
  }
  source_->art[art.id()] = std::move(origin);
}

void Importer::warn(pugi::xml_node node, std::string_view attribute, const std::string& what) {
  std::string message = source_->fileName.empty() ? std::string() : source_->fileName + ": ";
  if (int line = lineOf(node); line > 0) message += "line " + std::to_string(line) + ": ";
  message += "<" + std::string(node.name());
  if (const char* id = attr(node, "id")) message += " id=\"" + std::string(id) + "\"";
  message += ">";
  if (!attribute.empty()) message += " attribute '" + std::string(attribute) + "'";
  message += ": " + what;
  source_->warnings.push_back(std::move(message));
}

void Importer::fail(pugi::xml_node node, std::string_view attribute,
                    const std::string& what) const {
  int line = lineOf(node);
  std::string message = line > 0 ? "line " + std::to_string(line) + ": " : std::string();
  message += "<" + std::string(node.name()) + ">";
  if (!attribute.empty()) message += " attribute '" + std::string(attribute) + "'";
  message += ": " + what;
  throw ImportError(message, line);
}

const char* Importer::attr(pugi::xml_node node, const std::string& name) const {
  pugi::xml_attribute a = node.attribute(name.c_str());
  return a ? a.value() : nullptr;
}

double Importer::lengthAttr(pugi::xml_node node, const char* name, double fallback) {
  pugi::xml_attribute a = node.attribute(name);
  if (!a) return fallback;
  try {
    return parseLength(a.value());
  } catch (const ValueError& e) {
    fail(node, name, e.what());
  }
}

void Importer::countArt(pugi::xml_node node, std::size_t n) {
  artCreated_ += n;
  if (artCreated_ > kMaxArt) fail(node, "", "too many objects (more than 2000000)");
}

pugi::xml_node Importer::findById(std::string_view id) {
  if (!idsIndexed_) {
    idsIndexed_ = true;
    struct Walker : pugi::xml_tree_walker {
      std::unordered_map<std::string, pugi::xml_node>* ids;
      bool for_each(pugi::xml_node& n) override {
        if (n.type() == pugi::node_element) {
          if (pugi::xml_attribute a = n.attribute("id")) ids->emplace(a.value(), n);
        }
        return true;
      }
    } walker;
    walker.ids = &ids_;
    root_.traverse(walker);
  }
  auto it = ids_.find(std::string(id));
  return it == ids_.end() ? pugi::xml_node() : it->second;
}

pugi::xml_node Importer::hrefTarget(pugi::xml_node node) {
  const char* href = attr(node, names_.xlinkHref);
  if (href == nullptr) href = attr(node, "href");
  if (href == nullptr || href[0] != '#') return {};
  return findById(href + 1);
}

void Importer::readTransform(pugi::xml_node node, Context& ctx) {
  pugi::xml_attribute a = node.attribute("transform");
  if (!a) return;
  try {
    ctx.ctm = compose(ctx.ctm, parseTransform(a.value()));
  } catch (const ValueError& e) {
    fail(node, "transform", e.what());
  }
}

bool Importer::readStyle(pugi::xml_node node, StyleState& style) {
  bool hidden = false;
  auto apply = [&](std::string_view name, std::string_view value, const char* source) {
    value = trim(value);
    if (value == "inherit") return;
    try {
      if (name == "fill") {
        style.fill = parsePaint(value);
      } else if (name == "stroke") {
        style.stroke = parsePaint(value);
      } else if (name == "stroke-width") {
        style.strokeWidth = parseLength(value);
      } else if (name == "fill-rule") {
        style.evenOdd = value == "evenodd";
      } else if (name == "display") {
        hidden = value == "none";
      }
    } catch (const ValueError& e) {
      fail(node, source, e.what());
    }
  };
  for (const char* name : {"fill", "stroke", "stroke-width", "fill-rule", "display"}) {
    if (pugi::xml_attribute a = node.attribute(name)) apply(name, a.value(), name);
  }
  if (pugi::xml_attribute a = node.attribute("style")) {
    for (const auto& [name, value] : parseStyle(a.value())) apply(name, value, "style");
  }
  return hidden;
}

PathStyle Importer::pathStyle(const Context& ctx, pugi::xml_node node) {
  PathStyle style;
  style.fill = !ctx.style.fill.none;
  style.fillColor = ctx.style.fill.color;
  style.stroke = !ctx.style.stroke.none;
  style.strokeColor = ctx.style.stroke.color;
  double width = ctx.style.strokeWidth * (ctx.ctm.isIdentity() ? 1.0 : ctx.ctm.scale());
  style.strokeWidth = static_cast<float>(width);
  if (!std::isfinite(style.strokeWidth) || style.strokeWidth < 0) {
    fail(node, "stroke-width", "stroke width out of range");
  }
  style.evenOdd = ctx.style.evenOdd;
  return style;
}

void Importer::applyCommonAttributes(pugi::xml_node node, Art& art, bool hidden) {
  // A copy made by a use element does not repeat the ids of its original.
  if (const char* id = attr(node, "id"); id != nullptr && useDepth_ == 0) art.setName(id);
  if (isTrue(attr(node, names_.insensitive)) || isTrue(attr(node, names_.sqLocked))) {
    art.setLocked(true);
  }
  if (hidden || isTrue(attr(node, names_.sqHidden))) art.setHidden(true);
  if (isTrue(attr(node, names_.sqSelected))) art.setSelected(true);
}

std::optional<std::vector<RawSubpath>> Importer::shapeGeometry(pugi::xml_node node,
                                                               const std::string& tag) {
  auto nonNegative = [&](const char* name, double v) {
    if (v < 0) fail(node, name, "must not be negative");
    return v;
  };
  if (tag == "path") {
    const char* d = attr(node, "d");
    if (d == nullptr) return std::vector<RawSubpath>{};
    ParsedPath parsed = parsePathData(d);
    // Each element is read once, however many use elements copy it: one warning each.
    if (parsed.errorAt && useDepth_ == 0) {
      warn(node, "d",
           "malformed path data at character " + std::to_string(*parsed.errorAt + 1) +
               "; read up to there");
    }
    return std::move(parsed.subpaths);
  }
  if (tag == "rect") {
    double x = lengthAttr(node, "x", 0), y = lengthAttr(node, "y", 0);
    double w = nonNegative("width", lengthAttr(node, "width", 0));
    double h = nonNegative("height", lengthAttr(node, "height", 0));
    pugi::xml_attribute rxa = node.attribute("rx"), rya = node.attribute("ry");
    double rx = nonNegative("rx", lengthAttr(node, "rx", 0));
    double ry = nonNegative("ry", lengthAttr(node, "ry", 0));
    if (rxa && !rya) ry = rx;
    if (rya && !rxa) rx = ry;
    if (w == 0 || h == 0) return std::nullopt;
    return std::vector<RawSubpath>{
        rectSubpath(x, y, w, h, std::min(rx, w / 2), std::min(ry, h / 2))};
  }
  if (tag == "circle" || tag == "ellipse") {
    double cx = lengthAttr(node, "cx", 0), cy = lengthAttr(node, "cy", 0);
    double rx, ry;
    if (tag == "circle") {
      rx = ry = nonNegative("r", lengthAttr(node, "r", 0));
    } else {
      rx = nonNegative("rx", lengthAttr(node, "rx", 0));
      ry = nonNegative("ry", lengthAttr(node, "ry", 0));
    }
    if (rx == 0 || ry == 0) return std::nullopt;
    return std::vector<RawSubpath>{ellipseSubpath(cx, cy, rx, ry)};
  }
  if (tag == "line") {
    std::vector<double> coords{lengthAttr(node, "x1", 0), lengthAttr(node, "y1", 0),
                               lengthAttr(node, "x2", 0), lengthAttr(node, "y2", 0)};
    return std::vector<RawSubpath>{polySubpath(coords, false)};
  }
  if (tag == "polyline" || tag == "polygon") {
    std::vector<double> coords;
    try {
      coords = parseNumberList(node.attribute("points").value());
    } catch (const ValueError& e) {
      fail(node, "points", e.what());
    }
    if (coords.size() % 2 != 0) fail(node, "points", "odd number of coordinates");
    if (coords.empty()) return std::nullopt;
    return std::vector<RawSubpath>{polySubpath(coords, tag == "polygon")};
  }
  return std::nullopt;
}

std::unique_ptr<Art> Importer::makePath(pugi::xml_node node, std::vector<RawSubpath> subpaths,
                                        const Context& ctx, bool isPathElement, bool singlePath) {
  if (singlePath && subpaths.size() > 1) subpaths.resize(1);
  std::vector<ArtSubpath> converted;
  converted.reserve(subpaths.size());
  for (const RawSubpath& raw : subpaths) {
    try {
      converted.push_back(toArtwork(raw, ctx.ctm));
    } catch (const ValueError& e) {
      fail(node, isPathElement ? "d" : "", e.what());
    }
  }
  // The handles SVG cannot draw: the in handle of an open subpath's first point and the out
  // handle of its last, four numbers per subpath in user coordinates.
  if (const char* ends = attr(node, names_.sqEnds)) {
    std::vector<double> values;
    try {
      values = parseNumberList(ends);
    } catch (const ValueError& e) {
      fail(node, names_.sqEnds, e.what());
    }
    if (values.size() != 4 * converted.size()) {
      fail(node, names_.sqEnds, "expected 4 numbers per subpath");
    }
    for (std::size_t i = 0; i < converted.size(); ++i) {
      ArtSubpath& sub = converted[i];
      if (sub.closed || sub.segments.empty()) continue;
      auto point = [&](std::size_t k) {
        Vec2 p = apply(ctx.ctm, Vec2{values[4 * i + k], values[4 * i + k + 1]});
        AIRealPoint q{static_cast<float>(p.x), static_cast<float>(-p.y)};
        if (!isFinite(q)) fail(node, names_.sqEnds, "coordinate out of range");
        return q;
      };
      sub.segments.front().in = point(0);
      sub.segments.back().out = point(2);
    }
  }
  const char* types = isPathElement ? attr(node, names_.nodetypes) : nullptr;
  applyNodeTypes(converted, types != nullptr ? types : "");

  std::vector<float> states;
  if (const char* sel = attr(node, names_.sqSelection)) {
    try {
      states = parseFloatList(sel);
    } catch (const ValueError& e) {
      fail(node, names_.sqSelection, e.what());
    }
    std::size_t total = 0;
    for (const ArtSubpath& sub : converted) total += sub.segments.size();
    if (states.size() != total) {
      fail(node, names_.sqSelection,
           std::to_string(states.size()) + " states for " + std::to_string(total) + " points");
    }
    for (float s : states) {
      if (s != 0 && s != 1 && s != 2 && s != 3 && s != 4) {
        fail(node, names_.sqSelection, "states are 0 to 4");
      }
    }
  }

  PathStyle style = pathStyle(ctx, node);
  std::size_t stateIndex = 0;
  auto build = [&](const ArtSubpath& sub) {
    auto path = Art::create(ArtType::kPath);
    AIErr err = path->insertSegments(0, sub.segments);
    if (err == kTooManySegmentsErr) {
      fail(node, isPathElement ? "d" : "",
           "a path of " + std::to_string(sub.segments.size()) + " points exceeds the limit of " +
               std::to_string(PathGeometry::segmentLimit()) + " points per path");
    }
    if (err != kNoErr) fail(node, "", "coordinate out of range");
    path->setClosed(sub.closed);
    path->setStyle(style);
    if (!states.empty()) {
      for (std::size_t i = 0; i < sub.segments.size(); ++i) {
        path->setSegmentSelection(i, static_cast<SegmentSelection>(states[stateIndex++]));
      }
    }
    return path;
  };

  bool compound = !singlePath && (converted.size() > 1 || isTrue(attr(node, names_.sqCompound)));
  countArt(node, converted.size() + 1);
  if (!compound) {
    return converted.empty() ? build(ArtSubpath{}) : build(converted.front());
  }
  auto result = Art::create(ArtType::kCompoundPath);
  for (const ArtSubpath& sub : converted) {
    auto part = build(sub);
    recordOrigin(*part, useDepth_ > 0 ? OriginKind::kInstance : OriginKind::kSubpath, node, ctx.ctm,
                 ctx.ctm);
    result->appendChild(std::move(part));
  }
  return result;
}

}  // namespace detail
}  // namespace sqhost::svg
