// Each model's fit, bounds and pixel form.
#include <cmath>
#include <numbers>

#include "core/LeastSquares.h"
#include "core/Numbers.h"
#include "logic/models/Models.h"
#include "resources/TxtGraphs.h"

namespace kinovia {
namespace {

using std::numbers::pi;

// Brings v into [-limit, limit] (the form every bound after a fit takes).
void Limit(double& v, double limit) {
  if (v > limit)
    v = limit;
  else if (v < -limit)
    v = -limit;
}

// Brings v into [lo, hi]; true when that changed it.
bool Clamp(double& v, double lo, double hi) {
  const double before = v;
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return v != before;
}

// A polynomial fit written into the first `terms` parameters. A fit reduced to fewer terms (too
// few points) leaves the higher coefficients at 0 rather than at the values of an older fit.
void FitPolynomial(int terms, std::span<const double> x, std::span<const double> y,
                   std::vector<double>& params) {
  std::vector<double> p;
  if (LeastSquaresFit(terms, x, y, p) != LsqStatus::Ok) return;
  for (std::size_t i = 0; i < static_cast<std::size_t>(terms); ++i)
    params[i] = i < p.size() ? p[i] : 0.0;
}

}  // namespace

// ---- straight lines ----

double LinearModel::Value(double t) const { return params_[0] + params_[1] * t; }

bool LinearModel::HasCorrelation() const {
  return kind_ == ModelKind::Affine || kind_ == ModelKind::Proportional;
}

void LinearModel::Bound(double kx, double hy) {
  if (kind_ != ModelKind::Constant) Limit(params_[1], 1e10 * kx * hy);
  if (kind_ != ModelKind::Proportional)
    Limit(params_[0], 10000 * hy - params_[1] * window_.xMin + window_.yMin);
}

bool LinearModel::ParamsToPixels(double kx, double hy) {
  pixels_[0] = (params_[0] + params_[1] * window_.xMin - window_.yMin) / hy;
  pixels_[1] = params_[1] / (kx * hy);
  const bool clamped = Clamp(pixels_[0], -10000, 10000);
  return Clamp(pixels_[1], -1e10, 1e10) || clamped;
}

void LinearModel::PixelsToParams(double kx, double hy) {
  params_[1] = kind_ == ModelKind::Constant ? 0.0 : pixels_[1] * kx * hy;
  params_[0] = kind_ == ModelKind::Proportional
                   ? 0.0
                   : pixels_[0] * hy + window_.yMin - params_[1] * window_.xMin;
}

bool AffineModel::FitPoints() {
  FitPolynomial(2, x_, y_, params_);
  return true;
}

TxtId AffineModel::EquationResource() const { return txt::ModelEquationAffine; }

bool ConstantModel::FitPoints() {
  FitPolynomial(1, x_, y_, params_);
  params_[1] = 0;
  return true;
}

TxtId ConstantModel::EquationResource() const { return txt::ModelEquationConstant; }

bool ProportionalModel::FitPoints() {
  if (x_.empty()) return false;
  const double meanX = MeanOf(x_);
  const double meanY = MeanOf(y_);
  if (IsZero(meanX) || IsHuge(meanY)) return false;
  params_[0] = 0;
  params_[1] = meanY / meanX;
  return true;
}

TxtId ProportionalModel::EquationResource() const { return txt::ModelEquationProportional; }

// ---- exponential ----

double ExponentialModel::Value(double t) const {
  return params_[0] + params_[1] * std::exp(params_[2] * t);
}

bool ExponentialModel::FitPoints() {
  MarquardtFit(x_, y_, ModelKind::Exponential, params_);
  return true;
}

void ExponentialModel::Bound(double kx, double hy) {
  Limit(params_[2], kx);
  Limit(params_[1], std::exp(-params_[2] * window_.xMin) * hy * 1e100);
  Limit(params_[0], 10000 * hy + window_.yMin);
}

bool ExponentialModel::ParamsToPixels(double kx, double hy) {
  pixels_[0] = (params_[0] - window_.yMin) / hy;
  pixels_[1] = params_[1] * std::exp(params_[2] * window_.xMin) / hy;
  pixels_[2] = params_[2] / kx;
  const bool asymptote = Clamp(pixels_[0], -10000, 10000);
  const bool factor = Clamp(pixels_[1], -1e100, 1e100);
  return Clamp(pixels_[2], -1, 1) || asymptote || factor;
}

void ExponentialModel::PixelsToParams(double kx, double hy) {
  params_[2] = pixels_[2] * kx;
  params_[1] = pixels_[1] * hy / std::exp(params_[2] * window_.xMin);
  params_[0] = pixels_[0] * hy + window_.yMin;
}

TxtId ExponentialModel::EquationResource() const { return txt::ModelEquationExponential; }

// ---- parabola ----

double ParabolaModel::Value(double t) const {
  return params_[0] + t * (params_[1] + t * params_[2]);
}

bool ParabolaModel::FitPoints() {
  FitPolynomial(3, x_, y_, params_);
  return true;
}

void ParabolaModel::Bound(double kx, double hy) {
  const double x0 = window_.xMin;
  Limit(params_[2], 10000 * kx * kx * hy);
  Limit(params_[1], 10000 * kx * hy - 2 * params_[2] * x0);
  Limit(params_[0], 100000 * hy - params_[2] * x0 * x0 - params_[1] * x0 + window_.yMin);
}

bool ParabolaModel::ParamsToPixels(double kx, double hy) {
  const double x0 = window_.xMin;
  pixels_[0] = params_[2] / (kx * kx * hy);
  pixels_[1] = (params_[1] + 2 * params_[2] * x0) / (kx * hy);
  pixels_[2] = (Value(x0) - window_.yMin) / hy;
  const bool curvature = Clamp(pixels_[0], -10000, 10000);
  const bool slope = Clamp(pixels_[1], -10000, 10000);
  return Clamp(pixels_[2], -100000, 100000) || curvature || slope;
}

void ParabolaModel::PixelsToParams(double kx, double hy) {
  const double x0 = window_.xMin;
  params_[2] = pixels_[0] * kx * kx * hy;
  params_[1] = pixels_[1] * kx * hy - 2 * params_[2] * x0;
  params_[0] = pixels_[2] * hy + window_.yMin - params_[1] * x0 - params_[2] * x0 * x0;
}

TxtId ParabolaModel::EquationResource() const { return txt::ModelEquationParabola; }

// ---- sinusoids ----

double SinusoidFamily::Value(double t) const {
  return params_[0] + params_[1] * std::sin(params_[2] * t + params_[3]) * Envelope(t);
}

bool SinusoidFamily::FitPoints() {
  MarquardtFit(x_, y_, kind_, params_);
  return true;
}

TxtId SinusoidFamily::EquationResource() const {
  return kind_ == ModelKind::SinusExp ? txt::ModelEquationSinusExp : txt::ModelEquationSinus;
}

void SinusoidFamily::Bound(double kx, double hy) {
  Limit(params_[0], 10000 * hy + window_.yMin);
  if (std::isnan(params_[1]) || params_[1] < 0) params_[1] = 0;
  if (params_[1] > 10000 * hy) params_[1] = 10000 * hy;
  Clamp(params_[2], 1e-6 * kx, 0.25 * kx);
}

// Bounds, then keeps whichever of the two phases d and d + pi fits better (a fit that came out
// with a negative amplitude got a positive one back, and its phase must follow), then bounds the
// damping. The phase is chosen even on a plot that cannot bound anything.
void SinusoidFamily::Constrain() {
  Model::Constrain();
  ComputeStats();
  const double before = rmsDeviation_;
  const double phase = params_[3];
  params_[3] = NormalizeAnglePositive(phase + pi);
  ComputeStats();
  if (rmsDeviation_ > before) params_[3] = phase;
  double kx = 0, hy = 0;
  if (UsablePlot(kx, hy)) BoundDamping(kx);
}

double SinusoidFamily::LeftEnvelope() const { return 1; }

bool SinusoidFamily::ParamsToPixels(double kx, double hy) {
  pixels_[0] = (params_[0] - window_.yMin) / hy;
  pixels_[1] = params_[1] * LeftEnvelope() / hy;
  double perPixel = std::fmod(params_[2] / kx, 2 * pi);
  if (perPixel < 0) perPixel += 2 * pi;
  const bool pulsation = perPixel != params_[2] / kx;
  pixels_[2] = perPixel;
  pixels_[3] = params_[2] * window_.xMin + params_[3];
  const bool offset = Clamp(pixels_[0], -10000, 10000);
  const bool amplitude = Clamp(pixels_[1], 0, 10000);
  const bool period = Clamp(pixels_[2], 1e-6, 0.25);
  const bool damping = DampingToPixels(kx);
  return offset || amplitude || pulsation || period || damping;
}

void SinusoidFamily::PixelsToParams(double kx, double hy) {
  params_[2] = pixels_[2] * kx;
  params_[3] = pixels_[3] - params_[2] * window_.xMin;
  DampingFromPixels(kx);
  params_[1] = pixels_[1] * hy / LeftEnvelope();
  params_[0] = pixels_[0] * hy + window_.yMin;
}

double ExponentiallyDampedSinusoid::Envelope(double t) const { return std::exp(params_[4] * t); }

double ExponentiallyDampedSinusoid::LeftEnvelope() const {
  return std::exp(params_[4] * window_.xMin);
}

void ExponentiallyDampedSinusoid::BoundDamping(double kx) {
  if (params_[4] > 0) params_[4] = 0;
  if (params_[4] < -0.9 * kx) params_[4] = -0.9 * kx;
}

bool ExponentiallyDampedSinusoid::DampingToPixels(double kx) {
  pixels_[4] = params_[4] / kx;
  return Clamp(pixels_[4], -0.9, 0);
}

void ExponentiallyDampedSinusoid::DampingFromPixels(double kx) { params_[4] = pixels_[4] * kx; }

double LinearlyDampedSinusoid::Envelope(double t) const { return 1 + params_[4] * t; }

// The amplitude at the left edge, while the envelope is still open there.
double LinearlyDampedSinusoid::LeftEnvelope() const {
  const double envelope = 1 + params_[4] * window_.xMin;
  return envelope > 0 ? envelope : 1;
}

void LinearlyDampedSinusoid::BoundDamping(double /*kx*/) {
  if (params_[4] > 0) params_[4] = 0;
}

bool LinearlyDampedSinusoid::DampingToPixels(double kx) {
  const double envelope = 1 + params_[4] * window_.xMin;
  if (!(envelope > 0)) return false;
  pixels_[4] = params_[4] / (kx * envelope);
  if (!(pixels_[4] > 0)) return false;
  pixels_[4] = 0;
  return true;
}

void LinearlyDampedSinusoid::DampingFromPixels(double kx) {
  if (!(1 + params_[4] * window_.xMin > 0)) return;
  const double perPixel = pixels_[4] * kx;
  params_[4] = perPixel / (1 - perPixel * window_.xMin);
}

std::array<double, 5> LinearlyDampedSinusoid::DerivedValues() const {
  const double offset = params_[0], amplitude = params_[1], omega = params_[2];
  const double phase = params_[3], k = params_[4];
  return {omega * omega, -amplitude * omega * k * pi / 2, omega * omega * offset,
          amplitude * std::sin(phase) + offset,
          amplitude * (omega * std::cos(phase) + k * std::sin(phase))};
}

std::vector<double> LinearlyDampedSinusoid::ModifierValues() {
  Params();
  const auto q = DerivedValues();
  return {q.begin(), q.end()};
}

std::string LinearlyDampedSinusoid::FirstLine(std::string_view ordinate, std::string_view) const {
  const std::string& letters = Txt(txt::ModelParamLetters);
  const std::string y(ordinate);
  return Txt(txt::ModelWord) + ": " + y + "\" + " + letters[0] + "." + y + " + " + letters[1] +
         ".Sign(" + y + "') = " + letters[2];
}

std::vector<std::string> LinearlyDampedSinusoid::ParameterLines(std::string_view ordinate) const {
  const auto q = DerivedValues();
  const std::string y(ordinate);
  return {ParamLine(0, q[0]), ParamLine(1, q[1]), ParamLine(2, q[2]),
          y + "(0) = " + FormatValue(0, q[3]), y + "'(0) = " + FormatValue(0, q[4])};
}

}  // namespace kinovia
