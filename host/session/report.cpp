// The JSON report: a stable snapshot of what a user of the host would see.
#include "session/report.hpp"

#include <cstdio>

#include "app/host.hpp"
#include "io/atomic_file.hpp"
#include "session/report_panels.hpp"
#include "session/session.hpp"

namespace sqhost {

namespace {

using nlohmann::json;

json point(const AIRealPoint& p) {
  return json::array({p.h, p.v});
}

const char* typeName(ArtType type) {
  switch (type) {
    case ArtType::kGroup:
      return "group";
    case ArtType::kPath:
      return "path";
    case ArtType::kCompoundPath:
      return "compound path";
    case ArtType::kPluginArt:
      return "plug-in art";
    case ArtType::kTextFrame:
      return "text frame";
    default:
      return "other";
  }
}

json artJson(const Art& art) {
  json j;
  j["type"] = typeName(art.type());
  if (!art.name().empty()) j["name"] = art.name();
  const uint32_t attrs = art.attributes();
  j["selected"] = (attrs & kArtSelected) != 0;
  if (attrs & kArtLocked) j["locked"] = true;
  if (attrs & kArtHidden) j["hidden"] = true;
  if (art.type() == ArtType::kPath) {
    const PathGeometry& path = art.path();
    j["closed"] = path.closed();
    json segments = json::array();
    for (std::size_t i = 0; i < path.size(); ++i) {
      const AIPathSegment& s = path.segment(i);
      segments.push_back({{"anchor", point(s.p)},
                          {"in", point(s.in)},
                          {"out", point(s.out)},
                          {"corner", s.corner != 0},
                          {"selection", static_cast<int>(path.selection(i))}});
    }
    j["segments"] = std::move(segments);
  }
  if (const Art* textPath = art.textPath()) j["path"] = artJson(*textPath);
  if (const Art* result = art.pluginResult()) j["result"] = artJson(*result);
  if (art.childCount() > 0 && art.type() != ArtType::kPluginArt &&
      art.type() != ArtType::kTextFrame) {
    json children = json::array();
    for (std::size_t i = 0; i < art.childCount(); ++i) children.push_back(artJson(art.child(i)));
    j["children"] = std::move(children);
  }
  return j;
}

json documentJson(const Document& doc, bool current) {
  json j;
  j["name"] = doc.name();
  j["current"] = current;
  json layers = json::array();
  for (std::size_t i = 0; i < doc.layerCount(); ++i) {
    const Layer& layer = doc.layer(i);
    json art = json::array();
    for (std::size_t k = 0; k < layer.group().childCount(); ++k) {
      art.push_back(artJson(layer.group().child(k)));
    }
    const AIRGBColor c = layer.color();
    layers.push_back({{"name", layer.name()},
                      {"color", json::array({c.red, c.green, c.blue})},
                      {"visible", layer.visible()},
                      {"locked", !layer.editable()},
                      {"art", std::move(art)}});
  }
  j["layers"] = std::move(layers);
  json artboards = json::array();
  for (std::size_t i = 0; i < doc.artboardCount(); ++i) {
    const AIRealRect& b = doc.artboard(i).bounds;
    artboards.push_back({{"bounds", json::array({b.left, b.top, b.right, b.bottom})},
                         {"active", i == doc.activeArtboard()}});
  }
  j["artboards"] = std::move(artboards);
  j["warnings"] = doc.warnings();
  return j;
}

json rectJson(const AIRect& r) {
  return json::array({r.left, r.top, r.right, r.bottom});
}

const char* opName(DrawOp::Kind kind) {
  switch (kind) {
    case DrawOp::Kind::Line:
      return "line";
    case DrawOp::Kind::FillRect:
      return "fill rect";
    case DrawOp::Kind::FrameRect:
      return "frame rect";
    case DrawOp::Kind::ClearRect:
      return "clear rect";
    case DrawOp::Kind::FillOval:
      return "fill oval";
    case DrawOp::Kind::FrameOval:
      return "frame oval";
    case DrawOp::Kind::Icon:
      return "icon";
    case DrawOp::Kind::Text:
      return "text";
  }
  return "other";
}

json displayListJson(const DisplayList& list) {
  json ops = json::array();
  for (const DrawOp& op : list.ops) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%08X", op.rgba);
    json j = {{"op", opName(op.kind)}, {"rect", rectJson(op.rect)}, {"color", colour}};
    if (op.kind == DrawOp::Kind::Line) {
      j["from"] = json::array({op.from.h, op.from.v});
      j["to"] = json::array({op.to.h, op.to.v});
    }
    if (op.kind == DrawOp::Kind::Icon || op.kind == DrawOp::Kind::Text) {
      j["at"] = json::array({op.from.h, op.from.v});
    }
    // Which picture an icon showed (its resource id), and which font a text was drawn in.
    if (op.kind == DrawOp::Kind::Icon) {
      j["picture"] = op.icon ? json(op.icon->resourceID) : json();
      j["pictureIndex"] = op.icon ? json(op.icon->resourceIndex) : json();
    }
    if (op.kind == DrawOp::Kind::Text) {
      j["text"] = op.text;
      j["font"] = op.font;
    }
    json clip = json::array();
    for (const AIRect& r : op.clip) clip.push_back(rectJson(r));
    j["clip"] = std::move(clip);
    ops.push_back(std::move(j));
  }
  return ops;
}

json viewJson(const View& v) {
  json invalidated = json::array();
  for (const AIRect& r : v.invalidationLog) invalidated.push_back(rectJson(r));
  return {{"zoom", v.zoom},
          {"center", point(v.center)},
          {"size", json::array({v.width, v.height})},
          {"snapToGrid", v.snapToGrid},
          {"smartGuides", v.smartGuides},
          {"snapLabel", v.snapLabel.empty() ? json() : json(v.snapLabel)},
          {"invalidated", std::move(invalidated)}};
}

}  // namespace

