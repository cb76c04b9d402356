// Parsing and formatting of SVG attribute values.
#include "svg/svg_values.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace sqhost::svg {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

void skipSeparators(std::string_view& s) {
  while (!s.empty() && (isSpace(s.front()) || s.front() == ',')) s.remove_prefix(1);
}

void skipSpaces(std::string_view& s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
}

// Takes one SVG number from the front of s: [sign] digits [. digits] [e [sign] digits], without a
// leading '+'.
std::string_view scanNumberToken(std::string_view& s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) throw ValueError("expected a number");
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && isDigit(s[j])) {
      while (j < s.size() && isDigit(s[j])) ++j;
      i = j;
    }
  }
  std::string_view token = s.substr(0, i);
  s.remove_prefix(i);
  if (token.front() == '+') token.remove_prefix(1);
  return token;
}

template <class T>
T convertNumber(std::string_view token) {
  T value = 0;
  auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && !std::isfinite(value))) {
    throw ValueError("number out of range: " + std::string(token));
  }
  if (ec != std::errc() || ptr != token.data() + token.size())
    throw ValueError("expected a number");
  return value;
}

double scanNumber(std::string_view& s) {
  return convertNumber<double>(scanNumberToken(s));
}

double unitFactor(std::string_view unit) {
  if (unit.empty() || unit == "px") return 1;
  if (unit == "pt") return 96.0 / 72.0;
  if (unit == "pc") return 16;
  if (unit == "mm") return 96.0 / 25.4;
  if (unit == "cm") return 96.0 / 2.54;
  if (unit == "in") return 96;
  throw ValueError("unknown unit '" + std::string(unit) + "'");
}

struct NamedColor {
  std::string_view name;
  std::uint8_t r, g, b;
};

constexpr std::array<NamedColor, 24> kNamedColors{{
    {"black", 0, 0, 0},        {"white", 255, 255, 255},    {"red", 255, 0, 0},
    {"green", 0, 128, 0},      {"blue", 0, 0, 255},         {"yellow", 255, 255, 0},
    {"cyan", 0, 255, 255},     {"aqua", 0, 255, 255},       {"magenta", 255, 0, 255},
    {"fuchsia", 255, 0, 255},  {"gray", 128, 128, 128},     {"grey", 128, 128, 128},
    {"silver", 192, 192, 192}, {"maroon", 128, 0, 0},       {"purple", 128, 0, 128},
    {"lime", 0, 255, 0},       {"olive", 128, 128, 0},      {"navy", 0, 0, 128},
    {"teal", 0, 128, 128},     {"orange", 255, 165, 0},     {"brown", 165, 42, 42},
    {"pink", 255, 192, 203},   {"darkgray", 169, 169, 169}, {"lightgray", 211, 211, 211},
}};

AIRGBColor from8(unsigned r, unsigned g, unsigned b) {
  return AIRGBColor{static_cast<std::uint16_t>(r * 257), static_cast<std::uint16_t>(g * 257),
                    static_cast<std::uint16_t>(b * 257)};
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// rgb(r, g, b) with numbers 0..255 or percentages.
AIRGBColor parseRgbFunction(std::string_view s) {
  s.remove_prefix(4);  // "rgb("
  std::array<unsigned, 3> channels{};
  for (std::size_t i = 0; i < 3; ++i) {
    skipSeparators(s);
    double v = scanNumber(s);
    if (!s.empty() && s.front() == '%') {
      s.remove_prefix(1);
      v = v * 255 / 100;
    }
    channels[i] = static_cast<unsigned>(std::lround(std::clamp(v, 0.0, 255.0)));
  }
  skipSpaces(s);
  if (s != ")") throw ValueError("malformed rgb() colour");
  return from8(channels[0], channels[1], channels[2]);
}

}  // namespace

double Affine::scale() const {
  return std::sqrt(std::fabs(a * d - b * c));
}

