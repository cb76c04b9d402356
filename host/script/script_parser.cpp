// Session scripts: a small line-based language that becomes session commands and user events.
#include "script/script_parser.hpp"

#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>

namespace sqhost {

namespace {

bool parseInteger(const std::string& word, int32_t& out) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, out);
  return ec == std::errc() && ptr == end;
}

bool parseNumber(const std::string& word, double& out) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, out);
  return ec == std::errc() && ptr == end && std::isfinite(out);
}

bool parseModifiers(const std::vector<std::string>& w, std::size_t from, int32_t& out,
                    std::string& error);

// Keys of "dialog ... key ITEM KEY" (adm_tracker.h codes).
bool parseDialogKey(const std::string& word, double& out, std::string& error) {
  static const std::map<std::string, int32_t> kKeys = {
      {"enter", 3}, {"return", 13}, {"tab", 9},      {"esc", 27},
      {"up", 30},   {"down", 31},   {"backspace", 8}};
  const auto found = kKeys.find(word);
  if (found == kKeys.end()) {
    error = "unknown key \"" + word + "\" (enter, return, tab, esc, up, down, backspace)";
    return false;
  }
  out = found->second;
  return true;
}

// Parses the words after "dialog": [NAME] ACTION [ITEM [VALUE]] [shift] [ctrl] [alt].
bool parseDialog(const std::vector<std::string>& w, Event& e, std::string& error) {
  static const std::map<std::string, Event::Kind> kActions = {
      {"press", Event::Kind::DialogPress},   {"check", Event::Kind::DialogCheck},
      {"value", Event::Kind::DialogValue},   {"text", Event::Kind::DialogText},
      {"choose", Event::Kind::DialogChoose}, {"cancel", Event::Kind::DialogCancel},
      {"key", Event::Kind::DialogKey},
  };
  std::size_t at = 1;
  if (at < w.size() && kActions.count(w[at]) == 0) e.dialog = w[at++];
  if (at >= w.size() || kActions.count(w[at]) == 0) {
    error = "expected a dialog action (press, check, value, text, choose, key or cancel)";
    return false;
  }
  e.kind = kActions.at(w[at++]);
  if (e.kind == Event::Kind::DialogCancel) {
    if (at != w.size()) {
      error = "\"dialog cancel\" takes no item";
      return false;
    }
    return true;
  }
  if (at >= w.size() || !parseInteger(w[at], e.item)) {
    error = "expected an item number after \"" + w[at - 1] + "\"";
    return false;
  }
  ++at;
  const std::size_t wanted = e.kind == Event::Kind::DialogPress ? 0 : 1;
  if (w.size() < at + wanted) {
    error = "expected one value after the item number";
    return false;
  }
  // Modifier keys held during the action follow its arguments.
  if (!parseModifiers(w, at + wanted, e.modifiers, error)) {
    if (wanted == 0) error = "\"dialog press\" takes an item number and modifier keys";
    return false;
  }
  if (wanted == 0) return true;
  const std::string& value = w[at];
  switch (e.kind) {
    case Event::Kind::DialogKey:
      return parseDialogKey(value, e.number, error);
    case Event::Kind::DialogCheck:
      if (value == "on" || value == "1") {
        e.number = 1;
      } else if (value == "off" || value == "0") {
        e.number = 0;
      } else {
        error = "a check box is set \"on\" or \"off\", not \"" + value + "\"";
        return false;
      }
      return true;
    case Event::Kind::DialogValue:
      if (!parseNumber(value, e.number)) {
        error = "\"" + value + "\" is not a number";
        return false;
      }
      return true;
    case Event::Kind::DialogChoose: {
      int32_t index = 0;
      if (!parseInteger(value, index) || index < 0) {
        error = "a list entry is chosen by its position from 0, not \"" + value + "\"";
        return false;
      }
      e.number = index;
      return true;
    }
    default:
      e.text = value;
      return true;
  }
}

}  // namespace

bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
        word += line[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == '"') {
      quoted = true;
      inWord = true;
    } else if (c == '#') {
      break;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) {
    error = "a quoted text is not closed";
    return false;
  }
  if (inWord) words.push_back(word);
  return true;
}

