// Reading the page's messages: JSON objects checked field by field into requests.
#include "studio/studio_request.hpp"

#include <cmath>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>

#include "sqsdk/messages.h"

namespace sqhost::studio {
namespace {

using nlohmann::json;
using K = Request::Kind;

// Bounds of what a page can sensibly send: coordinates well inside what a view can show, names
// and texts of a reasonable size.
constexpr double kMaxCoordinate = 1e6;
constexpr std::size_t kMaxNameLength = 256;
constexpr std::size_t kMaxFileLength = 1024;
constexpr std::size_t kMaxTextLength = 4096;
constexpr int32_t kMaxViewSide = 8192;
constexpr double kMinZoom = 1.0 / 32;
constexpr double kMaxZoom = 64;

// A field that is wrong: the message names the field and what is wrong with it.
struct Bad {
  std::string message;
};

[[noreturn]] void fail(const std::string& field, const std::string& what) {
  throw Bad{"\"" + field + "\" " + what};
}

const json* find(const json& j, const char* field) {
  auto it = j.find(field);
  return it == j.end() ? nullptr : &*it;
}

const json& need(const json& j, const char* field) {
  const json* v = find(j, field);
  if (v == nullptr) fail(field, "is missing");
  return *v;
}

std::string text(const json& j, const char* field, std::size_t maxLength, bool allowEmpty) {
  const json& v = need(j, field);
  if (!v.is_string()) fail(field, "must be a string");
  std::string s = v.get<std::string>();
  if (s.size() > maxLength) {
    fail(field, "is too long (at most " + std::to_string(maxLength) + " bytes)");
  }
  if (!allowEmpty && s.empty()) fail(field, "must not be empty");
  if (s.find('\0') != std::string::npos) fail(field, "must not hold a NUL character");
  return s;
}

double number(const json& v, const std::string& field, double lo, double hi) {
  if (!v.is_number()) fail(field, "must be a number");
  const double d = v.get<double>();
  if (!std::isfinite(d)) fail(field, "must be a finite number");
  if (d < lo || d > hi) {
    fail(field, "must lie between " + json(lo).dump() + " and " + json(hi).dump());
  }
  return d;
}

double number(const json& j, const char* field, double lo, double hi) {
  return number(need(j, field), std::string(field), lo, hi);
}

int64_t integer(const json& v, const std::string& field, int64_t lo, int64_t hi) {
  if (!v.is_number_integer()) {
    // 3.0 is a whole number too, as JavaScript writes it.
    if (v.is_number_float()) {
      const double d = v.get<double>();
      if (std::isfinite(d) && d == std::floor(d) && d >= static_cast<double>(lo) &&
          d <= static_cast<double>(hi)) {
        return static_cast<int64_t>(d);
      }
    }
    fail(field, "must be a whole number");
  }
  if (v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(hi)) {
    fail(field, "must lie between " + std::to_string(lo) + " and " + std::to_string(hi));
  }
  const int64_t n = v.get<int64_t>();
  if (n < lo || n > hi) {
    fail(field, "must lie between " + std::to_string(lo) + " and " + std::to_string(hi));
  }
  return n;
}

int64_t integer(const json& j, const char* field, int64_t lo, int64_t hi) {
  return integer(need(j, field), std::string(field), lo, hi);
}

bool flag(const json& j, const char* field) {
  const json& v = need(j, field);
  if (!v.is_boolean()) fail(field, "must be true or false");
  return v.get<bool>();
}

// A fixed-length array of numbers, each checked as `element` says.
template <class F>
std::vector<double> numbers(const json& j, const char* field, std::size_t count, F element) {
  const json& v = need(j, field);
  if (!v.is_array() || v.size() != count) {
    fail(field, "must be an array of " + std::to_string(count) + " numbers");
  }
  std::vector<double> out;
  for (std::size_t i = 0; i < count; ++i) {
    out.push_back(element(v[i], std::string(field) + "[" + std::to_string(i) + "]"));
  }
  return out;
}

std::string word(const json& j, const char* field, std::initializer_list<const char*> allowed) {
  const std::string w = text(j, field, kMaxNameLength, true);
  std::string list;
  for (const char* a : allowed) {
    if (w == a) return w;
    list += list.empty() ? "" : ", ";
    list += a;
  }
  fail(field, "must be one of " + list + ", not \"" + w + "\"");
}

int32_t modifiers(const json& j) {
  const json* v = find(j, "modifiers");
  if (v == nullptr) return 0;
  if (!v->is_array()) fail("modifiers", "must be an array of \"shift\", \"ctrl\" and \"alt\"");
  if (v->size() > 3) fail("modifiers", "has more than three entries");
  int32_t out = 0;
  for (const json& m : *v) {
    const std::string name = m.is_string() ? m.get<std::string>() : std::string();
    if (name == "shift") {
      out |= kAIShiftModifier;
    } else if (name == "ctrl") {
      out |= kAICtrlModifier;
    } else if (name == "alt") {
      out |= kAIAltModifier;
    } else {
      fail("modifiers",
           "holds " + (m.is_string() ? "\"" + name + "\"" : m.dump()) + ", not shift, ctrl or alt");
    }
  }
  return out;
}

double coordinate(const json& j, const char* field) {
  return number(j, field, -kMaxCoordinate, kMaxCoordinate);
}

bool isKeyName(const std::string& key) {
  static const char* const kNamed[] = {"space", "esc", "c", "shift", "ctrl", "alt", "enter", "tab"};
  for (const char* n : kNamed) {
    if (key == n) return true;
  }
  return key.size() == 1 && ((key[0] >= 'a' && key[0] <= 'z') || (key[0] >= 'A' && key[0] <= 'Z'));
}

// Keys pressed in a dialog item, as the dialog manager numbers them.
int32_t dialogKey(const json& j) {
  static const std::map<std::string, int32_t> kKeys = {
      {"enter", 3}, {"return", 13}, {"tab", 9},      {"esc", 27},
      {"up", 30},   {"down", 31},   {"backspace", 8}};
  const std::string key = text(j, "key", kMaxNameLength, false);
  const auto found = kKeys.find(key);
  if (found == kKeys.end()) {
    fail("key", "must be enter, return, tab, esc, up, down or backspace, not \"" + key + "\"");
  }
  return found->second;
}

void readView(const json& j, Request& r) {
  static const char* const kSettings[] = {"size", "zoom", "scroll", "grid", "smartGuides", "fit"};
  int present = 0;
  for (const char* s : kSettings) {
    if (find(j, s) != nullptr) {
      ++present;
      r.action = s;
    }
  }
  if (present != 1) {
    fail(present == 0 ? "size" : r.action,
         present == 0 ? "is missing: a view request has one of size, zoom, scroll, grid, "
                        "smartGuides or fit"
                      : "comes with another view setting: send one at a time");
  }
  auto coord = [](const json& v, const std::string& f) {
    return number(v, f, -kMaxCoordinate, kMaxCoordinate);
  };
  if (r.action == "size") {
    r.values = numbers(j, "size", 2, [](const json& v, const std::string& f) {
      return static_cast<double>(integer(v, f, 1, kMaxViewSide));
    });
  } else if (r.action == "zoom") {
    r.values = {number(j, "zoom", kMinZoom, kMaxZoom)};
    if (find(j, "at") != nullptr) {
      const std::vector<double> at = numbers(j, "at", 2, coord);
      r.values.insert(r.values.end(), at.begin(), at.end());
    }
  } else if (r.action == "scroll") {
    r.values = numbers(j, "scroll", 2, coord);
  } else if (r.action == "grid" || r.action == "smartGuides") {
    r.flag = flag(j, r.action.c_str());
  } else {
    r.flag = flag(j, "fit");
    if (!r.flag) fail("fit", "must be true");
  }
}

void readDialog(const json& j, Request& r) {
  r.name = text(j, "dialog", kMaxNameLength, true);
  r.action = word(j, "action", {"press", "check", "value", "text", "choose", "cancel", "key"});
  r.modifiers = modifiers(j);
  if (r.action == "cancel") return;
  r.item = static_cast<int32_t>(integer(j, "item", 0, std::numeric_limits<int32_t>::max()));
  if (r.action == "check") {
    r.number = static_cast<double>(integer(j, "number", 0, 1));
  } else if (r.action == "value") {
    r.number = number(j, "number", -1e12, 1e12);
  } else if (r.action == "choose") {
    r.number = static_cast<double>(integer(j, "number", 0, 1'000'000));
  } else if (r.action == "text") {
    r.text = text(j, "text", kMaxTextLength, true);
  } else if (r.action == "key") {
    r.number = dialogKey(j);
  }
}

Request read(const json& j) {
  static const std::map<std::string, K> kKinds = {
      {"hello", K::Hello},
      {"mouse", K::Mouse},
      {"about", K::About},
      {"key", K::Key},
      {"increaseDiameter", K::IncreaseDiameter},
      {"tool", K::Tool},
      {"toolOptions", K::ToolOptions},
      {"undo", K::Undo},
      {"redo", K::Redo},
      {"menu", K::Menu},
      {"edges", K::Edges},
      {"view", K::View},
      {"dialog", K::Dialog},
      {"track", K::Track},
      {"flyout", K::Flyout},
      {"panel", K::Panel},
      {"files", K::Files},
      {"open", K::Open},
      {"save", K::Save},
  };
  const std::string type = text(j, "type", kMaxNameLength, false);
  const auto kind = kKinds.find(type);
  if (kind == kKinds.end()) fail("type", "is unknown: \"" + type + "\"");
  Request r;
  r.kind = kind->second;
  switch (r.kind) {
    case K::Hello:
    case K::About:
    case K::Undo:
    case K::Redo:
    case K::Files:
      break;
    case K::Mouse:
      r.action = word(j, "action", {"move", "down", "drag", "up"});
      r.x = coordinate(j, "x");
      r.y = coordinate(j, "y");
      r.modifiers = modifiers(j);
      break;
    case K::Key: {
      r.action = word(j, "action", {"down", "up"});
      r.name = text(j, "key", kMaxNameLength, false);
      if (!isKeyName(r.name)) {
        fail("key", "must be space, esc, c, shift, ctrl, alt, enter, tab or one letter, not \"" +
                        r.name + "\"");
      }
      r.modifiers = modifiers(j);
      break;
    }
    case K::IncreaseDiameter:
      r.modifiers = modifiers(j);
      break;
    case K::Tool:
    case K::ToolOptions:
    case K::Menu:
      r.name = text(j, "name", kMaxNameLength, false);
      break;
    case K::Edges:
      r.flag = flag(j, "show");
      break;
    case K::View:
      readView(j, r);
      break;
    case K::Dialog:
      readDialog(j, r);
      break;
    case K::Track:
      r.name = text(j, "dialog", kMaxNameLength, true);
      r.item = static_cast<int32_t>(integer(j, "item", 0, std::numeric_limits<int32_t>::max()));
      r.action = word(j, "action", {"down", "drag", "up", "move"});
      r.x = static_cast<double>(integer(j, "x", -1'000'000, 1'000'000));
      r.y = static_cast<double>(integer(j, "y", -1'000'000, 1'000'000));
      r.modifiers = modifiers(j);
      break;
    case K::Flyout:
      r.action = word(j, "action", {"open", "choose", "close"});
      if (r.action == "open") r.modifiers = modifiers(j);
      if (r.action == "choose") r.number = static_cast<double>(integer(j, "index", 0, 10'000));
      break;
    case K::Panel:
      r.name = text(j, "dialog", kMaxNameLength, false);
      r.action = word(j, "action", {"show", "hide", "move"});
      if (r.action == "move") {
        r.values = numbers(j, "bounds", 4, [](const json& v, const std::string& f) {
          return static_cast<double>(integer(v, f, -1'000'000, 1'000'000));
        });
        if (r.values[2] < r.values[0] || r.values[3] < r.values[1]) {
          fail("bounds", "must not be inverted (right >= left, bottom >= top)");
        }
      }
      break;
    case K::Open:
      r.name = text(j, "file", kMaxFileLength, false);
      r.hasFile = true;
      break;
    case K::Save:
      if (find(j, "file") != nullptr) {
        r.name = text(j, "file", kMaxFileLength, false);
        r.hasFile = true;
      }
      break;
    case K::Disconnected:
      break;
  }
  return r;
}

}  // namespace

ParsedRequest parseRequest(std::string_view message) {
  ParsedRequest out;
  if (message.size() > kMaxRequestBytes) {
    out.error = "the message is larger than 64 KiB";
    return out;
  }
  try {
    const json j = json::parse(message, nullptr, /*allow_exceptions=*/false);
    if (j.is_discarded()) {
      out.error = "the message is not JSON";
      return out;
    }
    if (!j.is_object()) {
      out.error = "the message is not a JSON object";
      return out;
    }
    if (const json* seq = find(j, "seq")) {
      // Read first, so that the error about another field still carries it.
      out.seq = integer(*seq, std::string("seq"), -(int64_t{1} << 53), int64_t{1} << 53);
    }
    Request r = read(j);
    r.seq = out.seq;
    out.request = std::move(r);
  } catch (const Bad& bad) {
    out.error = bad.message;
  } catch (const std::exception& e) {
    out.error = std::string("the message cannot be read: ") + e.what();
  }
  return out;
}

std::string errorReply(int64_t seq, const std::string& message) {
  const json reply = {{"type", "error"}, {"seq", seq}, {"message", message}};
  return reply.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace sqhost::studio
