// The studio's updates: the document and its edited paths, the view, the selection display, the
// annotations, the cursor and the status; the user interface's parts come from update_parts.
#include "studio/update_builder.hpp"

#include <charconv>
#include <cmath>

#include "render/selection_marks.hpp"
#include "svg/svg_io.hpp"

namespace sqhost::studio {
namespace {

using nlohmann::json;

// A pixel coordinate to 1/100 pixel, in its shortest form.
void appendNumber(std::string& out, double v) {
  const double rounded = std::round(v * 100) / 100;
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded);
  if (ec == std::errc()) out.append(buffer, end);
}

// The outline of a path in view pixels: "M x y C x y x y x y ... Z".
std::string outline(const render::ViewMapping& map, const PathGeometry& path) {
  std::string d;
  if (path.empty()) return d;
  auto point = [&](const AIRealPoint& p) {
    appendNumber(d, map.x(p.h));
    d += ' ';
    appendNumber(d, map.y(p.v));
  };
  d += "M ";
  point(path.segment(0).p);
  for (std::size_t k = 0; k < path.bezierCount(); ++k) {
    const AIRealBezier b = path.bezier(k);
    d += " C ";
    point(b.p1);
    d += ' ';
    point(b.p2);
    d += ' ';
    point(b.p3);
  }
  if (path.closed()) d += " Z";
  return d;
}

std::string colour(const AIRGBColor& c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red >> 8, c.green >> 8, c.blue >> 8);
  return text;
}

// The document's file relative to root when it lies inside it.
json relativeFile(const std::string& name, const std::filesystem::path& root) {
  if (name.empty()) return nullptr;
  std::error_code ec;
  const auto file = std::filesystem::weakly_canonical(name, ec);
  if (ec) return nullptr;
  const auto base = std::filesystem::weakly_canonical(root, ec);
  if (ec) return nullptr;
  const auto relative = file.lexically_relative(base);
  if (relative.empty() || *relative.begin() == "..") return nullptr;
  return relative.generic_string();
}

}  // namespace

UpdateBuilder::UpdateBuilder(Host& host, std::filesystem::path root)
    : host_(host), root_(std::move(root)) {}

UpdateBuilder::~UpdateBuilder() {
  follow(nullptr);
}

void UpdateBuilder::artWillChange(const Document&, const Art& art) {
  sawChange_ = true;
  changed_.try_emplace(art.id(), art.hidden());
  selectionChanged_.insert(art.id());
}

void UpdateBuilder::follow(Document* doc) {
  const DocumentId id = doc != nullptr ? doc->id() : kNoId;
  if (id == followed_) return;
  // The document followed before may have been closed (and destroyed) meanwhile.
  if (followed_ != kNoId) {
    if (Document* old = host_.documents().find(followed_)) old->removeObserver(this);
  }
  followed_ = id;
  if (doc != nullptr) doc->addObserver(this);
  restructured_ = true;
  changed_.clear();
  touched_.clear();
  shown_.clear();
  selectionPaths_.clear();
}

void UpdateBuilder::part(json& out, const char* name, json value, bool full) {
  auto last = sent_.find(name);
  if (!full && last != sent_.end() && last->second == value) return;
  out[name] = value;
  sent_[name] = std::move(value);
}

std::string UpdateBuilder::build(bool full) {
  json out = json::object();
  Document* doc = host_.currentDocument();
  View* view = host_.currentView();
  follow(doc);
  addDocument(out, doc, full);
  part(out, "view", viewJson(view), full);

  SelectionKey key;
  if (doc != nullptr && view != nullptr) {
    key = {doc->generation(), doc->id(),      view->width,    view->height,
           view->zoom,        view->center.h, view->center.v, host_.edgesShown()};
  }
  std::string selection;
  if (full || !selectionKey_ || !(*selectionKey_ == key)) {
    // Another view, zoom or scroll moves every mark.
    SelectionKey sameArt = key;
    if (selectionKey_) sameArt.generation = selectionKey_->generation;
    if (!selectionKey_ || !(*selectionKey_ == sameArt)) selectionPaths_.clear();
    std::string text = selectionText(doc, view);
    if (full || text != sentSelection_) {
      selection = text;
      sentSelection_ = std::move(text);
    }
    selectionKey_ = key;
  }
  selectionChanged_.clear();
  if (json annotations = annotationsJson(view, full); !annotations.is_null()) {
    out["annotations"] = std::move(annotations);
  }
  part(out, "cursor", cursorJson(), full);
  part(out, "tools", toolsJson(host_, pictures_), full);
  part(out, "panels", panelsJson(host_, pictures_), full);
  part(out, "modal", modalJson(host_, pictures_), full);
  part(out, "alert", alertJson(host_), full);
  part(out, "flyout", flyoutJson(host_), full);
  if (json status = statusJson(view, full); !status.is_null()) out["status"] = std::move(status);

  std::string members = out.dump(-1, ' ', false, json::error_handler_t::replace);
  members = members.substr(1, members.size() - 2);
  if (!selection.empty()) {
    if (!members.empty()) members += ',';
    members += "\"selection\":";
    members += selection;
  }
  return members;
}

