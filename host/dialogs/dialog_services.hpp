// What the dialog manager needs of the host: notes, notifications, resources and the user's input.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/plugin_resources.hpp"
#include "sqsdk/types.h"

namespace sqhost {

// One thing the user does to a dialog: press an item, set a check box, type, choose, cancel, or
// press a key in an item.
struct DialogAction {
  enum class Kind { Press, Check, Value, Text, Choose, Cancel, Key };
  Kind kind = Kind::Press;
  std::string dialog;  // the dialog's name; empty for the front modal dialog
  int32_t item = 0;
  double number = 0;  // Check: 0 or 1; Value: the number typed; Choose: the entry, from 0;
                      // Key: the key (kADMEnterKey ...)
  std::string text;   // Text: what is typed
  int32_t modifiers = 0;
  int line = 0;  // script line it came from, for messages; 0 when not from a script
};

// Where modal dialogs and alerts read the user's answers from. Input that is not a dialog action
// (a mouse movement, a key, a script's session command) shows as Other.
class DialogInput {
 public:
  enum class WaitPolicy {
    // A script: only input already given counts. A dialog that the next input does not answer is
    // cancelled, and that input stays for the host's own loop.
    CancelUnanswered,
    // An interactive front-end: the dialog waits for the user. Input given meanwhile that is not
    // for the dialog is taken and refused.
    WaitForUser,
  };
  struct Next {
    enum class Kind { None, Action, Other };
    Kind kind = Kind::None;  // None: no input left (a script's end, a front-end that closed)
    DialogAction action;     // when kind is Action
  };

  virtual WaitPolicy waitPolicy() const = 0;
  // The next input, not taken yet. Under WaitForUser this blocks until there is input or the
  // source closes.
  virtual Next peek() = 0;
  // Takes the input the last peek() showed.
  virtual void take() = 0;

 protected:
  ~DialogInput() = default;
};

// The host's services, given to the dialog manager when it is made; they outlive it.
class DialogServices {
 public:
  // A line for the host's observer.
  virtual void note(const std::string& line) = 0;
  // An error code as the host's messages name it.
  virtual std::string errorText(AIErr error) const = 0;
  // A notification for the plug-in, delivered when the host is idle.
  virtual void postNotification(const std::string& type) = 0;
  // Delivers pending notifications: after a user action on a panel (nested = false), and from
  // inside a modal loop, which is idle although a plug-in message is still running below it
  // (nested = true).
  virtual void deliverNotifications(bool nested) = 0;
  // The resources of the plug-in library, or null when none is loaded.
  virtual const PluginResources* pluginResources() const = 0;
  // Around every user action applied to a dialog: one undo context each.
  virtual void beginUserAction() = 0;
  virtual void endUserAction() = 0;
  virtual DialogInput& input() = 0;

 protected:
  ~DialogServices() = default;
};

}  // namespace sqhost
