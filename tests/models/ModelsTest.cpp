// The models: fits, text lines, statistics, bounds on a plot and the pixel form of the parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/Enums.h"
#include "core/Numbers.h"
#include "logic/models/Models.h"

namespace kinovia {
namespace {

using std::numbers::pi;
using Lines = std::vector<std::string>;

const std::vector<double> kX{1, 2, 3};
const std::vector<double> kDoubled{2, 4, 6};

TEST(Models, LinearModelsOnAStraightLine) {
  AffineModel affine;
  affine.Fit(kX, kDoubled);
  EXPECT_EQ(affine.GetParamTexts("y", "x"), (Lines{"Modelo: y = r + b.x", "r = 0", "b = 2.000"}));
  EXPECT_EQ(affine.GetStatTexts(),
            (Lines{"Incertidumbre de las ordenadas: ", "- precisión relativa = 0%",
                   "- desviación cuadrática media = 0", "- coeficiente de correlación = 1.00000"}));

  ProportionalModel proportional;
  proportional.Fit(kX, kDoubled);
  EXPECT_EQ(proportional.GetParamTexts("y", "x"), (Lines{"Modelo: y = b.x", "b = 2.000"}));
  EXPECT_EQ(proportional.GetStatTexts().size(), 4u);

  ConstantModel constant;
  constant.Fit(kX, kDoubled);
  EXPECT_EQ(constant.GetParamTexts("y", "x"), (Lines{"Modelo: y = r", "r = 4.000"}));
  EXPECT_EQ(constant.GetStatTexts(),
            (Lines{"Incertidumbre de las ordenadas: ", "- precisión relativa = 37.8%",
                   "- desviación cuadrática media = 1.63"}));
  EXPECT_DOUBLE_EQ(constant.RelativePrecision(), std::sqrt(8.0 / 56));
  EXPECT_EQ(constant.HintText("y", "x"),
            "Modelo: y = r\r\rr = 4.000\r\rIncertidumbre de las ordenadas: \r"
            "- precisión relativa = 37.8%\r- desviación cuadrática media = 1.63");
}

TEST(Models, ProportionalSlopeIsTheRatioOfTheMeans) {
  ProportionalModel proportional;
  proportional.Fit(kX, std::vector<double>{1, 1, 4});
  EXPECT_DOUBLE_EQ(proportional.GetParam(1), 1.0);  // not 15/14 through the origin
  EXPECT_EQ(proportional.GetParam(0), 0.0);
  // Abscissas whose mean is zero leave the slope and its statistics as they were.
  const double rms = proportional.RmsDeviation();
  proportional.Fit(std::vector<double>{-1, 0, 1}, std::vector<double>{5, 6, 7});
  EXPECT_DOUBLE_EQ(proportional.GetParam(1), 1.0);
  EXPECT_EQ(proportional.RmsDeviation(), rms);
}

TEST(Models, EquationLinesNameTheVariables) {
  const struct {
    ModelKind kind;
    const char* line;
    std::size_t lines;
  } cases[] = {
      {ModelKind::Affine, "Modelo: vx = r + b.t", 3},
      {ModelKind::Constant, "Modelo: vx = r", 2},
      {ModelKind::Proportional, "Modelo: vx = b.t", 2},
      {ModelKind::Exponential, "Modelo: vx = r + b.exp(c.t)", 4},
      {ModelKind::Parabola, "Modelo: vx = r + b.t + c.t²", 4},
      {ModelKind::Sinus, "Modelo: vx = r + b.sin(c.t + d)", 5},
      {ModelKind::SinusExp, "Modelo: vx = r + b.sin(c.t + d).exp(k.t)", 6},
      {ModelKind::SinusLin, "Modelo: vx\" + r.vx + b.Sign(vx') = c", 6},
  };
  for (const auto& c : cases) {
    const auto model = MakeModel(c.kind);
    const Lines lines = model->GetParamTexts("vx", "t");
    ASSERT_EQ(lines.size(), c.lines) << Underlying(c.kind);
    EXPECT_EQ(lines[0], c.line);
  }
  EXPECT_EQ(MakeModel(ModelKind::Exponential)->GetParamTexts("y", "x")[0],
            "Modelo: y = r + b.exp(c.x)");
  EXPECT_EQ(MakeModel(static_cast<ModelKind>(3)), nullptr);
  EXPECT_EQ(MakeModel(ModelKind::None), nullptr);
}

TEST(Models, ShortNamesFitTheEquation) {
  const std::pair<const char*, const char*> cases[] = {
      {"theta", "(th..)"}, {"(vx)", "(vx..)"},   {"vx", "vx"},       {"abc", "abc"},
      {"θ_1", "θ_1"},      {"ángulo", "(án..)"}, {"(θab", "(θa..)"},
  };
  for (const auto& [name, shown] : cases) EXPECT_EQ(ShortName(name), shown) << name;
}

TEST(Models, DryFrictionShowsItsOscillatorEquation) {
  std::vector<double> x, y;
  for (int i = 0; i <= 200; ++i) {
    x.push_back(0.04 * i);
    y.push_back(0.5 + 0.2 * std::sin(4 * x.back() + 0.6) * (1 - 0.08 * x.back()));
  }
  LinearlyDampedSinusoid model;
  model.Fit(x, y);
  const std::vector<double> q = model.ModifierValues();
  ASSERT_EQ(q.size(), 5u);
  const double omega = model.GetParam(2);
  EXPECT_DOUBLE_EQ(q[0], omega * omega);
  EXPECT_DOUBLE_EQ(q[2], omega * omega * model.GetParam(0));
  EXPECT_GT(q[1], 0);  // friction opposes the motion
  // The initial conditions are the model's value and slope at t = 0.
  EXPECT_NEAR(q[3], model.Value(0), 1e-12);
  EXPECT_NEAR(q[4], (model.Value(1e-6) - model.Value(-1e-6)) / 2e-6, 1e-6);
  const Lines lines = model.GetParamTexts("y", "t");
  EXPECT_EQ(lines[4], "y(0) = " + FormatValue(0, q[3]));
  EXPECT_EQ(lines[5], "y'(0) = " + FormatValue(0, q[4]));
  EXPECT_EQ(lines[1], "r = " + FormatValue(0, q[0]));
}

TEST(Models, SinusoidPhaseIsRightWhateverQuadrant) {
  for (double phase : {0.3, 2.5, 3.0, 3.25, 4.0, 5.5}) {
    std::vector<double> x, y;
    for (int i = 0; i <= 120; ++i) {
      x.push_back(0.05 * i);
      y.push_back(1 + 0.3 * std::sin(2.2 * x.back() + phase));
    }
    SinusoidModel model;
    model.Fit(x, y);
    EXPECT_GT(model.GetParam(1), 0) << phase;
    EXPECT_LT(model.RmsDeviation(), 0.01 * 0.3) << phase;
  }
}

TEST(Models, ParabolaOnTwoPointsIsTheirMeanLevel) {
  ParabolaModel parabola;
  parabola.Fit(kX, std::vector<double>{1, 4, 9});
  ASSERT_NEAR(parabola.GetParam(2), 1, 1e-12);
  // Two points only carry a constant: the older curvature and slope must not survive.
  parabola.Fit(std::vector<double>{0, 1}, std::vector<double>{2, 4});
  EXPECT_DOUBLE_EQ(parabola.GetParam(0), 3);
  EXPECT_EQ(parabola.GetParam(1), 0);
  EXPECT_EQ(parabola.GetParam(2), 0);
}

TEST(Models, StatisticsThatOverflowReadMinusOne) {
  ExponentialModel model;
  model.Fit(std::vector<double>{0, 1, 2, 3}, std::vector<double>{1, 2, 4, 8});
  EXPECT_GT(model.RmsDeviation(), -1);
  model.SetParam(2, 1000);  // exp(3000) overflows
  EXPECT_EQ(model.RmsDeviation(), -1);
  EXPECT_EQ(model.RelativePrecision(), -1);
  EXPECT_EQ(model.GetStatTexts()[2], "- desviación cuadrática media = -1");
}

// A 400 x 200 pixel plot of x in [0, 10] and y in [-1, 1]: kx = 40 pixels a unit, hy = 0.01.
void UsePlot(Model& model) {
  model.SetActive(true);
  model.SetPlotArea({10, 10, 400, 200});
  model.SetPlotWindow({0, 10, -1, 1});
}

TEST(Models, FittedParametersAreBoundedToTheDrawablePlot) {
  const struct {
    const char* what;
    ModelKind kind;
    std::vector<double> x, y;
    int index;
    double bounded;
  } cases[] = {
      {"slope", ModelKind::Affine, {0, 1e-9, 2e-9}, {0, 1e3, 2e3}, 1, 1e10 * 40 * 0.01},
      {"rate",
       ModelKind::Exponential,
       {0, 0.02, 0.04, 0.06, 0.08, 0.1},
       {1, std::exp(2.0), std::exp(4.0), std::exp(6.0), std::exp(8.0), std::exp(10.0)},
       2,
       40},
      {"pulsation",
       ModelKind::Sinus,
       {0, 0.01, 0.02, 0.03, 0.04, 0.05},
       {0, 1, 0, -1, 0, 1},
       2,
       10},
  };
  for (const auto& c : cases) {
    auto model = MakeModel(c.kind);
    UsePlot(*model);
    model->Fit(c.x, c.y);
    EXPECT_NEAR(model->GetParam(c.index), c.bounded, 1e-9 * c.bounded) << c.what;
    // Without a plot nothing is bounded.
    auto free = MakeModel(c.kind);
    free->Fit(c.x, c.y);
    EXPECT_GT(std::fabs(free->GetParam(c.index)), 1.5 * c.bounded) << c.what;
  }
}

TEST(Models, PixelParametersGoBothWays) {
  std::vector<double> x, y;
  for (int i = 0; i <= 100; ++i) {
    x.push_back(0.1 * i);
    y.push_back(0.4 * std::sin(1.3 * x.back() + 0.5) * std::exp(-0.05 * x.back()));
  }
  for (ModelKind kind :
       {ModelKind::Affine, ModelKind::Constant, ModelKind::Exponential, ModelKind::Parabola,
        ModelKind::Proportional, ModelKind::Sinus, ModelKind::SinusExp, ModelKind::SinusLin}) {
    auto model = MakeModel(kind);
    UsePlot(*model);
    model->Fit(x, y);
    int notified = 0;
    model->onModelChange = [&](Model&) { ++notified; };
    PixelParams pixels = model->PixelParameters();
    model->SetPixelParams(pixels);
    EXPECT_EQ(notified, 0) << Underlying(kind);
    // A drag moves the curve up by 5 pixels (a line through the origin cannot move) and tilts or
    // bends it a little.
    if (kind != ModelKind::Proportional) pixels[kind == ModelKind::Parabola ? 2 : 0] += 5;
    pixels[1] *= 1.01;
    model->SetPixelParams(pixels);
    EXPECT_EQ(notified, 1) << Underlying(kind);
    const std::vector<double> params = model->Params();
    // Deriving the pixels again from the new parameters gives the dragged pixels back.
    model->SetPlotWindow({0, 10, -1, 1});
    for (std::size_t i = 0; i < pixels.size(); ++i)
      EXPECT_NEAR(model->PixelParameters()[i], pixels[i], 1e-9 * (1 + std::fabs(pixels[i])))
          << Underlying(kind) << " pixel " << i;
    EXPECT_EQ(model->Params(), params) << Underlying(kind);
  }
}

TEST(Models, PixelClampBringsTheParameterBackIntoReach) {
  ConstantModel constant;
  UsePlot(constant);
  constant.Fit(kX, kDoubled);
  constant.SetParam(0, 1e9);  // a million times above the plot
  EXPECT_EQ(constant.PixelParameters()[0], 10000);
  EXPECT_DOUBLE_EQ(constant.GetParam(0), 10000 * 0.01 - 1);
  // A degenerate plot derives nothing.
  ConstantModel flat;
  flat.SetActive(true);
  flat.SetPlotArea({0, 0, 400, 0});
  flat.SetPlotWindow({0, 10, -1, 1});
  flat.Fit(kX, kDoubled);
  flat.SetParam(0, 1e9);
  EXPECT_EQ(flat.GetParam(0), 1e9);
  EXPECT_EQ(flat.PixelParameters()[0], 0);
}

}  // namespace
}  // namespace kinovia