// ---- the document and its paths --------------------------------------------------------------

void UpdateBuilder::addDocument(json& out, Document* doc, bool full) {
  if (doc == nullptr) {
    if (full || !sent_.count("document") || !sent_["document"].is_null()) {
      out["document"] = nullptr;
      sent_["document"] = nullptr;
    }
    return;
  }
  // A change the observer did not see (the document assigned whole) counts as a new document.
  bool whole = full || restructured_ || !sent_.count("document") ||
               (!sawChange_ && doc->generation() != generation_);
  if (!whole && !changed_.empty()) {
    if (std::optional<json> paths = pathsJson(*doc)) {
      if (!paths->empty()) out["paths"] = std::move(*paths);
    } else {
      whole = true;
    }
  }
  if (whole) {
    for (const auto& [id, hidden] : changed_) touched_.insert(id);
    out["document"] = documentJson(*doc);
    sent_["document"] = true;  // sent; its text is not kept
    rememberShown(*doc);
  }
  changed_.clear();
  restructured_ = false;
  sawChange_ = false;
  generation_ = doc->generation();
}

json UpdateBuilder::documentJson(const Document& doc) {
  const std::filesystem::path name(doc.name());
  json j = {{"name", name.filename().string()}, {"file", relativeFile(doc.name(), root_)}};
  svg::ExportResult text = svg::studioSvg(doc);
  if (text.ok()) {
    j["svg"] = std::move(text.text);
  } else {
    j["svg"] = nullptr;
    j["error"] = text.error;
  }
  return j;
}

void UpdateBuilder::rememberShown(const Document& doc) {
  // The text just sent carries every edit made since the document was opened.
  shown_.clear();
  for (ArtId id : touched_) {
    if (auto edits = svg::studioElementAttributes(doc, id)) {
      Attributes& page = shown_[edits->element];
      for (auto& [name, value] : edits->attributes) page[name] = value;
    }
  }
}

std::optional<json> UpdateBuilder::pathsJson(const Document& doc) {
  std::map<int, Attributes> elements;
  for (const auto& [id, hiddenBefore] : changed_) {
    const Art* art = doc.findArt(id);
    if (art == nullptr || art->hidden() != hiddenBefore) return std::nullopt;
    std::optional<svg::ElementAttributes> edits = svg::studioElementAttributes(doc, id);
    if (!edits) return std::nullopt;
    touched_.insert(id);
    if (elements.count(edits->element) != 0) continue;
    Attributes& now = elements[edits->element];
    for (auto& [name, value] : edits->attributes) now[name] = std::move(value);
  }
  json out = json::array();
  for (auto& [element, now] : elements) {
    Attributes& page = shown_[element];
    const auto index = element;  // clang 14 cannot capture a structured binding
    auto pageValue = [&page, &doc, index](const std::string& name) {
      auto it = page.find(name);
      return it != page.end() ? it->second : svg::sourceAttribute(doc, index, name);
    };
    json attrs = json::object();
    for (const auto& [name, value] : now) {
      if (pageValue(name) != value) attrs[name] = value ? json(*value) : json(nullptr);
    }
    // What the page was given earlier and the plan no longer changes goes back to the source's.
    for (const auto& [name, value] : page) {
      if (now.count(name) != 0) continue;
      const std::optional<std::string> source = svg::sourceAttribute(doc, element, name);
      if (source != value) attrs[name] = source ? json(*source) : json(nullptr);
    }
    page = std::move(now);
    if (!attrs.empty()) out.push_back({{"e", element}, {"attrs", std::move(attrs)}});
  }
  return out;
}

// ---- the view, the selection, the annotations --------------------------------------------------

json UpdateBuilder::viewJson(const View* view) const {
  if (view == nullptr) return nullptr;
  const AIRealPoint topLeft = view->topLeft();
  return {{"width", view->width},
          {"height", view->height},
          {"zoom", view->zoom},
          {"left", topLeft.h},
          {"top", topLeft.v}};
}

