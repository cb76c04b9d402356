// Spliced save, the edits of each kind of object: paths and shapes, text, the page, new objects.
#include <cmath>

#include "svg/svg_importer.hpp"
#include "svg/svg_splicer.hpp"

namespace sqhost::svg::detail {

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

}  // namespace sqhost::svg::detail
