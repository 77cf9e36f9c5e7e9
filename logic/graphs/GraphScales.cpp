#include "logic/graphs/GraphScales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Numbers.h"

namespace kinovia {

double VectorScale::PixelLength(double magnitude) const {
  if (!std::isfinite(magnitude) || !(value > 0)) return 0;
  return magnitude / value * pixels;
}

double RoundScaleValue(double largest) {
  if (!std::isfinite(largest) || !(largest > 0) || IsHuge(largest)) return 1;
  const double decade = std::pow(10.0, std::floor(std::log10(largest)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * decade >= largest * (1 - 1e-12)) return m * decade;
  return 10 * decade;
}

std::string GeneralText(double value, int digits) {
  if (!std::isfinite(value)) return FormatValue(0, value);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.*g", std::clamp(digits, 1, 17), value);
  std::string text = buffer;
  // snprintf follows the C locale, which Qt may have set from the environment.
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '.' || c == ','; }, DecimalSeparator());
  return text;
}

double ScaleBarLength(const PlotMapping& mapping, int pixels) {
  if (mapping.area.width <= 0) return 0;
  return pixels * (mapping.window.xMax - mapping.window.xMin) / mapping.area.width;
}

}  // namespace kinovia
