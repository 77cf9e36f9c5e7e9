#pragma once
// The models a user lays over a curve to test a physical law: their parameters, how each is
// fitted, the bounds that keep a fitted curve drawable, the statistics of the fit, the text lines
// that show them, and the pixel form of the parameters that the drawing and the model modifier
// work on.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/StringTable.h"
#include "logic/models/NonlinearFit.h"

namespace kinovia {

// Where the curve is drawn, in pixels of the graph control.
struct PlotArea {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
};

// The axis bounds of the plot, in physical units.
struct PlotWindow {
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// The curve in pixels from the left and bottom edges of the plot area; meaning per model kind.
using PixelParams = std::array<double, 5>;

// A variable name short enough for the model's equation: "theta" becomes "(th..)".
std::string ShortName(std::string_view name);

class Model {
 public:
  virtual ~Model() = default;

  ModelKind Kind() const { return kind_; }
  // The physical parameters, derived first from the pixel ones when a drag changed those.
  double GetParam(int index);
  const std::vector<double>& Params();
  // Keeps copies of the points, fits the model, bounds the parameters and derives the pixels.
  void Fit(std::span<const double> x, std::span<const double> y);
  // A value typed in the modifier: stored when it differs, then the pixels follow.
  void SetParam(int index, double value);
  void SetPlotArea(const PlotArea& area);
  void SetPlotWindow(const PlotWindow& window);
  void SetActive(bool active);
  bool IsActive() const { return active_; }

  // The model function at t (the dry-friction model without its stop).
  virtual double Value(double t) const = 0;

  // Line 0 is the equation, then one line a parameter. Names are used as given (see ShortName).
  std::vector<std::string> GetParamTexts(std::string_view ordinate, std::string_view abscissa);
  std::vector<std::string> GetStatTexts();
  // The block the graph shows while the mouse is over the curve: the equation, a blank line, the
  // parameters, a blank line and the statistics, lines ended by carriage returns.
  std::string HintText(std::string_view ordinate, std::string_view abscissa);
  // What the modifier's editable fields show: the parameters (dry friction: its derived values).
  virtual std::vector<double> ModifierValues();

  // Statistics of the last fit or change; -1 when they could not be computed.
  double RmsDeviation();
  double RelativePrecision();
  double Correlation();  // the affine and proportional models only

  const PixelParams& PixelParameters() const { return pixels_; }
  // A drag step of the modifier: the parameters are derived again from these when they differ
  // from the current ones, and the owner is told.
  void SetPixelParams(const PixelParams& pixels);

  std::uint32_t colour = 0x00969600;  // 0x00BBGGRR: red 0, green 150, blue 150
  std::function<void(Model&)> onModelChange;

 protected:
  Model(ModelKind kind, std::size_t paramCount) : kind_(kind), params_(paramCount, 0.0) {}

  // Fits params_ to x_, y_; false when the fit left everything as it was.
  virtual bool FitPoints() = 0;
  // Bounds the fitted parameters; kx: pixels per abscissa unit, hy: ordinate units per pixel.
  virtual void Bound(double kx, double hy) = 0;
  // The sinusoids also choose their phase; the others only bound.
  virtual void Constrain();
  // The pixel form of params_, clamped; true when a clamp changed a value.
  virtual bool ParamsToPixels(double kx, double hy) = 0;
  virtual void PixelsToParams(double kx, double hy) = 0;
  virtual TxtId EquationResource() const = 0;
  virtual std::string FirstLine(std::string_view ordinate, std::string_view abscissa) const;
  // The parameter lines, after line 0.
  virtual std::vector<std::string> ParameterLines(std::string_view ordinate) const;
  virtual std::vector<int> ShownParams() const;
  virtual bool HasCorrelation() const { return false; }

  // kx and hy of a plot on which bounds and pixels mean something.
  bool UsablePlot(double& kx, double& hy) const;
  void ComputeStats();
  std::string ParamLine(int letter, double value) const;
  void DerivePixels();

  const ModelKind kind_;
  std::vector<double> params_;
  std::vector<double> x_, y_;
  PixelParams pixels_{};
  PixelParams savedPixels_{};
  bool pixelsChanged_ = false;
  bool valuesChanged_ = false;
  bool active_ = false;
  double correlation_ = 0;
  double rmsDeviation_ = -1;
  double relativePrecision_ = -1;
  PlotArea area_;
  PlotWindow window_;
};

// p0 + p1.t: the affine model, the constant and the line through the origin.
class LinearModel : public Model {
 public:
  double Value(double t) const override;

