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

// Model kinds, as the results window's model buttons pass them.
inline constexpr int kModelAffine = 0;
inline constexpr int kModelConstant = 1;
inline constexpr int kModelExponential = 2;
inline constexpr int kModelParabola = 4;
inline constexpr int kModelProportional = 5;
inline constexpr int kModelSinus = 6;
inline constexpr int kModelSinusExp = 7;  // sinusoid damped by exp(k.t)
inline constexpr int kModelSinusLin = 8;  // sinusoid damped by (1 + k.t): dry friction
inline constexpr int kModelNone = 9;

inline constexpr int kMarquardtOk = 0;
inline constexpr int kMarquardtSingular = -1;
inline constexpr int kMarquardtDampingTooLarge = -2;
inline constexpr int kMarquardtIterationLimit = -3;
inline constexpr int kMarquardtArithmeticFault = 4;

// Fits kind 2, 6, 7 or 8 to the points. On return p holds kind 2: (r, b, c); kind 6: (offset, A,
// omega, phi); kinds 7 and 8: (offset, A, omega, phi, k). A fit that stops without converging
// still leaves its last parameters; an arithmetic fault (overflow, invalid operation) or an
// unknown kind leaves p untouched and returns kMarquardtArithmeticFault.
int MarquardtFit(std::span<const double> x, std::span<const double> y, int kind,
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
