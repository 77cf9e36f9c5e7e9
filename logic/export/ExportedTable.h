#pragma once
// The table in the two forms every export starts from: the text lines and the cell matrix.
#include <string>
#include <vector>

#include "logic/results/ResultsTable.h"

namespace kinovia {

struct ExportedTable {
  std::vector<std::string> lines;
  std::vector<std::vector<std::string>> matrix;
};

// Which forms a caller reads: printing the table needs no matrix, the costlier of the two.
enum class TableForms { LinesAndMatrix, LinesOnly };

// The table as it shows now, the lines titled `title` and dated now; the matrix stays empty when
// only the lines are asked for.
ExportedTable ExportedTableOf(const TableLayout& grid, const FrameResults& frameResults,
                              const std::vector<std::string>& names, const TableOptions& options,
                              const std::string& title, double axisAngle,
                              TableForms forms = TableForms::LinesAndMatrix);

}  // namespace kinovia
