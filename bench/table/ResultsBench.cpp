// The results table of a long session: 10 objects pointed on 10 000 frames.
#include <benchmark/benchmark.h>

#include <cmath>

#include "logic/results/ResultsComputation.h"

namespace kinovia {
namespace {

MarksData LongSession(int objects, int rows) {
  MarksData marks;
  marks.frames.resize(static_cast<std::size_t>(objects));
  marks.x.resize(static_cast<std::size_t>(objects));
  marks.y.resize(static_cast<std::size_t>(objects));
  for (int i = 0; i < rows; ++i) {
    marks.times.push_back(i * 0.04);
    for (int o = 0; o < objects; ++o) {
      const auto object = static_cast<std::size_t>(o);
      const double t = i * 0.04;
      marks.frames[object].push_back(i);
      marks.x[object].push_back(0.3 * std::cos(t + o) + 0.001 * std::sin(7.0 * i));
      marks.y[object].push_back(0.3 * std::sin(t + o) - 0.01 * t * t);
    }
  }
  return marks;
}

void BM_RebuildAndDerive(benchmark::State& state) {
  const MarksData marks = LongSession(10, static_cast<int>(state.range(0)));
  const Calibration calibration{2.0, 1.5, 0.2, true, false, 0.04};
  const auto flags = DerivationFlags::FromBits(static_cast<std::uint32_t>(state.range(1)));
  for (auto _ : state) {
    FrameResults frameResults;
    frameResults.Rebuild(marks, calibration);
    benchmark::DoNotOptimize(frameResults.ComputeDerivatives(flags));
  }
  state.SetItemsProcessed(state.iterations() * 10 * state.range(0));
}
// Rows, then derivation flags: 0 plain differences, 3 smoothed speeds and accelerations.
BENCHMARK(BM_RebuildAndDerive)->Args({10000, 0})->Args({10000, 3})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kinovia
