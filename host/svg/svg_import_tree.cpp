// SVG import: the document walk (layers, groups, use, shapes, text) and the public entry points.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <new>

#include "svg/svg_importer.hpp"
#include "svg/svg_io.hpp"

namespace sqhost::svg {

namespace detail {

namespace {

// Reads a whole regular file; an error message (without the path) when it cannot.
std::string readWholeFile(const std::string& path, std::string& out) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const bool folder = S_ISDIR(info.st_mode);
    ::close(fd);
    return folder ? "it is a folder, not a file" : "it is not a regular file";
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string message = std::string("cannot read it: ") + std::strerror(errno);
      ::close(fd);
      return message;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return {};
}

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
    recordOrigin(*result, useDepth_ > 0 ? OriginKind::kInstance : OriginKind::kPluginResult, node,
                 ctx.ctm, ctx.ctm);
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
  // A symbol's viewBox is fitted into the use's width and height (or the symbol's own).
  if (tagOf(target) == "symbol" && target.attribute("viewBox")) {
    const std::vector<double> box = viewBoxOf(target);
    const double w = lengthAttr(node, "width", lengthAttr(target, "width", box[2]));
    const double h = lengthAttr(node, "height", lengthAttr(target, "height", box[3]));
    inner.ctm =
        compose(inner.ctm, viewBoxTransform(box, w, h, attr(target, "preserveAspectRatio")));
  }
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
    // A nested viewport: placed at x, y, its viewBox fitted into width and height as its
    // preserveAspectRatio says.
    Affine place{1, 0, 0, 1, lengthAttr(node, "x", 0), lengthAttr(node, "y", 0)};
    if (node.attribute("viewBox")) {
      const std::vector<double> box = viewBoxOf(node);
      double w = lengthAttr(node, "width", box[2]), h = lengthAttr(node, "height", box[3]);
      place = compose(place, viewBoxTransform(box, w, h, attr(node, "preserveAspectRatio")));
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
  recordOrigin(*art, useDepth_ > 0 ? OriginKind::kInstance : OriginKind::kElement, node, ctx.ctm,
               parent.ctm, isShape(tag) && tag != "path");
  return art;
}

void Importer::addLayers(Document& doc, pugi::xml_node root, const Context& rootCtx) {
  struct Pending {
    LayerProps props;
    std::string groupName;
    std::vector<std::unique_ptr<Art>> items;  // back to front
    pugi::xml_node element;                   // empty for the layer of loose content
    Affine ctm, parentCtm;
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
      layer.element = child;
      layer.ctm = ctx.ctm;
      layer.parentCtm = rootCtx.ctm;
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
    LayerOrigin layerOrigin;
    layerOrigin.element = it->element ? elementIndex(it->element) : -1;
    layerOrigin.index = doc.layerCount() - 1;
    source_->layers[id.value] = layerOrigin;
    const Art& group = doc.findLayer(id.value)->group();
    if (it->element) {
      recordOrigin(group, OriginKind::kElement, it->element, it->ctm, it->parentCtm);
    } else {
      recordOrigin(group, OriginKind::kElement, root, rootCtx.ctm, rootCtx.ctm);
      source_->art[groupId].element = -1;
    }
    for (auto item = it->items.rbegin(); item != it->items.rend(); ++item) {
      ArtId parent = groupId;
      std::size_t at = doc.findArt(groupId)->childCount();
      if (doc.insertArt(parent, at, std::move(*item)) != kNoErr) {
        throw ImportError("cannot add art to a layer", 0);
      }
    }
  }
}

Importer::Importer(std::string_view text, std::string fileName)
    : text_(text), source_(std::make_shared<SvgSource>()) {
  source_->fileName = std::move(fileName);
}

void Importer::indexElements(const pugi::xml_document& xml) {
  std::optional<std::vector<SourceElement>> scanned = scanElements(text_);
  if (!scanned) throw ImportError("cannot follow the document's structure", 0);
  source_->elements = std::move(*scanned);
  source_->artElement.assign(source_->elements.size(), false);
  // The parser meets the start tags in the same order as the scan.
  std::size_t next = 0;
  bool matches = true;
  struct Walker : pugi::xml_tree_walker {
    std::function<bool(pugi::xml_node&)> visit;
    bool for_each(pugi::xml_node& n) override { return visit(n); }
  } walker;
  auto visit = [&](pugi::xml_node& n) {
    if (n.type() != pugi::node_element) return true;
    if (next >= source_->elements.size() || source_->elements[next].name != n.name()) {
      matches = false;
      return false;
    }
    elementOf_.emplace(n.internal_object(), static_cast<int>(next++));
    return true;
  };
  walker.visit = visit;
  pugi::xml_node root = xml.document_element();
  pugi::xml_node rootNode = root;
  if (!visit(rootNode) || !root.traverse(walker) || !matches || next != source_->elements.size()) {
    throw ImportError("cannot follow the document's structure", 0);
  }
}

void Importer::finishOrigins(const Document& doc) {
  struct Walk {
    SvgSource& source;
    void visit(const Art& art) {
      auto it = source.art.find(art.id());
      if (it != source.art.end()) {
        it->second.imported = art.data();
        if (art.parent() != nullptr) {
          it->second.parent = art.parent()->id();
          it->second.index = art.indexInParent();
        }
      }
      for (std::size_t i = 0; i < art.childCount(); ++i) visit(art.child(i));
    }
  } walk{*source_};
  for (std::size_t i = 0; i < doc.layerCount(); ++i) {
    const Layer& layer = doc.layer(i);
    source_->layers[layer.id()].props = layer.props();
    walk.visit(layer.group());
  }
  source_->page = doc.pageState();
}

Document Importer::run() {
  lineStarts_.push_back(0);
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n') lineStarts_.push_back(i + 1);
  }
  pugi::xml_document xml;
  pugi::xml_parse_result parsed = xml.load_buffer(
      text_.data(), text_.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
  if (!parsed) {
    auto it =
        std::upper_bound(lineStarts_.begin(), lineStarts_.end(),
                         static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0)));
    int line = static_cast<int>(it - lineStarts_.begin());
    throw ImportError("line " + std::to_string(line) + ": malformed XML: " + parsed.description(),
                      line);
  }
  pugi::xml_node root = xml.document_element();
  if (!root) throw ImportError("malformed XML: no root element", 0);
  root_ = root;
  readNames(root);
  if (tagOf(root) != "svg") fail(root, "", "not an SVG document");
  indexElements(xml);
  checkLimits(root);

  Document doc;
  Context ctx;
  readTransform(root, ctx);
  readStyle(root, ctx.style);
  addLayers(doc, root, ctx);
  PageState page = readPage(root);
  if (AIErr err = doc.setPageState(std::move(page)); err != kNoErr) {
    fail(root, "", "artboards or canvas out of range");
  }
  source_->text = std::string(text_);
  source_->names = names_;
  source_->rootCtm = ctx.ctm;
  readViewport(root);
  finishOrigins(doc);
  doc.setSource(source_);
  return doc;
}

}  // namespace detail

ImportResult importSvg(std::string_view text, const std::string& fileName) {
  ImportResult result;
  try {
    detail::Importer importer(text, fileName);
    result.document.emplace(importer.run());
    result.warnings = result.document->warnings();
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
  ImportResult result;
  std::string text;
  if (std::string failure = detail::readWholeFile(path, text); !failure.empty()) {
    result.error = failure;
    return result;
  }
  result = importSvg(text, path);
  if (result.ok()) result.document->setName(path);
  return result;
}

}  // namespace sqhost::svg
