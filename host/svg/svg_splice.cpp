// Spliced save: plans the edits the model's changes make to the source elements, then writes the
// source text with them applied.
#include "svg/svg_splice.hpp"

#include <cmath>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "svg/svg_geometry.hpp"
#include "svg/svg_importer.hpp"
#include "svg/svg_writer.hpp"

namespace sqhost::svg::detail {

namespace {

constexpr const char* kInkscapeNs = "http://www.inkscape.org/namespaces/inkscape";
constexpr const char* kSodipodiNs = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
constexpr const char* kXlinkNs = "http://www.w3.org/1999/xlink";

// Attributes that describe a shape's geometry (gone when it becomes a path), and the parameters
// from which other editors would rebuild a path's data (gone when its data is edited).
bool isGeometryAttribute(std::string_view name, const QualifiedNames& names) {
  static const std::unordered_set<std::string_view> kShape{
      "x", "y", "width", "height", "rx", "ry", "cx", "cy", "r", "x1", "y1", "x2", "y2", "points"};
  if (kShape.count(name) != 0) return true;
  const std::string sodipodi = names.sodipodi + ":";
  const std::string inkscape = names.inkscape + ":";
  if (name.rfind(sodipodi, 0) == 0) {
    const std::string_view local = name.substr(sodipodi.size());
    return local != "nodetypes" && local != "insensitive" && local != "role" &&
           local != "linespacing";
  }
  if (name.rfind(inkscape, 0) == 0) {
    const std::string_view local = name.substr(inkscape.size());
    return local == "original-d" || local == "path-effect" || local == "flatsided" ||
           local == "rounded" || local == "randomized" || local == "radius" ||
           local == "transform-center-x" || local == "transform-center-y";
  }
  return false;
}

std::optional<Affine> inverse(const Affine& m) {
  const double det = m.a * m.d - m.b * m.c;
  if (!std::isfinite(det) || std::fabs(det) < 1e-300) return std::nullopt;
  const Affine inv{m.d / det,
                   -m.b / det,
                   -m.c / det,
                   m.a / det,
                   (m.c * m.f - m.d * m.e) / det,
                   (m.b * m.e - m.a * m.f) / det};
  if (!std::isfinite(inv.a) || !std::isfinite(inv.b) || !std::isfinite(inv.c) ||
      !std::isfinite(inv.d) || !std::isfinite(inv.e) || !std::isfinite(inv.f)) {
    return std::nullopt;
  }
  return inv;
}

bool sameAffine(const Affine& x, const Affine& y) {
  return x.a == y.a && x.b == y.b && x.c == y.c && x.d == y.d && x.e == y.e && x.f == y.f;
}

bool sameGeometry(const PathGeometry& a, const PathGeometry& b) {
  if (a.size() != b.size() || a.closed() != b.closed()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!sameSegment(a.segment(i), b.segment(i))) return false;
  }
  return true;
}

bool sameStates(const PathGeometry& a, const PathGeometry& b) {
  return a.size() == b.size() &&
         std::equal(a.selections().begin(), a.selections().end(), b.selections().begin());
}

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Text inserted next to an element: literal text, or another element of the source (moved there)
// emitted with its own edits, possibly wrapped in a group that keeps it where it was.
struct Piece {
  std::string text;
  int element = -1;
  std::string wrapOpen, wrapClose;
};

struct Edits {
  std::vector<std::pair<std::string, std::optional<std::string>>> attributes;  // nullopt removes
  std::string rename;
  bool drop = false;
  std::vector<Piece> before, after, atEnd;
  std::optional<std::string> content;  // replaces the element's content
  std::optional<std::string> whole;    // replaces the whole element
};

class Splicer {
 public:
  Splicer(const Document& doc, const SvgSource& source, bool forView)
      : doc_(doc), src_(source), names_(source.names), forView_(forView) {
    collectNames(doc, usedNames_);
    for (const auto& [id, origin] : src_.art) {
      if (origin.parent != kNoId) ++readChildren_[origin.parent];
    }
  }

  ExportResult run() {
    planRoot();
    planPage();
    for (const auto& [id, origin] : src_.art) {
      if (origin.kind == OriginKind::kElement && origin.element >= 0 &&
          src_.artElement[static_cast<std::size_t>(origin.element)] &&
          kept_.count(origin.element) == 0) {
        edits(origin.element).drop = true;
      }
    }
    if (edits_.empty()) return ExportResult{src_.text, {}};
    declareNamespaces();
    children_.assign(src_.elements.size(), {});
    for (std::size_t i = 0; i < src_.elements.size(); ++i) {
      if (src_.elements[i].parent >= 0) {
        children_[static_cast<std::size_t>(src_.elements[i].parent)].push_back(static_cast<int>(i));
      }
    }
    dirty_.assign(src_.elements.size(), false);
    for (const auto& [element, e] : edits_) markDirty(element);
    std::string out;
    out.reserve(src_.text.size() + 1024);
    const SourceElement& root = src_.elements.front();
    out.append(src_.text, 0, root.begin);
    emit(0, out);
    out.append(src_.text, root.end, std::string::npos);
    return ExportResult{std::move(out), {}};
  }

 private:
  Edits& edits(int element) { return edits_[element]; }

  void markDirty(int element) {
    for (int e = element; e >= 0 && !dirty_[static_cast<std::size_t>(e)];
         e = src_.elements[static_cast<std::size_t>(e)].parent) {
      dirty_[static_cast<std::size_t>(e)] = true;
    }
  }

