// Cost of the derivation with smoothing and of a polynomial fit on long series.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/LeastSquares.h"
#include "logic/results/Derivation.h"

namespace {

constexpr int kSamples = 10000;

// A damped oscillation with a drift: no low-degree polynomial describes it, so the smoothing
// tries every degree, its most expensive path.
void MakeSeries(std::vector<double>& a, std::vector<double>& y) {
  for (int i = 0; i < kSamples; ++i) {
    a.push_back(i);
    y.push_back(0.3 * std::sin(0.01 * i) * std::exp(-1e-4 * i) + 1e-5 * i);
  }
}

void ComputeSmoothed(benchmark::State& state, const std::vector<double>& a,
                     const std::vector<double>& y) {
  for (auto _ : state) {
    kinovia::Derivation deriv;
    deriv.SetData(a, y, 0.04);
    benchmark::DoNotOptimize(deriv.Compute(true));
    benchmark::DoNotOptimize(deriv.Second().data());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_DerivComputeSmoothed(benchmark::State& state) {
  std::vector<double> a, y;
  MakeSeries(a, y);
  ComputeSmoothed(state, a, y);
}
BENCHMARK(BM_DerivComputeSmoothed)->Unit(benchmark::kMillisecond);

// An object that hardly moves: every sample gets its own three-point line fit, the other costly
// path.
void BM_DerivComputeSmoothedStill(benchmark::State& state) {
  std::vector<double> a, y;
  for (int i = 0; i < kSamples; ++i) {
    a.push_back(i);
    y.push_back(0.5 + 0.004 * std::sin(0.3 * i));
  }
  ComputeSmoothed(state, a, y);
}
BENCHMARK(BM_DerivComputeSmoothedStill)->Unit(benchmark::kMillisecond);

void BM_LeastSquaresFiveTerms(benchmark::State& state) {
  std::vector<double> x, y, p;
  MakeSeries(x, y);
  for (auto _ : state) benchmark::DoNotOptimize(kinovia::LeastSquaresFit(5, x, y, p));
  state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_LeastSquaresFiveTerms)->Unit(benchmark::kMillisecond);

}  // namespace
