// Parsing of SVG attribute values: numbers, lengths, lists, colours, transforms, style properties.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sqsdk/types.h"

namespace sqhost::svg {

// Thrown inside the importer for a value it cannot read; carries the reason only. The importer
// adds the line and the attribute and turns it into an error result.
struct ValueError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A 2-D affine map as in SVG's matrix(a b c d e f): x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0; }
  // The linear scale factor for widths: sqrt(|det|).
  double scale() const;
};
// outer o inner: applies inner first.
Affine compose(const Affine& outer, const Affine& inner);
struct Vec2 {
  double x = 0, y = 0;
};
Vec2 apply(const Affine& m, Vec2 p);

// A finite number (SVG number syntax, optional leading '+'). Throws ValueError.
double parseNumber(std::string_view text);
// A length in user units: a number with an optional unit px, pt, pc, mm, cm or in (CSS units at 96
// user units per inch). Any other unit, including %, em and ex, throws ValueError.
double parseLength(std::string_view text);
// Numbers separated by whitespace and/or commas.
std::vector<double> parseNumberList(std::string_view text);
// Numbers read straight into floats (exact for text written by formatFloat).
std::vector<float> parseFloatList(std::string_view text);
// The transform attribute: matrix, translate, scale, rotate, skewX and skewY, in sequence.
Affine parseTransform(std::string_view text);

// A paint: none, or a colour. Paint servers and colours this importer does not know are read as
// mid grey (they only affect how art is drawn); malformed colour syntax throws ValueError.
struct Paint {
  bool none = false;
  AIRGBColor color{0, 0, 0};
};
Paint parsePaint(std::string_view text);
// "#rgb" or "#rrggbb" (8-bit channels, scaled to 16 bits) or "#rrrrggggbbbb" (16-bit channels).
std::optional<AIRGBColor> parseHexColor(std::string_view text);
// "#rrrrggggbbbb", lossless for 16-bit channels.
std::string formatHexColor16(const AIRGBColor& color);
// "#rrggbb", channels rounded to 8 bits.
std::string formatHexColor8(const AIRGBColor& color);

// The declarations of a style attribute, "name: value; ...", in order, trimmed.
std::vector<std::pair<std::string, std::string>> parseStyle(std::string_view text);

std::string_view trim(std::string_view text);

// Shortest text that reads back as exactly the same float / double.
std::string formatFloat(float value);
std::string formatDouble(double value);

}  // namespace sqhost::svg
