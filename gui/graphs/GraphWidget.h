#pragma once
// The graph of the results window: a plot area between two axes, the curves of the results with
// their models, zoom, pan and the coordinates under the mouse. The same painting serves the
// screen, the clipboard picture, printing and kinovia-cli.
#include <QColor>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <vector>

#include "gui/graphs/Curve.h"
#include "logic/graphs/GraphFraming.h"

class QPainter;

namespace kinovia {

class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  // The mouse tools; the values are those the options and the window exchange.
  enum class Tool { None = 0, Pan = 12, Reticle = 13, ModelShown = 15, Zoom = 18 };

  // The bands around the plot and the plot's background gradient.
  struct Layout {
    int fromLeft = 140, fromRight = 30, fromTop = 15, fromBottom = 100;
    QColor begin = QColor(228, 229, 214), end = QColor(209, 255, 198);
    QColor band;  // invalid: the palette's button colour
  };

  explicit GraphWidget(QWidget* parent = nullptr);

  void SetLayout(const Layout& layout);
  const Layout& PlotLayout() const { return layout_; }
  PlotArea Plot() const;
  PlotMapping Mapping() const { return {Plot(), window_}; }

  // Empties the curves; the window and zoom stay until the next framing.
  void Clear();
  int AddCurve(Curve curve);
  int CurveCount() const { return int(curves_.size()); }
  // An index outside the list addresses a spare curve instead of failing.
  Curve& CurveAt(int index);

  // Frames the graph: both zoom factors back to 1.
  void SetWindow(const PlotWindow& window, bool orthonormal);
  // Moves the window and keeps the zoom (zoom, pan).
  void SetWindowKeepZoom(const PlotWindow& window);
  const PlotWindow& Window() const { return window_; }
  bool Orthonormal() const { return orthonormal_; }
  double ZoomFactorX() const { return factorX_; }
  double ZoomFactorY() const { return factorY_; }
  void SetZoomAxes(bool x, bool y) { zoomAxes_ = {x, y}; }

  void SetTitles(const QStringList& x, const QStringList& y);
  const QStringList& TitleX() const { return titleX_; }
  const QStringList& TitleY() const { return titleY_; }

  void SetTool(Tool tool);
  Tool CurrentTool() const { return tool_; }
  // The last data coordinates under the mouse while the reticle tool is on.
  std::optional<QPointF> Reticle() const { return reticle_; }

  // Lays the model of `kind` over the curve and fits it to the curve's points; ModelKind::None
  // removes it. False when the curve has no points to fit.
  bool SetModel(int curve, ModelKind kind, const QString& ordinate, const QString& abscissa);
  // The model's block (equation, parameters, statistics) when the data point is on its curve.
  std::optional<QString> ModelHintAt(QPoint pixel);

  // Paints the whole graph on a device of the widget's size; `forOutput` leaves out the frames
  // that belong to the screen only (printing, copying, kinovia-cli).
  void Render(QPainter& painter, bool forOutput);
  // The graph as a picture, for the clipboard and kinovia-cli.
  QImage Picture(QSize size);

  // The mouse's effect, also reached by tests.
  void ZoomClick(QPoint at, bool in, bool slow);

 signals:
  void windowChanged();
  void reticleMoved(double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PaintBackground(QPainter& painter) const;
  void PaintAxisX(QPainter& painter) const;
  void PaintAxisY(QPainter& painter) const;
  void PaintCurve(QPainter& painter, const Curve& curve) const;
  void PaintModel(QPainter& painter, Curve& curve) const;
  void PaintReticle(QPainter& painter) const;
  void UpdateModelPlots();
  QColor BandColour() const;

  Layout layout_;
  std::vector<Curve> curves_;
  Curve spare_;
  PlotWindow window_{0, 100, 0, 100};
  bool orthonormal_ = false;
  double factorX_ = 1, factorY_ = 1;
  ZoomAxes zoomAxes_;
  QStringList titleX_, titleY_;
  Tool tool_ = Tool::None;
  std::optional<QPointF> reticle_;
  std::optional<QPoint> pressAt_;
  QPoint lastMouse_;
  std::optional<QRect> rubber_;
  Qt::MouseButton pressButton_ = Qt::NoButton;
};

}  // namespace kinovia
