// Number fields: how values are shown with units and decimals, and how typed text is read.
#include "dialogs/number_field.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace sqhost {
namespace {

NumberField field(int32_t units, int32_t precision = 3, bool showUnits = false) {
  NumberField f;
  f.numeric = true;
  f.units = units;
  f.precision = precision;
  f.showUnits = showUnits;
  return f;
}

std::string shown(NumberField f, double value) {
  f.value = value;
  return formatNumber(f);
}

TEST(NumberFieldFormat, DecimalsTrailingZerosAndNegativeZero) {
  EXPECT_EQ(shown(field(kADMNoUnits), 12.5), "12.5");
  EXPECT_EQ(shown(field(kADMNoUnits), 100), "100");
  EXPECT_EQ(shown(field(kADMNoUnits, 3), 0.33333), "0.333");
  EXPECT_EQ(shown(field(kADMNoUnits, 4), 0.1), "0.1");
  EXPECT_EQ(shown(field(kADMNoUnits, 0), 2.5), "2");
  EXPECT_EQ(shown(field(kADMNoUnits, 2), -0.001), "0");
  EXPECT_EQ(shown(field(kADMNoUnits, 2), -1.999), "-2");
}

TEST(NumberFieldFormat, UnitsConvertPointsAndShowSuffixes) {
  EXPECT_EQ(shown(field(kADMPointUnits, 3, true), 12.5), "12.5 pt");
  EXPECT_EQ(shown(field(kADMInchUnits, 3, true), 72), "1 in");
  EXPECT_EQ(shown(field(kADMMillimeterUnits, 2, true), 72), "25.4 mm");
  EXPECT_EQ(shown(field(kADMCentimeterUnits, 3, true), 72), "2.54 cm");
  EXPECT_EQ(shown(field(kADMPicaUnits, 3, true), 18), "1.5 pc");
  EXPECT_EQ(shown(field(kADMPixelUnits, 3, true), 3), "3 px");
  EXPECT_EQ(shown(field(kADMPercentUnits, 3, true), 150), "150%");
  EXPECT_EQ(shown(field(kADMDegreeUnits, 3, true), 45), "45\xC2\xB0");
  // Hidden units still convert; no units never has a suffix.
  EXPECT_EQ(shown(field(kADMInchUnits, 3, false), 36), "0.5");
  EXPECT_EQ(shown(field(kADMNoUnits, 3, true), 7), "7");
}

TEST(NumberFieldParse, PlainNumbersAndOwnUnits) {
  const NumberField pt = field(kADMPointUnits);
  EXPECT_EQ(parseNumberText(pt, "12"), 12.0);
  EXPECT_EQ(parseNumberText(pt, " -3.5 "), -3.5);
  EXPECT_EQ(parseNumberText(pt, ".5"), 0.5);
  EXPECT_EQ(parseNumberText(pt, "12 pt"), 12.0);  // the field's own suffix is always accepted
  EXPECT_EQ(parseNumberText(field(kADMInchUnits), "2"), 144.0);  // read in the field's units
  EXPECT_EQ(parseNumberText(field(kADMDegreeUnits), "30\xC2\xB0"), 30.0);
  for (const char* bad : {"", "abc", "1.2.3", "12 pt pt", "--1", "1 in"}) {
    EXPECT_FALSE(parseNumberText(pt, bad).has_value()) << bad;
  }
}

TEST(NumberFieldParse, OtherUnitsOnlyWhenAllowedAndOfTheSameKind) {
  NumberField pt = field(kADMPointUnits);
  pt.allowUnits = true;
  EXPECT_EQ(parseNumberText(pt, "1 in"), 72.0);
  EXPECT_NEAR(*parseNumberText(pt, "25.4mm"), 72.0, 1e-4);
  EXPECT_EQ(parseNumberText(pt, "2pc"), 24.0);
  EXPECT_FALSE(parseNumberText(pt, "50%").has_value());
  NumberField percent = field(kADMPercentUnits);
  percent.allowUnits = true;
  EXPECT_FALSE(parseNumberText(percent, "3 pt").has_value());
  EXPECT_EQ(parseNumberText(percent, "50%"), 50.0);
}

TEST(NumberFieldParse, ArithmeticWhenAllowed) {
  NumberField f = field(kADMPointUnits);
  EXPECT_FALSE(parseNumberText(f, "2*3").has_value());
  f.allowMath = true;
  f.allowUnits = true;
  EXPECT_EQ(parseNumberText(f, "2*3+1"), 7.0);
  EXPECT_EQ(parseNumberText(f, "(1 + 2) * -2"), -6.0);
  EXPECT_EQ(parseNumberText(f, "1in + 8"), 80.0);
  EXPECT_EQ(parseNumberText(f, "10 / 4"), 2.5);
  for (const char* bad : {"1/0", "(1+2", "1+", "*2", "2 3"}) {
    EXPECT_FALSE(parseNumberText(f, bad).has_value()) << bad;
  }
}

TEST(NumberFieldParse, ResultsAreSinglePrecisionAndFinite) {
  NumberField f = field(kADMNoUnits);
  // A typed limit reads back exactly as the limit the plug-in set in single precision.
  EXPECT_EQ(parseNumberText(f, "0.1"), static_cast<double>(0.1f));
  f.allowMath = true;
  EXPECT_FALSE(parseNumberText(f, "99999999999999999999 * 99999999999999999999").has_value());
  EXPECT_FALSE(parseNumberText(f, "99999999999999999999999999999999999999999").has_value());
}

TEST(NumberFieldClamp, LimitsAndReport) {
  NumberField f = field(kADMNoUnits);
  f.minimum = 1;
  f.maximum = 100;
  EXPECT_FALSE(clampToLimits(f, 50).clamped);
  EXPECT_EQ(clampToLimits(f, 500).value, 100);
  EXPECT_TRUE(clampToLimits(f, 500).clamped);
  EXPECT_EQ(clampToLimits(f, -5).value, 1);
  EXPECT_EQ(shortestDecimal(0.25), "0.25");
  EXPECT_EQ(shortestDecimal(500), "500");
}

}  // namespace
}  // namespace sqhost
