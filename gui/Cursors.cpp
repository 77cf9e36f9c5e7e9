#include "gui/Cursors.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources live in a static library: nothing else would pull them into the program.
static void InitCursorResources() { Q_INIT_RESOURCE(cursors); }

namespace kinovia {
namespace {

constexpr int kSide = 32;

struct CursorFile {
  const char* name;
  QPoint hotSpot;
};

CursorFile FileOf(CursorShape shape) {
  switch (shape) {
    case CursorShape::Zoom:
      return {"zoom", {13, 13}};
    case CursorShape::Pan:
      return {"pan", {16, 16}};
    case CursorShape::Scale:
      return {"scale", {16, 16}};
    case CursorShape::Axes:
      return {"axes", {16, 16}};
    case CursorShape::Grab:
      return {"grab", {16, 16}};
    case CursorShape::Move:
      return {"move", {16, 16}};
    case CursorShape::Turn:
      return {"turn", {16, 16}};
    case CursorShape::End:
      return {"end", {16, 16}};
    case CursorShape::Mark:
    case CursorShape::Arrow:
      break;
  }
  return {"mark", {16, 16}};
}

QCursor Load(const QString& file, QPoint hotSpot) {
  QSvgRenderer renderer(file);
  if (!renderer.isValid()) return QCursor(Qt::CrossCursor);
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  painter.end();
  return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

}  // namespace

const QCursor& KinoviaCursor(CursorShape shape, int number) {
  static QHash<int, QCursor> cache;
  static const bool loaded = (InitCursorResources(), true);
  (void)loaded;
  if (shape == CursorShape::Arrow) {
    static const QCursor arrow(Qt::ArrowCursor);
    return arrow;
  }
  const bool numbered = shape == CursorShape::Mark && number >= 1 && number <= 10;
  const int key = int(shape) * 100 + (numbered ? number : 0);
  auto it = cache.find(key);
  if (it == cache.end()) {
    const auto file = FileOf(shape);
    const QString name = numbered ? QString("mark%1").arg(number) : QString(file.name);
    // The numbered cursors point with the small cross in their upper left part.
    const QPoint hotSpot = numbered ? QPoint(10, 10) : file.hotSpot;
    it = cache.insert(key, Load(":/cursors/" + name + ".svg", hotSpot));
  }
  return *it;
}

}  // namespace kinovia
