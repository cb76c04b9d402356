// What a user does, as events, and the sources the host's loop takes them from.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "dialogs/dialog_services.hpp"
#include "sqsdk/types.h"

namespace sqhost {

// One thing a user does. Which fields matter depends on the kind. What scripts and front-ends do
// around the user (open, save, report, ...) are session commands, not events.
struct Event {
  enum class Kind {
    About,             // the user chose the plug-in's About item
    DialogPress,       // press item `item` of the front dialog
    DialogCheck,       // set check box `item` to `number` (0 or 1) and notify it
    DialogValue,       // type `number` into number field `item`
    DialogText,        // type `text` into text field `item`
    DialogChoose,      // choose entry `number` (from 0) of list or popup item `item`
    DialogCancel,      // cancel the front dialog (Esc)
    DialogKey,         // key `number` (a kADM...Key value) in item `item`, which takes the focus
    ViewZoom,          // set the current view's zoom to `number`
    ViewCenter,        // scroll the current view so `point` is at its centre
    ViewSize,          // resize the current view to `item` x `number` pixels
    ViewGrid,          // snap to grid on (`number` 1) or off
    ViewSmartGuides,   // smart guides on (`number` 1) or off
    Tool,              // choose the tool named `text`
    MouseMove,         // the mouse moves to `point` (artwork) with no button pressed
    MouseDown,         // the button goes down at `point`
    MouseDrag,         // the mouse moves to `point` with the button held
    MouseUp,           // the button comes up at `point`
    KeyDown,           // key `item` (virtual-key code) goes down
    KeyUp,             // key `item` comes up
    IncreaseDiameter,  // the increase-diameter key of the current tool
    Undo,              // the user chooses Undo
    Redo,              // the user chooses Redo
    Menu,              // the user opens the menus and chooses the menu item named `text`
    FlyoutOpen,        // the user opens the front panel's flyout menu with `modifiers` held
    FlyoutChoose,      // the user chooses entry `number` (from 0) of the open flyout menu
    Edges,             // the user chooses Show Edges (`number` 1) or Hide Edges (0)
    ToolOptions,       // the user double-clicks the tool named `text` in the tool box
  };
  Kind kind = Kind::MouseMove;
  std::string dialog;  // dialog actions: the dialog's name; empty for the front modal dialog
  int32_t item = 0;
  int32_t modifiers = 0;  // kAIShiftModifier, kAICtrlModifier, kAIAltModifier held
  double number = 0;
  AIRealPoint point{0, 0};
  std::string text;
  int line = 0;  // script line the event came from, for messages; 0 when not from a script

  bool isDialogAction() const {
    return kind == Kind::DialogPress || kind == Kind::DialogCheck || kind == Kind::DialogValue ||
           kind == Kind::DialogText || kind == Kind::DialogChoose || kind == Kind::DialogCancel ||
           kind == Kind::DialogKey;
  }
  // The dialog action this event is, or nothing.
  std::optional<DialogAction> dialogAction() const;
};

// Where the host takes events from, one at a time, and a modal dialog the events that answer it.
// A source that waits belongs to an interactive front-end: it blocks until the user does
// something. One that does not wait holds a script's events: when they run out there is nothing.
class EventSource {
 public:
  virtual ~EventSource() = default;
  virtual bool waits() const = 0;
  virtual void post(Event e) = 0;
  // The next event, without taking it or taken. Nothing when none is left (a waiting source:
  // once it is closed and empty).
  virtual std::optional<Event> peek() = 0;
  virtual std::optional<Event> take() = 0;
  virtual bool empty() const = 0;
  virtual std::size_t size() const = 0;
  virtual void clear() = 0;
};

// A script's events, first in, first out; never waits.
class EventQueue final : public EventSource {
 public:
  bool waits() const override { return false; }
  void post(Event e) override { events_.push_back(std::move(e)); }
  std::optional<Event> peek() override;
  std::optional<Event> take() override;
  bool empty() const override { return events_.empty(); }
  std::size_t size() const override { return events_.size(); }
  void clear() override { events_.clear(); }

 private:
  std::deque<Event> events_;
};

// The user's events from a front-end: other threads post, the host's thread waits for them. After
// close() the events already posted are still taken, then the source answers nothing.
class BlockingEventQueue final : public EventSource {
 public:
  bool waits() const override { return true; }
  void post(Event e) override;
  void close();
  std::optional<Event> peek() override;
  std::optional<Event> take() override;
  bool empty() const override;
  std::size_t size() const override;
  void clear() override;

 private:
  // Waits until an event is queued or the queue is closed; true when there is an event.
  bool waitForEvent(std::unique_lock<std::mutex>& lock);

  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Event> events_;
  bool closed_ = false;
};

}  // namespace sqhost
