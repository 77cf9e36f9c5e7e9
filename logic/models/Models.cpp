// What every model shares: the lazy derivations between physical and pixel parameters, the
// statistics and the text lines.
#include "logic/models/Models.h"

#include <charconv>
#include <cmath>

#include "core/Numbers.h"
#include "resources/TxtGraphs.h"

namespace kinovia {
namespace {

// Length in bytes of the first `count` characters of a UTF-8 text.
std::size_t CharactersBytes(std::string_view text, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t seen = 0; i < text.size() && seen < count; ++seen) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return i;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

// The resource with each "%s" replaced by the next argument.
std::string FormatResource(std::string_view resource, const std::vector<std::string>& args) {
  std::string text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < resource.size(); ++i) {
    if (resource.compare(i, 2, "%s") == 0 && next < args.size()) {
      text += args[next++];
      ++i;
    } else {
      text += resource[i];
    }
  }
  return text;
}

std::string ReplaceAll(std::string text, char what, std::string_view by) {
  std::string out;
  for (char c : text) {
    if (c == what)
      out += by;
    else
      out += c;
  }
  return out;
}

// General format with 3 significant digits: fixed while the value has at most 3 integer digits
// and is not below 1e-5, else scientific with an exponent of at least 2 digits; no trailing zeros.
std::string GeneralText(double x) {
  if (std::isnan(x)) return FormatValue(0, x);
  if (x == 0) return "0";
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 2).ptr;
  std::string scientific(buffer, end);
  const auto e = scientific.find('e');
  int exponent = 0;
  std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+'),
                  scientific.data() + scientific.size(), exponent);
  auto strip = [](std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
  };
  std::string text;
  if (exponent < 3 && std::fabs(x) >= 1e-5) {
    end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 2 - exponent)
              .ptr;
    text = strip(std::string(buffer, end));
  } else {
    const std::string digits = std::to_string(std::abs(exponent));
    text = strip(scientific.substr(0, e)) + "E" + (exponent < 0 ? "-" : "+") +
           (digits.size() < 2 ? "0" : "") + digits;
  }
  return ReplaceAll(text, '.', std::string(1, DecimalSeparator()));
}

}  // namespace

std::string ShortName(std::string_view name) {
  if (CharacterCount(name) <= 3) return std::string(name);
  if (name.front() == '(') return std::string(name.substr(0, CharactersBytes(name, 3))) + "..)";
  std::string shown(1, '(');
  shown.append(name.substr(0, CharactersBytes(name, 2)));
  return shown.append("..)");
}

const std::vector<double>& Model::Params() {
  if (pixelsChanged_) {
    double kx = 0, hy = 0;
    if (UsablePlot(kx, hy)) {
      const std::vector<double> before = params_;
      const ArithmeticWatch watch;
      PixelsToParams(kx, hy);
      if (watch.Faulted()) params_ = before;
    }
    pixelsChanged_ = false;
    valuesChanged_ = true;
  }
  return params_;
}

double Model::GetParam(int index) {
  const std::vector<double>& p = Params();
  if (index < 0 || static_cast<std::size_t>(index) >= p.size()) return kUndefined;
  return p[static_cast<std::size_t>(index)];
}