  // The raw value of an attribute, read as XML reads it; nullopt when the element has none.
  std::optional<std::string> value(int element, std::string_view name) const {
    const SourceAttribute* a = src_.elements[static_cast<std::size_t>(element)].attribute(name);
    if (a == nullptr) return std::nullopt;
    return unescapeAttribute(
        std::string_view(src_.text).substr(a->valueBegin, a->valueEnd - a->valueBegin));
  }
  bool has(int element, std::string_view name) const {
    return src_.elements[static_cast<std::size_t>(element)].attribute(name) != nullptr;
  }
  void set(int element, const std::string& name, std::string v) {
    noteNamespace(name);
    edits(element).attributes.emplace_back(name, std::move(v));
  }
  void remove(int element, const std::string& name) {
    if (has(element, name)) edits(element).attributes.emplace_back(name, std::nullopt);
  }
  // The style attribute as this save leaves it so far.
  std::string currentStyle(int element) {
    auto it = edits_.find(element);
    if (it != edits_.end()) {
      for (auto a = it->second.attributes.rbegin(); a != it->second.attributes.rend(); ++a) {
        if (a->first == "style") return a->second.value_or("");
      }
    }
    return value(element, "style").value_or("");
  }
  void styleChanges(int element, const std::vector<std::pair<std::string, std::string>>& changes) {
    set(element, "style", editStyle(currentStyle(element), changes));
  }
  void noteNamespace(std::string_view name) {
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) return;
    const std::string_view prefix = name.substr(0, colon);
    needInkscape_ = needInkscape_ || prefix == names_.inkscape;
    needSodipodi_ = needSodipodi_ || prefix == names_.sodipodi;
    needSq_ = needSq_ || prefix == names_.sq;
    needXlink_ = needXlink_ || prefix == names_.xlink;
  }
  void declareNamespaces() {
    auto declare = [&](bool need, bool declared, const std::string& prefix, const char* uri) {
      if (need && !declared && !has(0, "xmlns:" + prefix)) {
        edits(0).attributes.emplace_back("xmlns:" + prefix, uri);
      }
    };
    declare(needInkscape_, names_.declaresInkscape, names_.inkscape, kInkscapeNs);
    declare(needSodipodi_, names_.declaresSodipodi, names_.sodipodi, kSodipodiNs);
    declare(needSq_, names_.declaresSq, names_.sq, kHostNamespace);
    declare(needXlink_, names_.declaresXlink, names_.xlink, kXlinkNs);
  }

  Affine toUser(const Affine& ctm, const Art& art) const {
    std::optional<Affine> inv = inverse(ctm);
    if (!inv) {
      std::string what = art.name().empty() ? "an object" : "'" + art.name() + "'";
      throw Failure(what + " was edited under a transform that cannot be inverted");
    }
    return *inv;
  }

  // ---- planning -----------------------------------------------------------------------------

  struct Item {
    const Art* art = nullptr;
    const Layer* layer = nullptr;  // a layer without an element of its own: new
    const Origin* origin = nullptr;
    std::pair<long, long> key{0, 0};
    bool placed = false;  // its origin's parent is this container
  };

  void planRoot() {
    std::vector<Item> items;
    const std::size_t layers = doc_.layerCount();
    for (std::size_t i = layers; i-- > 0;) {
      const Layer& layer = doc_.layer(i);
      auto lo = src_.layers.find(layer.id());
      if (lo == src_.layers.end()) {
        Item item;
        item.layer = &layer;
        items.push_back(item);
        continue;
      }
      const long rank = -static_cast<long>(lo->second.index);
      if (lo->second.element >= 0) {
        Item item;
        item.art = &layer.group();
        item.origin = src_.originOf(layer.group().id());
        item.key = {rank, 0};
        item.placed = item.origin != nullptr;
        items.push_back(item);
        continue;
      }
      // The layer made for loose content: its objects are the root's own children.
      planLayerProps(layer, lo->second, -1);
      const Art& group = layer.group();
      for (std::size_t k = group.childCount(); k-- > 0;) {
        const Art& child = group.child(k);
        Item item;
        item.art = &child;
        item.origin = src_.originOf(child.id());
        if (item.origin != nullptr && item.origin->parent == group.id()) {
          item.key = {rank, -static_cast<long>(item.origin->index)};
          item.placed = true;
        }
        if (forView_ && !layer.visible()) hiddenForView_.insert(child.id());
        items.push_back(item);
      }
    }
    planContainer(0, items, src_.rootCtm);
  }

