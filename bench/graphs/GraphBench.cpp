// The time page of a long session (10 objects over 10 000 rows) built and painted, the same page
// after one mark moved, and one repaint of a 10 000-point curve, all on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "gui/graphs/GraphWidget.h"
#include "gui/results/PageCurves.h"
#include "logic/results/ResultsChanges.h"

namespace kinovia {
namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_graphs";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return application;
}

FrameResults LongSession(int objects, int rows, int movedRow = -1) {
  MarksData marks;
  marks.frames.resize(std::size_t(objects));
  marks.x.resize(std::size_t(objects));
  marks.y.resize(std::size_t(objects));
  for (int i = 0; i < rows; ++i) {
    const double t = i * 0.04;
    marks.times.push_back(t);
    for (std::size_t o = 0; o < std::size_t(objects); ++o) {
      marks.frames[o].push_back(i);
      marks.x[o].push_back(0.3 * std::cos(t + double(o)));
      marks.y[o].push_back(0.3 * std::sin(t + double(o)) - 0.01 * t * t);
    }
    if (i == movedRow) marks.y[0].back() += 0.01;  // one mark of the first object moved
  }
  FrameResults results;
  results.Rebuild(marks, {2.0, 1.5, 0.2, true, true, 0.04});
  results.ComputeDerivatives({});
  return results;
}

void Paint(GraphWidget& graph, QImage& image) {
  QPainter painter(&image);
  graph.Render(painter, false);
}

// What a refresh of the time page does: the curves of every object, the framing, one paint.
void BM_TimePageRefresh(benchmark::State& state) {
  Application();
  const FrameResults results = LongSession(10, int(state.range(0)));
  const std::vector<int> objects = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  GraphWidget graph;
  graph.resize(1200, 800);
  QImage image(graph.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    PageCurves page =
        TimeCurves(results, QuantityKind::Vy, objects, false, [](int) { return QColor(Qt::red); });
    graph.Clear();
    for (Curve& curve : page.curves) graph.AddCurve(std::move(curve));
    graph.SetWindow(AutoWindow(page.bounds, {false, true}, {}, 0.05), false);
    Paint(graph, image);
  }
}
BENCHMARK(BM_TimePageRefresh)->Arg(10000)->Unit(benchmark::kMillisecond);

// A mark moved while the page is open: the rows that changed are found, only the changed curve
// is taken again, and the page is painted once.
void BM_MarkMovedUpdate(benchmark::State& state) {
  Application();
  const int rows = int(state.range(0));
  const FrameResults before = LongSession(10, rows);
  const FrameResults after = LongSession(10, rows, rows / 2);
  const std::vector<int> objects = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  auto red = [](int) { return QColor(Qt::red); };
  GraphWidget graph;
  graph.resize(1200, 800);
  QImage image(graph.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    state.PauseTiming();
    graph.ReplaceCurves(TimeCurves(before, QuantityKind::Y, objects, false, red).curves);
    state.ResumeTiming();
    benchmark::DoNotOptimize(ChangedRows(before, after));
    if (graph.ReplaceCurves(TimeCurves(after, QuantityKind::Y, objects, false, red).curves) != 1)
      state.SkipWithError("more than the moved object's curve changed");
    Paint(graph, image);
  }
}
BENCHMARK(BM_MarkMovedUpdate)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RepaintCurve(benchmark::State& state) {
  Application();
  GraphWidget graph;
  graph.resize(1200, 800);
  Curve curve;
  for (int i = 0; i < state.range(0); ++i) {
    curve.x.push_back(i * 0.04);
    curve.y.push_back(std::sin(i * 0.01));
  }
  graph.AddCurve(std::move(curve));
  graph.SetWindow({0, state.range(0) * 0.04, -1.1, 1.1}, false);
  QImage image(graph.size(), QImage::Format_RGB32);
  for (auto _ : state) Paint(graph, image);
}
BENCHMARK(BM_RepaintCurve)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kinovia
