// The studio's session on the host's thread: requests become events and commands, and updates.
#include "studio/studio_session.hpp"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

#include "sqsdk/keyboard.h"
#include "sqsdk/suites/adm_tracker.h"
#include "studio/update_builder.hpp"

namespace sqhost::studio {
namespace {

using nlohmann::json;
using RK = Request::Kind;
using EK = Event::Kind;

constexpr std::size_t kMaxListedFiles = 10'000;
constexpr int kMaxListedDepth = 32;

// The virtual-key code of a key name of the protocol (letters as their capital).
int32_t keyCode(const std::string& name) {
  if (name == "space") return kVKSpace;
  if (name == "esc") return kVKEscape;
  if (name == "shift") return kVKShift;
  if (name == "ctrl") return kVKControl;
  if (name == "alt") return kVKAlt;
  if (name == "enter") return 0x0D;
  if (name == "tab") return 0x09;
  return std::toupper(static_cast<unsigned char>(name.front()));
}

// The host's last note, which names why an event or command failed, without its line prefix.
std::string lastNote(Host& host, const std::string& fallback) {
  const auto& lines = host.observer().lines();
  if (lines.empty()) return fallback;
  std::string line = lines.back();
  const std::string prefix = "line 0: ";
  if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
  return line;
}

bool inside(const std::filesystem::path& base, const std::filesystem::path& p) {
  auto b = base.begin();
  auto q = p.begin();
  for (; b != base.end(); ++b, ++q) {
    if (q == p.end() || *q != *b) return false;
  }
  return true;
}

// {"type":"update","seq":S[,"full":true][,members]}.
std::string update(int64_t seq, const std::string& members, bool full) {
  std::string message = "{\"type\":\"update\",\"seq\":" + std::to_string(seq);
  if (full) message += ",\"full\":true";
  if (!members.empty()) {
    message += ',';
    message += members;
  }
  message += '}';
  return message;
}

}  // namespace

StudioSession::StudioSession(Session& session, std::filesystem::path root)
    : session_(session),
      root_(std::move(root)),
      updates_(std::make_unique<UpdateBuilder>(session.host(), root_)) {}

StudioSession::~StudioSession() = default;

std::string StudioSession::update(int64_t seq) {
  return studio::update(seq, updates_->build(false), false);
}

std::string StudioSession::fullUpdate(int64_t seq) {
  return studio::update(seq, updates_->build(true), true);
}

std::optional<Event> StudioSession::event(const Request& r, std::vector<Event>& more,
                                          std::string& error) {
  Host& host = session_.host();
  Event e;
  e.modifiers = r.modifiers;
  switch (r.kind) {
    case RK::Mouse: {
      const View* view = host.currentView();
      if (view == nullptr) {
        error = "no document is open";
        return std::nullopt;
      }
      // View pixels to artwork points with the view's own mapping.
      const AIRealPoint topLeft = view->topLeft();
      e.point = {static_cast<float>(topLeft.h + r.x / view->zoom),
                 static_cast<float>(topLeft.v - r.y / view->zoom)};
      e.kind = r.action == "move"   ? EK::MouseMove
               : r.action == "down" ? EK::MouseDown
               : r.action == "drag" ? EK::MouseDrag
                                    : EK::MouseUp;
      return e;
    }
    case RK::Key:
      e.kind = r.action == "down" ? EK::KeyDown : EK::KeyUp;
      e.item = keyCode(r.name);
      return e;
    case RK::IncreaseDiameter:
      e.kind = EK::IncreaseDiameter;
      return e;
    case RK::Tool:
    case RK::ToolOptions:
    case RK::Menu:
      e.kind = r.kind == RK::Tool          ? EK::Tool
               : r.kind == RK::ToolOptions ? EK::ToolOptions
                                           : EK::Menu;
      e.text = r.name;
      return e;
    case RK::Undo:
    case RK::Redo:
      e.kind = r.kind == RK::Undo ? EK::Undo : EK::Redo;
      return e;
    case RK::About:
      e.kind = EK::About;
      return e;
    case RK::Edges:
      e.kind = EK::Edges;
      e.number = r.flag ? 1 : 0;
      return e;
    case RK::View:
      return viewEvent(r, more, error);
    case RK::Dialog: {
      static const std::pair<const char*, EK> kActions[] = {
          {"press", EK::DialogPress}, {"check", EK::DialogCheck},   {"value", EK::DialogValue},
          {"text", EK::DialogText},   {"choose", EK::DialogChoose}, {"cancel", EK::DialogCancel},
          {"key", EK::DialogKey}};
      for (const auto& [word, kind] : kActions) {
        if (r.action == word) e.kind = kind;
      }
      e.dialog = r.name;
      e.item = r.item;
      e.number = r.number;
      e.text = r.text;
      return e;
    }
    case RK::Flyout:
      if (r.action == "close") break;
      e.kind = r.action == "open" ? EK::FlyoutOpen : EK::FlyoutChoose;
      e.number = r.number;
      return e;
    default:
      break;
  }
  error = "this request is no user input";
  return std::nullopt;
}

std::optional<Event> StudioSession::viewEvent(const Request& r, std::vector<Event>& more,
                                              std::string& error) {
  Host& host = session_.host();
  const View* view = host.currentView();
  if (view == nullptr) {
    error = "no document is open";
    return std::nullopt;
  }
  Event e;
  if (r.action == "size") {
    e.kind = EK::ViewSize;
    e.item = static_cast<int32_t>(r.values[0]);
    e.number = r.values[1];
  } else if (r.action == "zoom") {
    e.kind = EK::ViewZoom;
    e.number = r.values[0];
    if (r.values.size() == 3) {
      // The artwork point under the pixel stays under it at the new zoom.
      const AIRealPoint topLeft = view->topLeft();
      const double x = r.values[1];
      const double y = r.values[2];
      const double h = topLeft.h + x / view->zoom;
      const double v = topLeft.v - y / view->zoom;
      const double z = static_cast<float>(r.values[0]);
      Event centre;
      centre.kind = EK::ViewCenter;
      centre.point = {static_cast<float>(h + (view->width / 2.0 - x) / z),
                      static_cast<float>(v - (view->height / 2.0 - y) / z)};
      more.push_back(centre);
    }
  } else if (r.action == "scroll") {
    e.kind = EK::ViewCenter;
    e.point = {static_cast<float>(view->center.h + r.values[0] / view->zoom),
               static_cast<float>(view->center.v - r.values[1] / view->zoom)};
  } else if (r.action == "grid" || r.action == "smartGuides") {
    e.kind = r.action == "grid" ? EK::ViewGrid : EK::ViewSmartGuides;
    e.number = r.flag ? 1 : 0;
  } else {
    // Fit: the active artboard, whole, at the centre.
    const Document* doc = host.currentDocument();
    const AIRealRect b = doc->artboard(doc->activeArtboard()).bounds;
    const double width = std::max(1e-3, static_cast<double>(b.right) - b.left);
    const double height = std::max(1e-3, static_cast<double>(b.top) - b.bottom);
    const double zoom =
        std::clamp(std::min(view->width / width, view->height / height), 1.0 / 32, 64.0);
    e.kind = EK::ViewZoom;
    e.number = zoom;
    Event centre;
    centre.kind = EK::ViewCenter;
    centre.point = {static_cast<float>((static_cast<double>(b.left) + b.right) / 2),
                    static_cast<float>((static_cast<double>(b.top) + b.bottom) / 2)};
    more.push_back(centre);
  }
  return e;
}

std::string StudioSession::handle(const Request& r) {
  Host& host = session_.host();
  std::string error;
  switch (r.kind) {
    case RK::Hello:
      return fullUpdate(r.seq);
    case RK::Disconnected:
      connectionClosed();
      return {};
    case RK::Files:
      return listFiles(r.seq);
    case RK::Open:
      return open(r);
    case RK::Save:
      return save(r);
    case RK::Track: {
      static const std::pair<const char*, int32_t> kActions[] = {{"move", kADMMouseMoveAction},
                                                                 {"down", kADMButtonDownAction},
                                                                 {"drag", kADMMouseDragAction},
                                                                 {"up", kADMButtonUpAction}};
      TrackEvent t;
      for (const auto& [word, action] : kActions) {
        if (r.action == word) t.action = action;
      }
      t.point = {static_cast<int32_t>(r.x), static_cast<int32_t>(r.y)};
      t.modifiers = r.modifiers;
      const bool ok = host.dialogs().trackItem(r.name, r.item, t, error);
      host.idle();
      return ok ? std::string() : errorReply(r.seq, error);
    }
    case RK::Panel: {
      bool ok = false;
      if (r.action == "move") {
        const AIRect bounds{static_cast<int32_t>(r.values[0]), static_cast<int32_t>(r.values[1]),
                            static_cast<int32_t>(r.values[2]), static_cast<int32_t>(r.values[3])};
        ok = host.dialogs().userSetBounds(r.name, bounds, error);
      } else {
        ok = host.dialogs().userShow(r.name, r.action == "show", error);
      }
      host.idle();
      return ok ? std::string() : errorReply(r.seq, error);
    }
    case RK::Flyout:
      if (r.action == "close") {
        host.dialogs().closeFlyout();
        return {};
      }
      break;
    default:
      break;
  }
  std::vector<Event> more;
  std::optional<Event> e = event(r, more, error);
  if (!e) return errorReply(r.seq, error);
  more.insert(more.begin(), *e);
  for (const Event& each : more) {
    if (each.kind == EK::KeyDown) held_.insert(each.item);
    if (each.kind == EK::KeyUp) held_.erase(each.item);
    if (!host.handleEvent(each)) return errorReply(r.seq, lastNote(host, "the host refused it"));
  }
  return {};
}

std::optional<Event> StudioSession::nestedEvent(const Request& r, std::string& reply) {
  reply.clear();
  switch (r.kind) {
    case RK::Hello:
      reply = fullUpdate(r.seq);
      return std::nullopt;
    case RK::Mouse:
    case RK::Key:
    case RK::IncreaseDiameter:
    case RK::Dialog: {
      // The dialog's loop takes what answers it and refuses the rest.
      std::vector<Event> more;
      std::string error;
      std::optional<Event> e = event(r, more, error);
      if (!e) reply = errorReply(r.seq, error);
      return e;
    }
    case RK::Track: {
      // A custom-drawn item of the dialog waiting tracks the mouse as it would outside it.
      if (!r.name.empty() && r.name != "alert") {
        const Dialog* d = session_.host().dialogs().findDialog(r.name);
        if (d == nullptr || !d->running) break;
      }
      reply = handle(r);
      return std::nullopt;
    }
    case RK::Disconnected:
      return std::nullopt;
    default:
      break;
  }
  reply = errorReply(r.seq, "a dialog is open: answer it first");
  return std::nullopt;
}

void StudioSession::connectionClosed() {
  Host& host = session_.host();
  if (host.buttonDown()) {
    Event up;
    up.kind = EK::MouseUp;
    if (const View* view = host.currentView()) up.point = view->lastMouse.value_or(view->center);
    host.handleEvent(up);
  }
  const std::set<int32_t> held = std::move(held_);
  held_.clear();
  for (int32_t key : held) {
    Event e;
    e.kind = EK::KeyUp;
    e.item = key;
    host.handleEvent(e);
  }
}

// ---- files -------------------------------------------------------------------------------------

std::string StudioSession::listFiles(int64_t seq) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path base = fs::weakly_canonical(root_, ec);
  if (ec) return errorReply(seq, "the folder cannot be read: " + ec.message());
  std::vector<std::string> files;
  fs::recursive_directory_iterator it(base, fs::directory_options::skip_permission_denied, ec);
  if (ec) return errorReply(seq, "the folder cannot be read: " + ec.message());
  for (; it != fs::recursive_directory_iterator() && files.size() < kMaxListedFiles;
       it.increment(ec)) {
    if (ec) break;
    if (it.depth() >= kMaxListedDepth) it.disable_recursion_pending();
    const fs::directory_entry& entry = *it;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext != ".svg" || !entry.is_regular_file(ec)) continue;
    // A link is listed only when what it leads to is inside the folder.
    const fs::path target = fs::weakly_canonical(entry.path(), ec);
    if (ec || !inside(base, target)) continue;
    files.push_back(entry.path().lexically_relative(base).generic_string());
  }
  std::sort(files.begin(), files.end());
  const std::string list = json(files).dump(-1, ' ', false, json::error_handler_t::replace);
  return studio::update(seq, "\"files\":" + list, false);
}

