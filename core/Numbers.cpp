#include "core/Numbers.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <numbers>
#include <numeric>

#include "resources/TxtCommon.h"
#include "resources/TxtNumbers.h"

namespace kinovia {
namespace {

char gDecimalSeparator = '.';

// The decimal digits and exponent of x rounded to `digits` significant digits (x finite, not 0).
struct Decimal {
  bool negative = false;
  std::string digits;  // no leading zero
  int exponent = 0;    // of the first digit
};

// Rounds the shortest decimal text that reads back as x, ties away from zero: the digits a reader
// typed or sees (2.0005, 150.25) round as by hand, to 2.001 and 150.3.
Decimal RoundedDecimal(double x, int digits) {
  digits = std::max(digits, 1);
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific);
  Decimal d;
  const char* p = buffer;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  std::string all;
  for (; *p != 'e'; ++p)
    if (*p != '.') all += *p;
  d.exponent = std::atoi(std::string(p + 1, static_cast<const char*>(result.ptr)).c_str());
  const auto kept = static_cast<std::size_t>(digits);
  const bool roundUp = all.size() > kept && all[kept] >= '5';
  all.resize(kept, '0');
  if (roundUp) {
    std::size_t i = kept;
    while (i > 0 && all[i - 1] == '9') all[--i] = '0';
    if (i > 0) {
      ++all[i - 1];
    } else {
      all.insert(all.begin(), '1');
      all.pop_back();
      ++d.exponent;
    }
  }
  d.digits = all;
  return d;
}

// The decimal written in fixed notation with exactly `decimals` decimals.
std::string FixedText(const Decimal& d, int decimals) {
  std::string integer, fraction;
  for (int position = std::max(d.exponent, 0); position >= -decimals; --position) {
    const int index = d.exponent - position;
    const char digit =
        index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
    (position >= 0 ? integer : fraction) += digit;
  }
  std::string text = d.negative ? "-" : "";
  text += integer;
  if (decimals > 0) text += gDecimalSeparator + fraction;
  return text;
}

int BandDecimals(int n, double magnitude) {
  if (magnitude > 1000) return n;
  if (magnitude > 100) return n + 1;
  if (magnitude > 10) return n + 2;
  return n + 3;
}

std::string FixedBandText(int n, double x) {
  const int decimals = std::max(BandDecimals(n, std::fabs(x)), 0);
  const int significant = std::max(n + 4, 1);
  Decimal d = RoundedDecimal(x, significant);
  // Round once only, at whichever of the two limits comes first.
  const int kept = std::min(significant, d.exponent + decimals + 1);
  if (kept < significant) {
    if (kept < 1) {
      const double scale = std::pow(10.0, decimals);
      return FixedText(RoundedDecimal(std::nearbyint(x * scale) / scale, 17), decimals);
    }
    d = RoundedDecimal(x, kept);
  }
  return FixedText(d, decimals);
}

std::string ExponentText(int exponent, int minimumDigits) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minimumDigits)
    digits.insert(0, static_cast<std::size_t>(minimumDigits) - digits.size(), '0');
  return (exponent < 0 ? "E-" : "E+") + digits;
}

std::string ScientificText(int n, double x) {
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  const int further = std::max(n + 2, 0);
  const Decimal d = RoundedDecimal(x, further + 1);
  std::string text = d.negative ? "-" : "";
  text += d.digits[0];
  if (further > 0) text += gDecimalSeparator + d.digits.substr(1);
  const int exponentDigits = n + 1 > 4 ? 1 : std::max(n + 1, 1);
  return text + ExponentText(d.exponent, exponentDigits);
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view s, std::size_t i) {
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i;
}

// The text in the form from_chars reads ("." as separator, no "+"), or empty when refused.
std::string CanonicalReal(std::string_view s) {
  std::size_t i = 0;
  std::string canonical;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') canonical += '-';
    ++i;
  }
  std::size_t end = SkipDigits(s, i);
  bool anyDigit = end > i;
  canonical += s.substr(i, end - i);
  i = end;
  if (i < s.size() && s[i] == gDecimalSeparator) {
    end = SkipDigits(s, ++i);
    anyDigit = anyDigit || end > i;
    canonical += '.';
    canonical += s.substr(i, end - i);
    i = end;
  }
  if (!anyDigit) return {};
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    canonical += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      if (s[i] == '-') canonical += '-';
      ++i;
    }
    end = SkipDigits(s, i);
    if (end == i) return {};
    canonical += s.substr(i, end - i);
    i = end;
  }
  return i == s.size() ? canonical : std::string();
}

}  // namespace

