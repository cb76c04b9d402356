// The host's handling of input events: dialogs, documents, views, selection, tools and keys.
#include <cmath>

#include "app/host.hpp"
#include "render/view_renderer.hpp"
#include "script/report.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/keyboard.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_tool.h"
#include "svg/svg_io.hpp"

namespace sqhost {

namespace {

// The first path (depth first, topmost first) whose name is name.
const Art* findPathNamed(const Art& art, const std::string& name) {
  if (art.type() == ArtType::kPath && art.name() == name) return &art;
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    if (const Art* found = findPathNamed(art.child(i), name)) return found;
  }
  return nullptr;
}

const Art* findPathNamed(const Document& doc, const std::string& name) {
  for (std::size_t i = 0; i < doc.layerCount(); ++i) {
    if (const Art* found = findPathNamed(doc.layer(i).group(), name)) return found;
  }
  return nullptr;
}

void collectSelected(const Art& art, std::vector<ArtId>& out) {
  if (art.attributes() & kArtSelected) out.push_back(art.id());
  for (std::size_t i = 0; i < art.childCount(); ++i) collectSelected(art.child(i), out);
}

std::string errorName(AIErr error) {
  return "error " + errorText(error);
}

}  // namespace

std::filesystem::path Host::resolveFile(const std::string& name) const {
  std::filesystem::path p(name);
  if (p.is_relative() && !fileBase_.empty()) p = fileBase_ / p;
  return p;
}

std::filesystem::path Host::resolveOutput(const std::string& name) const {
  std::filesystem::path p(name);
  if (p.is_relative() && !outputBase_.empty()) p = outputBase_ / p;
  return p;
}

bool Host::handleEvent(const Event& e) {
  std::string error;
  bool ok = true;
  dialogs_.setEventModifiers(e.modifiers);
  switch (e.kind) {
    case Event::Kind::About: {
      SPInterfaceMessage about{};
      send(kSPInterfaceCaller, kSPInterfaceAboutSelector, &about);
      break;
    }
    case Event::Kind::Unload:
      ok = unloadPlugin(error);
      if (ok) observer_.note("plug-in library unloaded");
      break;
    case Event::Kind::Reload:
      if (library_ && library_->loaded()) {
        error = "the plug-in is already loaded";
        ok = false;
      } else {
        ok = reloadPlugin(error);
        if (ok) observer_.note("plug-in library reloaded");
      }
      break;
    case Event::Kind::Quit:
      break;
    case Event::Kind::Tool:
    case Event::Kind::MouseMove:
    case Event::Kind::MouseDown:
    case Event::Kind::MouseDrag:
    case Event::Kind::MouseUp:
    case Event::Kind::KeyDown:
    case Event::Kind::KeyUp:
    case Event::Kind::IncreaseDiameter:
      ok = handleToolEvent(e, error);
      break;
    case Event::Kind::SelectNone:
    case Event::Kind::SelectPath:
    case Event::Kind::SelectPoint:
    case Event::Kind::MovePoint:
      ok = handleSelectionEvent(e, error);
      break;
    default:
      if (e.isDialogAction()) {
        ok = dialogs_.applyAction(e, error);
      } else {
        ok = handleDocumentEvent(e, error);
      }
      break;
  }
  if (!ok) observer_.note("line " + std::to_string(e.line) + ": " + error);
  deliverNotifications();
  paintWhenIdle();
  return ok;
}