std::string StudioSession::open(const Request& r) {
  Host& host = session_.host();
  std::string error;
  const std::optional<std::filesystem::path> path = resolveInRoot(root_, r.name, error);
  if (!path) return errorReply(r.seq, "file: " + error);
  if (host.buttonDown()) return errorReply(r.seq, "the button is down: finish the drag first");
  SessionCommand c;
  c.kind = SessionCommand::Kind::Open;
  c.name = path->string();
  if (!session_.execute(c)) return errorReply(r.seq, lastNote(host, "the file cannot be opened"));
  return {};
}

std::string StudioSession::save(const Request& r) {
  Host& host = session_.host();
  const Document* doc = host.currentDocument();
  if (doc == nullptr) return errorReply(r.seq, "no document is open");
  std::string error;
  std::string name = r.name;
  if (!r.hasFile) {
    // The document's own file, which must lie inside the folder.
    if (doc->name().empty()) return errorReply(r.seq, "the document has no file yet: name one");
    std::error_code ec;
    const auto base = std::filesystem::weakly_canonical(root_, ec);
    const auto own = std::filesystem::weakly_canonical(doc->name(), ec);
    if (ec || !inside(base, own)) {
      return errorReply(r.seq, "the document's file is outside the folder: name one inside it");
    }
    name = own.lexically_relative(base).generic_string();
  }
  const std::optional<std::filesystem::path> path = resolveInRoot(root_, name, error);
  if (!path) return errorReply(r.seq, "file: " + error);
  SessionCommand c;
  c.kind = SessionCommand::Kind::Save;
  c.name = path->string();
  if (!session_.execute(c)) return errorReply(r.seq, lastNote(host, "the file cannot be saved"));
  return {};
}

