#pragma once
// The two scales drawn on a graph: the bar that gives a length on the plot, and the arrow that
// gives the value a vector of its length represents.
#include <string>

#include "logic/graphs/GraphFraming.h"

namespace kinovia {

// The length in pixels of the scale bar and of the scale arrow: the arrow picture is 64 pixels.
inline constexpr int kScalePixels = 63;

// The value an arrow of `pixels` represents on the vectors page; the up-down control steps it.
struct VectorScale {
  double value = 1;
  int pixels = kScalePixels;

  void Step(bool up) { value *= up ? 1.1 : 0.9; }
  // The length in pixels of a vector of this magnitude; 0 for an undefined one.
  double PixelLength(double magnitude) const;
};

// A round value (1, 2 or 5 times a power of ten) not below `largest`, so that the longest vector
// is no longer than the scale arrow; 1 when there is no usable magnitude.
double RoundScaleValue(double largest);

// A number in general format with `digits` significant digits, as the scales label themselves.
std::string GeneralText(double value, int digits);

// The data length that `pixels` cover along the horizontal axis of the plot.
double ScaleBarLength(const PlotMapping& mapping, int pixels);

}  // namespace kinovia
