// SVG export: the document as SVG text, and an atomic save to a file.
#include <new>
#include <pugixml.hpp>
#include <unordered_set>

#include "io/atomic_file.hpp"
#include "svg/svg_geometry.hpp"
#include "svg/svg_io.hpp"

namespace sqhost::svg {

namespace {

std::string floats(std::initializer_list<float> values) {
  std::string out;
  for (float v : values) {
    if (!out.empty()) out += ' ';
    out += formatFloat(v);
  }
  return out;
}

std::string styleText(const PathStyle& style, bool hidden) {
  std::string out = "fill:";
  out += style.fill ? formatHexColor8(style.fillColor) : "none";
  out += ";stroke:";
  out += style.stroke ? formatHexColor8(style.strokeColor) : "none";
  out += ";stroke-width:" + formatFloat(style.strokeWidth);
  out += style.evenOdd ? ";fill-rule:evenodd" : ";fill-rule:nonzero";
  if (hidden) out += ";display:none";
  return out;
}

void appendStates(std::string& out, const PathGeometry& path) {
  for (SegmentSelection s : path.selections()) {
    if (!out.empty()) out += ' ';
    out += static_cast<char>('0' + static_cast<int>(s));
  }
}

class Exporter {
 public:
  explicit Exporter(const Document& doc) : doc_(doc) {}