  // Decides which items stay where they are (those still in the order read), plans their own
  // edits, and places the others next to the nearest one kept before them.
  void planContainer(int element, const std::vector<Item>& items, const Affine& innerCtm) {
    std::vector<bool> keep(items.size(), false);
    std::optional<std::pair<long, long>> last;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Item& it = items[i];
      if (!it.placed || it.origin == nullptr || it.origin->kind != OriginKind::kElement ||
          it.origin->element < 0 || kept_.count(it.origin->element) != 0) {
        continue;
      }
      if (last && it.key <= *last) continue;
      keep[i] = true;
      last = it.key;
    }
    int previousKept = -1;
    std::vector<Piece> pending;  // before the first kept element
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Item& it = items[i];
      if (keep[i]) {
        kept_.insert(it.origin->element);
        planKept(*it.art, *it.origin);
        if (previousKept < 0 && !pending.empty()) {
          auto& before = edits(it.origin->element).before;
          before.insert(before.end(), pending.begin(), pending.end());
          pending.clear();
        }
        previousKept = it.origin->element;
        continue;
      }
      Piece piece = placedPiece(it, element, innerCtm);
      if (previousKept >= 0) {
        edits(previousKept).after.push_back(std::move(piece));
      } else {
        pending.push_back(std::move(piece));
      }
    }
    if (!pending.empty()) {
      auto& atEnd = edits(element).atEnd;
      atEnd.insert(atEnd.end(), pending.begin(), pending.end());
    }
  }

  // An item that is not where it was read: moved there (its element emitted at the new place,
  // wrapped in a transform when the user space differs), or new (written from the model).
  Piece placedPiece(const Item& it, int container, const Affine& innerCtm) {
    Piece piece;
    if (it.layer != nullptr) {
      piece.text = newLayerText(*it.layer, innerCtm);
      return piece;
    }
    const Origin* o = it.origin;
    if (o != nullptr && o->kind == OriginKind::kElement && o->element >= 0 &&
        kept_.count(o->element) == 0 && src_.artElement[static_cast<std::size_t>(o->element)]) {
      kept_.insert(o->element);
      planKept(*it.art, *o);
      piece.element = o->element;
      if (!sameAffine(o->parentCtm, innerCtm)) {
        const Affine m = compose(toUser(innerCtm, *it.art), o->parentCtm);
        piece.wrapOpen = "<g transform=\"matrix(" + formatDouble(m.a) + " " + formatDouble(m.b) +
                         " " + formatDouble(m.c) + " " + formatDouble(m.d) + " " +
                         formatDouble(m.e) + " " + formatDouble(m.f) + ")\">";
        piece.wrapClose = "</g>";
      }
      return piece;
    }
    (void)container;
    piece.text = newArtText(*it.art, innerCtm);
    return piece;
  }

  std::vector<Item> childItems(const Art& container) const {
    std::vector<Item> items;
    for (std::size_t k = container.childCount(); k-- > 0;) {
      const Art& child = container.child(k);
      Item item;
      item.art = &child;
      item.origin = src_.originOf(child.id());
      if (item.origin != nullptr && item.origin->parent == container.id()) {
        item.key = {0, -static_cast<long>(item.origin->index)};
        item.placed = true;
      }
      items.push_back(item);
    }
    return items;
  }

  // An object kept in its element: the edits its own changes need, and its content's.
  void planKept(const Art& art, const Origin& origin) {
    const int element = origin.element;
    if (forView_ && (art.hidden() || hiddenForView_.count(art.id()) != 0)) {
      styleChanges(element, {{"display", "none"}});
    }
    if (art.layerGroupOf() != kNoId) {
      const Layer* layer = doc_.findLayer(art.layerGroupOf());
      auto lo = src_.layers.find(art.layerGroupOf());
      if (layer != nullptr && lo != src_.layers.end()) planLayerProps(*layer, lo->second, element);
      planContainer(element, childItems(art), origin.ctm);
      return;
    }
    const std::string tag = localName(element);
    if (tag == "use") {
      if (!subtreeUnchanged(art))
        replaceUse(art, origin);
      else
        planCommon(art, origin, false);
      return;
    }
    switch (art.type()) {
      case ArtType::kGroup:
        planCommon(art, origin, false);
        planContainer(element, childItems(art), origin.ctm);
        break;
      case ArtType::kPluginArt:
        planCommon(art, origin, false);
        if (const Art* result = art.pluginResult()) {
          planContainer(element, childItems(*result), origin.ctm);
        }
        break;
      case ArtType::kPath:
      case ArtType::kCompoundPath:
        planPath(art, origin, element);
        planCommon(art, origin, true);
        break;
      case ArtType::kTextFrame:
        planText(art, origin);
        planCommon(art, origin, false);
        break;
    }
  }

  std::string localName(int element) const {
    const std::string& name = src_.elements[static_cast<std::size_t>(element)].name;
    if (!names_.svgPrefix.empty() && name.rfind(names_.svgPrefix + ":", 0) == 0) {
      return name.substr(names_.svgPrefix.size() + 1);
    }
    return name;
  }

  bool subtreeUnchanged(const Art& art) const {
    const Origin* o = src_.originOf(art.id());
    if (o == nullptr || !(art.data() == o->imported)) return false;
    for (std::size_t i = 0; i < art.childCount(); ++i) {
      const Origin* c = src_.originOf(art.child(i).id());
      if (c == nullptr || c->parent != art.id() || c->index != i) return false;
      if (!subtreeUnchanged(art.child(i))) return false;
    }
    // A child taken out shows as one fewer.
    auto read = readChildren_.find(art.id());
    return (read == readChildren_.end() ? 0 : read->second) == art.childCount();
  }

  // A use whose copy was edited becomes a group of what it showed, written from the model.
  void replaceUse(const Art& art, const Origin& origin) {
    const int element = origin.element;
    pugi::xml_document xml;
    ArtWriter writer(names_, usedNames_);
    pugi::xml_node g = xml.append_child("g");
    for (const SourceAttribute& a : src_.elements[static_cast<std::size_t>(element)].attributes) {
      if (a.name == "x" || a.name == "y" || a.name == "width" || a.name == "height" ||
          a.name == "href" || a.name == names_.xlinkHref || a.name == "transform") {
        continue;
      }
      g.append_attribute(a.name.c_str()) = value(element, a.name)->c_str();
    }
    const Affine inner = toUser(origin.ctm, art);
    const Affine placement = compose(toUser(origin.parentCtm, art), origin.ctm);
    g.append_attribute("transform") =
        ("matrix(" + formatDouble(placement.a) + " " + formatDouble(placement.b) + " " +
         formatDouble(placement.c) + " " + formatDouble(placement.d) + " " +
         formatDouble(placement.e) + " " + formatDouble(placement.f) + ")")
            .c_str();
    for (std::size_t k = art.childCount(); k-- > 0;) writer.write(g, art.child(k), &inner);
    noteWriter(writer);
    edits(element).whole = printNode(g);
  }

  void noteWriter(const ArtWriter& w) {
    needInkscape_ = needInkscape_ || w.usedInkscape;
    needSodipodi_ = needSodipodi_ || w.usedSodipodi;
    needSq_ = needSq_ || w.usedSq;
    needXlink_ = needXlink_ || w.usedXlink;
  }

  // Attributes every kind of object has: hidden, locked, selected (paths: from their states),
  // the id.
  void planCommon(const Art& art, const Origin& origin, bool isPath) {
    const int element = origin.element;
    const ArtData& was = origin.imported;
    const bool wasHidden = (was.attributes & kArtHidden) != 0;
    if (art.hidden() != wasHidden) {
      if (art.hidden()) {
        styleChanges(element, {{"display", "none"}});
      } else {
        remove(element, names_.sqHidden);
        styleChanges(element, {{"display", "inline"}});
      }
    }
    const bool wasLocked = (was.attributes & kArtLocked) != 0;
    if (art.locked() != wasLocked) {
      if (art.locked()) {
        set(element, names_.insensitive, "true");
      } else {
        remove(element, names_.insensitive);
        remove(element, names_.sqLocked);
      }
    }
    const bool wasSelected = (was.attributes & kArtSelected) != 0;
    if (!isPath && art.selected() != wasSelected) {
      if (art.selected()) {
        set(element, names_.sqSelected, "1");
      } else {
        remove(element, names_.sqSelected);
      }
    }
    if (art.name() != was.name) {
      if (art.name().empty()) {
        remove(element, "id");
      } else {
        set(element, "id", art.name());
      }
    }
  }

  void planLayerProps(const Layer& layer, const LayerOrigin& lo, int element) {
    const LayerProps& now = layer.props();
    const LayerProps& was = lo.props;
    if (element < 0) {
      // The layer made for loose content has no element: what it says goes to its objects.
      if (forView_ && !now.visible) {
        for (std::size_t k = 0; k < layer.group().childCount(); ++k) {
          hiddenForView_.insert(layer.group().child(k).id());
        }
      }
      return;
    }
    if (now.name != was.name) set(element, names_.label, now.name);
    if (now.visible != was.visible || (forView_ && !now.visible)) {
      if (!now.visible) {
        styleChanges(element, {{"display", "none"}});
      } else {
        remove(element, names_.sqHidden);
        styleChanges(element, {{"display", "inline"}});
      }
    }
    if (now.locked != was.locked) {
      if (now.locked) {
        set(element, names_.insensitive, "true");
      } else {
        remove(element, names_.insensitive);
        remove(element, names_.sqLocked);
      }
    }
    if (!sameColor(now.color, was.color)) set(element, names_.sqColor, formatHexColor16(now.color));
  }

  void planPath(const Art& art, const Origin& origin, int element);
  void rewriteGeometry(int element, const std::vector<const Art*>& parts, const Art& art,
                       const Origin& origin, bool compound);
  std::vector<std::pair<std::string, std::string>> styleDiff(const PathStyle& now,
                                                             const PathStyle& was, double scale);
  void planText(const Art& art, const Origin& origin);
  void planPage();
  std::string newArtText(const Art& art, const Affine& innerCtm);
  std::string newLayerText(const Layer& layer, const Affine& innerCtm);
  void emit(int element, std::string& out);
  void emitStartTag(int element, const Edits* e, bool open, std::string& out);
  void emitPieces(const std::vector<Piece>& pieces, const std::string& gap, std::string& out);

  const Document& doc_;
  const SvgSource& src_;
  const QualifiedNames& names_;
  const bool forView_;
  std::unordered_set<std::string> usedNames_;
  std::unordered_map<int, Edits> edits_;
  std::unordered_set<int> kept_;
  std::unordered_set<ArtId> hiddenForView_;
  std::unordered_map<ArtId, std::size_t> readChildren_;
  std::vector<std::vector<int>> children_;
  std::vector<bool> dirty_;
  bool needInkscape_ = false, needSodipodi_ = false, needSq_ = false, needXlink_ = false;
};

