// SVG export: the document as SVG text, and an atomic save to a file.
#include <new>
#include <pugixml.hpp>
#include <unordered_set>

#include "io/atomic_file.hpp"
#include "svg/svg_geometry.hpp"
#include "svg/svg_io.hpp"
#include "svg/svg_splice.hpp"
#include "svg/svg_writer.hpp"

namespace sqhost::svg {

namespace detail {

namespace {

std::string floats(std::initializer_list<float> values) {
  std::string out;
  for (float v : values) {
    if (!out.empty()) out += ' ';
    out += formatFloat(v);
  }
  return out;
}

void appendStates(std::string& out, const PathGeometry& path) {
  for (SegmentSelection s : path.selections()) {
    if (!out.empty()) out += ' ';
    out += static_cast<char>('0' + static_cast<int>(s));
  }
}

// A point of root user space mapped by toUser, as two numbers.
std::string userPoint(const AIRealPoint& p, const Affine* toUser) {
  if (toUser == nullptr) return floats({p.h, -p.v});
  const Vec2 q = apply(*toUser, Vec2{p.h, -static_cast<double>(p.v)});
  return formatDouble(q.x) + ' ' + formatDouble(q.y);
}

}  // namespace

std::string styleText(const PathStyle& style, bool hidden, double widthScale) {
  std::string out = "fill:";
  out += style.fill ? formatHexColor8(style.fillColor) : "none";
  out += ";stroke:";
  out += style.stroke ? formatHexColor8(style.strokeColor) : "none";
  out += ";stroke-width:" + (widthScale == 1 ? formatFloat(style.strokeWidth)
                                             : formatDouble(style.strokeWidth / widthScale));
  out += style.evenOdd ? ";fill-rule:evenodd" : ";fill-rule:nonzero";
  if (hidden) out += ";display:none";
  return out;
}

std::string printNode(pugi::xml_node node) {
  struct Writer : pugi::xml_writer {
    std::string out;
    void write(const void* data, std::size_t size) override {
      out.append(static_cast<const char*>(data), size);
    }
  } writer;
  node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  return std::move(writer.out);
}

void collectNames(const Document& doc, std::unordered_set<std::string>& names) {
  struct Walk {
    std::unordered_set<std::string>& names;
    void visit(const Art& art) {
      if (!art.name().empty()) names.insert(art.name());
      for (std::size_t i = 0; i < art.childCount(); ++i) visit(art.child(i));
    }
  } walk{names};
  for (std::size_t i = 0; i < doc.layerCount(); ++i) walk.visit(doc.layer(i).group());
}

void ArtWriter::set(pugi::xml_node node, const std::string& name, const std::string& value) {
  const std::size_t colon = name.find(':');
  if (colon != std::string::npos) {
    const std::string_view prefix(name.data(), colon);
    usedInkscape = usedInkscape || prefix == names_.inkscape;
    usedSodipodi = usedSodipodi || prefix == names_.sodipodi;
    usedSq = usedSq || prefix == names_.sq;
    usedXlink = usedXlink || prefix == names_.xlink;
  }
  if (pugi::xml_attribute a = node.attribute(name.c_str())) {
    a.set_value(value.c_str());
  } else {
    node.append_attribute(name.c_str()) = value.c_str();
  }
}

std::string ArtWriter::freshName() {
  std::string name;
  do {
    name = "sq-path-" + std::to_string(++nextName_);
  } while (usedNames_.count(name) != 0);
  usedNames_.insert(name);
  return name;
}

void ArtWriter::writeChildren(pugi::xml_node parent, const Art& art, const Affine* toUser) {
  for (std::size_t i = art.childCount(); i-- > 0;) write(parent, art.child(i), toUser);
}

void ArtWriter::common(pugi::xml_node node, const Art& art, bool styled) {
  if (!art.name().empty()) set(node, "id", art.name());
  if (art.locked()) set(node, names_.insensitive, "true");
  if (art.hidden() && !styled) set(node, "style", "display:none");
  bool derived = art.type() == ArtType::kPath && !art.path().empty();
  if (art.selected() && !derived) set(node, names_.sqSelected, "1");
}

void ArtWriter::writePathAttributes(pugi::xml_node node, const Art& art, const Affine* toUser,
                                    bool styled) {
  std::string d, types, states, ends;
  bool anySelected = false, endHandles = false;
  const Art* styleSource = &art;
  auto add = [&](const Art& path) {
    const PathGeometry& geometry = path.path();
    appendPathData(d, geometry, toUser);
    appendNodeTypes(types, geometry);
    appendStates(states, geometry);
    anySelected = anySelected || geometry.selectedCount() > 0;
    AIRealPoint in{0, 0}, out{0, 0};
    if (!geometry.empty()) {
      in = geometry.segment(0).in;
      out = geometry.segment(geometry.size() - 1).out;
      endHandles = endHandles || (!geometry.closed() &&
                                  (!samePoint(in, geometry.segment(0).p) ||
                                   !samePoint(out, geometry.segment(geometry.size() - 1).p)));
    }
    if (!ends.empty()) ends += ' ';
    ends += userPoint(in, toUser) + ' ' + userPoint(out, toUser);
  };
  if (art.type() == ArtType::kCompoundPath) {
    for (std::size_t i = 0; i < art.childCount(); ++i) add(art.child(i));
    if (art.childCount() > 0) styleSource = &art.child(0);
  } else {
    add(art);
  }
  set(node, "d", d);
  if (!types.empty()) set(node, names_.nodetypes, types);
  if (anySelected) set(node, names_.sqSelection, states);
  if (endHandles) set(node, names_.sqEnds, ends);
  if (art.type() == ArtType::kCompoundPath && art.childCount() < 2) {
    set(node, names_.sqCompound, "1");
  }
  if (styled) {
    const double scale = toUser == nullptr ? 1 : 1 / toUser->scale();
    set(node, "style", styleText(styleSource->style(), art.hidden(), scale));
    common(node, art, true);
  }
}

void ArtWriter::write(pugi::xml_node parent, const Art& art, const Affine* toUser) {
  switch (art.type()) {
    case ArtType::kGroup: {
      pugi::xml_node g = parent.append_child("g");
      common(g, art, false);
      writeChildren(g, art, toUser);
      break;
    }
    case ArtType::kPluginArt: {
      pugi::xml_node g = parent.append_child("g");
      set(g, names_.sqPluginArt, art.pluginGroup());
      common(g, art, false);
      if (const Art* result = art.pluginResult()) writeChildren(g, *result, toUser);
      break;
    }
    case ArtType::kPath:
    case ArtType::kCompoundPath:
      writePathAttributes(parent.append_child("path"), art, toUser, true);
      break;
    case ArtType::kTextFrame:
      writeText(parent, art, toUser);
      break;
  }
}

void ArtWriter::writeText(pugi::xml_node parent, const Art& art, const Affine* toUser) {
  const TextInfo& info = art.text();
  pugi::xml_node defs = defs_ ? defs_ : parent.append_child("defs");
  pugi::xml_node text = parent.append_child("text");
  text.append_attribute("xml:space") = "preserve";
  common(text, art, false);
  pugi::xml_node body = text;
  if (const Art* path = art.textPath()) {
    std::string id = freshName();
    pugi::xml_node def = defs.append_child("path");
    def.append_attribute("id") = id.c_str();
    writePathAttributes(def, *path, toUser, true);
    def.remove_attribute("id");
    def.prepend_attribute("id") = id.c_str();
    std::string ref = "#" + id;
    if (info.type == TextFrameType::kOnPath) {
      body = text.append_child("textPath");
      body.append_attribute("href") = ref.c_str();
      set(body, names_.xlinkHref, ref);
    } else {
      std::string style = "shape-inside:url(" + ref + ")";
      if (pugi::xml_attribute s = text.attribute("style")) {
        s.set_value((std::string(s.value()) + ";" + style).c_str());
      } else {
        text.append_attribute("style") = style.c_str();
      }
    }
  } else {
    const std::string at = userPoint(info.origin, toUser);
    const std::size_t space = at.find(' ');
    text.append_attribute("x") = at.substr(0, space).c_str();
    text.append_attribute("y") = at.substr(space + 1).c_str();
  }
  if (!defs_ && !defs.first_child()) parent.remove_child(defs);
  if (!info.contents.empty()) body.append_child(pugi::node_pcdata).set_value(info.contents.c_str());
}

namespace {

// The whole document as new SVG text, for documents without a source.
std::string exportWhole(const Document& doc) {
  QualifiedNames names;
  names.build();
  std::unordered_set<std::string> usedNames;
  collectNames(doc, usedNames);
  ArtWriter writer(names, usedNames);
  pugi::xml_document xml;
  pugi::xml_node decl = xml.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = xml.append_child("svg");
  root.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
  root.append_attribute("xmlns:xlink") = "http://www.w3.org/1999/xlink";
  root.append_attribute("xmlns:inkscape") = "http://www.inkscape.org/namespaces/inkscape";
  root.append_attribute("xmlns:sodipodi") = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
  root.append_attribute("xmlns:sq") = kHostNamespace;
  root.append_attribute("version") = "1.1";
  const AIRealRect& board = doc.artboard(0).bounds;
  double width = double(board.right) - board.left, height = double(board.top) - board.bottom;
  root.append_attribute("width") = formatFloat(static_cast<float>(width)).c_str();
  root.append_attribute("height") = formatFloat(static_cast<float>(height)).c_str();
  root.append_attribute("viewBox") =
      floats({board.left, -board.top, static_cast<float>(width), static_cast<float>(height)})
          .c_str();
  const AIRealRect& canvas = doc.canvasBounds();
  root.append_attribute("sq:canvas") =
      floats({canvas.left, canvas.top, canvas.right, canvas.bottom}).c_str();
  root.append_attribute("sq:active-artboard") = std::to_string(doc.activeArtboard()).c_str();

  pugi::xml_node view = root.append_child("sodipodi:namedview");
  for (std::size_t i = 0; i < doc.artboardCount(); ++i) {
    const Artboard& a = doc.artboard(i);
    pugi::xml_node page = view.append_child("inkscape:page");
    page.append_attribute("x") = formatFloat(a.bounds.left).c_str();
    page.append_attribute("y") = formatFloat(-a.bounds.top).c_str();
    page.append_attribute("width") = formatFloat(a.bounds.right - a.bounds.left).c_str();
    page.append_attribute("height") = formatFloat(a.bounds.top - a.bounds.bottom).c_str();
    if (!a.name.empty()) page.append_attribute("inkscape:label") = a.name.c_str();
    page.append_attribute("sq:bounds") =
        floats({a.bounds.left, a.bounds.top, a.bounds.right, a.bounds.bottom}).c_str();
    page.append_attribute("sq:ruler-origin") = floats({a.rulerOrigin.h, a.rulerOrigin.v}).c_str();
  }
  pugi::xml_node defs = root.append_child("defs");
  writer.setDefs(defs);

  for (std::size_t i = doc.layerCount(); i-- > 0;) {
    const Layer& layer = doc.layer(i);
    pugi::xml_node g = root.append_child("g");
    writeLayerAttributes(g, layer, names);
    for (std::size_t k = layer.group().childCount(); k-- > 0;) {
      writer.write(g, layer.group().child(k), nullptr);
    }
  }
  if (!defs.first_child()) root.remove_child(defs);

  struct Writer : pugi::xml_writer {
    std::string* out;
    void write(const void* data, std::size_t size) override {
      out->append(static_cast<const char*>(data), size);
    }
  } out;
  std::string text;
  out.out = &text;
  xml.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
  return text;
}

}  // namespace

void writeLayerAttributes(pugi::xml_node g, const Layer& layer, const QualifiedNames& names) {
  g.append_attribute(names.groupmode.c_str()) = "layer";
  g.append_attribute(names.label.c_str()) = layer.name().c_str();
  if (!layer.group().name().empty()) g.append_attribute("id") = layer.group().name().c_str();
  g.append_attribute(names.sqColor.c_str()) = formatHexColor16(layer.color()).c_str();
  if (layer.locked()) g.append_attribute(names.insensitive.c_str()) = "true";
  if (!layer.visible()) g.append_attribute("style") = "display:none";
}

}  // namespace detail

ExportResult writeSvg(const Document& document) {
  try {
    auto source = std::dynamic_pointer_cast<const SvgSource>(document.source());
    if (!source) return ExportResult{detail::exportWhole(document), {}};
    return detail::splice(document, *source, detail::SpliceMode::File);
  } catch (const std::bad_alloc&) {
    return ExportResult{{}, "out of memory"};
  }
}

std::string exportSvg(const Document& document) {
  return writeSvg(document).text;
}

ExportResult viewSvg(const Document& document) {
  try {
    auto source = std::dynamic_pointer_cast<const SvgSource>(document.source());
    if (!source) return ExportResult{detail::exportWhole(document), {}};
    return detail::splice(document, *source, detail::SpliceMode::View);
  } catch (const std::bad_alloc&) {
    return ExportResult{{}, "out of memory"};
  }
}

ExportResult studioSvg(const Document& document) {
  try {
    auto source = std::dynamic_pointer_cast<const SvgSource>(document.source());
    if (!source) return ExportResult{detail::exportWhole(document), {}};
    return detail::splice(document, *source, detail::SpliceMode::Studio);
  } catch (const std::bad_alloc&) {
    return ExportResult{{}, "out of memory"};
  }
}

std::optional<ElementAttributes> studioElementAttributes(const Document& document, ArtId art) {
  auto source = std::dynamic_pointer_cast<const SvgSource>(document.source());
  const Art* object = document.findArt(art);
  if (!source || object == nullptr) return std::nullopt;
  // The subpaths of a compound path are written in its element.
  if (object->parent() != nullptr && object->parent()->type() == ArtType::kCompoundPath) {
    object = object->parent();
  }
  const Origin* origin = source->originOf(object->id());
  if (origin == nullptr) return std::nullopt;
  try {
    auto edits = detail::spliceElement(document, *source, *object);
    if (!edits) return std::nullopt;
    return ElementAttributes{origin->element, std::move(*edits)};
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::string> sourceAttribute(const Document& document, int element,
                                           std::string_view name) {
  auto source = std::dynamic_pointer_cast<const SvgSource>(document.source());
  if (!source || element < 0 || static_cast<std::size_t>(element) >= source->elements.size()) {
    return std::nullopt;
  }
  const SourceAttribute* a = source->elements[static_cast<std::size_t>(element)].attribute(name);
  if (a == nullptr) return std::nullopt;
  return detail::unescapeAttribute(
      std::string_view(source->text).substr(a->valueBegin, a->valueEnd - a->valueBegin));
}

SaveResult saveSvgFile(const Document& document, const std::string& path) {
  ExportResult written;
  try {
    written = writeSvg(document);
  } catch (const std::bad_alloc&) {
    return SaveResult{"cannot save " + path + ": out of memory"};
  }
  if (!written.ok()) return SaveResult{"cannot save " + path + ": " + written.error};
  // What the importer would refuse is not written: it could not be opened again.
  if (std::string refused = detail::checkWritable(document, written.text); !refused.empty()) {
    return SaveResult{"cannot save " + path + ": " + refused};
  }
  return SaveResult{io::writeFileAtomically(path, written.text)};
}

}  // namespace sqhost::svg
