// Frames a second of each recorder writing a whole clip (640 x 480 and 1080p, Motion-JPEG
// sources read by our AVI reader), beside the ffmpeg tool transcoding the same clip to the same
// codec in the same run. The goal is at least 0.8 times the tool's rate.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "media/recording/MontageRecorder.h"
#include "media/video/AviFileSource.h"

namespace kinovia {
namespace {

constexpr int kFrames = 50;

std::filesystem::path Folder() {
  static const auto folder = [] {
    auto made = std::filesystem::temp_directory_path() /
                ("kinovia-bench-record-" + std::to_string(::getpid()));
    std::filesystem::create_directories(made);
    return made;
  }();
  return folder;
}

// A clip of moving test pictures with noise, made once per size by the ffmpeg tool.
std::filesystem::path SourceClip(int width, int height) {
  const auto clip = Folder() / (std::to_string(width) + "x" + std::to_string(height) + ".avi");
  if (!std::filesystem::exists(clip)) {
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i testsrc2=size=" + std::to_string(width) + "x" +
        std::to_string(height) + ":rate=25 -vf noise=alls=8:allf=t -frames:v " +
        std::to_string(kFrames) + " -c:v mjpeg -q:v 3 '" + clip.string() + "'";
    if (std::system(command.c_str()) != 0) return {};
  }
  return clip;
}

void Record(benchmark::State& state, RecordFramework framework, const char* codec) {
  const auto clip = SourceClip(int(state.range(0)), int(state.range(1)));
  AviFileSource source;
  if (clip.empty() || !source.Open(clip.string())) return state.SkipWithError("no source clip");
  Montage montage;
  montage.ResetMontage(source.FrameCount());
  RecordSettings settings;
  settings.framework = framework;
  settings.codec = codec;
  settings.framesPerSecond = 25;
  const auto out = Folder() / "out.avi";
  for (auto _ : state) {
    auto recorder = MakeRecorder(framework);
    if (!RecordMontage(source, montage, settings, *recorder, out, {}))
      state.SkipWithError("recording failed");
  }
  state.SetItemsProcessed(state.iterations() * source.FrameCount());
}

// The ffmpeg tool doing the same work: decoding the same clip and encoding it to the same codec
// at the same quantiser.
void Tool(benchmark::State& state, const char* codecArguments) {
  const auto clip = SourceClip(int(state.range(0)), int(state.range(1)));
  if (clip.empty()) return state.SkipWithError("no source clip");
  const std::string command = "ffmpeg -v error -y -i '" + clip.string() + "' " + codecArguments +
                              " '" + (Folder() / "tool.avi").string() + "'";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("ffmpeg failed");
  state.SetItemsProcessed(state.iterations() * kFrames);
}

void BM_RecordAviUncompressed(benchmark::State& s) {
  Record(s, RecordFramework::Avi, "sin compresión");
}
void BM_ToolRawVideo(benchmark::State& s) { Tool(s, "-c:v rawvideo -pix_fmt bgr24"); }
void BM_RecordAviMotionJpeg(benchmark::State& s) { Record(s, RecordFramework::Avi, "Motion-JPEG"); }
void BM_ToolMotionJpeg(benchmark::State& s) { Tool(s, "-c:v mjpeg -q:v 4"); }
void BM_RecordFFmpegMpeg4(benchmark::State& s) { Record(s, RecordFramework::FFmpeg, ""); }
void BM_RecordGStreamerMpeg4(benchmark::State& s) {
  Record(s, RecordFramework::GStreamer, "avenc_mpeg4");
}
void BM_ToolMpeg4(benchmark::State& s) { Tool(s, "-c:v mpeg4 -q:v 5 -g 25"); }

// Both sizes; wall time, since the tool works in another process.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();
  b->Iterations(3);
}

BENCHMARK(BM_RecordAviUncompressed)->Apply(Sizes);
BENCHMARK(BM_ToolRawVideo)->Apply(Sizes);
BENCHMARK(BM_RecordAviMotionJpeg)->Apply(Sizes);
BENCHMARK(BM_ToolMotionJpeg)->Apply(Sizes);
BENCHMARK(BM_RecordFFmpegMpeg4)->Apply(Sizes);
BENCHMARK(BM_RecordGStreamerMpeg4)->Apply(Sizes);
BENCHMARK(BM_ToolMpeg4)->Apply(Sizes);

}  // namespace
}  // namespace kinovia
