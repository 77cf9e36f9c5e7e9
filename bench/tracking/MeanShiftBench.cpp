// Time per frame of the mean-shift search on 640 x 480, 1920 x 1080 and 3840 x 2160 frames with
// search radii 20, 40 and 100; where OpenCV is installed, its cv::meanShift over the same window,
// on a back-projection of a 20-bin histogram of the same model (with and without the colour
// conversion and back-projection that feed it).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <random>
#include <vector>

#include "logic/tracking/MeanShift.h"

#ifdef KINOVIA_BENCH_OPENCV
#include <opencv2/imgproc.hpp>
#include <opencv2/video/tracking.hpp>
#endif

namespace kinovia {
namespace {

constexpr int kBallRadius = 10;
constexpr int kMoveX = 6;
constexpr int kMoveY = 4;
const int kSizes[][2] = {{640, 480}, {1920, 1080}, {3840, 2160}};

// A grainy grey-green background with a red and blue ball centred at (cx, cy).
struct Scene {
  int width;
  int height;
  std::vector<std::uint8_t> pixels;

  Scene(int w, int h, int cx, int cy) : width(w), height(h), pixels(std::size_t(w) * h * 3) {
    std::mt19937 noise(7);
    std::uniform_int_distribution<int> grain(-12, 12);
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
      const int g = grain(noise);
      pixels[i] = std::uint8_t(110 + g);
      pixels[i + 1] = std::uint8_t(130 + g);
      pixels[i + 2] = std::uint8_t(100 + g);
    }
    for (int y = cy - kBallRadius; y <= cy + kBallRadius; ++y)
      for (int x = cx - kBallRadius; x <= cx + kBallRadius; ++x) {
        const double d = std::hypot(x - cx, y - cy);
        if (d > kBallRadius) continue;
        std::uint8_t* p = &pixels[(std::size_t(y) * w + x) * 3];
        const bool hub = d < kBallRadius / 2.0;
        p[0] = hub ? 36 : 205;
        p[1] = hub ? 70 : 40;
        p[2] = hub ? 200 : 32;
      }
  }
  RgbView View() const { return {pixels.data(), width, height}; }
};

// Resident memory in kB, from the process's own accounting.
double ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  double pages = 0;
  statm >> pages >> pages;
  return pages * 4;
}

std::vector<PointD> Contour(int cx, int cy, int w, int h) {
  std::vector<PointD> contour;
  for (int i = 0; i < 24; ++i) {
    const double a = 2 * std::numbers::pi * i / 24;
    contour.push_back({(cx + kBallRadius * std::cos(a)) / w, (cy + kBallRadius * std::sin(a)) / h});
  }
  return contour;
}

void BM_Search(benchmark::State& state) {
  const int w = kSizes[state.range(0)][0];
  const int h = kSizes[state.range(0)][1];
  const int cx = w / 2;
  const int cy = h / 2;
  const Scene first(w, h, cx, cy);
  const Scene moved(w, h, cx + kMoveX, cy + kMoveY);
  MeanShift search;
  search.SetSearchRadius(int(state.range(1)));
  PointI start;
  if (!search.BuildModel(first.View(), Contour(cx, cy, w, h), start))
    return state.SkipWithError("no model");
  search.SetBinCount(MeanShift::kTrackerBins);
  search.ComputeTargetHistogram();
  PointI position = start;
  search.Search(moved.View(), position, MeanShift::kMaxIterations);
  // Every search after the first must reuse what the first allocated.
  const double resident = ResidentKb();
  for (auto _ : state) {
    position = start;
    search.Search(moved.View(), position, MeanShift::kMaxIterations);
    benchmark::DoNotOptimize(position);
  }
  state.counters["rss_growth_kB"] = ResidentKb() - resident;
  state.counters["dx"] = position.x - start.x;
  state.counters["dy"] = position.y - start.y;
}

