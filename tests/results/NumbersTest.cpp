#include "core/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "resources/TxtNumbers.h"

namespace kinovia {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;

// Restores the point as separator after each test, whatever the test chose.
class Numbers : public ::testing::Test {
 protected:
  void TearDown() override { SetDecimalSeparator('.'); }
};

struct FormatCase {
  int n;
  double x;
  const char* point;  // with "." as separator
  const char* comma;  // with "," as separator
};

TEST_F(Numbers, FormatValueWritesTheDisplayTextInBothSeparators) {
  const FormatCase cases[] = {
      {0, 1234.56, "1235", "1235"},
      {0, 5, "5.000", "5,000"},
      {0, 12.3456, "12.35", "12,35"},
      {0, 0.0123, "0.012", "0,012"},
      {0, 0.005, "5.00E-3", "5,00E-3"},
      {0, 12345, "1.23E+4", "1,23E+4"},
      {2, 12345, "1.2345E+004", "1,2345E+004"},
      {3, 123456, "1.23456E+0005", "1,23456E+0005"},
      {4, 123456, "1.234560E+5", "1,234560E+5"},
      {-1, 1234.56, "1230", "1230"},
      {0, 0, "0", "0"},
      {0, -0.0, "0", "0"},
      {0, -5, "-5.000", "-5,000"},
      {0, 150.25, "150.3", "150,3"},
      {1, 0.01, "0.0100", "0,0100"},
      {0, 0.0099999, "1.00E-2", "1,00E-2"},
      {0, -123456789, "-1.23E+8", "-1,23E+8"},
      {0, 1e-120, "1.00E-120", "1,00E-120"},
      {0, kInf, "INF", "INF"},
      {0, -kInf, "-INF", "-INF"},
      {9, 1.0 / 3, "0.33333333333", "0,33333333333"},
      {0, -2.0005, "-2.001", "-2,001"},
      {0, 0.125, "0.125", "0,125"},
      {-1, 0.125, "0.13", "0,13"},
      {-2, 3.14159, "3.1", "3,1"},
      {-3, 1.5e6, "2E+6", "2E+6"},
      // One rounding only: 0.0124996 must not become 0.0125 and then 0.013.
      {0, 0.0124996, "0.012", "0,012"},
  };
  for (const auto& c : cases) {
    SetDecimalSeparator('.');
    EXPECT_EQ(FormatValue(c.n, c.x), c.point) << "n=" << c.n << " x=" << c.x;
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatValue(c.n, c.x), c.comma) << "n=" << c.n << " x=" << c.x;
  }
}

TEST_F(Numbers, FormatValueCapsExtraDigitsAtEightAndShowsNaNAsUndefined) {
  for (double x : {1234.56789, 0.000123456789, 98765432.1})
    EXPECT_EQ(FormatValue(9, x), FormatValue(8, x)) << x;
  for (int n : {-5, 0, 3, 12}) EXPECT_EQ(FormatValue(n, kNaN), "#Número!");
}