 protected:
  using Model::Model;
  void Bound(double kx, double hy) override;
  bool ParamsToPixels(double kx, double hy) override;
  void PixelsToParams(double kx, double hy) override;
  bool HasCorrelation() const override;
};

class AffineModel : public LinearModel {
 public:
  AffineModel() : LinearModel(ModelKind::Affine, 2) {}

 protected:
  bool FitPoints() override;
  TxtId EquationResource() const override;
};

class ConstantModel : public LinearModel {
 public:
  ConstantModel() : LinearModel(ModelKind::Constant, 2) {}

 protected:
  bool FitPoints() override;
  TxtId EquationResource() const override;
  std::vector<int> ShownParams() const override { return {0}; }
};

// b.t with b the ratio of the means, not the least-squares slope through the origin.
class ProportionalModel : public LinearModel {
 public:
  ProportionalModel() : LinearModel(ModelKind::Proportional, 2) {}

 protected:
  bool FitPoints() override;
  TxtId EquationResource() const override;
  std::vector<int> ShownParams() const override { return {1}; }
};

class ExponentialModel : public Model {
 public:
  ExponentialModel() : Model(ModelKind::Exponential, 3) {}
  double Value(double t) const override;

 protected:
  bool FitPoints() override;
  void Bound(double kx, double hy) override;
  bool ParamsToPixels(double kx, double hy) override;
  void PixelsToParams(double kx, double hy) override;
  TxtId EquationResource() const override;
};

// A parabola with a vertical axis.
class ParabolaModel : public Model {
 public:
  ParabolaModel() : Model(ModelKind::Parabola, 3) {}
  double Value(double t) const override;

 protected:
  bool FitPoints() override;
  void Bound(double kx, double hy) override;
  bool ParamsToPixels(double kx, double hy) override;
  void PixelsToParams(double kx, double hy) override;
  TxtId EquationResource() const override;
};

// p0 + p1.sin(p2.t + p3).envelope(p4, t), fitted by MarquardtFit.
class SinusoidFamily : public Model {
 public:
  double Value(double t) const override;

 protected:
  using Model::Model;
  bool FitPoints() override;
  void Bound(double kx, double hy) override;
  void Constrain() override;
  bool ParamsToPixels(double kx, double hy) override;
  void PixelsToParams(double kx, double hy) override;
  TxtId EquationResource() const override;
  virtual double Envelope(double /*t*/) const { return 1; }
  // The envelope at the left edge of the plot, where the pixel amplitude is taken.
  virtual double LeftEnvelope() const;
  // Bounds the damping after the phase choice.
  virtual void BoundDamping(double /*kx*/) {}
  // The damping in pixels, clamped (true when the clamp changed it), and back.
  virtual bool DampingToPixels(double /*kx*/) { return false; }
  virtual void DampingFromPixels(double /*kx*/) {}
};

class SinusoidModel : public SinusoidFamily {
 public:
  SinusoidModel() : SinusoidFamily(ModelKind::Sinus, 4) {}
};

// Damped by exp(k.t).
class ExponentiallyDampedSinusoid : public SinusoidFamily {
 public:
  ExponentiallyDampedSinusoid() : SinusoidFamily(ModelKind::SinusExp, 5) {}

 protected:
  double Envelope(double t) const override;
  double LeftEnvelope() const override;
  void BoundDamping(double kx) override;
  bool DampingToPixels(double kx) override;
  void DampingFromPixels(double kx) override;
};

// Damped by (1 + k.t), shown as an oscillator with dry friction: y" + r.y + b.Sign(y') = c.
class LinearlyDampedSinusoid : public SinusoidFamily {
 public:
  LinearlyDampedSinusoid() : SinusoidFamily(ModelKind::SinusLin, 5) {}
  std::vector<double> ModifierValues() override;
  // q0 = w^2, q1 = -A.w.k.pi/2 (friction), q2 = w^2.offset, q3 = y(0), q4 = y'(0).
  std::array<double, 5> DerivedValues() const;

 protected:
  double Envelope(double t) const override;
  double LeftEnvelope() const override;
  void BoundDamping(double kx) override;
  bool DampingToPixels(double kx) override;
  void DampingFromPixels(double kx) override;
  std::string FirstLine(std::string_view ordinate, std::string_view abscissa) const override;
  std::vector<std::string> ParameterLines(std::string_view ordinate) const override;
};

// The model of a kind; nullptr for ModelKind::None or a number no model has.
std::unique_ptr<Model> MakeModel(ModelKind kind);

}  // namespace kinovia