#ifdef KINOVIA_BENCH_OPENCV
// OpenCV's own 8-bit L*u*v*, 20 bins a channel, learnt inside the contour.
struct OpenCvModel {
  cv::Mat histogram;
  int channels[3] = {0, 1, 2};
  int bins[3] = {20, 20, 20};
  float range[2] = {0, 256};
  const float* ranges[3] = {range, range, range};

  explicit OpenCvModel(const Scene& first, int cx, int cy) {
    const cv::Mat rgb(first.height, first.width, CV_8UC3,
                      const_cast<std::uint8_t*>(first.pixels.data()));
    const cv::Rect box(cx - kBallRadius, cy - kBallRadius, 2 * kBallRadius + 1,
                       2 * kBallRadius + 1);
    cv::Mat luv;
    cv::cvtColor(rgb(box), luv, cv::COLOR_RGB2Luv);
    cv::Mat mask = cv::Mat::zeros(box.size(), CV_8U);
    cv::circle(mask, {kBallRadius, kBallRadius}, kBallRadius, 255, -1);
    cv::calcHist(&luv, 1, channels, mask, histogram, 3, bins, ranges);
    cv::normalize(histogram, histogram, 0, 255, cv::NORM_MINMAX);
  }
};

// The search window: side 2R + 1 round the previous position, as ours.
cv::Rect Window(int cx, int cy, int radius) {
  return {cx - radius, cy - radius, 2 * radius + 1, 2 * radius + 1};
}

void BM_OpenCvMeanShift(benchmark::State& state) {
  const int w = kSizes[state.range(0)][0];
  const int h = kSizes[state.range(0)][1];
  const int radius = int(state.range(1));
  const int cx = w / 2;
  const int cy = h / 2;
  const Scene first(w, h, cx, cy);
  const Scene moved(w, h, cx + kMoveX, cy + kMoveY);
  OpenCvModel model(first, cx, cy);
  const cv::Mat rgb(h, w, CV_8UC3, const_cast<std::uint8_t*>(moved.pixels.data()));
  const bool withConversion = state.range(2) != 0;
  // The window with room for the object's move: about what our search reads on this frame.
  const cv::Rect area = Window(cx, cy, radius + 8) & cv::Rect(0, 0, w, h);
  cv::Mat luv;
  cv::Mat back;
  cv::cvtColor(rgb(area), luv, cv::COLOR_RGB2Luv);
  cv::calcBackProject(&luv, 1, model.channels, model.histogram, back, model.ranges);
  cv::Rect found;
  for (auto _ : state) {
    if (withConversion) {
      cv::cvtColor(rgb(area), luv, cv::COLOR_RGB2Luv);
      cv::calcBackProject(&luv, 1, model.channels, model.histogram, back, model.ranges);
    }
    found = Window(cx - area.x, cy - area.y, radius);
    cv::meanShift(back, found, {cv::TermCriteria::COUNT | cv::TermCriteria::EPS, 10, 1});
    benchmark::DoNotOptimize(found);
  }
  state.counters["dx"] = found.x + area.x - (cx - radius);
  state.counters["dy"] = found.y + area.y - (cy - radius);
}
#endif

void Arguments(benchmark::internal::Benchmark* b) {
  for (int size : {0, 1, 2})
    for (int radius : {20, 40, 100}) b->Args({size, radius});
  b->ArgNames({"size", "R"});
}

BENCHMARK(BM_Search)->Apply(Arguments)->Unit(benchmark::kMicrosecond);
#ifdef KINOVIA_BENCH_OPENCV
BENCHMARK(BM_OpenCvMeanShift)
    ->Apply([](benchmark::internal::Benchmark* b) {
      for (int convert : {0, 1})
        for (int size : {0, 1})
          for (int radius : {20, 40, 100}) b->Args({size, radius, convert});
      b->ArgNames({"size", "R", "convert"});
    })
    ->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
}  // namespace kinovia
