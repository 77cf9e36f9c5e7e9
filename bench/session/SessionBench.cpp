// Cost of a long pointing session: clicking n marks of 4 objects, handing them to the results,
// and undoing every step. Growth with n must stay near linear.
#include <benchmark/benchmark.h>

#include "logic/session/Session.h"
#include "tests/session/SessionFakes.h"

namespace kinovia::test {
namespace {

constexpr int kObjects = 4;

void PointMarks(SessionRig& rig, int count) {
  rig.video.frameCount = count / kObjects + 10;
  rig.data.SetMarksNumberPerFrame(kObjects);
  for (int i = 0; i < count; ++i) {
    rig.Click(50 + 100 * (i % kObjects), 20 + (i / kObjects) % 400);
  }
}

void BM_PointMarksThenGetData(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    SessionRig rig;
    PointMarks(rig, count);
    const PointedData data = rig.data.GetData();
    benchmark::DoNotOptimize(data.time.data());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PointMarksThenGetData)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_UndoAll(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto rig = std::make_unique<SessionRig>();
    PointMarks(*rig, count);
    state.ResumeTiming();
    while (rig->data.Undo()) {
    }
    state.PauseTiming();
    rig.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_UndoAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kinovia::test