  std::string run() {
    collectNames();
    pugi::xml_node decl = xml_.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = xml_.append_child("svg");
    root.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
    root.append_attribute("xmlns:xlink") = "http://www.w3.org/1999/xlink";
    root.append_attribute("xmlns:inkscape") = "http://www.inkscape.org/namespaces/inkscape";
    root.append_attribute("xmlns:sodipodi") = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
    root.append_attribute("xmlns:sq") = kHostNamespace;
    root.append_attribute("version") = "1.1";
    const AIRealRect& board = doc_.artboard(0).bounds;
    double width = double(board.right) - board.left, height = double(board.top) - board.bottom;
    root.append_attribute("width") = formatFloat(static_cast<float>(width)).c_str();
    root.append_attribute("height") = formatFloat(static_cast<float>(height)).c_str();
    root.append_attribute("viewBox") =
        floats({board.left, -board.top, static_cast<float>(width), static_cast<float>(height)})
            .c_str();
    const AIRealRect& canvas = doc_.canvasBounds();
    root.append_attribute("sq:canvas") =
        floats({canvas.left, canvas.top, canvas.right, canvas.bottom}).c_str();
    root.append_attribute("sq:active-artboard") = std::to_string(doc_.activeArtboard()).c_str();

    pugi::xml_node view = root.append_child("sodipodi:namedview");
    for (std::size_t i = 0; i < doc_.artboardCount(); ++i) {
      const Artboard& a = doc_.artboard(i);
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
    defs_ = root.append_child("defs");

    for (std::size_t i = doc_.layerCount(); i-- > 0;) {
      const Layer& layer = doc_.layer(i);
      pugi::xml_node g = root.append_child("g");
      g.append_attribute("inkscape:groupmode") = "layer";
      g.append_attribute("inkscape:label") = layer.name().c_str();
      if (!layer.group().name().empty()) g.append_attribute("id") = layer.group().name().c_str();
      g.append_attribute("sq:color") = formatHexColor16(layer.color()).c_str();
      if (layer.locked()) g.append_attribute("sodipodi:insensitive") = "true";
      if (!layer.visible()) g.append_attribute("style") = "display:none";
      writeChildren(g, layer.group());
    }
    if (!defs_.first_child()) root.remove_child(defs_);

    struct Writer : pugi::xml_writer {
      std::string* out;
      void write(const void* data, std::size_t size) override {
        out->append(static_cast<const char*>(data), size);
      }
    } writer;
    std::string text;
    writer.out = &text;
    xml_.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    return text;
  }

 private:
  void collectNames() {
    for (std::size_t i = 0; i < doc_.layerCount(); ++i) collectNames(doc_.layer(i).group());
  }
  void collectNames(const Art& art) {
    if (!art.name().empty()) usedNames_.insert(art.name());
    for (std::size_t i = 0; i < art.childCount(); ++i) collectNames(art.child(i));
  }
  std::string freshName() {
    std::string name;
    do {
      name = "sq-path-" + std::to_string(++nextName_);
    } while (usedNames_.count(name) != 0);
    usedNames_.insert(name);
    return name;
  }

  void writeChildren(pugi::xml_node parent, const Art& art) {
    for (std::size_t i = art.childCount(); i-- > 0;) write(parent, art.child(i));
  }

  void common(pugi::xml_node node, const Art& art, bool styled) {
    if (!art.name().empty()) node.append_attribute("id") = art.name().c_str();
    if (art.locked()) node.append_attribute("sodipodi:insensitive") = "true";
    if (art.hidden() && !styled) node.append_attribute("style") = "display:none";
    bool derived = art.type() == ArtType::kPath && !art.path().empty();
    if (art.selected() && !derived) node.append_attribute("sq:selected") = "1";
  }

  // A path element for a path or the children of a compound path.
  void writePath(pugi::xml_node node, const Art& art) {
    std::string d, types, states, ends;
    bool anySelected = false, endHandles = false;
    const Art* styleSource = &art;
    auto add = [&](const Art& path) {
      const PathGeometry& geometry = path.path();
      appendPathData(d, geometry);
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
      ends += floats({in.h, -in.v, out.h, -out.v});
    };
    if (art.type() == ArtType::kCompoundPath) {
      for (std::size_t i = 0; i < art.childCount(); ++i) add(art.child(i));
      if (art.childCount() > 0) styleSource = &art.child(0);
    } else {
      add(art);
    }
    node.append_attribute("d") = d.c_str();
    if (!types.empty()) node.append_attribute("sodipodi:nodetypes") = types.c_str();
    if (anySelected) node.append_attribute("sq:selection") = states.c_str();
    if (endHandles) node.append_attribute("sq:ends") = ends.c_str();
    if (art.type() == ArtType::kCompoundPath && art.childCount() < 2) {
      node.append_attribute("sq:compound") = "1";
    }
    node.append_attribute("style") = styleText(styleSource->style(), art.hidden()).c_str();
    common(node, art, true);
  }

  void write(pugi::xml_node parent, const Art& art) {
    switch (art.type()) {
      case ArtType::kGroup: {
        pugi::xml_node g = parent.append_child("g");
        common(g, art, false);
        writeChildren(g, art);
        break;
      }
      case ArtType::kPluginArt: {
        pugi::xml_node g = parent.append_child("g");
        g.append_attribute("sq:plugin-art") = art.pluginGroup().c_str();
        common(g, art, false);
        if (const Art* result = art.pluginResult()) writeChildren(g, *result);
        break;
      }
      case ArtType::kPath:
      case ArtType::kCompoundPath:
        writePath(parent.append_child("path"), art);
        break;
      case ArtType::kTextFrame:
        writeText(parent, art);
        break;
    }
  }

  void writeText(pugi::xml_node parent, const Art& art) {
    const TextInfo& info = art.text();
    pugi::xml_node text = parent.append_child("text");
    text.append_attribute("xml:space") = "preserve";
    common(text, art, false);
    pugi::xml_node body = text;
    if (const Art* path = art.textPath()) {
      std::string id = freshName();
      pugi::xml_node def = defs_.append_child("path");
      writePath(def, *path);
      def.remove_attribute("id");
      def.prepend_attribute("id") = id.c_str();
      std::string ref = "#" + id;
      if (info.type == TextFrameType::kOnPath) {
        body = text.append_child("textPath");
        body.append_attribute("href") = ref.c_str();
        body.append_attribute("xlink:href") = ref.c_str();
      } else {
        std::string style = "shape-inside:url(" + ref + ")";
        if (pugi::xml_attribute s = text.attribute("style")) {
          s.set_value((std::string(s.value()) + ";" + style).c_str());
        } else {
          text.append_attribute("style") = style.c_str();
        }
      }
    } else {
      text.append_attribute("x") = formatFloat(info.origin.h).c_str();
      text.append_attribute("y") = formatFloat(-info.origin.v).c_str();
    }
    if (!info.contents.empty())
      body.append_child(pugi::node_pcdata).set_value(info.contents.c_str());
  }

  const Document& doc_;
  pugi::xml_document xml_;
  pugi::xml_node defs_;
  std::unordered_set<std::string> usedNames_;
  int nextName_ = 0;
};

}  // namespace

std::string exportSvg(const Document& document) {
  return Exporter(document).run();
}

SaveResult saveSvgFile(const Document& document, const std::string& path) {
  std::string text;
  try {
    text = exportSvg(document);
  } catch (const std::bad_alloc&) {
    return SaveResult{"cannot save " + path + ": out of memory"};
  }
  return SaveResult{io::writeFileAtomically(path, text)};
}

}  // namespace sqhost::svg
