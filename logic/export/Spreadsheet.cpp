#include "logic/export/Spreadsheet.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"
#include "logic/results/ResultsTable.h"

namespace kinovia {
namespace {

constexpr double kMinWidth = 8;
constexpr double kMaxWidth = 32;

// Characters, not bytes: "Ángulo" is six wide.
std::size_t CharacterCount(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

SheetCell DataCell(const std::string& text) {
  if (text.empty()) return {};
  // "INF" and "NaN" read as numbers, but no spreadsheet stores them as such.
  const auto value = TextToReal(NormalizeDecimalSeparator(text));
  if (value && std::isfinite(*value)) return {SheetCell::Kind::Number, {}, *value};
  return {SheetCell::Kind::Text, text, 0};
}

}  // namespace

std::size_t Spreadsheet::CellCount() const {
  std::size_t count = 0;
  for (const auto& row : rows) count += row.size();
  return count;
}

Spreadsheet SpreadsheetOf(const std::vector<std::vector<std::string>>& matrix) {
  Spreadsheet sheet;
  sheet.headerRows = std::min<int>(TableLayout::kFixedRows, static_cast<int>(matrix.size()));
  for (std::size_t r = 0; r < matrix.size(); ++r) {
    const bool header = r < static_cast<std::size_t>(sheet.headerRows);
    std::vector<SheetCell>& cells = sheet.rows.emplace_back();
    for (const std::string& text : matrix[r]) {
      cells.push_back(header
                          ? (text.empty() ? SheetCell{} : SheetCell{SheetCell::Kind::Text, text, 0})
                          : DataCell(text));
      if (sheet.columnWidths.size() < cells.size()) sheet.columnWidths.push_back(kMinWidth);
      // The angle sentence of the first row runs over its neighbours; it sets no width.
      if (r == 0) continue;
      const double wanted = static_cast<double>(CharacterCount(text)) + 2;
      double& width = sheet.columnWidths[cells.size() - 1];
      width = std::clamp(wanted, width, kMaxWidth);
    }
  }
  return sheet;
}

}  // namespace kinovia
