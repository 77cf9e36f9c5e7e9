// Writing and reading back the work file of a long session: objects pointed on N frames, beside
// plain loops that only print or scan the same numbers; and opening one from disk into a session
// as the window does, with the heap it needs at its peak against the file's size.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"
#include "tests/session/SessionFakes.h"

namespace {
// Heap bytes in use and their peak, as this program's allocation functions count them.
std::size_t gHeapInUse = 0, gHeapPeak = 0;
}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  gHeapInUse += malloc_usable_size(block);
  gHeapPeak = std::max(gHeapPeak, gHeapInUse);
  return block;
}
void operator delete(void* block) noexcept {
  if (!block) return;
  gHeapInUse -= malloc_usable_size(block);
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

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

// A work file on disk beside an empty stand-in for its clip: opening looks for the clip only.
std::string WorkFileOnDisk(const benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "kinovia_bench_work_file";
  std::filesystem::create_directories(folder);
  const std::string clip = (folder / "clip.avi").string();
  std::ofstream{clip};
  WorkFileContent work = SessionOf(state);
  work.videoFileName = clip;
  const std::string path = (folder / "work.knv").string();
  std::filesystem::remove(path);
  IniFile ini;
  WriteWorkFile(ini, work);
  if (!ini.Save(path)) std::abort();
  return path;
}

// The floor of opening: the file's bytes read from disk and its lines counted.
void BM_ReadFileBaseline(benchmark::State& state) {
  const std::string path = WorkFileOnDisk(state);
  for (auto _ : state) {
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    benchmark::DoNotOptimize(std::count(text.begin(), text.end(), '\n'));
  }
  state.SetComplexityN(state.range(0) * state.range(1));
}

// From the file on disk to a restored session: read, checked against the clip, restored.
void BM_OpenWorkFileIntoSession(benchmark::State& state) {
  const std::string path = WorkFileOnDisk(state);
  const auto fileBytes = static_cast<double>(std::filesystem::file_size(path));
  const int frames = static_cast<int>(state.range(0));
  double peak = 0;
  for (auto _ : state) {
    const std::size_t before = gHeapInUse;
    gHeapPeak = gHeapInUse;
    {
      auto opened = OpenWorkFile(path);
      if (!opened) state.SkipWithError("refused");
      OpenedWork result = std::move(opened).Value();
      benchmark::DoNotOptimize(FitWorkToClip(result.work, {frames, 0.04}, path));
      test::SessionRig rig;
      rig.video.frameCount = frames;
      rig.data.Restore(result.work);
      benchmark::DoNotOptimize(rig.data.MarksCount());
    }
    peak = std::max(peak, static_cast<double>(gHeapPeak - before));
  }
  state.counters["file_MB"] = fileBytes / 1e6;
  state.counters["peak_heap_per_file_byte"] = peak / fileBytes;
  state.SetComplexityN(state.range(0) * state.range(1));
}

// Frames, then objects.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({5000, 2})->Args({50000, 2})->Args({100000, 10})->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_PrintNumbersBaseline)->Apply(Sizes);
BENCHMARK(BM_WriteWorkFile)->Apply(Sizes);
BENCHMARK(BM_ScanNumbersBaseline)->Apply(Sizes);
BENCHMARK(BM_ReadWorkFile)->Apply(Sizes);
// 100 000 marks of one, four and ten objects, then a million.
void Marks(benchmark::internal::Benchmark* b) {
  b->Args({100000, 1})->Args({25000, 4})->Args({10000, 10})->Args({100000, 10});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ReadFileBaseline)->Apply(Marks);
BENCHMARK(BM_OpenWorkFileIntoSession)->Apply(Marks);

}  // namespace
}  // namespace kinovia
