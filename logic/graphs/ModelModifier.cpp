#include "logic/graphs/ModelModifier.h"

#include <cmath>

namespace kinovia {
namespace {

constexpr int kSecantSteps = 40;
constexpr double kPixelTolerance = 0.05;

// The curve's pixel height at data abscissa x after the pixels changed.
double PixelHeightAt(Model& model, const PlotMapping& mapping, double x) {
  model.Params();  // derives the physical parameters from the changed pixels
  return mapping.YToPixel(model.Value(x));
}

bool IsSinusoid(ModelKind kind) {
  return kind == ModelKind::Sinus || kind == ModelKind::SinusExp || kind == ModelKind::SinusLin;
}

}  // namespace

int GrabbedParameter(Model& model, const PlotMapping& mapping, double px, double py) {
  const double part = (px - mapping.area.left) / std::max(1, mapping.area.width);
  const int third = part < 1.0 / 3 ? 0 : part < 2.0 / 3 ? 1 : 2;
  switch (model.Kind()) {
    case ModelKind::Constant:
      return 0;
    case ModelKind::Proportional:
      return 1;
    case ModelKind::Affine:
      return third == 0 ? 0 : 1;
    case ModelKind::Parabola:
      return 2 - third;  // value at the left edge, slope there, curvature
    case ModelKind::Exponential:
      return third;  // asymptote, factor, rate
    default:
      break;
  }
  if (!IsSinusoid(model.Kind())) return 0;
  if (part < 0.15) return 0;
  if (part > 0.8 && model.Kind() != ModelKind::Sinus) return 4;
  // Near the middle line the phase moves the curve most; near a crest the amplitude.
  const PixelParams& pixels = model.PixelParameters();
  const double fromBottom = mapping.area.top + mapping.area.height - py;
  return std::fabs(fromBottom - pixels[0]) < pixels[1] / 2 ? 3 : 1;
}

bool DragModelThrough(Model& model, int index, double x, double y, const PlotMapping& mapping) {
  if (index < 0 || index >= int(PixelParams{}.size())) return false;
  const double target = mapping.YToPixel(y);
  PixelParams pixels = model.PixelParameters();
  const PixelParams start = pixels;
  auto miss = [&](double value) {
    pixels[std::size_t(index)] = value;
    model.SetPixelParams(pixels);
    return PixelHeightAt(model, mapping, x) - target;
  };
  double p0 = start[std::size_t(index)];
  double f0 = miss(p0);
  if (!std::isfinite(f0)) return false;
  // A first step that the parameter's own scale notices.
  double p1 = p0 + (std::fabs(p0) > 1e-3 ? std::fabs(p0) * 0.01 : 1e-3);
  double f1 = miss(p1);
  for (int step = 0; step < kSecantSteps && std::isfinite(f1); ++step) {
    if (std::fabs(f1) < kPixelTolerance || f1 == f0) break;
    const double next = p1 - f1 * (p1 - p0) / (f1 - f0);
    p0 = p1;
    f0 = f1;
    p1 = next;
    f1 = miss(p1);
  }
  if (!std::isfinite(f1)) {
    model.SetPixelParams(start);
    model.Params();
    return false;
  }
  return true;
}

double DragTarget(double grabbed, double mouse, bool slow) {
  return slow ? grabbed + (mouse - grabbed) / 10 : mouse;
}

}  // namespace kinovia
