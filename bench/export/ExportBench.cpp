// A long table written as the spreadsheet exports write it: 10 objects (111 columns) over 10 000
// rows, from the cell texts to the finished file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "core/Numbers.h"
#include "core/TempFolder.h"
#include "logic/export/Spreadsheet.h"
#include "media/export/TableExport.h"

namespace kinovia {
namespace {

constexpr int kColumns = 1 + 11 * 10 + 1;  // row numbers, t, then 11 quantities an object

std::vector<std::vector<std::string>> LongMatrix(int rows) {
  std::vector<std::vector<std::string>> matrix(4, std::vector<std::string>(kColumns, "x1"));
  matrix[0] = std::vector<std::string>(kColumns);
  for (int i = 0; i < rows; ++i) {
    auto& row = matrix.emplace_back();
    row.push_back(std::to_string(i + 1));
    for (int c = 1; c < kColumns; ++c)
      row.push_back(c % 37 == 0 && i == 0 ? "#Número!" : FormatValue(0, std::sin(i * 0.01 + c)));
  }
  return matrix;
}

void BM_WriteWorkbook(benchmark::State& state) {
  const auto format = static_cast<ExportFormat>(state.range(1));
  ExportedTable table;
  table.matrix = LongMatrix(static_cast<int>(state.range(0)));
  const std::string path = TemporaryFolder() + "kinovia_bench." + std::string(ExtensionOf(format));
  for (auto _ : state) {
    if (!WriteExport(format, table, path)) state.SkipWithError("the workbook was not written");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}

// The cell texts read as numbers, the share of the conversion in the writes above.
void BM_CellsToSheet(benchmark::State& state) {
  const auto matrix = LongMatrix(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(SpreadsheetOf(matrix));
}

// Rows, then the format: 1 .xlsx, 2 .ods.
BENCHMARK(BM_WriteWorkbook)
    ->ArgsProduct({{10000},
                   {static_cast<long>(ExportFormat::Xlsx), static_cast<long>(ExportFormat::Ods)}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellsToSheet)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kinovia