json makeReport(Session& session) {
  Host& host = session.host();
  json report;
  report["format"] = 1;
  json documents = json::array();
  DocumentList& list = host.documents();
  for (std::size_t i = 0; i < list.count(); ++i) {
    json d = documentJson(list.at(i), i == 0);
    if (const View* v = host.views().front(list.at(i).id())) d["view"] = viewJson(*v);
    documents.push_back(std::move(d));
  }
  report["documents"] = std::move(documents);
  host.clearInvalidationLogs();

  ReportMarks& marks = session.reportMarks();
  json alerts = json::array();
  const auto& alertRecords = host.dialogs().alerts();
  for (std::size_t i = marks.alerts; i < alertRecords.size(); ++i) {
    alerts.push_back(
        {{"kind", alertRecords[i].kind == AlertRecord::Kind::Error ? "error" : "message"},
         {"text", alertRecords[i].text}});
  }
  marks.alerts = alertRecords.size();
  report["alerts"] = std::move(alerts);

  json dialogs = json::array();
  const auto& shown = host.dialogs().dialogsShown();
  for (std::size_t i = marks.dialogs; i < shown.size(); ++i) {
    json items = json::array();
    for (const ItemSnapshot& item : shown[i].items) {
      items.push_back({{"id", item.id},
                       {"text", item.text},
                       {"checked", item.checked},
                       {"enabled", item.enabled},
                       {"visible", item.visible}});
    }
    dialogs.push_back({{"name", shown[i].name},
                       {"title", shown[i].title},
                       {"closedWith", shown[i].closedWith},
                       {"cancelled", shown[i].cancelled},
                       {"items", std::move(items)}});
  }
  marks.dialogs = shown.size();
  report["dialogs"] = std::move(dialogs);

  report["menus"] = menusJson(host);
  report["panels"] = panelsJson(host);
  report["flyout"] = flyoutJson(host);
  report["edgesShown"] = host.edgesShown();

  const auto& cursor = host.cursor();
  report["cursor"] = cursor ? json(cursor->id) : json(nullptr);

  const ToolRecord* tool = host.registrations().currentTool();
  report["tool"] = tool ? json(tool->name) : json(nullptr);
  json info = json::object();
  if (tool != nullptr) {
    for (std::size_t i = 0; i < tool->infoVariables.size() && i < tool->infoValues.size(); ++i) {
      info[std::to_string(tool->infoVariables[i])] = tool->infoValues[i];
    }
  }
  report["info"] = std::move(info);

  report["undo"] = {{"undo", host.undo().undoCount()},
                    {"redo", host.undo().redoCount()},
                    {"undoText", host.undo().undoText()},
                    {"redoText", host.undo().redoText()}};

  json annotations = nullptr;
  if (const View* v = host.currentView()) {
    if (const DisplayList* list = host.lastAnnotations(v->id)) annotations = displayListJson(*list);
  }
  report["annotations"] = std::move(annotations);

  const auto& lines = host.observer().lines();
  json messages = json::array();
  for (std::size_t i = marks.lines; i < lines.size(); ++i) messages.push_back(lines[i]);
  marks.lines = lines.size();
  report["messages"] = std::move(messages);
  return report;
}

std::string reportText(const nlohmann::json& report) {
  return report.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string writeReport(Session& session, const std::filesystem::path& path) {
  return io::writeFileAtomically(path, reportText(makeReport(session)));
}

}  // namespace sqhost