Affine compose(const Affine& o, const Affine& i) {
  return Affine{o.a * i.a + o.c * i.b, o.b * i.a + o.d * i.b,       o.a * i.c + o.c * i.d,
                o.b * i.c + o.d * i.d, o.a * i.e + o.c * i.f + o.e, o.b * i.e + o.d * i.f + o.f};
}

Vec2 apply(const Affine& m, Vec2 p) {
  return Vec2{m.a * p.x + m.c * p.y + m.e, m.b * p.x + m.d * p.y + m.f};
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

double parseNumber(std::string_view text) {
  std::string_view s = trim(text);
  double v = scanNumber(s);
  if (!s.empty()) throw ValueError("malformed number '" + std::string(trim(text)) + "'");
  return v;
}

double parseLength(std::string_view text) {
  std::string_view s = trim(text);
  double v = scanNumber(s);
  double result = v * unitFactor(s);
  if (!std::isfinite(result)) throw ValueError("length out of range");
  return result;
}

std::vector<float> parseFloatList(std::string_view text) {
  std::vector<float> values;
  std::string_view s = text;
  skipSeparators(s);
  while (!s.empty()) {
    values.push_back(convertNumber<float>(scanNumberToken(s)));
    skipSeparators(s);
  }
  return values;
}

std::vector<double> parseNumberList(std::string_view text) {
  std::vector<double> values;
  std::string_view s = text;
  skipSeparators(s);
  while (!s.empty()) {
    values.push_back(scanNumber(s));
    skipSeparators(s);
  }
  return values;
}

Affine parseTransform(std::string_view text) {
  Affine result;
  std::string_view s = text;
  skipSeparators(s);
  while (!s.empty()) {
    std::size_t n = 0;
    while (n < s.size() && ((s[n] >= 'a' && s[n] <= 'z') || (s[n] >= 'A' && s[n] <= 'Z'))) ++n;
    std::string name(s.substr(0, n));
    s.remove_prefix(n);
    skipSpaces(s);
    if (name.empty() || s.empty() || s.front() != '(') throw ValueError("malformed transform");
    s.remove_prefix(1);
    std::vector<double> args;
    skipSeparators(s);
    while (!s.empty() && s.front() != ')') {
      args.push_back(scanNumber(s));
      skipSeparators(s);
    }
    if (s.empty()) throw ValueError("malformed transform: missing ')'");
    s.remove_prefix(1);
    auto need = [&](std::size_t lo, std::size_t hi) {
      if (args.size() < lo || args.size() > hi) {
        throw ValueError("wrong number of arguments to " + name + "()");
      }
    };
    Affine m;
    constexpr double kDeg = std::numbers::pi / 180;
    if (name == "matrix") {
      need(6, 6);
      m = Affine{args[0], args[1], args[2], args[3], args[4], args[5]};
    } else if (name == "translate") {
      need(1, 2);
      m.e = args[0];
      m.f = args.size() > 1 ? args[1] : 0;
    } else if (name == "scale") {
      need(1, 2);
      m.a = args[0];
      m.d = args.size() > 1 ? args[1] : args[0];
    } else if (name == "rotate") {
      if (args.size() != 1 && args.size() != 3) need(1, 1);
      double r = args[0] * kDeg;
      Affine rot{std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
      if (args.size() == 3) {
        Affine to{1, 0, 0, 1, args[1], args[2]};
        Affine back{1, 0, 0, 1, -args[1], -args[2]};
        m = compose(to, compose(rot, back));
      } else {
        m = rot;
      }
    } else if (name == "skewX") {
      need(1, 1);
      m.c = std::tan(args[0] * kDeg);
    } else if (name == "skewY") {
      need(1, 1);
      m.b = std::tan(args[0] * kDeg);
    } else {
      throw ValueError("unknown transform '" + name + "'");
    }
    result = compose(result, m);
    skipSeparators(s);
  }
  return result;
}

std::optional<AIRGBColor> parseHexColor(std::string_view text) {
  std::string_view s = trim(text);
  if (s.empty() || s.front() != '#') return std::nullopt;
  s.remove_prefix(1);
  std::array<int, 12> d{};
  if (s.size() != 3 && s.size() != 6 && s.size() != 12) return std::nullopt;
  for (std::size_t i = 0; i < s.size(); ++i) {
    d[i] = hexDigit(s[i]);
    if (d[i] < 0) return std::nullopt;
  }
  auto u = [](int v) { return static_cast<unsigned>(v); };
  if (s.size() == 3) return from8(u(d[0] * 17), u(d[1] * 17), u(d[2] * 17));
  if (s.size() == 6) return from8(u(d[0] * 16 + d[1]), u(d[2] * 16 + d[3]), u(d[4] * 16 + d[5]));
  auto ch = [&](std::size_t k) {
    return static_cast<std::uint16_t>((d[k] << 12) | (d[k + 1] << 8) | (d[k + 2] << 4) | d[k + 3]);
  };
  return AIRGBColor{ch(0), ch(4), ch(8)};
}

Paint parsePaint(std::string_view text) {
  std::string s = lower(trim(text));
  Paint paint;
  if (s == "none") {
    paint.none = true;
    return paint;
  }
  if (!s.empty() && s.front() == '#') {
    auto c = parseHexColor(s);
    if (!c) throw ValueError("malformed colour '" + s + "'");
    paint.color = *c;
    return paint;
  }
  if (s.rfind("rgb(", 0) == 0) {
    paint.color = parseRgbFunction(s);
    return paint;
  }
  if (s.rfind("url(", 0) == 0) {
    // A paint server, possibly with a fallback colour after it.
    std::size_t close = s.find(')');
    if (close != std::string::npos) {
      std::string_view fallback = trim(std::string_view(s).substr(close + 1));
      if (!fallback.empty()) return parsePaint(fallback);
    }
  } else {
    for (const NamedColor& named : kNamedColors) {
      if (named.name == s) {
        paint.color = from8(named.r, named.g, named.b);
        return paint;
      }
    }
  }
  paint.color = from8(128, 128, 128);
  return paint;
}

std::string formatHexColor16(const AIRGBColor& color) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "#";
  for (std::uint16_t ch : {color.red, color.green, color.blue}) {
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(ch >> shift) & 0xF];
  }
  return out;
}