void Model::Fit(std::span<const double> x, std::span<const double> y) {
  const std::size_t n = std::min(x.size(), y.size());
  x_.assign(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
  y_.assign(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(n));
  pixelsChanged_ = false;
  if (!FitPoints()) return;
  Constrain();
  valuesChanged_ = true;
  DerivePixels();
}

void Model::Constrain() {
  double kx = 0, hy = 0;
  if (!UsablePlot(kx, hy)) return;
  const std::vector<double> before = params_;
  const ArithmeticWatch watch;
  Bound(kx, hy);
  if (watch.Faulted()) params_ = before;
}

void Model::DerivePixels() {
  double kx = 0, hy = 0;
  if (!UsablePlot(kx, hy)) return;
  const std::vector<double> params = params_;
  const PixelParams pixels = pixels_;
  const ArithmeticWatch watch;
  if (ParamsToPixels(kx, hy)) {
    PixelsToParams(kx, hy);
    valuesChanged_ = true;
  }
  if (watch.Faulted()) {
    params_ = params;
    pixels_ = pixels;
  }
}

void Model::SetParam(int index, double value) {
  Params();
  if (index < 0 || static_cast<std::size_t>(index) >= params_.size()) return;
  double& current = params_[static_cast<std::size_t>(index)];
  if (current == value) return;
  current = value;
  valuesChanged_ = true;
  DerivePixels();
}

void Model::SetPlotArea(const PlotArea& area) {
  Params();
  area_ = area;
  if (active_) DerivePixels();
}

void Model::SetPlotWindow(const PlotWindow& window) {
  Params();
  window_ = window;
  if (active_) DerivePixels();
}

void Model::SetActive(bool active) { active_ = active; }

void Model::SetPixelParams(const PixelParams& pixels) {
  savedPixels_ = pixels_;
  pixels_ = pixels;
  if (pixels_ == savedPixels_) return;
  pixelsChanged_ = true;
  if (onModelChange) onModelChange(*this);
}

bool Model::UsablePlot(double& kx, double& hy) const {
  const double dx = window_.xMax - window_.xMin;
  const double dy = window_.yMax - window_.yMin;
  if (IsZero(dx) || IsHuge(dx) || IsZero(dy) || IsHuge(dy)) return false;
  if (area_.width == 0 || area_.height == 0) return false;
  kx = area_.width / dx;
  hy = dy / area_.height;
  return true;
}

void Model::ComputeStats() {
  std::vector<double> model(x_.size());
  {
    const ArithmeticWatch watch;
    for (std::size_t i = 0; i < x_.size(); ++i) model[i] = Value(x_[i]);
    rmsDeviation_ = kinovia::RmsDeviation(y_, model);
    relativePrecision_ = kinovia::RelativeRmsDeviation(y_, model);
    if (HasCorrelation()) correlation_ = kinovia::CorrelationCoefficient(y_, model);
    if (watch.Faulted()) {
      rmsDeviation_ = relativePrecision_ = -1;
      if (HasCorrelation()) correlation_ = -1;
    }
  }
  valuesChanged_ = false;
}

double Model::RmsDeviation() {
  Params();
  if (valuesChanged_) ComputeStats();
  return rmsDeviation_;
}

double Model::RelativePrecision() {
  Params();
  if (valuesChanged_) ComputeStats();
  return relativePrecision_;
}

double Model::Correlation() {
  Params();
  if (valuesChanged_) ComputeStats();
  return correlation_;
}

std::vector<double> Model::ModifierValues() { return Params(); }

std::vector<int> Model::ShownParams() const {
  std::vector<int> shown;
  for (std::size_t i = 0; i < params_.size(); ++i) shown.push_back(static_cast<int>(i));
  return shown;
}

std::string Model::ParamLine(int letter, double value) const {
  return std::string(1, Txt(txt::ModelParamLetters)[static_cast<std::size_t>(letter)]) + " = " +
         FormatValue(0, value);
}

std::string Model::FirstLine(std::string_view ordinate, std::string_view abscissa) const {
  std::vector<std::string> letters;
  for (int i : ShownParams())
    letters.emplace_back(1, Txt(txt::ModelParamLetters)[static_cast<std::size_t>(i)]);
  const std::string equation = FormatResource(Txt(EquationResource()), letters);
  return Txt(txt::ModelWord) + ": " + std::string(ordinate) + " = " +
         ReplaceAll(equation, 't', abscissa);
}

std::vector<std::string> Model::ParameterLines(std::string_view /*ordinate*/) const {
  std::vector<std::string> lines;
  for (int i : ShownParams()) lines.push_back(ParamLine(i, params_[static_cast<std::size_t>(i)]));
  return lines;
}

std::vector<std::string> Model::GetParamTexts(std::string_view ordinate,
                                              std::string_view abscissa) {
  Params();
  std::vector<std::string> lines{FirstLine(ordinate, abscissa)};
  for (auto& line : ParameterLines(ordinate)) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> Model::GetStatTexts() {
  Params();
  if (valuesChanged_) ComputeStats();
  std::vector<std::string> lines{
      Txt(txt::ModelOrdinateUncertainty) + ": ",
      "- " + Txt(txt::ModelRelativePrecision) + " = " + GeneralText(relativePrecision_ * 100) + "%",
      "- " + Txt(txt::ModelRmsDeviation) + " = " + GeneralText(rmsDeviation_)};
  if (HasCorrelation())
    lines.push_back("- " + Txt(txt::ModelCorrelation) + " = " + FormatValue(2, correlation_));
  return lines;
}

std::string Model::HintText(std::string_view ordinate, std::string_view abscissa) {
  const std::vector<std::string> params = GetParamTexts(ordinate, abscissa);
  std::string text;
  for (std::size_t i = 0; i < params.size(); ++i) text += params[i] + (i == 0 ? "\r\r" : "\r");
  text += "\r";
  const std::vector<std::string> stats = GetStatTexts();
  for (std::size_t i = 0; i < stats.size(); ++i) text += (i == 0 ? "" : "\r") + stats[i];
  return text;
}

std::unique_ptr<Model> MakeModel(ModelKind kind) {
  switch (kind) {
    case ModelKind::Affine:
      return std::make_unique<AffineModel>();
    case ModelKind::Constant:
      return std::make_unique<ConstantModel>();
    case ModelKind::Exponential:
      return std::make_unique<ExponentialModel>();
    case ModelKind::Parabola:
      return std::make_unique<ParabolaModel>();
    case ModelKind::Proportional:
      return std::make_unique<ProportionalModel>();
    case ModelKind::Sinus:
      return std::make_unique<SinusoidModel>();
    case ModelKind::SinusExp:
      return std::make_unique<ExponentiallyDampedSinusoid>();
    case ModelKind::SinusLin:
      return std::make_unique<LinearlyDampedSinusoid>();
    case ModelKind::None:
      break;
  }
  return nullptr;
}

}  // namespace kinovia
