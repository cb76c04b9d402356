// SVG import: the document walk (layers, groups, use, shapes, text) and the public entry points.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <new>

#include "svg/svg_importer.hpp"
#include "svg/svg_io.hpp"

namespace sqhost::svg {

namespace detail {

namespace {

bool isShape(const std::string& tag) {
  return tag == "path" || tag == "rect" || tag == "circle" || tag == "ellipse" || tag == "line" ||
         tag == "polyline" || tag == "polygon";
}

}  // namespace

std::vector<std::unique_ptr<Art>> Importer::children(pugi::xml_node node, const Context& ctx) {
  std::vector<std::unique_ptr<Art>> items;
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (auto art = element(child, ctx)) items.push_back(std::move(art));
  }
  return items;
}

std::unique_ptr<Art> Importer::group(pugi::xml_node node, const Context& ctx) {
  auto result = Art::create(ArtType::kGroup);
  auto items = children(node, ctx);
  // SVG lists back to front; children are kept front to back.
  for (auto it = items.rbegin(); it != items.rend(); ++it) result->appendChild(std::move(*it));
  countArt(node, 1);
  if (const char* plugin = attr(node, names_.sqPluginArt)) {
    return Art::createPluginArt(plugin, std::move(result));
  }
  return result;
}

std::unique_ptr<Art> Importer::use(pugi::xml_node node, const Context& ctx) {
  pugi::xml_node target = hrefTarget(node);
  if (!target) return nullptr;  // a dangling reference draws nothing
  const void* key = target.internal_object();
  if (activeUses_.count(key) != 0) fail(node, "href", "the reference leads back to itself");
  Context inner = ctx;
  inner.ctm =
      compose(inner.ctm, Affine{1, 0, 0, 1, lengthAttr(node, "x", 0), lengthAttr(node, "y", 0)});
  activeUses_.insert(key);
  ++useDepth_;
  auto art = element(target, inner, true);
  --useDepth_;
  activeUses_.erase(key);
  if (!art) return nullptr;
  auto result = Art::create(ArtType::kGroup);
  result->appendChild(std::move(art));
  countArt(node, 1);
  return result;
}

std::unique_ptr<Art> Importer::element(pugi::xml_node node, const Context& parent, bool viaUse) {
  std::string tag = tagOf(node);
  bool container =
      tag == "g" || tag == "a" || tag == "switch" || tag == "svg" || (tag == "symbol" && viaUse);
  bool known = container || tag == "use" || isShape(tag) || tag == "text" || tag == "flowRoot";
  if (!known) return nullptr;
  if (parent.depth >= kMaxDepth) fail(node, "", "elements are nested too deeply");
  Context ctx = parent;
  ++ctx.depth;
  readTransform(node, ctx);
  if (tag == "svg") {
    // A nested viewport: placed at x, y, its viewBox scaled onto width and height.
    Affine place{1, 0, 0, 1, lengthAttr(node, "x", 0), lengthAttr(node, "y", 0)};
    if (pugi::xml_attribute vb = node.attribute("viewBox")) {
      std::vector<double> box;
      try {
        box = parseNumberList(vb.value());
      } catch (const ValueError& e) {
        fail(node, "viewBox", e.what());
      }
      if (box.size() != 4 || box[2] <= 0 || box[3] <= 0) fail(node, "viewBox", "malformed viewBox");
      double w = lengthAttr(node, "width", box[2]), h = lengthAttr(node, "height", box[3]);
      place = compose(
          place, Affine{w / box[2], 0, 0, h / box[3], -box[0] * w / box[2], -box[1] * h / box[3]});
    }
    ctx.ctm = compose(ctx.ctm, place);
  }
  bool hidden = readStyle(node, ctx.style);
  std::unique_ptr<Art> art;
  if (container) {
    art = group(node, ctx);
  } else if (tag == "use") {
    art = use(node, ctx);
  } else if (tag == "text") {
    art = text(node, ctx);
  } else if (tag == "flowRoot") {
    art = flowRoot(node, ctx);
  } else {
    auto geometry = shapeGeometry(node, tag);
    if (!geometry) return nullptr;
    art = makePath(node, std::move(*geometry), ctx, tag == "path", false);
  }
  if (!art) return nullptr;
  applyCommonAttributes(node, *art, hidden);
  return art;
}

void Importer::addLayers(Document& doc, pugi::xml_node root, const Context& rootCtx) {
  struct Pending {
    LayerProps props;
    std::string groupName;
    std::vector<std::unique_ptr<Art>> items;  // back to front
  };
  std::vector<Pending> layers;  // back to front
  int looseLayer = -1;
  std::size_t realLayers = 0;
  for (pugi::xml_node child : root.children()) {
    if (child.type() != pugi::node_element) continue;
    const char* mode = attr(child, names_.groupmode);
    if (tagOf(child) == "g" && mode != nullptr && std::string_view(mode) == "layer") {
      Context ctx = rootCtx;
      ++ctx.depth;
      readTransform(child, ctx);
      Pending layer;
      layer.props.visible = !readStyle(child, ctx.style);
      const char* label = attr(child, names_.label);
      const char* id = attr(child, "id");
      layer.props.name = label ? label : id ? id : "Layer " + std::to_string(layers.size() + 1);
      layer.props.locked =
          isTrue(attr(child, names_.insensitive)) || isTrue(attr(child, names_.sqLocked));
      if (isTrue(attr(child, names_.sqHidden))) layer.props.visible = false;
      layer.props.color = defaultLayerColor(layers.size());
      if (const char* color = attr(child, names_.sqColor)) {
        auto parsed = parseHexColor(color);
        if (!parsed) fail(child, names_.sqColor, "malformed colour");
        layer.props.color = *parsed;
      }
      if (id != nullptr) layer.groupName = id;
      layer.items = children(child, ctx);
      layers.push_back(std::move(layer));
      ++realLayers;
      continue;
    }
    auto art = element(child, rootCtx);
    if (!art) continue;
    if (looseLayer < 0) {
      looseLayer = static_cast<int>(layers.size());
      layers.emplace_back();
      layers.back().props.color = defaultLayerColor(layers.size() - 1);
    }
    layers[static_cast<std::size_t>(looseLayer)].items.push_back(std::move(art));
  }
  if (looseLayer >= 0) {
    layers[static_cast<std::size_t>(looseLayer)].props.name =
        realLayers == 0 ? "Layer 1" : "Unlayered";
  }
  if (layers.empty()) {
    layers.emplace_back();
    layers.back().props.name = "Layer 1";
    layers.back().props.color = defaultLayerColor(0);
  }
  for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
    Result<LayerId> id = doc.insertLayer(doc.layerCount(), std::move(it->props));
    if (!id.ok()) throw ImportError("cannot add a layer", 0);
    ArtId groupId = doc.findLayer(id.value)->group().id();
    if (!it->groupName.empty()) doc.modifyArt(groupId)->setName(it->groupName);
    for (auto item = it->items.rbegin(); item != it->items.rend(); ++item) {
      ArtId parent = groupId;
      std::size_t at = doc.findArt(groupId)->childCount();
      if (doc.insertArt(parent, at, std::move(*item)) != kNoErr) {
        throw ImportError("cannot add art to a layer", 0);
      }
    }
  }
}

