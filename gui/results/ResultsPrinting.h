#pragma once
// The printed forms of the results window's pages: a graph with its titles on one page, or the
// table of values across as many pages as it needs.
#include <QString>

class QAbstractItemModel;
class QPagedPaintDevice;

namespace kinovia {

class GraphWidget;

// The graph scaled into the page below the title, keeping its proportions.
void PrintGraph(QPagedPaintDevice& device, GraphWidget& graph, const QString& title);

// The table with its header on every page; columns that do not fit the width are narrowed.
// Returns the number of pages printed.
int PrintTable(QPagedPaintDevice& device, const QAbstractItemModel& table, const QString& title);

}  // namespace kinovia
