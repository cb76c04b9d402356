// Number fields: a value with units, decimals and limits, shown as text and read back from typing.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "sqsdk/suites/adm_types.h"

namespace sqhost {

// The number kept by a text edit or spin edit popup item. value, minimum and maximum are in the
// units the plug-in exchanges: points for length units, the number shown for the others.
struct NumberField {
  bool numeric = false;  // a plain text field until a number setting is applied to it
  int32_t units = kADMNoUnits;
  int32_t precision = 3;
  bool showUnits = false;
  bool allowUnits = false;
  bool allowMath = false;
  double value = 0;
  double minimum = -std::numeric_limits<double>::infinity();
  double maximum = std::numeric_limits<double>::infinity();
  double step = 1;
};

// True for the concrete units kADMNoUnits .. kADMPixelUnits.
bool isConcreteUnits(int32_t units);
// True for points, inches, millimetres, centimetres, picas and pixels.
bool isLengthUnits(int32_t units);
// Points in one of the length units; 1 for every other unit.
double pointsPerUnit(int32_t units);
// The suffix shown after a number: " pt", "%", "°" ...; empty for kADMNoUnits.
std::string unitsSuffix(int32_t units);

// The field's text: the value converted to its units, at most `precision` decimals with trailing
// zeros dropped, never "-0", followed by the suffix when units are shown.
std::string formatNumber(const NumberField& field);

// Reads typed text in the field's units (other units and arithmetic when the field allows them).
// Returns the value in the field's exchange units, rounded to single precision (what the plug-in
// reads), before clamping; nullopt when the text is not a number or the result is not finite.
std::optional<double> parseNumberText(const NumberField& field, std::string_view text);

// The value limited to the field's minimum and maximum.
struct ClampResult {
  double value = 0;
  bool clamped = false;
};
ClampResult clampToLimits(const NumberField& field, double value);

// The shortest decimal text that reads back as exactly this number ("0.25", "100", "1e-07").
std::string shortestDecimal(double value);

}  // namespace sqhost
