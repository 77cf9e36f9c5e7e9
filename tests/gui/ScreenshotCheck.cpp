// Checks a screenshot of the started program: the clip's picture must fill the middle of the
// window. Even the smooth sky of a sample clip holds dozens of shades there; the empty black view
// holds one.
#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <QTextStream>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  QTextStream err(stderr);
  if (argc != 2) {
    err << "usage: ScreenshotCheck FILE\n";
    return 2;
  }
  const QImage shot(QString::fromLocal8Bit(argv[1]));
  if (shot.isNull() || shot.width() < 100 || shot.height() < 100) {
    err << "no usable screenshot\n";
    return 1;
  }
  QSet<QRgb> colours;
  for (int y = shot.height() / 4; y < shot.height() * 3 / 4; y += 3)
    for (int x = shot.width() / 4; x < shot.width() * 3 / 4; x += 3)
      colours.insert(shot.pixel(x, y));
  err << colours.size() << " colours in the middle of the window\n";
  return colours.size() >= 16 ? 0 : 1;
}
