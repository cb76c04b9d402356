// The spliced save's planner: which source elements keep their place, which attributes change,
// what is inserted where; shared by its planning, edit and emission parts.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "svg/svg_geometry.hpp"
#include "svg/svg_splice.hpp"
#include "svg/svg_writer.hpp"

namespace sqhost::svg::detail {

inline constexpr const char* kInkscapeNs = "http://www.inkscape.org/namespaces/inkscape";
inline constexpr const char* kSodipodiNs = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
inline constexpr const char* kXlinkNs = "http://www.w3.org/1999/xlink";

// Attributes that describe a shape's geometry (gone when it becomes a path), and the parameters
// from which other editors would rebuild a path's data (gone when its data is edited).
inline bool isGeometryAttribute(std::string_view name, const QualifiedNames& names) {
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

inline std::optional<Affine> inverse(const Affine& m) {
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

inline bool sameAffine(const Affine& x, const Affine& y) {
  return x.a == y.a && x.b == y.b && x.c == y.c && x.d == y.d && x.e == y.e && x.f == y.f;
}

inline bool sameGeometry(const PathGeometry& a, const PathGeometry& b) {
  if (a.size() != b.size() || a.closed() != b.closed()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!sameSegment(a.segment(i), b.segment(i))) return false;
  }
  return true;
}

inline bool sameStates(const PathGeometry& a, const PathGeometry& b) {
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
  // only: the planner of one object's element (runElement), which needs no names for new
  // objects and counts only that object's children as read.
  Splicer(const Document& doc, const SvgSource& source, SpliceMode mode, const Art* only = nullptr)
      : doc_(doc),
        src_(source),
        names_(source.names),
        forView_(mode != SpliceMode::File),
        tagged_(mode == SpliceMode::Studio) {
    if (only == nullptr) collectNames(doc, usedNames_);
    if (only != nullptr && only->type() != ArtType::kCompoundPath) return;
    for (const auto& [id, origin] : src_.art) {
      if (origin.parent != kNoId && (only == nullptr || origin.parent == only->id())) {
        ++readChildren_[origin.parent];
      }
    }
  }

  ExportResult run() {
    planRoot();
    planPage();
    for (const auto& [id, origin] : src_.art) {
      if (origin.kind == OriginKind::kElement && origin.element >= 0 &&
          src_.artElement[static_cast<std::size_t>(origin.element)] &&
          inPlace_.count(origin.element) == 0) {
        edits(origin.element).drop = true;
      }
    }
    if (tagged_) {
      for (int element : kept_) {
        if (src_.artElement[static_cast<std::size_t>(element)]) {
          set(element, "data-sq", std::to_string(element));
        }
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

  using AttributeEdits = std::vector<std::pair<std::string, std::optional<std::string>>>;
  // The attribute edits of the element a path object was read from (see spliceElement).
  std::optional<AttributeEdits> runElement(const Art& art) {
    if (art.type() != ArtType::kPath && art.type() != ArtType::kCompoundPath) return std::nullopt;
    const Origin* o = src_.originOf(art.id());
    if (o == nullptr || o->kind != OriginKind::kElement || o->element < 0 ||
        !src_.artElement[static_cast<std::size_t>(o->element)]) {
      return std::nullopt;
    }
    // A hidden layer hides its objects in the view's text from the plan of the whole page.
    const Layer* layer = doc_.layerOfArt(art.id());
    if (layer == nullptr || !layer->visible()) return std::nullopt;
    planKept(art, *o);
    AttributeEdits out;
    auto found = edits_.find(o->element);
    if (found == edits_.end()) return out;
    const Edits& e = found->second;
    if (!e.rename.empty() || e.drop || !e.before.empty() || !e.after.empty() || !e.atEnd.empty() ||
        e.content || e.whole || edits_.size() != 1) {
      return std::nullopt;
    }
    // The last word on each attribute wins, in the order they were first named.
    for (const auto& attribute : e.attributes) {
      const auto& [name, v] = attribute;
      auto same = std::find_if(out.begin(), out.end(),
                               [&attribute](const auto& a) { return a.first == attribute.first; });
      if (same == out.end()) {
        out.emplace_back(name, v);
      } else {
        same->second = v;
      }
    }
    return out;
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
        inPlace_.insert(it.origin->element);
        planKept(*it.art, *it.origin);
        if (previousKept < 0 && !pending.empty()) {
          auto& before = edits(it.origin->element).before;
          before.insert(before.end(), pending.begin(), pending.end());
          pending.clear();
        }
        previousKept = it.origin->element;
        continue;
      }
      Piece piece = placedPiece(it, innerCtm);
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
  Piece placedPiece(const Item& it, const Affine& innerCtm) {
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
  const bool tagged_;  // marks every element an object was read from with data-sq
  std::unordered_set<std::string> usedNames_;
  std::unordered_map<int, Edits> edits_;
  std::unordered_set<int> kept_;     // elements used: kept in place or moved
  std::unordered_set<int> inPlace_;  // elements kept where they are; the others are dropped there
  std::unordered_set<ArtId> hiddenForView_;
  std::unordered_map<ArtId, std::size_t> readChildren_;
  std::vector<std::vector<int>> children_;
  std::vector<bool> dirty_;
  bool needInkscape_ = false, needSodipodi_ = false, needSq_ = false, needXlink_ = false;
};

}  // namespace sqhost::svg::detail
