#include "logic/results/ResultsTable.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"
#include "resources/TxtNumbers.h"
#include "resources/TxtTable.h"

namespace kinovia {
namespace {

using KindBlock = std::array<QuantityKind, 3>;
constexpr KindBlock kSpeedBlock{QuantityKind::Vx, QuantityKind::Vy, QuantityKind::V};
constexpr KindBlock kAccelerationBlock{QuantityKind::Ax, QuantityKind::Ay, QuantityKind::A};
constexpr KindBlock kPolarBlock{QuantityKind::Angle, QuantityKind::Radius,
                                QuantityKind::AngularSpeed};

// The kind shown by a data column within its block of three, d counted from 1.
QuantityKind KindInBlock(int d, const KindBlock& block) {
  return block[static_cast<std::size_t>((d + 2) % 3)];
}

// Replaces the successive "%s" places of a text.
std::string Fill(std::string text, const std::vector<std::string>& values) {
  std::size_t at = 0;
  for (const auto& value : values) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

// The kind and object of a data column, without the texts: what every data cell needs.
ColumnInfo ColumnPlace(int c, int objects) {
  ColumnInfo info;
  const int n = objects;
  if (c > 11 * n) {
    info.user = c - 11 * n - 1;
  } else if (c <= 0) {
    info.kind = QuantityKind::Time;
  } else if (c <= 2 * n) {
    info.object = (c + 1) / 2 - 1;
    info.kind = c % 2 == 1 ? QuantityKind::X : QuantityKind::Y;
  } else if (c <= 5 * n) {
    const int d = c - 2 * n;
    info.object = (d + 2) / 3 - 1;
    info.kind = KindInBlock(d, kSpeedBlock);
  } else if (c <= 8 * n) {
    const int d = c - 5 * n;
    info.object = (d + 2) / 3 - 1;
    info.kind = KindInBlock(d, kAccelerationBlock);
  } else {
    const int d = c - 8 * n;
    info.object = (d + 2) / 3 - 1;
    info.kind = KindInBlock(d, kPolarBlock);
  }
  return info;
}

// The texts of a header: the user variable's own, or those of the computed quantity.
ColumnInfo HeaderInfo(const FrameResults& frameResults, const std::vector<std::string>& names,
                      int c) {
  ColumnInfo info = ColumnPlace(c, frameResults.ObjectCount());
  const auto& userColumns = frameResults.UserColumns();
  if (info.user < 0) return ColumnInfoFor(c, frameResults.ObjectCount(), names);
  if (static_cast<std::size_t>(info.user) < userColumns.size()) {
    const UserColumn& column = userColumns[static_cast<std::size_t>(info.user)];
    info.symbol = column.symbol;
    info.unit = column.unit;
    info.description = column.description;
  }
  return info;
}

// The pale yellow of the formula page, for the columns of the user's variables.
constexpr std::uint32_t kUserColumnColour = 0xFFFFE1;

}  // namespace

ColumnInfo ColumnInfoFor(int c, int objects, const std::vector<std::string>& names) {
  ColumnInfo info = ColumnPlace(c, objects);
  const int n = objects;
  const QuantityInfo* quantity = QuantityInfoOf(info.kind);
  info.symbol = Txt(quantity->symbol);
  info.unit = Txt(quantity->unit);
  info.description = Txt(quantity->description);
  if (info.kind == QuantityKind::Time) return info;
  if (n != 1) info.symbol += std::to_string(info.object + 1);
  const auto object = static_cast<std::size_t>(info.object);
  info.description += " " + (object < names.size() ? names[object] : std::string());
  return info;
}

void TableLayout::SizeColumns(int objects, int userColumns) {
  records_.resize(
      static_cast<std::size_t>(11 * std::max(objects, 0) + 1 + std::max(userColumns, 0)));
  records_[0].visible = true;
  IndexVisibleColumns();
}

void TableLayout::IndexVisibleColumns() {
  visibleColumns_.clear();
  for (std::size_t c = 0; c < records_.size(); ++c)
    if (records_[c].visible) visibleColumns_.push_back(static_cast<int>(c));
}

void TableLayout::UpdateSize(int dataRows) {
  const auto visible =
      std::count_if(records_.begin(), records_.end(), [](const Record& r) { return r.visible; });
  columnCount_ = 1 + static_cast<int>(visible);
  rowCount_ = kFixedRows + std::max(dataRows, 0);
}

int TableLayout::DataColumnAt(int column) const {
  if (column < 1 || column > static_cast<int>(visibleColumns_.size())) return -1;
  return visibleColumns_[static_cast<std::size_t>(column - 1)];
}

void TableLayout::IncreasePrecision(int column) {
  const int c = DataColumnAt(column);
  if (c >= 0) {
    int& p = records_[static_cast<std::size_t>(c)].precision;
    p = std::min(p + 1, kMaxPrecision);
  }
}

void TableLayout::DecreasePrecision(int column) {
  const int c = DataColumnAt(column);
  if (c >= 0) {
    int& p = records_[static_cast<std::size_t>(c)].precision;
    p = std::max(p - 1, 0);
  }
}

void TableLayout::ResetPrecisions() {
  for (auto& r : records_) r.precision = 0;
}

int TableLayout::Precision(int column) const {
  const int c = DataColumnAt(column);
  return c >= 0 ? records_[static_cast<std::size_t>(c)].precision : 0;
}

void TableLayout::SetFamilyVisible(bool visible, QuantitySet kinds, int objects) {
  for (std::size_t c = 1; c < records_.size(); ++c) {
    const ColumnInfo place = ColumnPlace(static_cast<int>(c), objects);
    if (place.user < 0 && kinds.Contains(place.kind)) records_[c].visible = visible;
  }
  IndexVisibleColumns();
}

void TableLayout::SetColumnVisible(bool visible, int dataColumn) {
  if (dataColumn > 0 && dataColumn < static_cast<int>(records_.size()))
    records_[static_cast<std::size_t>(dataColumn)].visible = visible;
  IndexVisibleColumns();
}

std::uint32_t TableLayout::ColumnColour(int column, int objects) const {
  const int c = DataColumnAt(column);
  if (c < 0) return 0xFFFFFF;
  const ColumnInfo place = ColumnPlace(c, objects);
  return place.user >= 0 ? kUserColumnColour : QuantityInfoOf(place.kind)->colour;
}

std::string TableLayout::CellText(const FrameResults& frameResults,
                                  const std::vector<std::string>& names,
                                  const TableOptions& options, int column, int row,
                                  bool formatted) const {
  const int rows = kFixedRows + frameResults.RowCount();
  if (column < 0 || row < 0 || row >= rows) return {};
  if (column == 0) {
    if (row < kFixedRows) return {};
    const int i = row - kFixedRows;
    return std::to_string(options.numberFromZero ? i : i + 1);
  }
  const int c = DataColumnAt(column);
  if (c < 0) return {};
  if (row >= kFixedRows) {
    return DataText(frameResults, options, ColumnPlace(c, frameResults.ObjectCount()), c,
                    row - kFixedRows, formatted);
  }
  const ColumnInfo info = HeaderInfo(frameResults, names, c);
  switch (row) {
    case 0:
      return {};
    case 1:
      return info.symbol;
    case 2:
      return info.unit;
    default:
      return info.description;
  }
}

std::string TableLayout::DataText(const FrameResults& frameResults, const TableOptions& options,
                                  const ColumnInfo& info, int dataColumn, int i,
                                  bool formatted) const {
  const std::optional<double> value = DataValue(frameResults, options, info, i);
  if (!value) return {};
  const int precision = records_[static_cast<std::size_t>(dataColumn)].precision;
  return formatted ? FormatValue(precision, *value) : FullPrecisionText(*value);
}

// The value a data cell shows; none for a cell left empty.
std::optional<double> TableLayout::DataValue(const FrameResults& frameResults,
                                             const TableOptions& options, const ColumnInfo& info,
                                             int i) const {
  if (info.user >= 0) {
    const auto& columns = frameResults.UserColumns();
    const auto u = static_cast<std::size_t>(info.user);
    if (u >= columns.size() || static_cast<std::size_t>(i) >= columns[u].values.size())
      return std::nullopt;
    return columns[u].values[static_cast<std::size_t>(i)];
  }
  if (info.kind == QuantityKind::Time) return frameResults.TimeAt(i);
  if (!frameResults.HasMark(info.object, i)) return std::nullopt;
  const auto [first, last] = frameResults.MarkedRowSpan(info.object);
  const bool speed = kFamilySpeeds.Contains(info.kind);
  const bool acceleration = kFamilyAccelerations.Contains(info.kind);
  if (speed && options.hideEdgeSpeeds && (i == first || i == last)) return std::nullopt;
  if (acceleration && options.hideEdgeAccelerations && !(first + 1 < i && i < last - 1))
    return std::nullopt;
  return frameResults.CellValue(Orientation::User, info.object, info.kind, i);
}

void TableLayout::AppendExportRow(std::string& line, const FrameResults& frameResults,
                                  const TableOptions& options, int i) const {
  for (int column = 1; column < columnCount_; ++column) {
    if (column > 1) line += '\t';
    const int c = DataColumnAt(column);
    if (c < 0) continue;
    const std::optional<double> value =
        DataValue(frameResults, options, ColumnPlace(c, frameResults.ObjectCount()), i);
    // An undefined value leaves its cell empty in text.
    if (value && !std::isnan(*value)) AppendFullPrecisionText(line, *value);
  }
}

std::vector<std::string> ExportTextLines(const TableLayout& grid, const FrameResults& frameResults,
                                         const std::vector<std::string>& names,
                                         const TableOptions& options, const std::string& title,
                                         const std::string& dateTime, double axisAngle) {
  std::vector<std::string> lines = {
      title, dateTime,
      Fill(Txt(txt::ExportAngleLine), {":", FullPrecisionText(axisAngle), Txt(txt::UnitRadian)})};
  const int rows = TableLayout::kFixedRows + frameResults.RowCount();
  const std::string& undefined = Txt(txt::UndefinedNumber);
  lines.reserve(lines.size() + static_cast<std::size_t>(rows));
  for (int row = 1; row < rows; ++row) {
    std::string line;
    if (row >= TableLayout::kFixedRows) {
      grid.AppendExportRow(line, frameResults, options, row - TableLayout::kFixedRows);
      lines.push_back(std::move(line));
      continue;
    }
    for (int column = 1; column < grid.ColumnCount(); ++column) {
      if (column > 1) line += '\t';
      const std::string cell = grid.CellText(frameResults, names, options, column, row, false);
      // An undefined value leaves its cell empty in text.
      if (cell != undefined) line += cell;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::vector<std::string>> ExportMatrixCells(const TableLayout& grid,
                                                        const FrameResults& frameResults,
                                                        const std::vector<std::string>& names,
                                                        const TableOptions& options,
                                                        double axisAngle) {
  std::vector<std::vector<std::string>> matrix;
  const int rows = TableLayout::kFixedRows + frameResults.RowCount();
  for (int row = 0; row < rows; ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < grid.ColumnCount(); ++column)
      cells.push_back(grid.CellText(frameResults, names, options, column, row, true));
    matrix.push_back(std::move(cells));
  }
  if (!matrix.empty() && matrix[0].size() > 1) {
    matrix[0][0] = Fill(Txt(txt::ExportAngleLine), {"(" + Txt(txt::UnitRadian) + ")", ":", ""});
    matrix[0][1] = FullPrecisionText(axisAngle);
  }
  return matrix;
}

void ResultsTable::ResetPrecisions(FrameSelector selector) {
  if (selector == FrameSelector::Both || selector == FrameSelector::Fixed)
    grids_[0].ResetPrecisions();
  if (selector == FrameSelector::Both || selector == FrameSelector::Transparent)
    grids_[1].ResetPrecisions();
  if (selector == FrameSelector::Current) Current().ResetPrecisions();
}

void ResultsTable::SizeColumns(FrameSelector selector, int objects) {
  if (selector == FrameSelector::Both || selector == FrameSelector::Fixed)
    grids_[0].SizeColumns(objects);
  if (selector == FrameSelector::Both || selector == FrameSelector::Transparent)
    grids_[1].SizeColumns(objects);
  if (selector == FrameSelector::Current) Current().SizeColumns(objects);
}

void ResultsMemoryEntry::Reset() {
  for (auto& list : lists) list.clear();
  integers = {0, 0, 0, -1};
}

void ResultsMemory::Reset(FrameSelector selector) {
  if (selector == FrameSelector::Both || selector == FrameSelector::Fixed) memories_[0].Reset();
  if (selector == FrameSelector::Both || selector == FrameSelector::Transparent)
    memories_[1].Reset();
  if (selector == FrameSelector::Current) Current().Reset();
}

void ResultsMemory::LoadDefaults(bool firstFlag, bool firstChoiceOption, bool secondChoiceOption) {
  for (auto& memory : memories_) {
    memory.flags[0] = firstFlag;
    memory.choices = {firstChoiceOption ? 0 : 2, secondChoiceOption ? 0 : 2};
  }
}

}  // namespace kinovia