std::vector<std::pair<std::string, std::string>> Splicer::styleDiff(const PathStyle& now,
                                                                    const PathStyle& was,
                                                                    double scale) {
  std::vector<std::pair<std::string, std::string>> changes;
  if (now.fill != was.fill || (now.fill && !sameColor(now.fillColor, was.fillColor))) {
    changes.emplace_back("fill", now.fill ? formatHexColor8(now.fillColor) : "none");
  }
  if (now.stroke != was.stroke || (now.stroke && !sameColor(now.strokeColor, was.strokeColor))) {
    changes.emplace_back("stroke", now.stroke ? formatHexColor8(now.strokeColor) : "none");
  }
  if (now.strokeWidth != was.strokeWidth) {
    changes.emplace_back("stroke-width", scale == 1 ? formatFloat(now.strokeWidth)
                                                    : formatDouble(now.strokeWidth / scale));
  }
  if (now.evenOdd != was.evenOdd)
    changes.emplace_back("fill-rule", now.evenOdd ? "evenodd" : "nonzero");
  return changes;
}

void Splicer::planPath(const Art& art, const Origin& origin, int element) {
  const ArtData& was = origin.imported;
  std::vector<const Art*> parts;
  bool geometry = false, states = false;
  PathStyle nowStyle, wasStyle;
  if (art.type() == ArtType::kPath) {
    parts.push_back(&art);
    geometry = !sameGeometry(art.path(), was.path);
    states = !sameStates(art.path(), was.path);
    nowStyle = art.style();
    wasStyle = was.style;
  } else {
    auto read = readChildren_.find(art.id());
    geometry = (read == readChildren_.end() ? 0 : read->second) != art.childCount();
    for (std::size_t i = 0; i < art.childCount(); ++i) {
      const Art& part = art.child(i);
      parts.push_back(&part);
      const Origin* o = src_.originOf(part.id());
      if (o == nullptr || o->parent != art.id() || o->index != i) {
        geometry = states = true;
        continue;
      }
      geometry = geometry || !sameGeometry(part.path(), o->imported.path);
      states = states || !sameStates(part.path(), o->imported.path);
      if (i == 0) wasStyle = o->imported.style;
    }
    if (art.childCount() > 0)
      nowStyle = art.child(0).style();
    else
      nowStyle = wasStyle;
  }
  if (geometry) rewriteGeometry(element, parts, art, origin, art.type() == ArtType::kCompoundPath);
  if (states || geometry) {
    std::string text;
    bool any = false;
    for (const Art* part : parts) {
      for (SegmentSelection st : part->path().selections()) {
        if (!text.empty()) text += ' ';
        text += static_cast<char>('0' + static_cast<int>(st));
        any = any || st != SegmentSelection::kNone;
      }
    }
    if (states) remove(element, names_.sqSelected);
    if (any) {
      if (states || has(element, names_.sqSelection)) set(element, names_.sqSelection, text);
    } else {
      remove(element, names_.sqSelection);
    }
  }
  const double scale = origin.ctm.isIdentity() ? 1.0 : origin.ctm.scale();
  if (auto changes = styleDiff(nowStyle, wasStyle, scale); !changes.empty()) {
    styleChanges(element, changes);
  }
}

