#pragma once
// The results table as Qt's views read it: every cell asked for when it is shown, so a table of
// 100 000 rows scrolls as smoothly as one of ten.
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "logic/results/ResultsTable.h"

namespace kinovia {

class ResultsTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using Source = std::function<const FrameResults&()>;
  using Layout = std::function<const TableLayout&()>;

  ResultsTableModel(Source results, Layout layout, QObject* parent = nullptr)
      : QAbstractTableModel(parent), results_(std::move(results)), layout_(std::move(layout)) {}

  // The names and options the texts need; called after every rebuild of the table.
  void Reload(std::vector<std::string> names, TableOptions options);
  // The table kept its rows and columns and only rows first..last changed: those are shown again,
  // the view keeps its place and selection. Reloads otherwise.
  void Update(std::vector<std::string> names, TableOptions options, int first, int last);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString Cell(int column, int row) const;

  Source results_;
  Layout layout_;
  std::vector<std::string> names_;
  TableOptions options_;
  int rows_ = 0, columns_ = 0;
};

}  // namespace kinovia
