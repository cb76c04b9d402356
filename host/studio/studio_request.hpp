// What the studio's page asks of the host: requests read from its WebSocket messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sqsdk/types.h"

namespace sqhost::studio {

// The largest message the page may send.
inline constexpr std::size_t kMaxRequestBytes = 64 * 1024;

// One request of the page, as studio/PROTOCOL.md lists them. Which fields matter depends on the
// kind; coordinates are view pixels (item-local pixels for Track).
struct Request {
  enum class Kind {
    Hello,
    About,
    Mouse,
    Key,
    IncreaseDiameter,
    Tool,
    ToolOptions,
    Undo,
    Redo,
    Menu,
    Edges,
    View,
    Dialog,
    Track,
    Flyout,
    Panel,
    Files,
    Open,
    Save,
    // Not sent by the page: the server's own note that a page's connection closed.
    Disconnected,
  };
  Kind kind = Kind::Hello;
  int64_t seq = 0;        // chosen by the page, echoed in the reply
  int connection = 0;     // the server's number for the page's connection
  std::string action;     // mouse/key/dialog/track/flyout/panel: the action word
  std::string name;       // tool, menu, key, dialog name, file
  int32_t modifiers = 0;  // kAIShiftModifier | kAICtrlModifier | kAIAltModifier
  double x = 0, y = 0;    // mouse and track positions
  int32_t item = 0;       // dialog and track: the item id
  double number = 0;      // dialog: the number; flyout: the entry index
  std::string text;       // dialog: the text typed
  bool flag = false;      // edges show; view grid / smartGuides / fit
  std::vector<double>
      values;            // view size [w, h], scroll [dx, dy], zoom [z] or [z, x, y]; panel bounds
  bool hasFile = false;  // save: a file was named
};

struct ParsedRequest {
  std::optional<Request> request;  // set when the message is a valid request
  std::string error;               // otherwise what is wrong, naming the field
  int64_t seq = 0;                 // the message's seq when it could be read, else 0
};

// Reads one message of the page. Never throws; anything that is not a valid request (too large,
// not JSON, not an object, unknown type, a missing or bad field) gives an error and no request.
ParsedRequest parseRequest(std::string_view text);

// {"type":"error","seq":S,"message":M} as text.
std::string errorReply(int64_t seq, const std::string& message);

}  // namespace sqhost::studio