void Splicer::rewriteGeometry(int element, const std::vector<const Art*>& parts, const Art& art,
                              const Origin& origin, bool compound) {
  const bool identity = origin.ctm.isIdentity();
  const Affine inv = identity ? Affine{} : toUser(origin.ctm, art);
  const Affine* map = identity ? nullptr : &inv;
  // The letters read, with the segments they were read for, per subpath.
  std::vector<std::vector<std::pair<AIPathSegment, char>>> known;
  if (!origin.shape) {
    const std::optional<std::string> types = value(element, names_.nodetypes);
    const std::optional<std::string> d = value(element, "d");
    if (types && d) {
      std::vector<ArtSubpath> subs;
      try {
        for (const RawSubpath& raw : parsePathData(*d).subpaths) {
          subs.push_back(toArtwork(raw, origin.ctm));
        }
      } catch (const ValueError&) {
        subs.clear();
      }
      const std::vector<char> letters = nodeTypeLetters(subs, *types);
      std::size_t k = 0;
      for (const ArtSubpath& sub : subs) {
        known.emplace_back();
        for (const AIPathSegment& seg : sub.segments) {
          if (k < letters.size()) known.back().emplace_back(seg, letters[k]);
          ++k;
        }
      }
    }
  }
  std::string d, types, ends;
  bool endHandles = false;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const PathGeometry& g = parts[i]->path();
    appendPathData(d, g, map);
    appendNodeTypes(types, g, i < known.size() ? known[i] : decltype(known)::value_type{});
    if (g.empty()) continue;
    const AIPathSegment& first = g.segment(0);
    const AIPathSegment& lastSeg = g.segment(g.size() - 1);
    endHandles =
        endHandles ||
        (!g.closed() && (!samePoint(first.in, first.p) || !samePoint(lastSeg.out, lastSeg.p)));
    for (const AIRealPoint& p : {first.in, lastSeg.out}) {
      const Vec2 q = map == nullptr ? Vec2{p.h, -static_cast<double>(p.v)}
                                    : apply(*map, Vec2{p.h, -static_cast<double>(p.v)});
      if (!ends.empty()) ends += ' ';
      ends += map == nullptr ? formatFloat(p.h) + ' ' + formatFloat(-p.v)
                             : formatDouble(q.x) + ' ' + formatDouble(q.y);
    }
  }
  if (origin.shape) {
    edits(element).rename = names_.svgPrefix.empty() ? "path" : names_.svgPrefix + ":path";
  }
  for (const SourceAttribute& a : src_.elements[static_cast<std::size_t>(element)].attributes) {
    const bool shapeOnly = a.name == "x" || a.name == "y" || a.name == "width" ||
                           a.name == "height" || a.name == "rx" || a.name == "ry" ||
                           a.name == "cx" || a.name == "cy" || a.name == "r" || a.name == "x1" ||
                           a.name == "y1" || a.name == "x2" || a.name == "y2" || a.name == "points";
    if ((shapeOnly && origin.shape) || (!shapeOnly && isGeometryAttribute(a.name, names_))) {
      edits(element).attributes.emplace_back(a.name, std::nullopt);
    }
  }
  set(element, "d", d);
  // Node types are written where the file had them, or where reading without them would take a
  // different corner flag than the model has.
  bool typesNeeded = has(element, names_.nodetypes);
  for (const Art* part : parts) {
    for (const AIPathSegment& seg : part->path().segments()) {
      typesNeeded = typesNeeded || (seg.corner != 0) == looksSmooth(seg);
    }
  }
  if (!types.empty() && typesNeeded) set(element, names_.nodetypes, types);
  if (endHandles) {
    set(element, names_.sqEnds, ends);
  } else {
    remove(element, names_.sqEnds);
  }
  if (compound && parts.size() < 2) {
    set(element, names_.sqCompound, "1");
  } else if (!compound) {
    remove(element, names_.sqCompound);
  }
}