std::string formatHexColor8(const AIRGBColor& color) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "#";
  for (std::uint16_t ch : {color.red, color.green, color.blue}) {
    unsigned v = (static_cast<unsigned>(ch) + 128) / 257;
    out += kHex[(v >> 4) & 0xF];
    out += kHex[v & 0xF];
  }
  return out;
}

std::vector<std::pair<std::string, std::string>> parseStyle(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> out;
  std::string_view s = text;
  while (!s.empty()) {
    std::size_t semi = s.find(';');
    std::string_view decl = s.substr(0, semi);
    s = semi == std::string_view::npos ? std::string_view() : s.substr(semi + 1);
    std::size_t colon = decl.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = trim(decl.substr(0, colon));
    std::string_view value = trim(decl.substr(colon + 1));
    if (std::size_t bang = value.find("!important"); bang != std::string_view::npos) {
      value = trim(value.substr(0, bang));
    }
    if (!name.empty()) out.emplace_back(lower(name), std::string(value));
  }
  return out;
}

std::string formatFloat(float value) {
  if (value == 0) return "0";  // no "-0"
  std::array<char, 32> buf{};
  auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  (void)ec;
  return std::string(buf.data(), ptr);
}

std::string formatDouble(double value) {
  if (value == 0) return "0";
  std::array<char, 40> buf{};
  auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  (void)ec;
  return std::string(buf.data(), ptr);
}

}  // namespace sqhost::svg
