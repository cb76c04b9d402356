// SVG import of the page: artboards from inkscape:page elements, viewBox or width and height.
#include "svg/svg_importer.hpp"

namespace sqhost::svg::detail {

namespace {

// Artwork bounds of an SVG rectangle in user units (v = -y).
AIRealRect boundsOf(double x, double y, double w, double h) {
  return AIRealRect{static_cast<float>(x), static_cast<float>(-y), static_cast<float>(x + w),
                    static_cast<float>(-(y + h))};
}

}  // namespace

PageState Importer::readPage(pugi::xml_node root) {
  auto floats = [&](pugi::xml_node node, const std::string& name, std::size_t count) {
    std::vector<float> values;
    try {
      values = parseFloatList(attr(node, name));
    } catch (const ValueError& e) {
      fail(node, name, e.what());
    }
    if (values.size() != count) fail(node, name, "expected " + std::to_string(count) + " numbers");
    return values;
  };

  PageState page;
  for (pugi::xml_node view : root.children(names_.namedview.c_str())) {
    for (pugi::xml_node node : view.children(names_.page.c_str())) {
      Artboard board;
      if (const char* label = attr(node, names_.label)) board.name = label;
      if (attr(node, names_.sqBounds) != nullptr) {
        auto b = floats(node, names_.sqBounds, 4);
        board.bounds = AIRealRect{b[0], b[1], b[2], b[3]};
      } else {
        board.bounds = boundsOf(lengthAttr(node, "x", 0), lengthAttr(node, "y", 0),
                                lengthAttr(node, "width", 0), lengthAttr(node, "height", 0));
      }
      if (attr(node, names_.sqRulerOrigin) != nullptr) {
        auto o = floats(node, names_.sqRulerOrigin, 2);
        board.rulerOrigin = AIRealPoint{o[0], o[1]};
      }
      if (!isFinite(board.bounds) || board.bounds.left > board.bounds.right ||
          board.bounds.bottom > board.bounds.top) {
        fail(node, "", "artboard bounds out of range");
      }
      page.artboards.push_back(std::move(board));
    }
  }

  if (page.artboards.empty()) {
    Artboard board;
    board.name = "Artboard 1";
    if (pugi::xml_attribute vb = root.attribute("viewBox")) {
      std::vector<double> box;
      try {
        box = parseNumberList(vb.value());
      } catch (const ValueError& e) {
        fail(root, "viewBox", e.what());
      }
      if (box.size() != 4 || box[2] < 0 || box[3] < 0) fail(root, "viewBox", "malformed viewBox");
      board.bounds = boundsOf(box[0], box[1], box[2], box[3]);
    } else if (root.attribute("width") && root.attribute("height")) {
      // Without a viewBox, user units are CSS pixels and the size sets the artboard.
      board.bounds = boundsOf(0, 0, lengthAttr(root, "width", 0), lengthAttr(root, "height", 0));
    }
    // What a save wrote when the host changed this artboard.
    if (attr(root, names_.sqBounds) != nullptr) {
      auto b = floats(root, names_.sqBounds, 4);
      board.bounds = AIRealRect{b[0], b[1], b[2], b[3]};
    }
    if (attr(root, names_.sqRulerOrigin) != nullptr) {
      auto o = floats(root, names_.sqRulerOrigin, 2);
      board.rulerOrigin = AIRealPoint{o[0], o[1]};
    }
    if (!isFinite(board.bounds)) fail(root, "viewBox", "artboard out of range");
    page.artboards.push_back(std::move(board));
  }

  if (const char* active = attr(root, names_.sqActiveArtboard)) {
    double index = 0;
    try {
      index = parseNumber(active);
    } catch (const ValueError& e) {
      fail(root, names_.sqActiveArtboard, e.what());
    }
    if (index < 0 || index >= static_cast<double>(page.artboards.size()) ||
        index != static_cast<double>(static_cast<std::size_t>(index))) {
      fail(root, names_.sqActiveArtboard, "no such artboard");
    }
    page.activeArtboard = static_cast<std::size_t>(index);
  }

  if (attr(root, names_.sqCanvas) != nullptr) {
    auto c = floats(root, names_.sqCanvas, 4);
    page.canvas = AIRealRect{c[0], c[1], c[2], c[3]};
    if (page.canvas.left > page.canvas.right || page.canvas.bottom > page.canvas.top) {
      fail(root, names_.sqCanvas, "malformed canvas bounds");
    }
  } else {
    page.canvas = Document::canvasAround(page.artboards.front().bounds);
  }
  return page;
}

void Importer::readViewport(pugi::xml_node root) {
  SvgSource& s = *source_;
  if (root.attribute("viewBox")) {
    std::vector<double> box = parseNumberList(root.attribute("viewBox").value());
    s.viewX = box[0], s.viewY = box[1], s.viewWidth = box[2], s.viewHeight = box[3];
    return;
  }
  const Artboard board;  // the default size when the root says none
  s.viewWidth = root.attribute("width") ? lengthAttr(root, "width", 0) : board.bounds.right;
  s.viewHeight = root.attribute("height") ? lengthAttr(root, "height", 0) : -board.bounds.bottom;
}

}  // namespace sqhost::svg::detail