namespace {

bool parseModifiers(const std::vector<std::string>& w, std::size_t from, int32_t& out,
                    std::string& error) {
  out = 0;
  for (std::size_t i = from; i < w.size(); ++i) {
    if (w[i] == "shift") {
      out |= 0x20;
    } else if (w[i] == "ctrl") {
      out |= 0x40;
    } else if (w[i] == "alt") {
      out |= 0x80;
    } else {
      error = "unknown modifier \"" + w[i] + "\" (shift, ctrl or alt)";
      return false;
    }
  }
  return true;
}

bool parsePoint(const std::vector<std::string>& w, std::size_t at, AIRealPoint& out,
                std::string& error) {
  double h = 0;
  double v = 0;
  if (at + 1 >= w.size() || !parseNumber(w[at], h) || !parseNumber(w[at + 1], v)) {
    error = "expected two numbers (h v) in artwork coordinates";
    return false;
  }
  out = {static_cast<float>(h), static_cast<float>(v)};
  if (!std::isfinite(out.h) || !std::isfinite(out.v)) {
    error = "the point is out of range";
    return false;
  }
  return true;
}

// Virtual-key codes by name: named keys, or a single letter or digit.
bool parseKey(const std::string& word, int32_t& code, std::string& error) {
  static const std::map<std::string, int32_t> kKeys = {
      {"space", 0x20}, {"esc", 0x1B},   {"shift", 0x10}, {"ctrl", 0x11},
      {"alt", 0x12},   {"enter", 0x0D}, {"tab", 0x09}};
  if (auto it = kKeys.find(word); it != kKeys.end()) {
    code = it->second;
    return true;
  }
  if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
    code = std::toupper(static_cast<unsigned char>(word[0]));
    return true;
  }
  error = "unknown key \"" + word + "\" (space, esc, shift, ctrl, alt, enter, tab, a letter)";
  return false;
}

bool expectCount(const std::vector<std::string>& w, std::size_t n, const char* usage,
                 std::string& error) {
  if (w.size() == n) return true;
  error = std::string("usage: ") + usage;
  return false;
}

// Parses the words of a session command into c: false with a message; nothing when the words are
// no session command (they may be an event).
std::optional<bool> parseSessionCommand(const std::vector<std::string>& w, SessionCommand& c,
                                        std::string& error) {
  using K = SessionCommand::Kind;
  const std::string& word = w[0];
  auto simple = [&](K kind) {
    c.kind = kind;
    return expectCount(w, 1, (word + " (no arguments)").c_str(), error);
  };
  auto withName = [&](K kind, const char* usage) {
    c.kind = kind;
    if (!expectCount(w, 2, usage, error)) return false;
    c.name = w[1];
    return true;
  };
  if (word == "unload") return simple(K::Unload);
  if (word == "reload") return simple(K::Reload);
  if (word == "quit") return simple(K::Quit);
  if (word == "new") return simple(K::New);
  if (word == "close") return simple(K::Close);
  if (word == "open") return withName(K::Open, "open FILE.svg");
  if (word == "save") return withName(K::Save, "save FILE.svg");
  if (word == "png") return withName(K::Png, "png FILE.png");
  if (word == "report") return withName(K::Report, "report FILE.json");
  if (word == "select") {
    if (w.size() == 2 && w[1] == "none") {
      c.kind = K::SelectNone;
      return true;
    }
    if (w.size() == 3 && w[1] == "path") {
      c.kind = K::SelectPath;
      c.name = w[2];
      return true;
    }
    if ((w.size() == 4 || w.size() == 5) && w[1] == "point") {
      c.kind = K::SelectPoint;
      c.name = w[2];
      c.state = 1;
      if (!parseInteger(w[3], c.index) || c.index < 0 ||
          (w.size() == 5 && (!parseInteger(w[4], c.state) || c.state < 0 || c.state > 4))) {
        error = "usage: select point PATH INDEX [STATE 0-4]";
        return false;
      }
      return true;
    }
    error = "usage: select none | select path PATH | select point PATH INDEX [STATE]";
    return false;
  }
  if (word == "move-point") {
    c.kind = K::MovePoint;
    if (!expectCount(w, 5, "move-point PATH INDEX DH DV", error)) return false;
    c.name = w[1];
    if (!parseInteger(w[2], c.index) || c.index < 0) {
      error = "usage: move-point PATH INDEX DH DV";
      return false;
    }
    return parsePoint(w, 3, c.offset, error);
  }
  if (word == "pref") {
    c.kind = K::Preference;
    if (!expectCount(w, 3, "pref KEY VALUE", error)) return false;
    c.name = w[1];
    if (w[2] == "true" || w[2] == "false") {
      c.valueType = SessionCommand::ValueType::Boolean;
      c.value = w[2] == "true" ? 1 : 0;
      return true;
    }
    int32_t integer = 0;
    if (parseInteger(w[2], integer)) {
      c.valueType = SessionCommand::ValueType::Integer;
      c.value = integer;
      return true;
    }
    if (parseNumber(w[2], c.value)) {
      c.valueType = SessionCommand::ValueType::Real;
      return true;
    }
    error = "a preference value is true, false or a number";
    return false;
  }
  return std::nullopt;
}

