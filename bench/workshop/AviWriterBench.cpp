// How fast clips are written: frames a second through the AVI writer, and the sample renderer.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "media/recording/AviWriter.h"
#include "media/samples/SampleScenes.h"

namespace kinovia {
namespace {

// A real picture (a sample frame with grain), so JPEG works as hard as on a recording.
std::vector<std::uint8_t> SamplePixels() {
  const SampleRaster background = SampleBackground(SampleClip::Cylindre);
  return SampleFrame(SampleClip::Cylindre, background, 30).ToRgb24(7, 7);
}

void WriteFrames(benchmark::State& state, AviCodec codec) {
  const auto pixels = SamplePixels();
  const FrameView frame{pixels, kSampleWidth, kSampleHeight, std::size_t{kSampleWidth} * 3,
                        PixelLayout::Rgb24};
  const auto file = std::filesystem::temp_directory_path() /
                    ("kinovia-bench-" + std::to_string(::getpid()) + ".avi");
  AviFormat format;
  format.width = kSampleWidth;
  format.height = kSampleHeight;
  format.codec = codec;
  AviWriter writer;
  writer.Open(file, format);
  for (auto _ : state) {
    if (!writer.AddFrame(frame)) state.SkipWithError("frame refused");
  }
  writer.Finish();
  std::filesystem::remove(file);
  state.SetItemsProcessed(state.iterations());
}

void BM_WriteMotionJpeg640x480(benchmark::State& state) {
  WriteFrames(state, AviCodec::MotionJpeg);
}
void BM_WriteUncompressed640x480(benchmark::State& state) {
  WriteFrames(state, AviCodec::Uncompressed);
}

void BM_RenderSampleFrame(benchmark::State& state) {
  const SampleRaster background = SampleBackground(SampleClip::Parabole);
  int n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SampleFrame(SampleClip::Parabole, background, n % 50).ToRgb24(n, 7));
    ++n;
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_WriteMotionJpeg640x480)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_WriteUncompressed640x480)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_RenderSampleFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kinovia
