// Writing and reading back the work file of a long session: objects pointed on N frames, beside
// plain loops that only print or scan the same numbers.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>

#include "logic/session/WorkFile.h"

namespace kinovia {
namespace {

WorkFileContent LongSession(int frames, int objects) {
  WorkFileContent work;
  work.fixedStore.perFrame = objects;
  for (int o = 0; o < objects; ++o) {
    work.fixedStore.names.push_back("Objeto " + std::to_string(o + 1));
    work.colours.push_back(0xFF);
    work.visibilities.push_back(true);
  }
  for (int f = 0; f < frames; ++f) {
    SavedFrameMarks container{f, f, {}};
    for (int o = 0; o < objects; ++o)
      container.marks.push_back({o, {0.001 * f + 0.01 * o, 0.5 - 0.002 * o * f / frames}});
    work.fixedStore.containers.push_back(container);
  }
  return work;
}

WorkFileContent SessionOf(const benchmark::State& state) {
  return LongSession(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

// The floor of writing: the same marks' numbers printed one after the other into one text.
void BM_PrintNumbersBaseline(benchmark::State& state) {
  const WorkFileContent work = SessionOf(state);
  for (auto _ : state) {
    std::string text;
    char line[64];
    for (const auto& container : work.fixedStore.containers) {
      for (const auto& mark : container.marks) {
        const int n = std::snprintf(line, sizeof line, "%d=%.15g\n%.15g\n", mark.order,
                                    mark.position.x, mark.position.y);
        text.append(line, static_cast<std::size_t>(n));
      }
    }
    benchmark::DoNotOptimize(text.data());
  }
  state.SetComplexityN(state.range(0));
}

void BM_WriteWorkFile(benchmark::State& state) {
  const WorkFileContent work = SessionOf(state);
  for (auto _ : state) {
    IniFile ini;
    WriteWorkFile(ini, work);
    benchmark::DoNotOptimize(ini.Text());
  }
  state.SetComplexityN(state.range(0));
}

// The floor of reading: every line of the file cut at its "=" and its value read as a number.
void BM_ScanNumbersBaseline(benchmark::State& state) {
  IniFile written;
  WriteWorkFile(written, SessionOf(state));
  const std::string text = written.Text();
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = std::min(text.find('\n', at), text.size());
      const std::size_t equal = text.find('=', at);
      double value = 0;
      if (equal < end) std::from_chars(text.data() + equal + 1, text.data() + end, value);
      sum += value;
      at = end + 1;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetComplexityN(state.range(0));
}

void BM_ReadWorkFile(benchmark::State& state) {
  IniFile written;
  WriteWorkFile(written, SessionOf(state));
  const std::string text = written.Text();
  for (auto _ : state) {
    IniFile ini;
    ini.Parse(text);
    auto read = ReadWorkFile(ini, "bench.knv");
    benchmark::DoNotOptimize(read.Ok());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
  state.SetComplexityN(state.range(0));
}

// Frames, then objects.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({5000, 2})->Args({50000, 2})->Args({100000, 10})->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_PrintNumbersBaseline)->Apply(Sizes);
BENCHMARK(BM_WriteWorkFile)->Apply(Sizes);
BENCHMARK(BM_ScanNumbersBaseline)->Apply(Sizes);
BENCHMARK(BM_ReadWorkFile)->Apply(Sizes);

}  // namespace
}  // namespace kinovia
