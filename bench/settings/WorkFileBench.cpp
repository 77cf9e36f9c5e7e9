// Writing and reading back the work file of a long session: two objects pointed on N frames.
#include <benchmark/benchmark.h>

#include "logic/session/WorkFile.h"

namespace kinovia {
namespace {

WorkFileContent LongSession(int frames) {
  WorkFileContent work;
  work.fixedStore.perFrame = 2;
  work.fixedStore.names = {"Objeto 1", "Objeto 2"};
  work.colours = {0xFF, 0xFF00};
  work.visibilities = {true, true};
  for (int f = 0; f < frames; ++f) {
    SavedFrameMarks container{f, f, {}};
    container.marks.push_back({0, {0.001 * f, 0.5}});
    container.marks.push_back({1, {0.5, 0.002 * f}});
    work.fixedStore.containers.push_back(container);
  }
  return work;
}

void BM_WriteWorkFile(benchmark::State& state) {
  const WorkFileContent work = LongSession(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    IniFile ini;
    WriteWorkFile(ini, work);
    benchmark::DoNotOptimize(ini.Text());
  }
  state.SetComplexityN(state.range(0));
}

void BM_ReadWorkFile(benchmark::State& state) {
  IniFile written;
  WriteWorkFile(written, LongSession(static_cast<int>(state.range(0))));
  const std::string text = written.Text();
  for (auto _ : state) {
    IniFile ini;
    ini.Parse(text);
    auto read = ReadWorkFile(ini, "bench.knv");
    benchmark::DoNotOptimize(read.Ok());
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_WriteWorkFile)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ReadWorkFile)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace kinovia