// Parses the words of an event into e; false with a message.
bool parseEvent(const std::vector<std::string>& w, Event& e, std::string& error) {
  using K = Event::Kind;
  const std::string& c = w[0];
  auto simple = [&](K kind) {
    e.kind = kind;
    return expectCount(w, 1, (c + " (no arguments)").c_str(), error);
  };
  auto withText = [&](K kind, const char* usage) {
    e.kind = kind;
    if (!expectCount(w, 2, usage, error)) return false;
    e.text = w[1];
    return true;
  };
  if (c == "about") return simple(K::About);
  if (c == "undo") return simple(K::Undo);
  if (c == "redo") return simple(K::Redo);
  if (c == "increase-diameter") return simple(K::IncreaseDiameter);
  if (c == "dialog") return parseDialog(w, e, error);
  if (c == "menu") return withText(K::Menu, "menu \"NAME\"");
  if (c == "flyout") {
    if (w.size() >= 2 && w[1] == "choose") {
      e.kind = K::FlyoutChoose;
      int32_t index = 0;
      if (!expectCount(w, 3, "flyout choose INDEX", error)) return false;
      if (!parseInteger(w[2], index) || index < 0) {
        error = "a flyout entry is chosen by its position from 0, not \"" + w[2] + "\"";
        return false;
      }
      e.number = index;
      return true;
    }
    e.kind = K::FlyoutOpen;
    return parseModifiers(w, 1, e.modifiers, error);
  }
  if (c == "edges") {
    e.kind = K::Edges;
    if (!expectCount(w, 2, "edges show|hide", error)) return false;
    if (w[1] != "show" && w[1] != "hide") {
      error = "usage: edges show|hide";
      return false;
    }
    e.number = w[1] == "show" ? 1 : 0;
    return true;
  }
  if (c == "tool") return withText(K::Tool, "tool \"NAME\"");
  if (c == "move" || c == "down" || c == "drag" || c == "up") {
    e.kind = c == "move"   ? K::MouseMove
             : c == "down" ? K::MouseDown
             : c == "drag" ? K::MouseDrag
                           : K::MouseUp;
    return parsePoint(w, 1, e.point, error) && parseModifiers(w, 3, e.modifiers, error);
  }
  if (c == "key") {
    if (!expectCount(w, 3, "key down|up KEY", error)) return false;
    if (w[1] != "down" && w[1] != "up") {
      error = "usage: key down|up KEY";
      return false;
    }
    e.kind = w[1] == "down" ? K::KeyDown : K::KeyUp;
    return parseKey(w[2], e.item, error);
  }
  if (c == "view") {
    if (w.size() < 2) {
      error =
          "usage: view zoom Z | view center H V | view size W H | view grid on|off | view "
          "smart-guides on|off";
      return false;
    }
    const std::string& what = w[1];
    if (what == "zoom") {
      e.kind = K::ViewZoom;
      if (!expectCount(w, 3, "view zoom Z", error)) return false;
      if (!parseNumber(w[2], e.number) || e.number <= 0) {
        error = "the zoom is a positive number";
        return false;
      }
      return true;
    }
    if (what == "center") {
      e.kind = K::ViewCenter;
      return expectCount(w, 4, "view center H V", error) && parsePoint(w, 2, e.point, error);
    }
    if (what == "size") {
      e.kind = K::ViewSize;
      int32_t width = 0;
      int32_t height = 0;
      if (!expectCount(w, 4, "view size W H", error)) return false;
      if (!parseInteger(w[2], width) || !parseInteger(w[3], height) || width < 1 || height < 1 ||
          width > 8192 || height > 8192) {
        error = "the view size is two whole numbers of pixels from 1 to 8192";
        return false;
      }
      e.item = width;
      e.number = height;
      return true;
    }
    if (what == "grid" || what == "smart-guides") {
      e.kind = what == "grid" ? K::ViewGrid : K::ViewSmartGuides;
      if (!expectCount(w, 3, "view grid|smart-guides on|off", error)) return false;
      if (w[2] != "on" && w[2] != "off") {
        error = "expected on or off";
        return false;
      }
      e.number = w[2] == "on" ? 1 : 0;
      return true;
    }
    error = "unknown view setting \"" + what + "\"";
    return false;
  }
  error = "unknown command \"" + c + "\"";
  return false;
}

}  // namespace

ParsedScript parseScript(const std::string& text) {
  ParsedScript result;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::vector<std::string> w;
    std::string error;
    if (splitWords(line, w, error) && !w.empty()) {
      SessionCommand command;
      command.line = number;
      if (const std::optional<bool> parsed = parseSessionCommand(w, command, error)) {
        if (*parsed) result.steps.emplace_back(std::move(command));
      } else {
        Event e;
        e.line = number;
        if (parseEvent(w, e, error)) result.steps.emplace_back(std::move(e));
      }
    }
    if (!error.empty()) {
      result.error = "line " + std::to_string(number) + ": " + error;
      result.steps.clear();
      return result;
    }
  }
  return result;
}

}  // namespace sqhost