void Splicer::planText(const Art& art, const Origin& origin) {
  const int element = origin.element;
  const TextInfo& now = art.text();
  const TextInfo& was = origin.imported.text;
  if (now.contents != was.contents) {
    std::string text;
    for (char c : now.contents) {
      if (c == '&')
        text += "&amp;";
      else if (c == '<')
        text += "&lt;";
      else if (c == '>')
        text += "&gt;";
      else
        text += c;
    }
    edits(element).content = std::move(text);
  }
  if (!samePoint(now.origin, was.origin) && art.textPath() == nullptr) {
    const Affine inv = toUser(origin.ctm, art);
    const Vec2 q = apply(inv, Vec2{now.origin.h, -static_cast<double>(now.origin.v)});
    set(element, "x", formatDouble(q.x));
    set(element, "y", formatDouble(q.y));
  }
  if (const Art* path = art.textPath()) {
    const Origin* o = src_.originOf(path->id());
    if (o != nullptr && o->element >= 0 && !sameGeometry(path->path(), o->imported.path)) {
      rewriteGeometry(o->element, {path}, *path, *o, false);
    }
  }
}

void Splicer::planPage() {
  const PageState& now = doc_.pageState();
  const PageState& was = src_.page;
  if (now == was) return;
  auto rect = [](const AIRealRect& r) {
    return formatFloat(r.left) + ' ' + formatFloat(r.top) + ' ' + formatFloat(r.right) + ' ' +
           formatFloat(r.bottom);
  };
  if (now.activeArtboard != was.activeArtboard) {
    set(0, names_.sqActiveArtboard, std::to_string(now.activeArtboard));
  }
  if (!sameRect(now.canvas, was.canvas)) set(0, names_.sqCanvas, rect(now.canvas));
  std::vector<int> pages;
  for (std::size_t i = 0; i < src_.elements.size(); ++i) {
    const SourceElement& e = src_.elements[i];
    if (e.name == names_.page && e.parent >= 0 &&
        src_.elements[static_cast<std::size_t>(e.parent)].name == names_.namedview &&
        src_.elements[static_cast<std::size_t>(e.parent)].parent == 0) {
      pages.push_back(static_cast<int>(i));
    }
  }
  for (std::size_t i = 0; i < now.artboards.size() && i < was.artboards.size(); ++i) {
    const Artboard& a = now.artboards[i];
    const Artboard& b = was.artboards[i];
    if (a == b) continue;
    const std::string origin = formatFloat(a.rulerOrigin.h) + ' ' + formatFloat(a.rulerOrigin.v);
    if (i < pages.size()) {
      set(pages[i], names_.sqBounds, rect(a.bounds));
      set(pages[i], names_.sqRulerOrigin, origin);
    } else if (i == 0) {
      if (!sameRect(a.bounds, b.bounds)) set(0, names_.sqBounds, rect(a.bounds));
      if (!samePoint(a.rulerOrigin, b.rulerOrigin)) set(0, names_.sqRulerOrigin, origin);
    }
  }
}