TEST_F(Numbers, FullPrecisionTextKeepsFifteenDigitsWithoutPadding) {
  const std::pair<double, const char*> cases[] = {
      {1.5e-5, "1.5E-5"},
      {1e20, "1E20"},
      {0.1 + 0.2, "0.3"},
      {-2.5, "-2.5"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {0.0001, "0.0001"},
      {0, "0"},
      {kNaN, "#Número!"},
  };
  for (const auto& [x, text] : cases) EXPECT_EQ(FullPrecisionText(x), text) << x;
  SetDecimalSeparator(',');
  EXPECT_EQ(FullPrecisionText(-2.5), "-2,5");
  EXPECT_EQ(FullPrecisionText(1.5e-5), "1,5E-5");
}

TEST_F(Numbers, RealConversionFollowsTheSeparatorAndRefusesOtherForms) {
  for (char separator : {'.', ','}) {
    SetDecimalSeparator(separator);
    EXPECT_DOUBLE_EQ(*TextToReal(NormalizeDecimalSeparator("1,5")), 1.5);
    EXPECT_DOUBLE_EQ(*TextToReal(NormalizeDecimalSeparator("1.5")), 1.5);
    EXPECT_FALSE(TextToReal(NormalizeDecimalSeparator("1.234,5")));
  }
  SetDecimalSeparator('.');
  const std::pair<const char*, double> accepted[] = {
      {" -12.5e+2 ", -1250}, {"+3", 3}, {"7.", 7}, {".5", 0.5}, {"1E-3", 0.001}, {"1e-400", 0}};
  for (const auto& [text, value] : accepted) EXPECT_DOUBLE_EQ(*TextToReal(text), value) << text;
  for (const char* text : {"", " ", "-", ".", "1,5", "1.2.3", "1e", "1e+", "e5", "12a", "1 000",
                           "0x10", "nan", "inf", "1e400", "--1"})
    EXPECT_FALSE(TextToReal(text)) << text;
}

TEST_F(Numbers, IntegerConversionStaysInTheSignedRange) {
  EXPECT_EQ(TextToInteger("2147483647"), 2147483647);
  EXPECT_EQ(TextToInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(TextToInteger(" +42 "), 42);
  for (const char* text : {"2147483648", "1.0", "", "+", "-", "4 2", "1e3"})
    EXPECT_FALSE(TextToInteger(text)) << text;
}

TEST_F(Numbers, StoredRealThatDoesNotConvertIsUndefined) {
  SetDecimalSeparator(',');
  EXPECT_DOUBLE_EQ(StoredTextToReal("0.25"), 0.25);
  EXPECT_TRUE(std::isnan(StoredTextToReal("abc")));
}

TEST_F(Numbers, SeparatorIsReadFromTheRegionalSettings) {
  // The set-up script makes es_ES.UTF-8, whose separator is ",".
  const char* saved = std::getenv("LC_ALL");
  const std::string previous = saved ? saved : "";
  setenv("LC_ALL", "es_ES.UTF-8", 1);
  ReadDecimalSeparatorFromEnvironment();
  EXPECT_EQ(DecimalSeparator(), ',');
  setenv("LC_ALL", "C", 1);
  ReadDecimalSeparatorFromEnvironment();
  EXPECT_EQ(DecimalSeparator(), '.');
  if (saved)
    setenv("LC_ALL", previous.c_str(), 1);
  else
    unsetenv("LC_ALL");
}

TEST_F(Numbers, TextsIgnoreTheCLocaleThatQtSetsFromTheEnvironment) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_NE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8"), nullptr);
  SetDecimalSeparator('.');
  EXPECT_EQ(FullPrecisionText(2.5), "2.5");
  EXPECT_EQ(FormatValue(0, 2.5), "2.500");
  EXPECT_DOUBLE_EQ(*TextToReal("2.5"), 2.5);
  std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST_F(Numbers, MagnitudeTests) {
  EXPECT_TRUE(IsZero(0.0));
  EXPECT_TRUE(IsZero(-9e-101));
  EXPECT_FALSE(IsZero(1e-100));
  EXPECT_FALSE(IsZero(kNaN));
  EXPECT_FALSE(IsHuge(1e100));
  EXPECT_TRUE(IsHuge(-1.0001e100));
  EXPECT_TRUE(IsHuge(kNaN));
  EXPECT_TRUE(IsHuge(kInf));
  EXPECT_TRUE(IsHuge(-kInf));
}

TEST_F(Numbers, AnglesAreBroughtIntoTheirRanges) {
  EXPECT_DOUBLE_EQ(NormalizeAngle(3, 3), 6 - 2 * kPi);
  EXPECT_DOUBLE_EQ(NormalizeAngle(-kPi, 0), -kPi);
  EXPECT_DOUBLE_EQ(NormalizeAngle(kPi, 0), kPi);
  EXPECT_NEAR(NormalizeAngle(-20, 0), -20 + 6 * kPi, 1e-12);
  EXPECT_DOUBLE_EQ(NormalizeAnglePositive(-kPi / 2), 3 * kPi / 2);
  EXPECT_DOUBLE_EQ(NormalizeAnglePositive(2 * kPi), 2 * kPi);
  EXPECT_NEAR(NormalizeAnglePositive(13), 13 - 4 * kPi, 1e-12);
  EXPECT_TRUE(std::isnan(NormalizeAngle(kNaN, 1)));  // and returns at once
}

TEST_F(Numbers, RoundToIntClampsAndRoundsTiesToEven) {
  const std::pair<double, int> cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {1e12, 2147483647}, {-1e12, -2147483647}, {kNaN, 0}};
  for (const auto& [x, n] : cases) EXPECT_EQ(RoundToInt(x), n) << x;
}

TEST_F(Numbers, StatisticsOfArrays) {
  const std::vector<double> a = {1, 2, 3, 4}, b = {1, 2, 3, 6, 100};
  EXPECT_DOUBLE_EQ(MeanOf(a), 2.5);
  EXPECT_THROW(MeanOf(std::vector<double>{}), ArithmeticError);
  EXPECT_DOUBLE_EQ(MaxOf(std::vector<double>{}), -1.7e308);
  EXPECT_DOUBLE_EQ(MinOf(std::vector<double>{}), 1.7e308);
  EXPECT_EQ(MaxOf(std::vector<std::int32_t>{}), -2147483647);
  EXPECT_EQ(MinOf(std::vector<std::int32_t>{3, -7, 5}), -7);
  EXPECT_DOUBLE_EQ(RmsDeviation(a, b), 1.0);  // sqrt(4 / 4), the shorter length counts
  EXPECT_DOUBLE_EQ(RmsDeviation({}, {}), -1);
  EXPECT_DOUBLE_EQ(RelativeRmsDeviation(a, b), std::sqrt(4.0 / 30));
  EXPECT_DOUBLE_EQ(RelativeRmsDeviation(std::vector<double>{0, 0}, a), -1);
  EXPECT_DOUBLE_EQ(CorrelationCoefficient(a, std::vector<double>{2, 4, 6, 8}), 1);
  EXPECT_DOUBLE_EQ(CorrelationCoefficient(a, std::vector<double>{8, 6, 4, 2}), -1);
  EXPECT_DOUBLE_EQ(CorrelationCoefficient(a, std::vector<double>{5, 5, 5, 5}), 0);
}

TEST_F(Numbers, GraduateIntervalPlacesRoundGraduationsInside) {
  struct {
    double max, min, step, first, last;
    int count;
  } cases[] = {
      {5, 0, 1, 0, 5, 6},   {3, -2.5, 1, -2, 3, 6},
      {7, 0, 2, 0, 6, 4},   {0.75, 0.25, 0.1, 0.3, 0.7, 6},
      {1, 1, 0.2, 1, 1, 1},
  };
  for (const auto& c : cases) {
    const Graduation g = GraduateInterval(c.max, c.min);
    EXPECT_NEAR(g.step, c.step, 1e-12) << c.max << " " << c.min;
    EXPECT_NEAR(g.first, c.first, 1e-12) << c.max << " " << c.min;
    EXPECT_NEAR(g.last, c.last, 1e-12) << c.max << " " << c.min;
    EXPECT_EQ(g.count, c.count) << c.max << " " << c.min;
  }
}

TEST_F(Numbers, GraduateIntervalEndsOnBoundsItCannotGraduate) {
  // A step far below the magnitude of the bounds, reversed bounds, and infinities return at once.
  EXPECT_EQ(GraduateInterval(1e20 + 32768, 1e20).count, 6);
  EXPECT_TRUE(std::isnan(GraduateInterval(0, 1).step));
  EXPECT_TRUE(std::isnan(GraduateInterval(kInf, 0).step));
  EXPECT_TRUE(std::isnan(GraduateInterval(kNaN, 0).step));
}

TEST_F(Numbers, GrowCapacityFollowsTheGrowthRule) {
  const std::pair<std::size_t, std::size_t> cases[] = {{0, 4},  {4, 8},   {5, 13},  {8, 16},
                                                       {9, 25}, {64, 80}, {65, 81}, {400, 500}};
  for (const auto& [i, length] : cases) {
    std::vector<int> array;
    GrowCapacity(array, i);
    EXPECT_EQ(array.size(), length) << i;
  }
  std::vector<int> big(10);
  GrowCapacity(big, 9);
  EXPECT_EQ(big.size(), 10u);
}

TEST_F(Numbers, NumberRejectedMessageSaysWhatFormIsAccepted) {
  const Message real = NumberRejectedMessage("1,2,3", NumberField::Real);
  EXPECT_EQ(real.icon, MessageIcon::Warning);
  ASSERT_EQ(real.lines.size(), 6u);
  EXPECT_EQ(real.lines[0].text, "Valor establecido : 1,2,3");
  EXPECT_TRUE(real.lines[0].bold && real.lines[0].italic);
  EXPECT_EQ(real.lines[0].colour, kColourBlue);
  EXPECT_EQ(real.lines[2].text, Txt(txt::NumberRejectedReal));
  EXPECT_EQ(real.lines[5].text, Txt(txt::NumberRejectedExponentForm));
  const Message integer = NumberRejectedMessage("x", NumberField::Integer);
  ASSERT_EQ(integer.lines.size(), 3u);
  EXPECT_EQ(integer.lines[2].text,
            "Esta cadena de caracteres no representa un número entero aceptable.");
}

}  // namespace
}  // namespace kinovia
