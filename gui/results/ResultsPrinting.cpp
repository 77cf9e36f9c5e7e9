#include "gui/results/ResultsPrinting.h"

#include <QAbstractItemModel>
#include <QPagedPaintDevice>
#include <QPainter>

#include "gui/graphs/GraphWidget.h"

namespace kinovia {
namespace {

// The title across the top of a page; answers the height it took.
int PaintHeading(QPainter& painter, const QString& title, int width) {
  QFont font = painter.font();
  font.setPointSize(14);
  font.setBold(true);
  painter.setFont(font);
  const int height = painter.fontMetrics().height() * 2;
  painter.drawText(QRect(0, 0, width, height), Qt::AlignLeft | Qt::AlignTop, title);
  return height;
}

}  // namespace

void PrintGraph(QPagedPaintDevice& device, GraphWidget& graph, const QString& title) {
  QPainter painter(&device);
  const int pageWidth = painter.viewport().width();
  const int pageHeight = painter.viewport().height();
  const int top = PaintHeading(painter, title, pageWidth);
  const QSizeF size = graph.size();
  const double scale = std::min(pageWidth / size.width(), (pageHeight - top) / size.height());
  painter.translate(0, top);
  painter.scale(scale, scale);
  graph.Render(painter, true);
}

int PrintTable(QPagedPaintDevice& device, const QAbstractItemModel& table, const QString& title) {
  QPainter painter(&device);
  const int pageWidth = painter.viewport().width();
  const int pageHeight = painter.viewport().height();
  const int columns = table.columnCount() + 1;  // the row numbers first
  const int columnWidth = pageWidth / std::max(columns, 1);
  int pages = 1;
  int row = 0;
  const int rows = table.rowCount();
  do {
    if (row > 0) {
      device.newPage();
      ++pages;
    }
    int y = PaintHeading(painter, title, pageWidth);
    QFont font = painter.font();
    font.setPointSize(8);
    font.setBold(false);
    painter.setFont(font);
    const int line = painter.fontMetrics().height() + 2;
    for (int c = 1; c < columns; ++c) {
      const QString header = table.headerData(c - 1, Qt::Horizontal).toString();
      painter.drawText(QRect(c * columnWidth, y, columnWidth - 4, 2 * line),
                       Qt::AlignRight | Qt::AlignTop, header);
    }
    y += 2 * line;
    painter.drawLine(0, y, pageWidth, y);
    for (; row < rows && y + line <= pageHeight; ++row, y += line) {
      painter.drawText(QRect(0, y, columnWidth - 4, line), Qt::AlignRight,
                       table.headerData(row, Qt::Vertical).toString());
      for (int c = 1; c < columns; ++c)
        painter.drawText(QRect(c * columnWidth, y, columnWidth - 4, line), Qt::AlignRight,
                         table.data(table.index(row, c - 1)).toString());
    }
  } while (row < rows);
  return pages;
}

}  // namespace kinovia