bool Host::handleDocumentEvent(const Event& e, std::string& error) {
  using K = Event::Kind;
  Document* doc = currentDocument();
  View* view = currentView();
  const bool needsDocument = e.kind != K::Open && e.kind != K::New && e.kind != K::Report &&
                             e.kind != K::Preference && e.kind != K::Undo && e.kind != K::Redo;
  if (needsDocument && (doc == nullptr || view == nullptr)) {
    error = "no document is open";
    return false;
  }
  switch (e.kind) {
    case K::Open: {
      const auto path = resolveFile(e.text);
      svg::ImportResult imported = svg::importSvgFile(path.string());
      if (!imported.ok()) {
        error = "cannot open " + path.string() + ": " + imported.error;
        return false;
      }
      imported.document->setName(path.string());
      openDocument(std::move(*imported.document));
      observer_.note("opened " + path.string());
      return true;
    }
    case K::New:
      openDocument(Document::makeNew());
      observer_.note("new document");
      return true;
    case K::Save: {
      const auto path = resolveOutput(e.text);
      const svg::SaveResult saved = svg::saveSvgFile(*doc, path.string());
      if (!saved.ok()) {
        error = saved.error;
        return false;
      }
      observer_.note("saved " + path.string());
      return true;
    }
    case K::Png: {
      const auto path = resolveOutput(e.text);
      // The image needs the whole display list; a pending full repaint goes first, so the plug-in
      // sees the same messages as when the host paints on its own.
      invalidateAnnotatorsIfPending(*view);
      DisplayList annotations = paintAnnotations(*view, /*whole=*/true);
      render::RenderOptions options;
      options.annotations = &annotations;
      options.cursor = cursorPicture(*view);
      const std::string failed = render::renderViewToPng(*doc, *view, options, path);
      if (!failed.empty()) {
        error = failed;
        return false;
      }
      observer_.note("rendered the view to " + path.string());
      return true;
    }
    case K::ViewZoom:
      if (e.number < 1.0 / 32 || e.number > 64) {
        error = "the zoom must lie between 1/32 and 64";
        return false;
      }
      view->zoom = static_cast<float>(e.number);
      break;
    case K::ViewCenter:
      view->center = e.point;
      break;
    case K::ViewSize:
      view->width = e.item;
      view->height = static_cast<int32_t>(e.number);
      break;
    case K::ViewGrid:
      view->snapToGrid = e.number != 0;
      return true;
    case K::ViewSmartGuides:
      view->smartGuides = e.number != 0;
      return true;
    case K::Undo:
    case K::Redo: {
      const bool undo = e.kind == K::Undo;
      const std::string text = undo ? undo_.undoText() : undo_.redoText();
      if (!(undo ? undo_.undo() : undo_.redo())) {
        error = undo ? "there is nothing to undo" : "there is nothing to redo";
        return false;
      }
      observer_.note(std::string(undo ? "undo" : "redo") + " \"" + text + "\"");
      documentChanged();
      return true;
    }
    case K::Report: {
      const auto path = resolveOutput(e.text);
      const std::string failed = writeReport(*this, path);
      if (!failed.empty()) {
        error = failed;
        return false;
      }
      observer_.note("report written to " + path.string());
      return true;
    }
    case K::Preference: {
      bool stored = false;
      if (e.item == 0) stored = preferences_.putBoolean("", e.text, e.number != 0);
      if (e.item == 1) stored = preferences_.putInteger("", e.text, static_cast<int32_t>(e.number));
      if (e.item == 2) stored = preferences_.putReal("", e.text, e.number);
      if (!stored) {
        error = "the preference \"" + e.text + "\" cannot take that value";
        return false;
      }
      postNotification("AI Preference Changed Notifier");
      return true;
    }
    default:
      error = "this event is not handled here";
      return false;
  }
  // A zoom, scroll or resize of the current view.
  view->needsFullRepaint = true;
  postNotification("AI Document View Changed Notifier");
  return true;
}

bool Host::handleSelectionEvent(const Event& e, std::string& error) {
  Document* doc = currentDocument();
  if (doc == nullptr) {
    error = "no document is open";
    return false;
  }
  AIErr result = kNoErr;
  undo_.beginContext(e.kind == Event::Kind::MovePoint ? "Move Point" : "Selection");
  if (e.kind == Event::Kind::SelectNone) {
    std::vector<ArtId> selected;
    for (std::size_t i = 0; i < doc->layerCount(); ++i)
      collectSelected(doc->layer(i).group(), selected);
    for (ArtId id : selected) {
      if (Art* art = doc->modifyArt(id)) art->setSelected(false);
    }
  } else {
    const Art* path = findPathNamed(*doc, e.text);
    if (path == nullptr) {
      error = "the document has no path named \"" + e.text + "\"";
    } else if (e.kind == Event::Kind::SelectPath) {
      result = doc->modifyArt(path->id())->setSelected(true);
    } else if (e.kind == Event::Kind::MovePoint &&
               static_cast<std::size_t>(e.item) < path->path().size()) {
      AIPathSegment s = path->path().segment(static_cast<std::size_t>(e.item));
      for (AIRealPoint* p : {&s.p, &s.in, &s.out}) {
        p->h += e.point.h;
        p->v += e.point.v;
      }
      result = doc->modifyArt(path->id())
                   ->setSegments(static_cast<std::size_t>(e.item), std::span(&s, 1));
    } else if (static_cast<std::size_t>(e.item) >= path->path().size()) {
      error = "path \"" + e.text + "\" has " + std::to_string(path->path().size()) +
              " points; there is no point " + std::to_string(e.item);
    } else {
      result = doc->modifyArt(path->id())
                   ->setSegmentSelection(static_cast<std::size_t>(e.item),
                                         static_cast<SegmentSelection>(e.number));
    }
  }
  undo_.endContext();
  if (error.empty() && result != kNoErr) error = "the selection was refused: " + errorName(result);
  if (!error.empty()) return false;
  documentChanged();
  return true;
}

