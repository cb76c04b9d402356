// The host's handling of what the user does: dialog actions, views, undo, tools, mouse and keys.
#include "app/host.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/keyboard.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_tool.h"

namespace sqhost {

bool Host::handleEvent(const Event& e) {
  using K = Event::Kind;
  std::string error;
  bool ok = true;
  dialogs_.setEventModifiers(e.modifiers);
  // An open flyout menu closes when the user does anything but choose from it.
  if (e.kind != K::FlyoutChoose) dialogs_.closeFlyout();
  switch (e.kind) {
    case K::About: {
      SPInterfaceMessage about{};
      send(kSPInterfaceCaller, kSPInterfaceAboutSelector, &about);
      break;
    }
    case K::Tool:
    case K::MouseMove:
    case K::MouseDown:
    case K::MouseDrag:
    case K::MouseUp:
    case K::KeyDown:
    case K::KeyUp:
    case K::IncreaseDiameter:
    case K::ToolOptions:
      ok = handleToolEvent(e, error);
      break;
    case K::ViewZoom:
    case K::ViewCenter:
    case K::ViewSize:
    case K::ViewGrid:
    case K::ViewSmartGuides:
      ok = handleViewEvent(e, error);
      break;
    case K::Undo:
    case K::Redo:
      ok = handleUndoEvent(e, error);
      break;
    case K::DialogPress:
    case K::DialogCheck:
    case K::DialogValue:
    case K::DialogText:
    case K::DialogChoose:
    case K::DialogCancel:
    case K::DialogKey:
      ok = dialogs_.applyAction(*e.dialogAction(), error);
      break;
    case K::Menu:
    case K::FlyoutOpen:
    case K::FlyoutChoose:
    case K::Edges:
      ok = handleMenuEvent(e, error);
      break;
  }
  if (!ok) observer_.note("line " + std::to_string(e.line) + ": " + error);
  idle();
  return ok;
}

bool Host::handleViewEvent(const Event& e, std::string& error) {
  using K = Event::Kind;
  View* view = currentView();
  if (view == nullptr) {
    error = "no document is open";
    return false;
  }
  switch (e.kind) {
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
    default:
      error = "this event is not handled here";
      return false;
  }
  // A zoom, scroll or resize of the current view.
  view->needsFullRepaint = true;
  postNotification("AI Document View Changed Notifier");
  return true;
}

bool Host::handleUndoEvent(const Event& e, std::string& error) {
  const bool undo = e.kind == Event::Kind::Undo;
  const std::string text = undo ? undo_.undoText() : undo_.redoText();
  if (!(undo ? undo_.undo() : undo_.redo())) {
    error = undo ? "there is nothing to undo" : "there is nothing to redo";
    return false;
  }
  observer_.note(std::string(undo ? "undo" : "redo") + " \"" + text + "\"");
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
    case K::ToolOptions: {
      // A double-click in the tool box: the plug-in that made the tool shows its options.
      ToolRecord* chosen = registrations_.toolByName(e.text);
      if (chosen == nullptr) {
        error = "no tool is named \"" + e.text + "\"";
        return false;
      }
      if (chosen->builtIn) {
        error = "tool \"" + e.text + "\" has no options to edit";
        return false;
      }
      AIToolMessage message{};
      message.tool = Registrations::handleOf(*chosen);
      const AIErr result = send(kCallerAITool, kSelectorAIEditToolOptions, &message);
      if (result != kNoErr) {
        error = "the options of tool \"" + e.text + "\" failed: error " + errorText(result);
        return false;
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
