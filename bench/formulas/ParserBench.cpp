// Evaluating one compiled formula for row after row, as the results table does. Every heap
// allocation in the process is counted, so the figure shows whether an evaluation allocates.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "logic/formulas/Parser.h"

namespace {

std::atomic<long long> gAllocations{0};

}  // namespace

// Kept out of line: once inlined, the compiler pairs the malloc with a delete and warns.
[[gnu::noinline]] void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// 20 tokens, two variables, four functions and every operator kind but ";".
constexpr const char* kFormula = "x*x+3*sin(y)-y/(1+x^2)";

void BM_EvaluateCompiledFormula(benchmark::State& state) {
  double x = 0.5;
  double y = 1.5;
  kinovia::Parser parser;
  parser.SetOnVariable([&](const kinovia::VariableQuery& q) {
    return kinovia::VariableAnswer{true, q.name[0] == 'x' ? x : y};
  });
  parser.SetFormula(kFormula);
  if (!parser.Compile() || parser.Tokens().size() != 20) {
    state.SkipWithError("the formula does not compile as expected");
    return;
  }
  const long long before = gAllocations.load();
  for (auto _ : state) {
    x += 1e-6;
    benchmark::DoNotOptimize(parser.Evaluate());
  }
  const long long allocations = gAllocations.load() - before;
  state.counters["allocations_per_evaluation"] =
      static_cast<double>(allocations) / static_cast<double>(state.iterations());
  if (parser.ErrorCode() != kinovia::ParserError::kNone)
    state.SkipWithError("the evaluation failed");
}
BENCHMARK(BM_EvaluateCompiledFormula)->Iterations(1000000);

void BM_CompileFormula(benchmark::State& state) {
  kinovia::Parser parser;
  parser.SetOnVariable([](const kinovia::VariableQuery&) {
    return kinovia::VariableAnswer{true, 1};
  });
  // Compiling does allocate: its count shows that the counting works.
  const long long before = gAllocations.load();
  for (auto _ : state) {
    parser.SetFormula(kFormula);
    benchmark::DoNotOptimize(parser.Compile());
  }
  state.counters["allocations_per_compilation"] =
      static_cast<double>(gAllocations.load() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CompileFormula);

}  // namespace
