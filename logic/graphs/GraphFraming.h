#pragma once
// The arithmetic of a graph that does not need a screen: how the window frames the data, how
// pixels and data meet, how the axes are graduated and labelled, and how zoom and pan move the
// window.
#include <string>
#include <utility>
#include <vector>

#include "logic/models/Models.h"

namespace kinovia {

// What an axis must show of zero when it is framed.
struct AxisFraming {
  bool zeroVisible = false;  // a range entirely on one side of zero is stretched to reach it
  bool startAtZero = false;  // the axis begins at exactly 0, after the margin
};

// Data extremes before any point widened them: the minima start huge, the maxima very negative.
PlotWindow EmptyBounds();
// Widens the bounds so that they hold (x, y); undefined values are left out.
void WidenBounds(PlotWindow& bounds, double x, double y);

// The window that shows `bounds` with `margin` (a fraction of each range) around the data. A zero
// or undefined range is widened so that the window never collapses; when nothing sensible can be
// made of the bounds (no data, an arithmetic fault) the window is [0, 100] x [0, 100].
PlotWindow AutoWindow(const PlotWindow& bounds, AxisFraming x, AxisFraming y, double margin);

// Widens one range about its centre so that both axes have as many data units per pixel.
PlotWindow MakeOrthonormal(const PlotWindow& window, int height, int width);

// Widens each range to at least a quarter of the reference extent, both ends moving out alike.
PlotWindow AtLeastQuarterOf(const PlotWindow& bounds, double width, double height);

// Conversion between the pixels of a plot area and the data of its window.
struct PlotMapping {
  PlotArea area;
  PlotWindow window;

  double XToData(double px) const;
  double YToData(double py) const;
  double XToPixel(double x) const;
  double YToPixel(double y) const;
};

// How the labels of an axis are written, chosen from the largest magnitude of its ends.
struct LabelFormat {
  bool exponent = false;  // 3 significant digits, at least one exponent digit
  int decimals = 0;       // fixed format otherwise
};
LabelFormat AxisLabelFormat(double min, double max);
std::string AxisLabelText(double value, LabelFormat format);

// The values of the graduations between min and max; near-zero values after the first are 0.
std::vector<double> AxisGraduations(double min, double max, double* step = nullptr);

// The zoom factors a click steps through, smallest to largest.
inline constexpr double kZoomFactors[] = {1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6, 1.0 / 4, 1.0 / 3,
                                          1.0 / 2,  2.0 / 3,  1.0,     1.5,     2.0,     2.5,
                                          3.0,      3.5,      4.0,     6.0,     10.0};
inline constexpr double kZoomMin = 1.0 / 16;
inline constexpr double kZoomMax = 10.0;

// The factor after one click: the next table value, or with `slow` a tenth of the step between
// the two table values that enclose the factor; never outside [1/16, 10].
double NextZoomFactor(double factor, bool in, bool slow);

// Which axes a zoom or a pan acts on.
struct ZoomAxes {
  bool x = true;
  bool y = true;
};

// The window rescaled about the data point (px, py) when the factor goes from `from` to `to`.
PlotWindow ZoomAbout(const PlotWindow& window, double px, double py, double from, double to,
                     ZoomAxes axes);

// A zoom by the dragged rectangle (pixels of the plot): the new factors and window. Nothing
// happens (nullopt-like: `changed` false) for a rectangle of 9 pixels or less on either side.
struct RectangleZoom {
  bool changed = false;
  double factorX = 1, factorY = 1;
  PlotWindow window;
};
RectangleZoom ZoomToRectangle(const PlotMapping& mapping, double factorX, double factorY, int left,
                              int top, int right, int bottom, ZoomAxes axes, bool orthonormal);

// The window moved by a mouse displacement of (dx, dy) pixels over a control of that size.
PlotWindow PanWindow(const PlotWindow& window, int dx, int dy, int controlWidth, int controlHeight);

}  // namespace kinovia
