#include "cli/CliPoints.h"

#include <charconv>

namespace kinovia::cli {
namespace {

// "." is the only decimal separator here: "," separates a point's two fractions.
std::optional<double> Fraction(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::vector<PointD>> Polygon(std::string_view text) {
  std::vector<PointD> points;
  while (!text.empty()) {
    const std::size_t semicolon = text.find(';');
    const std::string_view pair = text.substr(0, semicolon);
    const std::size_t comma = pair.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto u = Fraction(pair.substr(0, comma));
    const auto v = Fraction(pair.substr(comma + 1));
    if (!u || !v) return std::nullopt;
    points.push_back({*u, *v});
    text = semicolon == std::string_view::npos ? std::string_view() : text.substr(semicolon + 1);
  }
  return points;
}

}  // namespace kinovia::cli
