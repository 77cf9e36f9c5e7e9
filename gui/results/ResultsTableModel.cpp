#include "gui/results/ResultsTableModel.h"

#include <QBrush>
#include <QColor>

namespace kinovia {

void ResultsTableModel::Reload(std::vector<std::string> names, TableOptions options) {
  beginResetModel();
  names_ = std::move(names);
  options_ = options;
  rows_ = rowCount();
  columns_ = columnCount();
  endResetModel();
}

void ResultsTableModel::Update(std::vector<std::string> names, TableOptions options, int first,
                               int last) {
  if (rowCount() != rows_ || columnCount() != columns_ || names != names_ || options != options_) {
    Reload(std::move(names), options);
    return;
  }
  first = std::max(first, 0);
  last = std::min(last, rows_ - 1);
  if (first > last || columns_ == 0) return;
  emit dataChanged(index(first, 0), index(last, columns_ - 1), {Qt::DisplayRole});
  emit headerDataChanged(Qt::Vertical, first, last);
}

int ResultsTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(0, layout_().RowCount() - TableLayout::kFixedRows);
}

int ResultsTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(0, layout_().ColumnCount() - TableLayout::kFixedColumns);
}

QString ResultsTableModel::Cell(int column, int row) const {
  return QString::fromStdString(
      layout_().CellText(results_(), names_, options_, column, row, true));
}

QVariant ResultsTableModel::data(const QModelIndex& index, int role) const {
  const int column = index.column() + TableLayout::kFixedColumns;
  if (role == Qt::DisplayRole) return Cell(column, index.row() + TableLayout::kFixedRows);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
  if (role == Qt::BackgroundRole) {
    const std::uint32_t rgb = layout_().ColumnColour(column, results_().ObjectCount());
    return QBrush(QColor::fromRgb(QRgb(rgb)));
  }
  return {};
}

// The header rows of the table: the symbol and the unit above each column, the description as
// its tooltip; the row numbers down the side.
QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    if (role != Qt::DisplayRole) return {};
    return Cell(0, section + TableLayout::kFixedRows);
  }
  const int column = section + TableLayout::kFixedColumns;
  if (role == Qt::DisplayRole) return Cell(column, 1) + "\n" + Cell(column, 2);
  if (role == Qt::ToolTipRole) return Cell(column, 3);
  return {};
}

}  // namespace kinovia
