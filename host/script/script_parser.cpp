// Session scripts: a small line-based language that becomes a queue of host events.
#include "script/script_parser.hpp"

#include <charconv>
#include <cmath>
#include <map>
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

// Parses the words after "dialog": [NAME] ACTION [ITEM [VALUE]].
bool parseDialog(const std::vector<std::string>& w, Event& e, std::string& error) {
  static const std::map<std::string, Event::Kind> kActions = {
      {"press", Event::Kind::DialogPress},   {"check", Event::Kind::DialogCheck},
      {"value", Event::Kind::DialogValue},   {"text", Event::Kind::DialogText},
      {"choose", Event::Kind::DialogChoose}, {"cancel", Event::Kind::DialogCancel},
  };
  std::size_t at = 1;
  if (at < w.size() && kActions.count(w[at]) == 0) e.dialog = w[at++];
  if (at >= w.size() || kActions.count(w[at]) == 0) {
    error = "expected a dialog action (press, check, value, text, choose or cancel)";
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
  if (w.size() - at != wanted) {
    error = wanted == 0 ? "\"dialog press\" takes only an item number"
                        : "expected one value after the item number";
    return false;
  }
  if (wanted == 0) return true;
  const std::string& value = w[at];
  switch (e.kind) {
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
      Event e;
      e.line = number;
      const std::string& command = w[0];
      auto simple = [&](Event::Kind kind) {
        if (w.size() != 1) {
          error = "\"" + command + "\" takes no arguments";
          return;
        }
        e.kind = kind;
      };
      if (command == "about") {
        simple(Event::Kind::About);
      } else if (command == "unload") {
        simple(Event::Kind::Unload);
      } else if (command == "reload") {
        simple(Event::Kind::Reload);
      } else if (command == "quit") {
        simple(Event::Kind::Quit);
      } else if (command == "dialog") {
        parseDialog(w, e, error);
      } else {
        error = "unknown command \"" + command + "\"";
      }
      if (error.empty()) result.events.push_back(std::move(e));
    }
    if (!error.empty()) {
      result.error = "line " + std::to_string(number) + ": " + error;
      result.events.clear();
      return result;
    }
  }
  return result;
}

}  // namespace sqhost
