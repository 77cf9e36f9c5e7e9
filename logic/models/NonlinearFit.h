#pragma once
// The iterative least-squares fit of the models that are not linear in their parameters (the
// exponential and the three sinusoids): Levenberg-Marquardt steps, each followed by a search along
// the step, analytic derivatives, starting estimates taken from the data, and a last undamped step
// once the parameters have settled.
#include <array>
#include <cfenv>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace kinovia {

// The models by the numbers the results window's model buttons pass; 3 is not used and None is
// the button that takes the model away.
enum class ModelKind : int {
  Affine = 0,
  Constant = 1,
  Exponential = 2,
  Parabola = 4,
  Proportional = 5,
  Sinus = 6,
  SinusExp = 7,  // sinusoid damped by exp(k.t)
  SinusLin = 8,  // sinusoid damped by (1 + k.t): dry friction
  None = 9,
};

// How an iterative fit ended.
enum class FitStatus : int {
  Ok = 0,
  Singular = -1,
  DampingTooLarge = -2,
  IterationLimit = -3,
  ArithmeticFault = 4,
};

// Fits the exponential or a sinusoid to the points. On return p holds Exponential: (r, b, c);
// Sinus: (offset, A, omega, phi); SinusExp and SinusLin: (offset, A, omega, phi, k). A fit that
// stops without converging still leaves its last parameters; an arithmetic fault (overflow,
// invalid operation) or any other kind leaves p untouched and returns ArithmeticFault.
FitStatus MarquardtFit(std::span<const double> x, std::span<const double> y, ModelKind kind,
                       std::vector<double>& p);

// Pi over the time between the first two sign changes of the centred ordinates (half a period),
// or `fallback` when there are fewer than two.
double EstimatePulsation(std::span<const double> x, std::span<const double> centred,
                         double fallback);

// A.sin(omega.t + phi).(1 + k.t) held constant from its last turning point before the envelope
// reaches zero: the oscillator with dry friction stops there. a = (A, omega, phi, k).
double DryFrictionValue(const std::array<double, 4>& a, double t);

// Bisection for a root of g in [low, high] within `tolerance` on |g|, at most `halvings` halvings.
std::optional<double> BisectRoot(const std::function<double(double)>& g, double low, double high,
                                 int halvings, double tolerance);

// Watches the floating-point fault flags (overflow, division by zero, invalid operation) over
// its lifetime, the way the arithmetic reports them, and puts the caller's flags back at the end.
class ArithmeticWatch {
 public:
  ArithmeticWatch();
  ~ArithmeticWatch();
  ArithmeticWatch(const ArithmeticWatch&) = delete;
  ArithmeticWatch& operator=(const ArithmeticWatch&) = delete;
  bool Faulted() const;

 private:
  std::fexcept_t saved_{};
};

}  // namespace kinovia
