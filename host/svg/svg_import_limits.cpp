// SVG import limits counted before building, and viewBox fitting (preserveAspectRatio).
#include <limits>

#include "svg/svg_importer.hpp"
#include "svg/svg_io.hpp"

namespace sqhost::svg::detail {

namespace {

constexpr std::size_t kSaturated = std::numeric_limits<std::size_t>::max() / 4;

std::size_t add(std::size_t a, std::size_t b) {
  return a >= kSaturated || b >= kSaturated ? kSaturated : std::min(a + b, kSaturated);
}

// What one element would make: objects, segments, and the nesting below and including it.
struct Cost {
  std::size_t objects = 0;
  std::size_t segments = 0;
  int depth = 0;
};

class CostCounter {
 public:
  explicit CostCounter(Importer& importer, std::size_t elements)
      : importer_(importer), memo_(elements), state_(elements, 0) {}

  Cost of(pugi::xml_node node, bool viaUse) {
    const int index = importer_.elementIndex(node);
    if (index < 0) return {};
    const auto i = static_cast<std::size_t>(index);
    // Symbols count only through a use; they are never read in place.
    if (!viaUse && importer_.tagOf(node) == "symbol") return {};
    if (state_[i] == 2) return memo_[i];
    if (state_[i] == 1) return {};  // a reference back to itself: the importer refuses it
    state_[i] = 1;
    memo_[i] = compute(node, viaUse);
    state_[i] = 2;
    return memo_[i];
  }

 private:
  Cost compute(pugi::xml_node node, bool viaUse) {
    const std::string tag = importer_.tagOf(node);
    Cost cost;
    const bool container =
        tag == "g" || tag == "a" || tag == "switch" || tag == "svg" || (tag == "symbol" && viaUse);
    if (container) {
      cost.objects = 1;
      for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const Cost c = of(child, false);
        cost.objects = add(cost.objects, c.objects);
        cost.segments = add(cost.segments, c.segments);
        cost.depth = std::max(cost.depth, c.depth);
      }
    } else if (tag == "use") {
      if (pugi::xml_node target = importer_.hrefTarget(node)) {
        cost = of(target, true);
        cost.objects = add(cost.objects, 1);
      }
    } else if (tag == "path") {
      const std::string_view d = node.attribute("d").value();
      std::size_t moves = 0;
      for (char c : d) moves += c == 'M' || c == 'm';
      cost.objects = add(moves, 1);
      cost.segments = estimateSegments(d);
    } else if (tag == "rect" || tag == "circle" || tag == "ellipse" || tag == "line") {
      cost.objects = 1;
      cost.segments = 8;
    } else if (tag == "polyline" || tag == "polygon") {
      cost.objects = 1;
      cost.segments = std::string_view(node.attribute("points").value()).size() / 2 + 1;
    } else if (tag == "text" || tag == "flowRoot") {
      cost.objects = 3;
      cost.segments = 8;
    } else {
      return cost;
    }
    cost.depth += 1;
    return cost;
  }

  Importer& importer_;
  std::vector<Cost> memo_;
  std::vector<std::uint8_t> state_;  // 0 not counted, 1 being counted, 2 counted
};

}  // namespace

void Importer::checkLimits(pugi::xml_node root) {
  CostCounter counter(*this, source_->elements.size());
  Cost total;
  for (pugi::xml_node child : root.children()) {
    if (child.type() != pugi::node_element) continue;
    const Cost c = counter.of(child, false);
    total.objects = add(total.objects, c.objects);
    total.segments = add(total.segments, c.segments);
    total.depth = std::max(total.depth, c.depth);
  }
  if (total.depth > kMaxDepth) {
    fail(root, "",
         "elements are nested too deeply (more than " + std::to_string(kMaxDepth) +
             " levels, counting what use elements copy)");
  }
  if (total.objects > kMaxArt) {
    fail(root, "",
         "too many objects: more than " + std::to_string(kMaxArt) +
             ", counting what use elements copy");
  }
  if (total.segments > kMaxSegments) {
    fail(root, "",
         "too many path segments: more than " + std::to_string(kMaxSegments) +
             ", counting what use elements copy");
  }
}

Document Importer::checkOnly() {
  pugi::xml_document xml;
  if (!xml.load_buffer(text_.data(), text_.size(), pugi::parse_default, pugi::encoding_utf8)) {
    throw ImportError("malformed XML", 0);
  }
  pugi::xml_node root = xml.document_element();
  root_ = root;
  readNames(root);
  indexElements(xml);
  checkLimits(root);
  return Document();
}

std::string limitFailure(std::string_view text) {
  try {
    Importer importer(text, {});
    importer.checkOnly();
  } catch (const ImportError& e) {
    return e.what();
  }
  return {};
}

std::vector<double> Importer::viewBoxOf(pugi::xml_node node) {
  std::vector<double> box;
  try {
    box = parseNumberList(node.attribute("viewBox").value());
  } catch (const ValueError& e) {
    fail(node, "viewBox", e.what());
  }
  if (box.size() != 4 || box[2] <= 0 || box[3] <= 0) fail(node, "viewBox", "malformed viewBox");
  return box;
}

Affine Importer::viewBoxTransform(const std::vector<double>& box, double w, double h,
                                  const char* preserveAspectRatio) {
  double sx = w / box[2], sy = h / box[3];
  std::string_view par = trim(preserveAspectRatio != nullptr ? preserveAspectRatio : "");
  if (par.rfind("defer", 0) == 0) par = trim(par.substr(5));
  const std::string_view align = par.substr(0, par.find(' '));
  if (align == "none") {
    return Affine{sx, 0, 0, sy, -box[0] * sx, -box[1] * sy};
  }
  const bool slice = par.find("slice") != std::string_view::npos;
  const double s = slice ? std::max(sx, sy) : std::min(sx, sy);
  // xMin/xMid/xMax and YMin/YMid/YMax: where the scaled box sits in the viewport.
  auto part = [&](std::string_view minName, std::string_view maxName) {
    if (align.find(minName) != std::string_view::npos) return 0.0;
    if (align.find(maxName) != std::string_view::npos) return 1.0;
    return 0.5;
  };
  const double tx = (w - box[2] * s) * part("xMin", "xMax");
  const double ty = (h - box[3] * s) * part("YMin", "YMax");
  return Affine{s, 0, 0, s, tx - box[0] * s, ty - box[1] * s};
}

}  // namespace sqhost::svg::detail
