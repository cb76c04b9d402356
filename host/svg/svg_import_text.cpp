// SVG import of text: point text, text on a path (textPath) and area text (shape-inside, flowRoot).
#include <cstring>

#include "svg/svg_importer.hpp"

namespace sqhost::svg::detail {

namespace {

bool preservesSpace(pugi::xml_node node) {
  for (; node; node = node.parent()) {
    if (pugi::xml_attribute a = node.attribute("xml:space")) {
      return std::strcmp(a.value(), "preserve") == 0;
    }
  }
  return false;
}

void gatherText(pugi::xml_node node, std::string& out) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      out += child.value();
    } else if (child.type() == pugi::node_element) {
      std::string_view name = child.name();
      if (name == "title" || name == "desc" || name == "metadata") continue;
      gatherText(child, out);
    }
  }
}

// Default SVG white-space handling: newlines dropped, tabs as spaces, runs of spaces collapsed,
// leading and trailing spaces removed.
std::string collapseSpaces(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' || c == '\r') continue;
    if (c == '\t') c = ' ';
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string textOf(pugi::xml_node node) {
  std::string raw;
  gatherText(node, raw);
  return preservesSpace(node) ? raw : collapseSpaces(raw);
}

// The first number of a coordinate list such as x="10 20 30".
std::string_view firstToken(const char* list) {
  std::string_view s = trim(list);
  std::size_t end = s.find_first_of(" \t\r\n,");
  return s.substr(0, end);
}

pugi::xml_node findDescendant(pugi::xml_node node, const Importer& importer, const char* tag) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (importer.tagOf(child) == tag) return child;
    if (pugi::xml_node found = findDescendant(child, importer, tag)) return found;
  }
  return {};
}

// The id in "url(#id)" of the shape-inside property, from the style or the attribute.
std::string shapeInsideId(pugi::xml_node node) {
  std::string value;
  if (pugi::xml_attribute a = node.attribute("shape-inside")) value = a.value();
  if (pugi::xml_attribute a = node.attribute("style")) {
    for (const auto& [name, v] : parseStyle(a.value())) {
      if (name == "shape-inside") value = v;
    }
  }
  std::string_view s = trim(value);
  if (s.rfind("url(#", 0) != 0 || s.back() != ')') return {};
  return std::string(s.substr(5, s.size() - 6));
}

// A frame's path object from a shape element, in the coordinates of the frame (ctx) followed by the
// shape's own transform; nullptr when the element is not a shape that draws something.
std::unique_ptr<Art> framePath(Importer& importer, pugi::xml_node shape, const Context& ctx) {
  if (!shape) return nullptr;
  Context inner = ctx;
  importer.readTransform(shape, inner);
  bool hidden = importer.readStyle(shape, inner.style);
  std::string tag = importer.tagOf(shape);
  auto geometry = importer.shapeGeometry(shape, tag);
  if (!geometry) return nullptr;
  auto path = importer.makePath(shape, std::move(*geometry), inner, tag == "path", true);
  importer.applyCommonAttributes(shape, *path, hidden);
  path->setName({});
  return path;
}

}  // namespace

std::unique_ptr<Art> Importer::text(pugi::xml_node node, const Context& ctx) {
  countArt(node, 2);
  if (pugi::xml_node textPath = findDescendant(node, *this, "textPath")) {
    if (auto path = framePath(*this, hrefTarget(textPath), ctx)) {
      return Art::createTextFrame(TextFrameType::kOnPath, textOf(textPath), std::move(path));
    }
  }
  std::string contents = textOf(node);
  if (std::string id = shapeInsideId(node); !id.empty()) {
    if (auto path = framePath(*this, findById(id), ctx)) {
      return Art::createTextFrame(TextFrameType::kArea, std::move(contents), std::move(path));
    }
  }
  auto frame = Art::createTextFrame(TextFrameType::kPoint, std::move(contents));
  auto coordinate = [&](const char* name) {
    const char* list = attr(node, name);
    try {
      return list != nullptr ? parseLength(firstToken(list)) : 0.0;
    } catch (const ValueError& e) {
      fail(node, name, e.what());
    }
  };
  double x = coordinate("x"), y = coordinate("y");
  Vec2 p = apply(ctx.ctm, Vec2{x, y});
  if (frame->setTextOrigin(AIRealPoint{static_cast<float>(p.x), static_cast<float>(-p.y)}) !=
      kNoErr) {
    fail(node, "x", "coordinate out of range");
  }
  return frame;
}

std::unique_ptr<Art> Importer::flowRoot(pugi::xml_node node, const Context& ctx) {
  countArt(node, 2);
  std::string contents;
  bool first = true;
  for (pugi::xml_node child : node.children()) {
    std::string tag = tagOf(child);
    if (tag != "flowPara" && tag != "flowDiv") continue;
    if (!first) contents += '\n';
    contents += textOf(child);
    first = false;
  }
  pugi::xml_node region = findDescendant(node, *this, "flowRegion");
  if (!region) return nullptr;
  Context inner = ctx;
  readTransform(region, inner);
  for (pugi::xml_node shape : region.children()) {
    if (shape.type() != pugi::node_element) continue;
    if (auto path = framePath(*this, shape, inner)) {
      return Art::createTextFrame(TextFrameType::kArea, std::move(contents), std::move(path));
    }
  }
  return nullptr;
}

}  // namespace sqhost::svg::detail
