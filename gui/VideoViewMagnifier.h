#pragma once
// The magnifier: a small movable window that shows the picture round the pointer, enlarged.
#include <QPoint>
#include <QWidget>

namespace kinovia {

class Magnifier : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMagnificationMin = 100;
  static constexpr int kMagnificationMax = 600;

  // `source` is the widget whose rendering is magnified; the magnifier lives in `parent`.
  Magnifier(QWidget* source, QWidget* parent);

  int Magnification() const { return magnification_; }
  void SetMagnification(int percent);
  // The point of the source widget under the cross-hair.
  void SetCentre(QPoint centre);
  QPoint Centre() const { return centre_; }
  // The part of the source shown: the magnifier's size x 100 / magnification, round the centre.
  QRect SourceRegion() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QWidget* source_;
  int magnification_ = 300;
  QPoint centre_;
  QPoint dragOffset_;
};

}  // namespace kinovia
