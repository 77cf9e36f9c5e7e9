#include "gui/Icons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources live in a static library: nothing else would pull them into the program.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace kinovia {

QIcon KinoviaIcon(const QString& name) {
  static const bool loaded = (InitIconResources(), true);
  Q_UNUSED(loaded);
  static QHash<QString, QIcon> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return *it;
  QSvgRenderer renderer(":/icons/" + name + ".svg");
  QIcon icon;
  // Tool bars use 24 pixels; the larger sizes serve scaled screens without blurring.
  for (int side : {16, 24, 32, 48, 64}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return *cache.insert(name, icon);
}

}  // namespace kinovia
