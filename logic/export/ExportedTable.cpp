#include "logic/export/ExportedTable.h"

#include "logic/export/TableText.h"

namespace kinovia {

ExportedTable ExportedTableOf(const TableLayout& grid, const FrameResults& frameResults,
                              const std::vector<std::string>& names, const TableOptions& options,
                              const std::string& title, double axisAngle, TableForms forms) {
  ExportedTable table;
  table.lines =
      ExportTextLines(grid, frameResults, names, options, title, ExportDateTime(), axisAngle);
  if (forms == TableForms::LinesAndMatrix)
    table.matrix = ExportMatrixCells(grid, frameResults, names, options, axisAngle);
  return table;
}

}  // namespace kinovia