Document Importer::run() {
  lineStarts_.push_back(0);
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n') lineStarts_.push_back(i + 1);
  }
  pugi::xml_document xml;
  pugi::xml_parse_result parsed =
      xml.load_buffer(text_.data(), text_.size(), pugi::parse_default | pugi::parse_ws_pcdata);
  if (!parsed) {
    auto it =
        std::upper_bound(lineStarts_.begin(), lineStarts_.end(),
                         static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0)));
    int line = static_cast<int>(it - lineStarts_.begin());
    throw ImportError("line " + std::to_string(line) + ": malformed XML: " + parsed.description(),
                      line);
  }
  pugi::xml_node root = xml.document_element();
  root_ = root;
  readNames(root);
  if (tagOf(root) != "svg") fail(root, "", "not an SVG document");

  Document doc;
  Context ctx;
  readTransform(root, ctx);
  readStyle(root, ctx.style);
  addLayers(doc, root, ctx);
  PageState page = readPage(root);
  if (AIErr err = doc.setPageState(std::move(page)); err != kNoErr) {
    fail(root, "", "artboards or canvas out of range");
  }
  return doc;
}

}  // namespace detail

ImportResult importSvg(std::string_view text) {
  ImportResult result;
  try {
    detail::Importer importer(text);
    result.document.emplace(importer.run());
  } catch (const detail::ImportError& e) {
    result.error = e.what();
    result.line = e.line;
  } catch (const std::bad_alloc&) {
    result.error = "out of memory";
  } catch (const std::exception& e) {
    result.error = std::string("cannot read the document: ") + e.what();
  }
  return result;
}

ImportResult importSvgFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ImportResult{std::nullopt, "cannot open " + path, 0};
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return ImportResult{std::nullopt, "cannot read " + path, 0};
  ImportResult result = importSvg(text);
  if (result.ok()) {
    result.document->setName(path);
  } else {
    result.error = path + ": " + result.error;
  }
  return result;
}

}  // namespace sqhost::svg