bool IsZero(double x) { return std::fabs(x) < 1e-100; }
bool IsHuge(double x) { return !(std::fabs(x) <= 1e100); }

char DecimalSeparator() { return gDecimalSeparator; }
void SetDecimalSeparator(char separator) { gDecimalSeparator = separator; }

void ReadDecimalSeparatorFromEnvironment() {
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  const std::string previous = current ? current : "C";
  char separator = '.';
  if (std::setlocale(LC_NUMERIC, "")) {
    const char* point = std::localeconv()->decimal_point;
    if (point && point[0] != '\0' && point[1] == '\0') separator = point[0];
  }
  std::setlocale(LC_NUMERIC, previous.c_str());
  SetDecimalSeparator(separator);
}

std::string FormatValue(int extraDigits, double x) {
  if (std::isnan(x)) return Txt(txt::UndefinedNumber);
  const int n = std::min(extraDigits, 8);
  if (x == 0.0) return "0";
  if (x >= -10000 && x <= 10000 && std::fabs(x) >= 0.01) return FixedBandText(n, x);
  return ScientificText(n, x);
}

void AppendFullPrecisionText(std::string& out, double x) {
  if (std::isnan(x)) {
    out += Txt(txt::UndefinedNumber);
    return;
  }
  if (std::isinf(x)) {
    out += x < 0 ? "-INF" : "INF";
    return;
  }
  // to_chars ignores the C locale, which Qt sets from the environment.
  char buffer[64];
  char* const end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 15).ptr;
  char* const e = std::find(buffer, end, 'e');
  std::replace(buffer, e, '.', gDecimalSeparator);
  out.append(buffer, e);
  if (e == end) return;
  out += 'E';
  out += std::to_string(std::atoi(e + 1));
}

std::string FullPrecisionText(double x) {
  std::string text;
  AppendFullPrecisionText(text, x);
  return text;
}

std::string NormalizeDecimalSeparator(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == ',' || c == '.') c = gDecimalSeparator;
  return out;
}

std::optional<double> TextToReal(std::string_view text) {
  const std::string canonical = CanonicalReal(Trimmed(text));
  if (canonical.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] =
      std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Too small to be told from zero is zero; too large is refused.
    const auto e = canonical.find('e');
    if (e != std::string::npos && canonical[e + 1] == '-') return canonical[0] == '-' ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (error != std::errc() || end != canonical.data() + canonical.size()) return std::nullopt;
  return value;
}

std::optional<std::int32_t> TextToInteger(std::string_view text) {
  std::string_view s = Trimmed(text);
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty() || (s[0] == '-' && s.size() == 1)) return std::nullopt;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

double StoredTextToReal(std::string_view text) {
  return TextToReal(NormalizeDecimalSeparator(text)).value_or(kUndefined);
}

double NormalizeAngle(double a, double b) {
  constexpr double pi = std::numbers::pi;
  double s = a + b;
  if (!std::isfinite(s)) return s;
  if (s < -pi) s += 2 * pi * std::ceil((-pi - s) / (2 * pi));
  if (s > pi) s -= 2 * pi * std::ceil((s - pi) / (2 * pi));
  return s;
}

double NormalizeAnglePositive(double a) {
  constexpr double twoPi = 2 * std::numbers::pi;
  if (!std::isfinite(a)) return a;
  if (a > twoPi) a -= twoPi * std::ceil((a - twoPi) / twoPi);
  if (a < 0) a += twoPi * std::ceil(-a / twoPi);
  return a;
}

std::int32_t RoundToInt(double x) {
  constexpr double limit = 2147483647.0;
  if (std::isnan(x)) return 0;
  return static_cast<std::int32_t>(std::nearbyint(std::clamp(x, -limit, limit)));
}

