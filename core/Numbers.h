#pragma once
// The number routines every display, dialog and file goes through: formatting, conversion with
// the regional decimal separator, magnitude tests, angles, rounding and small statistics.
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Message.h"

namespace kinovia {

// The value of everything that could not be computed, read or converted.
inline constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();

// Raised by arithmetic that has no answer (the mean of nothing); caught by the command that
// started the work.
class ArithmeticError : public std::domain_error {
 public:
  using std::domain_error::domain_error;
};

bool IsZero(double x);  // |x| < 1e-100; false for NaN
bool IsHuge(double x);  // not |x| <= 1e100; true for NaN and infinities

// The one decimal character of the user's regional settings.
char DecimalSeparator();
void SetDecimalSeparator(char separator);
// Reads LC_NUMERIC from the environment ("." when it gives none) and makes it current.
void ReadDecimalSeparatorFromEnvironment();

// Display text of x with `extraDigits` more digits than the ordinary display (0).
std::string FormatValue(int extraDigits, double x);
// 15 significant digits, no trailing zeros: the text of copies and exports.
std::string FullPrecisionText(double x);
// The same text appended to `out`, as long tables are built.
void AppendFullPrecisionText(std::string& out, double x);

// Every "," and "." becomes the decimal separator, so either may be typed or read back.
std::string NormalizeDecimalSeparator(std::string_view text);

// Conversions of typed or stored text, with the current decimal separator; nullopt when refused.
std::optional<double> TextToReal(std::string_view text);
std::optional<std::int32_t> TextToInteger(std::string_view text);
// A stored real read back: separators normalised, the undefined value when it does not convert.
double StoredTextToReal(std::string_view text);

double NormalizeAngle(double a, double b);  // a + b brought into [-pi, pi]
double NormalizeAnglePositive(double a);    // a brought into [0, 2pi]
std::int32_t RoundToInt(double x);          // clamped to +-2147483647, ties to even

double MeanOf(std::span<const double> values);             // throws ArithmeticError when empty
double MaxOf(std::span<const double> values);              // -1.7e308 when empty
double MinOf(std::span<const double> values);              // 1.7e308 when empty
std::int32_t MaxOf(std::span<const std::int32_t> values);  // -2147483647 when empty
std::int32_t MinOf(std::span<const std::int32_t> values);  // 2147483647 when empty
double RmsDeviation(std::span<const double> a, std::span<const double> b);          // -1: none
double RelativeRmsDeviation(std::span<const double> a, std::span<const double> b);  // -1: none
double CorrelationCoefficient(std::span<const double> x, std::span<const double> y);

// Round graduations of an axis from min to max: the first and last inside the interval.
struct Graduation {
  double step = 0;
  double first = 0;
  double last = 0;
  int count = 0;
};
Graduation GraduateInterval(double max, double min);

// The new length of an array about to be written at index i (its length when i is inside it).
std::size_t GrownLength(std::size_t length, std::size_t i);

template <class T>
void GrowCapacity(std::vector<T>& array, std::size_t i) {
  array.resize(GrownLength(array.size(), i));
}

enum class NumberField { Integer, Real };

// The warning shown when a dialog's number field refuses what was typed.
Message NumberRejectedMessage(std::string_view typed, NumberField field);

}  // namespace kinovia