AIErr Host::sendToolMessage(const char* selector, const Event& e, int32_t what) {
  ToolRecord* tool = registrations_.currentTool();
  if (tool == nullptr || tool->builtIn) return kNoErr;
  AIEvent event{};
  event.what = what;
  event.when = (eventClock_ += 16);
  event.modifiers = e.modifiers;
  if (View* view = currentView()) {
    if (auto where = view->toView(e.point)) event.where = *where;
  }
  AIToolMessage message{};
  message.tool = Registrations::handleOf(*tool);
  message.cursor = e.point;
  message.pressure = 1;
  message.event = &event;
  return send(kCallerAITool, selector, &message);
}

bool Host::handleToolEvent(const Event& e, std::string& error) {
  using K = Event::Kind;
  ToolRecord* tool = registrations_.currentTool();
  const bool pluginTool = tool != nullptr && !tool->builtIn;
  // Where the mouse is, for the cursor in images of the view; only events that are accepted.
  auto rememberMouse = [&] {
    if (View* view = currentView()) view->lastMouse = e.point;
  };
  switch (e.kind) {
    case K::Tool: {
      ToolRecord* chosen = registrations_.toolByName(e.text);
      if (chosen == nullptr) {
        error = "no tool is named \"" + e.text + "\"";
        return false;
      }
      selectTool(*chosen);
      return true;
    }
    case K::MouseMove:
      if (buttonDown_) {
        error = "the button is down: use drag or up";
        return false;
      }
      rememberMouse();
      if (pluginTool && (tool->options & kAIToolWantsToTrackCursorOption)) {
        sendToolMessage(kSelectorAITrackToolCursor, e, kAIMouseMoveEvent);
      }
      return true;
    case K::MouseDown:
      if (buttonDown_) {
        error = "the button is already down";
        return false;
      }
      if (currentDocument() == nullptr) {
        error = "no document is open";
        return false;
      }
      buttonDown_ = true;
      rememberMouse();
      undo_.beginContext(tool ? tool->title : "Tool");
      sendToolMessage(kSelectorAIToolMouseDown, e, kAIMouseDownEvent);
      undo_.markGestureStart();
      return true;
    case K::MouseDrag:
      if (!buttonDown_) {
        error = "drag without a button down";
        return false;
      }
      rememberMouse();
      sendToolMessage(kSelectorAIToolMouseDrag, e, kAIMouseMoveEvent);
      return true;
    case K::MouseUp:
      if (!buttonDown_) {
        error = "up without a button down";
        return false;
      }
      rememberMouse();
      sendToolMessage(kSelectorAIToolMouseUp, e, kAIMouseUpEvent);
      buttonDown_ = false;
      undo_.endContext();
      return true;
    case K::KeyDown:
    case K::KeyUp: {
      const bool down = e.kind == K::KeyDown;
      SQSetKeyState(e.item, down);
      // Holding the space bar or Ctrl suspends a plug-in tool; letting go resumes it.
      if (pluginTool && !buttonDown_ && (e.item == kVKSpace || e.item == kVKControl)) {
        const bool space = e.item == kVKSpace;
        postNotification(
            down ? (space ? kAIToolSuspendedBySpacebarNotifier : kAIToolSuspendedByCmdKeyNotifier)
                 : (space ? kAIToolResumedBySpacebarNotifier : kAIToolResumedByCmdKeyNotifier));
      }
      return true;
    }
    case K::IncreaseDiameter:
      if (pluginTool && (tool->options & kAIToolWantsDiameterKeysOption)) {
        undo_.beginContext("Increase Diameter");
        sendToolMessage(kSelectorAIIncreaseDiameter, e, kAIKeyDownEvent);
        undo_.endContext();
      }
      return true;
    default:
      error = "this event is not handled here";
      return false;
  }
}

}  // namespace sqhost
