// The host's input events and the queue they wait in.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "sqsdk/types.h"

namespace sqhost {

// One input event. Which fields matter depends on the kind.
struct Event {
  enum class Kind {
    About,             // the user chose the plug-in's About item
    Unload,            // the host unloads the plug-in library (with the "SP Access" messages)
    Reload,            // the host loads it again
    Quit,              // stop processing events
    DialogPress,       // press item `item` of the front dialog
    DialogCheck,       // set check box `item` to `number` (0 or 1) and notify it
    DialogValue,       // type `number` into number field `item`
    DialogText,        // type `text` into text field `item`
    DialogChoose,      // choose entry `number` (from 0) of list or popup item `item`
    DialogCancel,      // cancel the front dialog (Esc)
    Open,              // open the SVG file `text` as the new current document
    New,               // a new empty document
    Save,              // save the current document as SVG to `text`
    Png,               // render the current view to the PNG file `text`
    ViewZoom,          // set the current view's zoom to `number`
    ViewCenter,        // scroll the current view so `point` is at its centre
    ViewSize,          // resize the current view to `item` x `number` pixels
    ViewGrid,          // snap to grid on (`number` 1) or off
    ViewSmartGuides,   // smart guides on (`number` 1) or off
    SelectNone,        // deselect everything
    SelectPath,        // select the path named `text` (all its anchors)
    SelectPoint,       // give point `item` of path `text` the selection state `number`
    MovePoint,         // move point `item` of path `text` with its handles by `point`
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
    Report,            // write the JSON report to `text`
    Preference,        // set the host's own preference `text` to `number`
  };
  Kind kind = Kind::Quit;
  std::string dialog;  // dialog actions: the dialog's name; empty for the front modal dialog
  int32_t item = 0;
  int32_t modifiers = 0;  // kAIShiftModifier, kAICtrlModifier, kAIAltModifier held
  double number = 0;
  AIRealPoint point{0, 0};
  std::string text;
  int line = 0;  // script line the event came from, for messages; 0 when not from a script

  bool isDialogAction() const {
    return kind == Kind::DialogPress || kind == Kind::DialogCheck || kind == Kind::DialogValue ||
           kind == Kind::DialogText || kind == Kind::DialogChoose || kind == Kind::DialogCancel;
  }
};

// First in, first out. A modal dialog takes the events that follow from the same queue.
class EventQueue {
 public:
  void post(Event e) { events_.push_back(std::move(e)); }
  bool empty() const { return events_.empty(); }
  std::size_t size() const { return events_.size(); }
  const Event* peek() const { return events_.empty() ? nullptr : &events_.front(); }
  std::optional<Event> take() {
    if (events_.empty()) return std::nullopt;
    Event e = std::move(events_.front());
    events_.pop_front();
    return e;
  }
  void clear() { events_.clear(); }

 private:
  std::deque<Event> events_;
};

}  // namespace sqhost
