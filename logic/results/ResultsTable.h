#pragma once
// The layout of the results table: its columns, their visibility and precision, the text of each
// cell, and the two forms in which the table is exported.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "logic/results/ResultsComputation.h"

namespace kinovia {

// The options the table's texts depend on.
struct TableOptions {
  bool numberFromZero = false;         // rows and points numbered from 0
  bool hideEdgeSpeeds = false;         // no speed on an object's first and last marks
  bool hideEdgeAccelerations = false;  // no acceleration on its two first and two last marks

  bool operator==(const TableOptions&) const = default;
};

struct ColumnInfo {
  QuantityKind kind = QuantityKind::Time;
  int object = 0;
  std::string symbol;
  std::string unit;
  std::string description;
  int user = -1;  // the user variable a column shows; -1 for a computed column
};

// What one data column shows, for n objects named `names`.
ColumnInfo ColumnInfoFor(int dataColumn, int objects, const std::vector<std::string>& names);

// The table of one frame of reference.
class TableLayout {
 public:
  static constexpr int kFixedColumns = 1;
  static constexpr int kFixedRows = 4;
  static constexpr int kMaxPrecision = 8;

  // 11 n + 1 column records, then one a user variable; those that exist keep their settings.
  void SizeColumns(int objects, int userColumns = 0);
  void UpdateSize(int dataRows);
  int ColumnCount() const { return columnCount_; }
  int RowCount() const { return rowCount_; }

  // The data column shown at a grid column (from 1), -1 when none.
  int DataColumnAt(int column) const;
  void IncreasePrecision(int column);
  void DecreasePrecision(int column);
  void ResetPrecisions();
  int Precision(int column) const;
  void SetFamilyVisible(bool visible, QuantitySet kinds, int objects);
  void SetColumnVisible(bool visible, int dataColumn);

  std::string CellText(const FrameResults& frameResults, const std::vector<std::string>& names,
                       const TableOptions& options, int column, int row, bool formatted) const;
  // Data row `i` as the text export writes it: each shown column at full precision, an empty or
  // undefined cell left empty, tab-separated, without the row-number column.
  void AppendExportRow(std::string& line, const FrameResults& frameResults,
                       const TableOptions& options, int i) const;
  // The background colour of a grid column, 0x00RRGGBB; the user variables' own for theirs.
  std::uint32_t ColumnColour(int column, int objects) const;

 private:
  struct Record {
    bool visible = true;
    int precision = 0;
  };
  std::string DataText(const FrameResults& frameResults, const TableOptions& options,
                       const ColumnInfo& info, int dataColumn, int i, bool formatted) const;
  std::optional<double> DataValue(const FrameResults& frameResults, const TableOptions& options,
                                  const ColumnInfo& info, int i) const;
  void IndexVisibleColumns();
  std::vector<Record> records_;
  std::vector<int> visibleColumns_;  // the data column at each grid column from 1
  int columnCount_ = 1;
  int rowCount_ = kFixedRows;
};

// The lines of the text export: title, date, axis angle, three header rows, then the data rows at
// full precision, tab-separated, without the row-number column.
std::vector<std::string> ExportTextLines(const TableLayout& grid, const FrameResults& frameResults,
                                         const std::vector<std::string>& names,
                                         const TableOptions& options, const std::string& title,
                                         const std::string& dateTime, double axisAngle);

// The cells of the table as it shows them, the first row's first cells carrying the axis angle.
std::vector<std::vector<std::string>> ExportMatrixCells(const TableLayout& grid,
                                                        const FrameResults& frameResults,
                                                        const std::vector<std::string>& names,
                                                        const TableOptions& options,
                                                        double axisAngle);

// The tables of both frames of reference; requests go to the one of the current working mode.
class ResultsTable {
 public:
  explicit ResultsTable(std::function<bool()> transparentMode)
      : transparentMode_(std::move(transparentMode)) {}
  TableLayout& Current() { return grids_[transparentMode_() ? 1 : 0]; }
  const TableLayout& Current() const { return grids_[transparentMode_() ? 1 : 0]; }
  void ResetPrecisions(FrameSelector selector);
  void SizeColumns(FrameSelector selector, int objects);

 private:
  std::function<bool()> transparentMode_;
  std::array<TableLayout, 2> grids_;
};

// What the results window finds again when it comes back, for one frame of reference.
struct ResultsMemoryEntry {
  std::array<std::vector<int>, 3> lists;
  std::array<int, 4> integers = {0, 0, 0, -1};
  std::array<bool, 2> flags = {false, false};
  std::array<int, 2> choices = {2, 2};  // 0, 1 or 2

  void Reset();
};

class ResultsMemory {
 public:
  explicit ResultsMemory(std::function<bool()> transparentMode)
      : transparentMode_(std::move(transparentMode)) {}
  ResultsMemoryEntry& Current() { return memories_[transparentMode_() ? 1 : 0]; }
  void Reset(FrameSelector selector);
  // The first flag follows one option; each choice is 0 when its option is set, else 2.
  void LoadDefaults(bool firstFlag, bool firstChoiceOption, bool secondChoiceOption);

 private:
  std::function<bool()> transparentMode_;
  std::array<ResultsMemoryEntry, 2> memories_;
};

}  // namespace kinovia
