// The results table of a long session: 10 objects pointed on up to 100 000 frames, beside a plain
// loop over the same marks that gives the floor any table could reach.
#include <benchmark/benchmark.h>

#include <cmath>

#include "logic/results/ResultsTable.h"

namespace kinovia {
namespace {

constexpr int kObjects = 10;

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

constexpr Calibration kCalibration{2.0, 1.5, 0.2, true, false, 0.04};

// The floor: every mark scaled and turned, its speed and acceleration by three-point differences,
// into one preallocated array, with nothing of the table's bookkeeping.
void BM_PlainLoopBaseline(benchmark::State& state) {
  const MarksData marks = LongSession(kObjects, static_cast<int>(state.range(0)));
  const std::size_t rows = marks.times.size();
  std::vector<double> out(kObjects * rows * 6);
  const double c = std::cos(kCalibration.theta), s = std::sin(kCalibration.theta);
  for (auto _ : state) {
    for (std::size_t o = 0; o < kObjects; ++o) {
      const auto& x = marks.x[o];
      const auto& y = marks.y[o];
      double* cell = out.data() + o * rows * 6;
      for (std::size_t i = 1; i + 1 < rows; ++i, cell += 6) {
        const double X = x[i] * kCalibration.sx, Y = y[i] * kCalibration.sy;
        cell[0] = X * c + Y * s;
        cell[1] = Y * c - X * s;
        cell[2] = (x[i + 1] - x[i - 1]) / (2 * kCalibration.interval);
        cell[3] = (y[i + 1] - y[i - 1]) / (2 * kCalibration.interval);
        cell[4] = (x[i + 1] - 2 * x[i] + x[i - 1]) / kCalibration.interval;
        cell[5] = (y[i + 1] - 2 * y[i] + y[i - 1]) / kCalibration.interval;
      }
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetComplexityN(state.range(0));
}

// A fresh table each time, as kinovia-cli computes it.
void BM_RebuildAndDerive(benchmark::State& state) {
  const MarksData marks = LongSession(kObjects, static_cast<int>(state.range(0)));
  const auto flags = DerivationFlags::FromBits(static_cast<std::uint32_t>(state.range(1)));
  for (auto _ : state) {
    FrameResults frameResults;
    frameResults.Rebuild(marks, kCalibration);
    benchmark::DoNotOptimize(frameResults.ComputeDerivatives(flags));
  }
  state.SetItemsProcessed(state.iterations() * kObjects * state.range(0));
  state.SetComplexityN(state.range(0));
}

// The same table rebuilt again and again, as the results window does after each new mark.
void BM_RebuildAgain(benchmark::State& state) {
  const MarksData marks = LongSession(kObjects, static_cast<int>(state.range(0)));
  const auto flags = DerivationFlags::FromBits(static_cast<std::uint32_t>(state.range(1)));
  FrameResults frameResults;
  for (auto _ : state) {
    frameResults.Rebuild(marks, kCalibration);
    benchmark::DoNotOptimize(frameResults.ComputeDerivatives(flags));
  }
  state.SetComplexityN(state.range(0));
}

// Every cell's text, as the export and the window read them.
void BM_TableText(benchmark::State& state) {
  FrameResults frameResults;
  frameResults.Rebuild(LongSession(kObjects, static_cast<int>(state.range(0))), kCalibration);
  frameResults.ComputeDerivatives({});
  TableLayout layout;
  layout.SizeColumns(kObjects);
  layout.UpdateSize(frameResults.RowCount());
  const std::vector<std::string> names(kObjects, "objeto");
  const TableOptions options{false, true, true};
  for (auto _ : state)
    benchmark::DoNotOptimize(
        ExportTextLines(layout, frameResults, names, options, "bench", "-", 0.2));
  state.SetComplexityN(state.range(0));
}

// Rows, then derivation flags: 0 plain differences, 3 smoothed speeds and accelerations.
BENCHMARK(BM_PlainLoopBaseline)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_RebuildAndDerive)
    ->ArgsProduct({{1000, 10000, 100000}, {0}})
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_RebuildAndDerive)
    ->ArgsProduct({{1000, 10000, 100000}, {3}})
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_RebuildAgain)->Args({10000, 0})->Args({10000, 3})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableText)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace kinovia