std::string UpdateBuilder::selectionText(const Document* doc, const View* view) {
  std::string out = "{\"paths\":[";
  if (doc != nullptr && view != nullptr && host_.edgesShown()) {
    for (ArtId id : selectionChanged_) selectionPaths_.erase(id);
    const render::ViewMapping map(*view);
    bool first = true;
    for (const render::PathMarks& marks : render::collectSelection(map, *view, *doc)) {
      if (!first) out += ',';
      first = false;
      auto cached = selectionPaths_.find(marks.art);
      if (cached != selectionPaths_.end()) {
        out += cached->second;
        continue;
      }
      std::string text = "{\"color\":\"" + colour(marks.color) + "\",\"outline\":\"" +
                         outline(map, *marks.path) + "\",\"handles\":[";
      for (std::size_t i = 0; i < marks.handles.size(); ++i) {
        const render::PathMarks::Handle& h = marks.handles[i];
        text += i == 0 ? "[" : ",[";
        for (double v : {h.line.x0, h.line.y0, h.line.x1, h.line.y1}) {
          appendNumber(text, v);
          text += ',';
        }
        text.back() = ']';
      }
      text += "],\"anchors\":[";
      for (std::size_t i = 0; i < marks.anchors.size(); ++i) {
        const render::PathMarks::Anchor& a = marks.anchors[i];
        text += i == 0 ? "[" : ",[";
        appendNumber(text, a.x);
        text += ',';
        appendNumber(text, a.y);
        text += a.filled ? ",true]" : ",false]";
      }
      text += "]}";
      out += text;
      selectionPaths_.emplace(marks.art, std::move(text));
    }
  }
  out += "]}";
  return out;
}

json UpdateBuilder::annotationsJson(View* view, bool full) {
  if (view == nullptr) {
    paintedView_ = kNoId;
    paints_ = 0;
    return full ? json{{"whole", true}, {"rects", json::array()}, {"ops", json::array()}}
                : json(nullptr);
  }
  const Host::PaintRecord* record = host_.paintRecord(view->id);
  const uint64_t count = record != nullptr ? record->count : 0;
  const bool sameView = view->id == paintedView_;
  if (!full && sameView && count == paints_) return nullptr;
  // One paint since the last update: its region and its drawing. Anything else (several paints,
  // another view, a page that has nothing yet) needs the whole overlay.
  bool whole = full || !sameView || count > paints_ + 1 || record == nullptr || record->whole;
  if (whole && (full || !sameView || count > paints_ + 1) && host_.depth() == 0 &&
      host_.library() != nullptr && host_.library()->loaded()) {
    host_.invalidateAnnotatorsIfPending(*view);
    host_.paintAnnotations(*view, /*whole=*/true);
    record = host_.paintRecord(view->id);
  }
  paintedView_ = view->id;
  paints_ = record != nullptr ? record->count : 0;
  json rects = json::array();
  if (whole) {
    rects.push_back({0, 0, view->width, view->height});
  } else {
    for (const AIRect& r : record->region) rects.push_back({r.left, r.top, r.right, r.bottom});
  }
  const DisplayList* list = host_.lastAnnotations(view->id);
  return {{"whole", whole},
          {"rects", std::move(rects)},
          {"ops", list != nullptr ? opsJson(*list, pictures_) : json::array()}};
}

// ---- the cursor and the status ---------------------------------------------------------------

json UpdateBuilder::cursorJson() {
  const std::optional<CursorChoice>& choice = host_.cursor();
  if (!choice) return nullptr;
  const PluginResources* resources = host_.dialogs().resources();
  if (choice->standard() || resources == nullptr) return {{"standard", "arrow"}};
  const auto found = resources->cursors.find(choice->id);
  if (found == resources->cursors.end()) return {{"standard", "arrow"}};
  json png = pictures_.cursorUrl(choice->id, found->second);
  if (png.is_null()) return {{"standard", "arrow"}};
  return {{"id", choice->id},
          {"png", std::move(png)},
          {"hotspot", {found->second.hotspotX, found->second.hotspotY}}};
}

json UpdateBuilder::statusJson(const View* view, bool full) {
  const ToolRecord* tool = host_.registrations().currentTool();
  json info = json::object();
  if (tool != nullptr) {
    for (std::size_t i = 0; i < tool->infoVariables.size() && i < tool->infoValues.size(); ++i) {
      info[std::to_string(tool->infoVariables[i])] = tool->infoValues[i];
    }
  }
  UndoManager& undo = host_.undo();
  json status = {{"tool", tool != nullptr ? json(tool->name) : json(nullptr)},
                 {"info", std::move(info)},
                 {"undo",
                  {{"undo", undo.undoCount()},
                   {"redo", undo.redoCount()},
                   {"undoText", undo.undoText()},
                   {"redoText", undo.redoText()}}},
                 {"snapLabel", view != nullptr && !view->snapLabel.empty() ? json(view->snapLabel)
                                                                           : json(nullptr)}};
  const auto& lines = host_.observer().lines();
  if (lines_ > lines.size()) lines_ = lines.size();
  json messages = json::array();
  for (std::size_t i = lines_; i < lines.size(); ++i) messages.push_back(lines[i]);
  lines_ = lines.size();
  auto last = sent_.find("status");
  if (!full && messages.empty() && last != sent_.end() && last->second == status) return nullptr;
  sent_["status"] = status;
  status["messages"] = std::move(messages);
  return status;
}

}  // namespace sqhost::studio
