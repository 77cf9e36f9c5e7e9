// Stepping forward and going to random frames, per frame source, on a 640 x 480 Motion-JPEG AVI,
// a 1920 x 1080 and a 3840 x 2160 H.264 MP4; and the ffmpeg tool's own decoding rate on the same
// files.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "media/video/AviFileSource.h"
#include "media/video/FFmpegSource.h"
#include "media/video/GStreamerSource.h"

namespace kinovia {
namespace {

enum ObjectKind { kAvi, kGStreamer, kFFmpeg };
const char* const kClips[] = {KINOVIA_BENCH_CLIPS "/mjpeg640.avi",
                              KINOVIA_BENCH_CLIPS "/h264-1080.mp4",
                              KINOVIA_BENCH_CLIPS "/h264-2160.mp4"};

std::unique_ptr<FrameSource> OpenSource(benchmark::State& state) {
  std::unique_ptr<FrameSource> source;
  switch (state.range(0)) {
    case kAvi:
      source = std::make_unique<AviFileSource>();
      break;
    case kGStreamer:
      source = std::make_unique<GStreamerSource>();
      break;
    default:
      source = std::make_unique<FFmpegSource>();
      break;
  }
  if (!source->Open(kClips[state.range(1)])) state.SkipWithError("the clip does not open");
  return source;
}

void BM_StepForward(benchmark::State& state) {
  auto source = OpenSource(state);
  if (!source->IsOpen()) return;
  Bitmap picture;
  std::int32_t n = 0;
  for (auto _ : state) {
    n = (n + 1) % source->FrameCount();
    source->SetPosition(n);
    if (!source->DrawWhole(picture)) state.SkipWithError("a frame did not decode");
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RandomFrame(benchmark::State& state) {
  auto source = OpenSource(state);
  if (!source->IsOpen()) return;
  std::mt19937 random(42);
  std::uniform_int_distribution<std::int32_t> frame(0, source->FrameCount() - 1);
  Bitmap picture;
  std::vector<double> latencies;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    source->SetPosition(frame(random));
    if (!source->DrawWhole(picture)) state.SkipWithError("a frame did not decode");
    latencies.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(latencies.begin(), latencies.end());
  if (latencies.empty()) return;
  state.counters["median_ms"] = latencies[latencies.size() / 2];
  state.counters["worst_ms"] = latencies.back();
}

// What "ffmpeg -i FILE -f null -" decodes per second: the yardstick of sequential stepping.
void BM_FfmpegToolDecode(benchmark::State& state) {
  const std::string command =
      std::string("ffmpeg -nostdin -loglevel error -i ") + kClips[state.range(1)] + " -f null -";
  const std::string count = std::string("ffprobe -v error -count_packets -select_streams v:0 ") +
                            "-show_entries stream=nb_read_packets -of csv=p=0 " +
                            kClips[state.range(1)];
  double frames = 0;
  if (FILE* pipe = popen(count.c_str(), "r")) {
    if (std::fscanf(pipe, "%lf", &frames) != 1) frames = 0;
    pclose(pipe);
  }
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("ffmpeg failed");
  state.counters["fps"] = benchmark::Counter(frames * static_cast<double>(state.iterations()),
                                             benchmark::Counter::kIsRate);
}

void SourcesAndClips(benchmark::internal::Benchmark* b) {
  b->ArgNames({"source", "clip"});
  for (const int kind : {kAvi, kGStreamer, kFFmpeg})
    for (const int clip : {0, 1, 2})
      if (kind != kAvi || clip == 0) b->Args({kind, clip});
}

BENCHMARK(BM_StepForward)
    ->Apply(SourcesAndClips)
    ->MinTime(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomFrame)
    ->Apply(SourcesAndClips)
    ->Iterations(60)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FfmpegToolDecode)
    ->ArgNames({"source", "clip"})
    ->Args({kFFmpeg, 0})
    ->Args({kFFmpeg, 1})
    ->Args({kFFmpeg, 2})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kinovia
