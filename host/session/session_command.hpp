// What scripts and front-ends do around the user: session commands, and the steps of a session.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "app/events.hpp"
#include "prefs/preference_store.hpp"
#include "sqsdk/types.h"

namespace sqhost {

// One session command. Which fields matter depends on the kind.
struct SessionCommand {
  enum class Kind {
    Open,         // open the SVG file `name` as the new current document
    New,          // a new empty document
    Close,        // close the current document
    Save,         // save the current document as SVG to `name`
    Png,          // render the current view to the PNG file `name`
    PngPanel,     // render the floating panel named `name` to the PNG file `file`
    Report,       // write the JSON report to `name`
    SelectNone,   // deselect everything
    SelectPath,   // select the path named `name` (all its anchors)
    SelectPoint,  // give point `index` of path `name` the selection state `state`
    MovePoint,    // move point `index` of path `name` with its handles by `offset`
    Preference,   // set the host's own preference `name` to `value`, read as `valueType`
    Unload,       // unload the plug-in library (with the "SP Access" messages)
    Reload,       // load it again
    Quit,         // end the session here
  };
  enum class ValueType { Boolean, Integer, Real };

  Kind kind = Kind::Quit;
  std::string name;  // a file, a path's SVG id, a preference key or a panel's name
  std::string file;  // the file a panel is rendered to
  int32_t index = 0;
  int32_t state = 0;
  double value = 0;
  ValueType valueType = ValueType::Boolean;
  AIRealPoint offset{0, 0};
  int line = 0;  // script line the command came from, for messages; 0 when not from a script
};

// The value a Preference command stores: for one of the host's own preferences, converted to its
// type when it fits its range; nullopt with the reason in error when it does not.
std::optional<PreferenceValue> preferenceCommandValue(const SessionCommand& command,
                                                      std::string& error);

// A session is a sequence of commands and of what the user does.
using SessionStep = std::variant<SessionCommand, Event>;

}  // namespace sqhost