std::string Splicer::newArtText(const Art& art, const Affine& innerCtm) {
  pugi::xml_document xml;
  ArtWriter writer(names_, usedNames_);
  // A new path takes the attributes of the nearest path beside it that was read: a split keeps
  // the look of the path it came from.
  const Origin* model = nullptr;
  if ((art.type() == ArtType::kPath || art.type() == ArtType::kCompoundPath) &&
      art.parent() != nullptr) {
    const Art& parent = *art.parent();
    const std::size_t at = art.indexInParent();
    for (std::size_t distance = 1; distance < parent.childCount() && model == nullptr; ++distance) {
      for (std::size_t k : {at + distance, at - distance}) {
        if (k >= parent.childCount()) continue;
        const Art& sibling = parent.child(k);
        const Origin* o = src_.originOf(sibling.id());
        if (o != nullptr && o->kind == OriginKind::kElement && o->element >= 0 &&
            (sibling.type() == ArtType::kPath || sibling.type() == ArtType::kCompoundPath) &&
            sameAffine(o->parentCtm, innerCtm)) {
          model = o;
          break;
        }
      }
    }
  }
  const Affine ctm = model != nullptr ? model->ctm : innerCtm;
  const bool identity = ctm.isIdentity();
  const Affine inv = identity ? Affine{} : toUser(ctm, art);
  const Affine* map = identity ? nullptr : &inv;
  if (model == nullptr) {
    writer.write(xml, art, map);
    noteWriter(writer);
    return printNode(xml.first_child());
  }
  pugi::xml_node node =
      xml.append_child(names_.svgPrefix.empty() ? "path" : (names_.svgPrefix + ":path").c_str());
  for (const SourceAttribute& a :
       src_.elements[static_cast<std::size_t>(model->element)].attributes) {
    const std::string_view name = a.name;
    if (name == "id" || name == "d" || name == names_.nodetypes ||
        name.rfind(names_.sq + ":", 0) == 0 || name == "x" || name == "y" || name == "width" ||
        name == "height" || name == "rx" || name == "ry" || name == "cx" || name == "cy" ||
        name == "r" || name == "x1" || name == "y1" || name == "x2" || name == "y2" ||
        name == "points" || name == names_.insensitive || isGeometryAttribute(name, names_)) {
      continue;
    }
    node.append_attribute(a.name.c_str()) = value(model->element, a.name)->c_str();
  }
  node.prepend_attribute("id") = (art.name().empty() ? writer.freshName() : art.name()).c_str();
  writer.writePathAttributes(node, art, map, false);
  const PathStyle& style =
      art.type() == ArtType::kPath || art.childCount() == 0 ? art.style() : art.child(0).style();
  PathStyle modelStyle = model->imported.style;
  if (model->imported.type == ArtType::kCompoundPath) {
    for (const auto& [id, o] : src_.art) {
      if (o.parent != kNoId && o.kind == OriginKind::kSubpath && o.element == model->element) {
        modelStyle = o.imported.style;
        break;
      }
    }
  }
  auto changes = styleDiff(style, modelStyle, identity ? 1.0 : ctm.scale());
  if (art.hidden()) changes.emplace_back("display", "none");
  if (!changes.empty()) {
    std::string was = node.attribute("style").value();
    if (!node.attribute("style")) node.append_attribute("style");
    node.attribute("style").set_value(editStyle(was, changes).c_str());
  }
  if (art.locked()) writer.set(node, names_.insensitive, "true");
  noteWriter(writer);
  return printNode(node);
}

std::string Splicer::newLayerText(const Layer& layer, const Affine& innerCtm) {
  pugi::xml_document xml;
  ArtWriter writer(names_, usedNames_);
  pugi::xml_node g =
      xml.append_child(names_.svgPrefix.empty() ? "g" : (names_.svgPrefix + ":g").c_str());
  writeLayerAttributes(g, layer, names_);
  needInkscape_ = needSq_ = true;
  needSodipodi_ = needSodipodi_ || layer.locked();
  const bool identity = innerCtm.isIdentity();
  const Affine inv = identity ? Affine{} : toUser(innerCtm, layer.group());
  for (std::size_t k = layer.group().childCount(); k-- > 0;) {
    writer.write(g, layer.group().child(k), identity ? nullptr : &inv);
  }
  noteWriter(writer);
  return printNode(g);
}

// ---- emission -----------------------------------------------------------------------------

void Splicer::emitPieces(const std::vector<Piece>& pieces, const std::string& gap,
                         std::string& out) {
  for (const Piece& piece : pieces) {
    out += gap;
    out += piece.wrapOpen;
    if (piece.element >= 0) {
      emit(piece.element, out);
    } else {
      out += piece.text;
    }
    out += piece.wrapClose;
  }
}

void Splicer::emitStartTag(int element, const Edits* e, bool open, std::string& out) {
  const SourceElement& el = src_.elements[static_cast<std::size_t>(element)];
  const std::string_view text = src_.text;
  out += '<';
  out += e != nullptr && !e->rename.empty() ? e->rename : el.name;
  std::size_t pos = el.begin + 1 + el.name.size();
  // The last word on each attribute wins.
  std::unordered_map<std::string, const std::optional<std::string>*> final;
  std::vector<std::string> added;
  if (e != nullptr) {
    for (const auto& [name, v] : e->attributes) {
      if (final.count(name) == 0 && el.attribute(name) == nullptr) added.push_back(name);
      final[name] = &v;
    }
  }
  for (const SourceAttribute& a : el.attributes) {
    auto it = final.find(a.name);
    if (it == final.end()) {
      out.append(text.substr(pos, a.valueEnd + 1 - pos));
    } else if (it->second->has_value()) {
      const char quote = text[a.valueBegin - 1];
      out.append(text.substr(pos, a.valueBegin - pos));
      out += escapeAttribute(**it->second, quote);
      out += quote;
    }
    pos = a.valueEnd + 1;
  }
  for (const std::string& name : added) {
    const std::optional<std::string>& v = *final[name];
    if (!v) continue;
    out += ' ';
    out += name;
    out += "=\"";
    out += escapeAttribute(*v, '"');
    out += '"';
  }
  std::string_view tail = text.substr(pos, el.startEnd - pos);
  if (open && el.selfClosing) {
    tail.remove_suffix(2);
    out.append(tail);
    out += '>';
  } else {
    out.append(tail);
  }
}

