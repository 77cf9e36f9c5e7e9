#pragma once
// The results table as a spreadsheet sees it: header rows of text, data cells as numbers, and a
// width for each column. Both workbook writers fill their sheet from it.
#include <string>
#include <vector>

namespace kinovia {

struct SheetCell {
  enum class Kind { Empty, Text, Number };
  Kind kind = Kind::Empty;
  std::string text;   // Text: the cell's text
  double number = 0;  // Number: its value

  bool operator==(const SheetCell&) const = default;
};

struct Spreadsheet {
  std::vector<std::vector<SheetCell>> rows;
  int headerRows = 0;                // frozen above the data
  std::vector<double> columnWidths;  // in characters of the default font

  // Its cells, empty ones included: what a writer reserves its text for.
  std::size_t CellCount() const;
};

// The exported cell matrix as cells: its first four rows as text; below them every cell that
// reads as a finite number (with either decimal mark) as that number, and anything else, the
// undefined "#Número!" first of all, as text.
Spreadsheet SpreadsheetOf(const std::vector<std::vector<std::string>>& matrix);

}  // namespace kinovia
