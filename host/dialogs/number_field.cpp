// Number fields: formatting values with units and reading typed text, with optional arithmetic.
#include "dialogs/number_field.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace sqhost {
namespace {

struct UnitName {
  std::string_view text;
  int32_t units;
};

// What a user may type after a number. The degree sign is U+00B0 in UTF-8.
constexpr std::array<UnitName, 8> kUnitNames = {{{"pt", kADMPointUnits},
                                                 {"in", kADMInchUnits},
                                                 {"mm", kADMMillimeterUnits},
                                                 {"cm", kADMCentimeterUnits},
                                                 {"pc", kADMPicaUnits},
                                                 {"px", kADMPixelUnits},
                                                 {"%", kADMPercentUnits},
                                                 {"\xC2\xB0", kADMDegreeUnits}}};

// Reads a typed value: "12", "-3.5 mm", and with arithmetic "(1in + 2) * 2".
class TextReader {
 public:
  TextReader(const NumberField& field, std::string_view text) : field_(field), text_(text) {}

  std::optional<double> read() {
    std::optional<double> result = field_.allowMath ? expression() : signedQuantity();
    skipSpace();
    if (!result || pos_ != text_.size() || !std::isfinite(*result)) return std::nullopt;
    return result;
  }

 private:
  void skipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool accept(char c) {
    skipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  std::optional<double> expression() {
    std::optional<double> left = term();
    while (left) {
      if (accept('+')) {
        const auto right = term();
        if (!right) return std::nullopt;
        *left += *right;
      } else if (accept('-')) {
        const auto right = term();
        if (!right) return std::nullopt;
        *left -= *right;
      } else {
        break;
      }
    }
    return left;
  }

  std::optional<double> term() {
    std::optional<double> left = factor();
    while (left) {
      if (accept('*')) {
        const auto right = factor();
        if (!right) return std::nullopt;
        *left *= *right;
      } else if (accept('/')) {
        const auto right = factor();
        if (!right || *right == 0) return std::nullopt;
        *left /= *right;
      } else {
        break;
      }
    }
    return left;
  }

  std::optional<double> factor() {
    if (accept('-')) {
      const auto inner = factor();
      return inner ? std::optional<double>(-*inner) : std::nullopt;
    }
    if (accept('+')) return factor();
    if (accept('(')) {
      const auto inner = expression();
      if (!inner || !accept(')')) return std::nullopt;
      return inner;
    }
    return quantity();
  }

  std::optional<double> signedQuantity() {
    if (accept('-')) {
      const auto inner = quantity();
      return inner ? std::optional<double>(-*inner) : std::nullopt;
    }
    accept('+');
    return quantity();
  }

  // A number, optionally followed by a unit, in the field's units.
  std::optional<double> quantity() {
    skipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0 || text_[pos_] == '.')) {
      ++pos_;
    }
    if (pos_ == start) return std::nullopt;
    double number = 0;
    const char* first = text_.data() + start;
    const char* last = text_.data() + pos_;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) return std::nullopt;
    skipSpace();
    for (const UnitName& unit : kUnitNames) {
      if (text_.substr(pos_).starts_with(unit.text)) {
        pos_ += unit.text.size();
        return convert(number, unit.units);
      }
    }
    return number;
  }

  std::optional<double> convert(double number, int32_t from) const {
    const int32_t to = field_.units;
    if (from == to) return number;
    if (!field_.allowUnits || !isLengthUnits(from) || !isLengthUnits(to)) return std::nullopt;
    return number * pointsPerUnit(from) / pointsPerUnit(to);
  }

  const NumberField& field_;
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool isConcreteUnits(int32_t units) {
  return units >= kADMNoUnits && units <= kADMPixelUnits;
}

bool isLengthUnits(int32_t units) {
  switch (units) {
    case kADMPointUnits:
    case kADMInchUnits:
    case kADMMillimeterUnits:
    case kADMCentimeterUnits:
    case kADMPicaUnits:
    case kADMPixelUnits:
      return true;
    default:
      return false;
  }
}

double pointsPerUnit(int32_t units) {
  switch (units) {
    case kADMInchUnits:
      return 72.0;
    case kADMMillimeterUnits:
      return 72.0 / 25.4;
    case kADMCentimeterUnits:
      return 72.0 / 2.54;
    case kADMPicaUnits:
      return 12.0;
    default:
      return 1.0;
  }
}

std::string unitsSuffix(int32_t units) {
  switch (units) {
    case kADMPointUnits:
      return " pt";
    case kADMInchUnits:
      return " in";
    case kADMMillimeterUnits:
      return " mm";
    case kADMCentimeterUnits:
      return " cm";
    case kADMPicaUnits:
      return " pc";
    case kADMPixelUnits:
      return " px";
    case kADMPercentUnits:
      return "%";
    case kADMDegreeUnits:
      return "\xC2\xB0";
    default:
      return "";
  }
}

std::string formatNumber(const NumberField& field) {
  const double shown = field.value / pointsPerUnit(field.units);
  const int decimals = field.precision;
  const int size = std::snprintf(nullptr, 0, "%.*f", decimals, shown);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, shown);
  if (text.find('.') != std::string::npos) {
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  if (text == "-0") text.erase(0, 1);
  if (field.showUnits) text += unitsSuffix(field.units);
  return text;
}

std::optional<double> parseNumberText(const NumberField& field, std::string_view text) {
  const std::optional<double> typed = TextReader(field, text).read();
  if (!typed) return std::nullopt;
  // Values reach the plug-in in single precision: keep exactly what it will read, so that a typed
  // limit compares equal to the limit the plug-in set.
  const auto value = static_cast<float>(*typed * pointsPerUnit(field.units));
  if (!std::isfinite(value)) return std::nullopt;
  return static_cast<double>(value);
}

ClampResult clampToLimits(const NumberField& field, double value) {
  if (value < field.minimum) return {field.minimum, true};
  if (value > field.maximum) return {field.maximum, true};
  return {value, false};
}

std::string shortestDecimal(double value) {
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (error != std::errc()) return "0";
  return std::string(buffer.data(), end);
}

}  // namespace sqhost
