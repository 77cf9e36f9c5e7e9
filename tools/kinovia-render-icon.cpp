// Renders an SVG picture into square PNG files, for the icon sizes a desktop theme asks for:
//   kinovia-render-icon PICTURE.svg OUT_FOLDER NAME SIZE...
// writes OUT_FOLDER/SIZExSIZE/NAME.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
  // Text in a picture needs the font database, hence an application, but never a screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QStringList args = application.arguments();
  if (args.size() < 5) {
    QTextStream(stderr) << "usage: kinovia-render-icon PICTURE.svg OUT_FOLDER NAME SIZE...\n";
    return 2;
  }
  QSvgRenderer renderer(args[1]);
  if (!renderer.isValid()) {
    QTextStream(stderr) << "cannot read " << args[1] << "\n";
    return 1;
  }
  for (int i = 4; i < args.size(); ++i) {
    const int side = args[i].toInt();
    if (side <= 0) return 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const QString folder = QString("%1/%2x%2").arg(args[2]).arg(side);
    if (!QDir().mkpath(folder) || !image.save(folder + "/" + args[3] + ".png")) {
      QTextStream(stderr) << "cannot write " << folder << "\n";
      return 1;
    }
  }
  return 0;
}
