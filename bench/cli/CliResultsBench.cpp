// `kinovia-cli results` on long sessions, run as a script runs it: a real clip made by the ffmpeg
// tool, a real work file on disk, the table written to /dev/null. Beside it, in the same run, awk
// summing every value of the same work file (the floor of reading it as text) and kinovia-cli
// probe on the same clip (the cost of opening the clip, which any command pays).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "logic/session/WorkFile.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

constexpr int kClipFrames = 100000;

fs::path Folder() {
  const fs::path folder = fs::temp_directory_path() / "kinovia_bench_cli";
  fs::create_directories(folder);
  return folder;
}

// A clip long enough for every session, made once and kept between runs.
std::string Clip() {
  const fs::path clip = Folder() / "long_clip.avi";
  if (!fs::exists(clip)) {
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i color=c=gray:s=32x24:r=25 -frames:v " +
        std::to_string(kClipFrames) + " -c:v mjpeg -q:v 31 " + clip.string();
    if (std::system(command.c_str()) != 0) std::abort();
  }
  return clip.string();
}

// `objects` objects pointed on `rows` frames, with a scale and an origin so that the table fills.
std::string WorkFileOf(int rows, int objects) {
  const fs::path path =
      Folder() / ("work_" + std::to_string(rows) + "x" + std::to_string(objects) + ".knv");
  WorkFileContent work;
  work.videoFileName = Clip();
  work.duration = 0.04;
  work.originPointsNumber = 1;
  work.fixedAxes.origin = {0.1, 0.9};
  work.yAxisAngle = std::acos(0.0);
  work.scale[0] = {2, {0.1, 0.9}, {0.6, 0.9}, 1.5};
  work.fixedStore.perFrame = objects;
  for (int o = 0; o < objects; ++o) {
    work.fixedStore.names.push_back("Objeto " + std::to_string(o + 1));
    work.colours.push_back(0xFF);
    work.visibilities.push_back(true);
  }
  for (int f = 0; f < rows; ++f) {
    SavedFrameMarks container{f, f, {}};
    for (int o = 0; o < objects; ++o) {
      const double t = f * 0.04;
      container.marks.push_back(
          {o, {0.5 + 0.3 * std::cos(t + o), 0.5 + 0.3 * std::sin(t + o) - 0.001 * t}});
    }
    work.fixedStore.containers.push_back(std::move(container));
  }
  fs::remove(path);
  IniFile ini;
  WriteWorkFile(ini, work);
  if (!ini.Save(path.string())) std::abort();
  return path.string();
}

void RunCommand(benchmark::State& state, const std::string& command) {
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(command.c_str());
  }
}

const std::string kCli = KINOVIA_BINARY_DIR "/kinovia-cli";

// Rows, then objects.
void BM_AwkSumBaseline(benchmark::State& state) {
  const std::string work =
      WorkFileOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  RunCommand(state, "awk -F= '{s += $2} END {print s}' " + work + " > /dev/null");
  state.SetComplexityN(state.range(0) * state.range(1));
}

void BM_ProbeClip(benchmark::State& state) {
  RunCommand(state, "LC_ALL=C " + kCli + " probe " + Clip() + " > /dev/null");
}

void BM_CliResults(benchmark::State& state) {
  const std::string work =
      WorkFileOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  RunCommand(state, "LC_ALL=C " + kCli + " results " + work + " > /dev/null");
  state.SetComplexityN(state.range(0) * state.range(1));
}

void Sessions(benchmark::internal::Benchmark* b) {
  b->Args({1000, 1})->Args({10000, 1})->Args({100000, 1})->Args({10000, 10});
  b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
}
BENCHMARK(BM_AwkSumBaseline)->Apply(Sessions);
BENCHMARK(BM_ProbeClip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CliResults)->Apply(Sessions);

}  // namespace
}  // namespace kinovia