double MeanOf(std::span<const double> values) {
  if (values.empty()) throw ArithmeticError("mean of an empty array");
  return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double MaxOf(std::span<const double> values) {
  return values.empty() ? -1.7e308 : *std::max_element(values.begin(), values.end());
}

double MinOf(std::span<const double> values) {
  return values.empty() ? 1.7e308 : *std::min_element(values.begin(), values.end());
}

std::int32_t MaxOf(std::span<const std::int32_t> values) {
  return values.empty() ? -2147483647 : *std::max_element(values.begin(), values.end());
}

std::int32_t MinOf(std::span<const std::int32_t> values) {
  return values.empty() ? 2147483647 : *std::min_element(values.begin(), values.end());
}

double RmsDeviation(std::span<const double> a, std::span<const double> b) {
  const std::size_t m = std::min(a.size(), b.size());
  if (m == 0) return -1;
  double sum = 0;
  for (std::size_t i = 0; i < m; ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  return std::sqrt(sum / static_cast<double>(m));
}

double RelativeRmsDeviation(std::span<const double> a, std::span<const double> b) {
  const std::size_t m = std::min(a.size(), b.size());
  double deviation = 0, reference = 0;
  for (std::size_t i = 0; i < m; ++i) {
    deviation += (a[i] - b[i]) * (a[i] - b[i]);
    reference += a[i] * a[i];
  }
  return IsZero(reference) ? -1 : std::sqrt(deviation / reference);
}

double CorrelationCoefficient(std::span<const double> x, std::span<const double> y) {
  const std::size_t m = std::min(x.size(), y.size());
  if (m == 0) return 0;
  const double mx = MeanOf(x.first(m)), my = MeanOf(y.first(m));
  double sxy = 0, sxx = 0, syy = 0;
  for (std::size_t i = 0; i < m; ++i) {
    sxy += (x[i] - mx) * (y[i] - my);
    sxx += (x[i] - mx) * (x[i] - mx);
    syy += (y[i] - my) * (y[i] - my);
  }
  if (IsZero(sxx) || IsZero(syy)) return 0;
  return std::clamp(sxy / (std::sqrt(sxx) * std::sqrt(syy)), -1.0, 1.0);
}

Graduation GraduateInterval(double max, double min) {
  const double d = max - min;
  if (!(d >= 0) || IsHuge(d) || IsHuge(min)) return {kUndefined, min, max, 0};
  const double e = IsZero(d) ? 0 : std::floor(std::log10(d));
  const double p = std::pow(10.0, e);
  const double r = d / p;
  const double f = r <= 1.2 ? 0.2 : r <= 2.4 ? 0.4 : r <= 3.6 ? 0.6 : r < 4 ? 0.8 : r <= 6 ? 1 : 2;
  Graduation g;
  g.step = f * p;
  double k = std::trunc(min / g.step);
  if (k < 0) k -= 1;
  g.first = k * g.step;
  g.count = static_cast<int>(std::trunc(d / g.step)) + 1;
  // Bounded: a step lost in the magnitude of the bounds must not loop for ever.
  const int limit = g.count + 3;
  for (int i = 0; i < limit && !IsZero(g.first - min) && g.first < min; ++i) g.first += g.step;
  g.last = g.first;
  for (int i = 0; i < limit && g.last < max; ++i) g.last += g.step;
  if (!IsZero(max - g.last)) g.last -= g.step;
  return g;
}

std::size_t GrownLength(std::size_t length, std::size_t i) {
  if (i < length) return length;
  if (i > 64) return i + i / 4;
  if (i >= 9) return i + 16;
  if (i >= 5) return i + 8;
  return i + 4;
}

Message NumberRejectedMessage(std::string_view typed, NumberField field) {
  Message message;
  message.icon = MessageIcon::Warning;
  message.buttons = {txt::ButtonOk};
  message.lines.push_back(
      {Txt(txt::NumberRejectedValue) + " " + std::string(typed), true, true, kColourBlue});
  message.Blank();
  if (field == NumberField::Integer) {
    message.Line(txt::NumberRejectedInteger);
  } else {
    message.Line(txt::NumberRejectedReal)
        .Blank()
        .Line(txt::NumberRejectedRealForm)
        .Line(txt::NumberRejectedExponentForm);
  }
  return message;
}

}  // namespace kinovia