void Splicer::emit(int element, std::string& out) {
  const auto index = static_cast<std::size_t>(element);
  const SourceElement& el = src_.elements[index];
  const std::string_view text = src_.text;
  if (!dirty_[index]) {
    out.append(text.substr(el.begin, el.end - el.begin));
    return;
  }
  auto found = edits_.find(element);
  const Edits* e = found == edits_.end() ? nullptr : &found->second;
  if (e != nullptr && e->whole) {
    out += *e->whole;
    return;
  }
  const bool grows = e != nullptr && !e->atEnd.empty();
  emitStartTag(element, e, grows || (e != nullptr && e->content), out);
  if (el.selfClosing && !grows && !(e != nullptr && e->content)) return;
  std::size_t pos = el.startEnd;
  if (e != nullptr && e->content) {
    out += *e->content;
    pos = el.contentEnd;
  } else {
    for (int child : children_[index]) {
      const SourceElement& c = src_.elements[static_cast<std::size_t>(child)];
      std::string_view gap = text.substr(pos, c.begin - pos);
      const bool blank = gap.find_first_not_of(" \t\r\n") == std::string_view::npos;
      auto ce = edits_.find(child);
      const Edits* cEdits = ce == edits_.end() ? nullptr : &ce->second;
      const std::string sep = blank && !gap.empty() ? std::string(gap) : std::string("\n");
      if (cEdits != nullptr) emitPieces(cEdits->before, sep, out);
      if (cEdits != nullptr && cEdits->drop) {
        if (!blank) out.append(gap);
      } else {
        out.append(gap);
        emit(child, out);
      }
      if (cEdits != nullptr) emitPieces(cEdits->after, sep, out);
      pos = c.end;
    }
  }
  if (!el.selfClosing) {
    out.append(text.substr(pos, el.contentEnd - pos));
  }
  if (e != nullptr) emitPieces(e->atEnd, "\n", out);
  if (el.selfClosing) {
    out += "</" + (e != nullptr && !e->rename.empty() ? e->rename : el.name) + ">";
  } else if (e != nullptr && !e->rename.empty()) {
    out += "</" + e->rename + ">";
  } else {
    out.append(text.substr(el.contentEnd, el.end - el.contentEnd));
  }
}

}  // namespace

ExportResult splice(const Document& doc, const SvgSource& source, bool forView) {
  try {
    return Splicer(doc, source, forView).run();
  } catch (const Failure& f) {
    return ExportResult{{}, f.what()};
  }
}

std::string escapeAttribute(std::string_view value, char quote) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += quote == '"' ? "&quot;" : "\"";
        break;
      case '\'':
        out += quote == '\'' ? "&apos;" : "'";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string unescapeAttribute(std::string_view raw) {
  if (raw.find('&') == std::string_view::npos) return std::string(raw);
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '&') {
      out += raw[i];
      continue;
    }
    const std::size_t semi = raw.find(';', i);
    if (semi == std::string_view::npos) {
      out += raw[i];
      continue;
    }
    const std::string_view name = raw.substr(i + 1, semi - i - 1);
    unsigned long code = 0;
    if (name == "amp")
      out += '&';
    else if (name == "lt")
      out += '<';
    else if (name == "gt")
      out += '>';
    else if (name == "quot")
      out += '"';
    else if (name == "apos")
      out += '\'';
    else if (!name.empty() && name[0] == '#') {
      try {
        code = name.size() > 1 && (name[1] == 'x' || name[1] == 'X')
                   ? std::stoul(std::string(name.substr(2)), nullptr, 16)
                   : std::stoul(std::string(name.substr(1)));
      } catch (const std::exception&) {
        code = 0xFFFD;
      }
      // UTF-8 of the code point.
      if (code < 0x80) {
        out += static_cast<char>(code);
      } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      }
    } else {
      out.append(raw.substr(i, semi - i + 1));
    }
    i = semi;
  }
  return out;
}

std::string editStyle(std::string_view style,
                      const std::vector<std::pair<std::string, std::string>>& changes) {
  std::string out;
  std::vector<bool> done(changes.size(), false);
  std::string_view rest = style;
  while (!rest.empty()) {
    const std::size_t semi = rest.find(';');
    std::string_view decl = rest.substr(0, semi);
    rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
    const std::size_t colon = decl.find(':');
    bool replaced = false;
    if (colon != std::string_view::npos) {
      const std::string_view name = trim(decl.substr(0, colon));
      for (std::size_t k = 0; k < changes.size(); ++k) {
        if (changes[k].first != name) continue;
        replaced = true;
        if (!done[k] && !changes[k].second.empty()) {
          if (!out.empty()) out += ';';
          out += changes[k].first + ":" + changes[k].second;
        }
        done[k] = true;
      }
    }
    if (!replaced && !trim(decl).empty()) {
      if (!out.empty()) out += ';';
      out.append(decl);
    }
  }
  for (std::size_t k = 0; k < changes.size(); ++k) {
    if (done[k] || changes[k].second.empty()) continue;
    if (!out.empty()) out += ';';
    out += changes[k].first + ":" + changes[k].second;
  }
  return out;
}

std::string checkWritable(const Document& doc, const std::string& text) {
  if (auto source = std::dynamic_pointer_cast<const SvgSource>(doc.source());
      source && source->text == text) {
    return {};  // what was opened opens again
  }
  return limitFailure(text);
}

}  // namespace sqhost::svg::detail
