// Twenty user variables over a table of 100 000 rows, as an energy study of one object asks for
// them: chains of variables, an iterative one, and functions. The goal is under 50 ms.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/MemoryReuse.h"
#include "logic/formulas/UserFormulas.h"

namespace kinovia {
namespace {

constexpr int kRows = 100000;

// As the program's mains do, before the first allocation: a fresh evaluation then finds the
// memory the previous one freed instead of faulting in new pages.
const bool kFreedMemoryKept = KeepFreedMemoryForReuse();

std::vector<FormulaColumn> LongTable() {
  std::vector<FormulaColumn> columns = {{"t", {}}, {"x", {}}, {"y", {}}, {"vx", {}}, {"vy", {}}};
  for (int i = 0; i < kRows; ++i) {
    const double t = i * 0.04;
    columns[0].values.push_back(t);
    columns[1].values.push_back(0.3 * std::cos(t));
    columns[2].values.push_back(0.3 * std::sin(t) - 4.9 * t * t);
    columns[3].values.push_back(-0.3 * std::sin(t));
    columns[4].values.push_back(0.3 * std::cos(t) - 9.8 * t);
  }
  return columns;
}

FormulaSet TwentyVariables() {
  FormulaSet set;
  set.constants = {{"m", "", "0,058", "kg"}, {"g", "", "9,81", "m/s²"}, {"s", "1", "0", "m"}};
  set.formulas = {
      {"v2", "vx^2+vy^2", "", "m²/s²"},
      {"Ec", "0.5*m*v2", "", "J"},
      {"Ep", "m*g*y", "", "J"},
      {"Em", "Ec+Ep", "", "J"},
      {"px", "m*vx", "", "kg.m/s"},
      {"py", "m*vy", "", "kg.m/s"},
      {"p", "sqrt(px^2+py^2)", "", "kg.m/s"},
      {"r", "sqrt(x^2+y^2)", "", "m"},
      {"th", "ArcTan(y;x)", "", "rad"},
      {"dx", "x[i+1]-x[i-1]", "", "m"},
      {"dy", "y[i+1]-y[i-1]", "", "m"},
      {"dt", "t[i+1]-t[i-1]", "", "s"},
      {"vxc", "dx/dt", "", "m/s"},
      {"vyc", "dy/dt", "", "m/s"},
      {"ds", "sqrt(dx^2+dy^2)/2", "", "m"},
      {"s", "s[i-1]+ds", "", "m"},
      {"dEm", "Em-Em[i-1]", "", "J"},
      {"Pw", "dEm/(t-t[i-1])", "", "W"},
      {"cs", "cos(th)*sin(th)", "", ""},
      {"lr", "ln(r+1)", "", ""},
  };
  return set;
}

void BM_TwentyVariablesOverLongTable(benchmark::State& state) {
  const std::vector<FormulaColumn> table = LongTable();
  std::vector<std::string> symbols;
  for (const auto& column : table) symbols.push_back(column.symbol);
  for (auto _ : state) {
    UserFormulas formulas;
    formulas.Define(TwentyVariables(), symbols, {true, 1});
    formulas.Evaluate(table);
    benchmark::DoNotOptimize(formulas.Variables().back().values.data());
    if (formulas.LastEvaluatedCount() != 20) state.SkipWithError("a variable was refused");
  }
  state.counters["freed_memory_kept"] = kFreedMemoryKept ? 1 : 0;
}
BENCHMARK(BM_TwentyVariablesOverLongTable)->Unit(benchmark::kMillisecond);

// The window's path: the formulas stay defined and every column changes (a moved calibration),
// so all twenty are evaluated again into the memory of the previous evaluation.
void BM_TwentyVariablesEvaluatedAgain(benchmark::State& state) {
  std::vector<FormulaColumn> tables[2] = {LongTable(), LongTable()};
  for (auto& column : tables[1]) column.values[0] += 1;
  std::vector<std::string> symbols;
  for (const auto& column : tables[0]) symbols.push_back(column.symbol);
  UserFormulas formulas;
  formulas.Define(TwentyVariables(), symbols, {true, 1});
  int next = 0;
  for (auto _ : state) {
    formulas.Evaluate(tables[next]);
    next = 1 - next;
    benchmark::DoNotOptimize(formulas.Variables().back().values.data());
    if (formulas.LastEvaluatedCount() != 20) state.SkipWithError("a variable was kept");
  }
}
BENCHMARK(BM_TwentyVariablesEvaluatedAgain)->Unit(benchmark::kMillisecond);

// The floor of a fresh evaluation, in the same run: twenty columns allocated and written once
// (fresh pages when freed memory is not kept).
void BM_TwentyFreshColumns(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::vector<double>> columns(20);
    for (auto& column : columns) {
      column.assign(kRows, kUndefined);
      benchmark::DoNotOptimize(column.data());
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TwentyFreshColumns)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kinovia