std::optional<std::filesystem::path> resolveInRoot(const std::filesystem::path& root,
                                                   const std::string& name, std::string& error) {
  namespace fs = std::filesystem;
  if (name.empty()) {
    error = "no file is named";
    return std::nullopt;
  }
  if (name.find('\0') != std::string::npos || name.find('\\') != std::string::npos) {
    error = "\"" + name + "\" holds a character a file name here cannot have";
    return std::nullopt;
  }
  const fs::path relative(name);
  if (relative.is_absolute() || relative.has_root_name() || relative.has_root_directory()) {
    error = "\"" + name + "\" is absolute: name a file inside the folder";
    return std::nullopt;
  }
  for (const fs::path& part : relative) {
    if (part == "..") {
      error = "\"" + name + "\" leads out of the folder (\"..\")";
      return std::nullopt;
    }
  }
  std::string ext = relative.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext != ".svg" || relative.filename() == ".svg") {
    error = "\"" + name + "\" is not an .svg file";
    return std::nullopt;
  }
  std::error_code ec;
  const fs::path base = fs::weakly_canonical(root, ec);
  if (ec) {
    error = "the folder cannot be read: " + ec.message();
    return std::nullopt;
  }
  const fs::path full = fs::weakly_canonical(base / relative, ec);
  if (ec) {
    error = "\"" + name + "\" cannot be resolved: " + ec.message();
    return std::nullopt;
  }
  // A link on the way may lead elsewhere: what it resolves to must still be inside.
  if (!inside(base, full) || full == base) {
    error = "\"" + name + "\" leads out of the folder through a link";
    return std::nullopt;
  }
  return full;
}

}  // namespace sqhost::studio
