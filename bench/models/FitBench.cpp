// Cost of fitting a sinusoid to a long series, as a model does when its curve is chosen.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "logic/models/Models.h"
#include "logic/models/NonlinearFit.h"

namespace {

constexpr int kPoints = 10000;

void MakeSinusoid(std::vector<double>& x, std::vector<double>& y) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0, 0.002);
  for (int i = 0; i < kPoints; ++i) {
    x.push_back(0.004 * i);
    y.push_back(0.5 + 0.2 * std::sin(2.5 * x.back() + 0.8) + noise(random));
  }
}

void BM_MarquardtSinusoid(benchmark::State& state) {
  std::vector<double> x, y, p;
  MakeSinusoid(x, y);
  for (auto _ : state)
    benchmark::DoNotOptimize(kinovia::MarquardtFit(x, y, kinovia::ModelKind::Sinus, p));
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_MarquardtSinusoid)->Unit(benchmark::kMillisecond);

// The whole model: the fit, its phase choice and statistics.
void BM_ModelSinusFit(benchmark::State& state) {
  std::vector<double> x, y;
  MakeSinusoid(x, y);
  kinovia::SinusoidModel model;
  for (auto _ : state) {
    model.Fit(x, y);
    benchmark::DoNotOptimize(model.RmsDeviation());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_ModelSinusFit)->Unit(benchmark::kMillisecond);

}  // namespace
