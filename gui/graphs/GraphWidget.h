#pragma once
// The graph of the results window: a plot area between two axes, the curves of the results with
// their models, zoom, pan and the coordinates under the mouse. The same painting serves the
// screen, the clipboard picture, printing and kinovia-cli.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <QTransform>
#include <QWidget>
#include <optional>
#include <vector>

#include "gui/graphs/Curve.h"
#include "logic/graphs/Construction.h"
#include "logic/graphs/GraphFraming.h"
#include "logic/graphs/GraphScales.h"
#include "logic/settings/OptionKeys.h"

class QPainter;

namespace kinovia {

class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  // The mouse tools; the values are those the options and the window exchange.
  enum class Tool {
    None = 0,
    Angle = 1,
    Circle = 2,
    Segment = 3,
    Vector = 4,
    Arc = 5,
    Ellipse = 6,
    Spline = 7,
    Selection = 8,
    Delete = 9,
    ModelModifier = 11,
    Pan = 12,
    Reticle = 13,
    ModelShown = 15,
    Measure = 17,
    Zoom = 18,
  };

  // The bands around the plot and the plot's background gradient.
  struct Layout {
    int fromLeft = 140, fromRight = 30, fromTop = 15, fromBottom = 100;
    QColor begin = QColor(228, 229, 214), end = QColor(209, 255, 198);
    QColor band;       // invalid: the palette's button colour
    bool axes = true;  // the vectors page gives the whole control to the plot
  };

  explicit GraphWidget(QWidget* parent = nullptr);

  void SetLayout(const Layout& layout);
  const Layout& PlotLayout() const { return layout_; }
  PlotArea Plot() const;
  PlotMapping Mapping() const { return {Plot(), window_}; }

  // Empties the curves; the window and zoom stay until the next framing.
  void Clear();
  int AddCurve(Curve curve);
  // Puts these curves in place of the graph's. A curve whose points did not change stays as it was
  // with its model; a changed one takes the new points and its model is fitted to them again.
  // Returns the number of curves that changed; nothing is repainted when none did.
  int ReplaceCurves(std::vector<Curve> curves);
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

  // How points are drawn: the symbols' size (0 small, 1 medium, 2 large) and where their numbers
  // go.
  void SetMarks(int size, GraphNumberPlace numbers);
  int PointSize() const { return pointSize_; }
  // The corner of the plot that holds the box of values: the coordinates under the reticle and
  // the model's block.
  void SetValueBoxCorner(ValueBoxCorner corner);
  // Where the box was last painted; empty when it had nothing to show.
  QRect ValueBox() const { return valueBox_; }
  // The origin of the coordinates drawn as two short axes.
  void ShowOrigin(bool shown);

  void SetTitles(const QStringList& x, const QStringList& y);
  const QStringList& TitleX() const { return titleX_; }
  const QStringList& TitleY() const { return titleY_; }

  // The value the scale arrow represents and the unit of the vectors.
  void SetVectorScale(const VectorScale& scale, const QString& unit);
  const VectorScale& Scale() const { return vectorScale_; }
  const QString& VectorUnit() const { return vectorUnit_; }
  void ShowScales(bool distance, bool vectors);
  // The video picture behind the plot, placed by the transform from its pixels to data units.
  void SetPicture(const QImage& picture, const QTransform& pictureToData);
  void ShowPicture(bool shown);
  bool PictureShown() const { return pictureShown_ && !picture_.isNull(); }
  const QTransform& PictureToData() const { return pictureToData_; }
  QSize PictureSize() const { return picture_.size(); }
  QTransform DataToPixel() const;

  void SetTool(Tool tool);
  Tool CurrentTool() const { return tool_; }

  // The construction elements stay while the data they were drawn on stay: a new `key` (the page's
  // choice of data) clears them.
  void KeepElementsFor(const QString& key);
  const Construction& Elements() const { return construction_; }
  int SelectedElement() const { return selected_; }
  void SetMeasureUnit(const QString& unit) { measureUnit_ = unit; }
  bool UndoElementChange();
  // Adds a copy of the selected element a few pixels aside and selects it; false with none.
  bool DuplicateSelected();
  QString UndoCaption() const;
  // The text that follows the mouse (a measure, the model's block); empty when it is hidden.
  const QString& HintText() const { return hintText_; }
  // The last data coordinates under the mouse while the reticle tool is on.
  std::optional<QPointF> Reticle() const { return reticle_; }

  // Lays the model of `kind` over the curve and fits it to the curve's points; ModelKind::None
  // removes it. False when the curve has no points to fit.
  bool SetModel(int curve, ModelKind kind, const QString& ordinate, const QString& abscissa);
  // The model's block (equation, parameters, statistics) when the data point is on its curve.
  std::optional<QString> ModelHintAt(QPoint pixel);
  // The model's block in the box of values: its equation and parameters, its statistics.
  void ShowModelBlock(bool equation, bool statistics);
  bool HasModel() const;

  // Paints the whole graph on a device of the widget's size; `forOutput` leaves out the frames
  // that belong to the screen only (printing, copying, kinovia-cli).
  void Render(QPainter& painter, bool forOutput);
  // The graph as a picture, for the clipboard and kinovia-cli.
  QImage Picture(QSize size);

  // The mouse's effect, also reached by tests.
  void ZoomClick(QPoint at, bool in, bool slow);

 signals:
  void windowChanged();
  void elementsChanged();
  void modelChanged();
  void reticleMoved(double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PaintBackground(QPainter& painter) const;
  void PaintAxisX(QPainter& painter) const;
  void PaintAxisY(QPainter& painter) const;
  void PaintCurve(QPainter& painter, const Curve& curve) const;
  void PaintVectors(QPainter& painter, const Curve& curve) const;
  void PaintModel(QPainter& painter, Curve& curve) const;
  void PaintScales(QPainter& painter) const;
  void PaintReticle(QPainter& painter) const;
  void PaintElements(QPainter& painter) const;
  void PaintOrigin(QPainter& painter) const;
  const Curve* ModelledCurve() const;
  QStringList ValueBoxLines() const;
  void PaintValueBox(QPainter& painter);
  // The model modifier's share of the mouse; true when the event was its own.
  bool ModifierPress(QMouseEvent* event);
  bool ModifierMove(QMouseEvent* event);
  // The construction tools' share of the mouse; true when the event was theirs.
  bool ElementPress(QMouseEvent* event);
  bool ElementMove(QMouseEvent* event);
  bool ElementRelease(QMouseEvent* event);
  void AddPendingPoint(QPoint at);
  void FinishPending(std::optional<QPoint> hintAt);
  void ShowHint(const QString& text, QPoint at);
  DataPoint DataAt(QPointF pixel) const;
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
  VectorScale vectorScale_;
  QString vectorUnit_;
  bool distanceScaleShown_ = false, vectorScaleShown_ = false;
  QImage picture_;
  QTransform pictureToData_;
  bool pictureShown_ = false;
  Construction construction_;
  QString elementsKey_;
  QString measureUnit_;
  int selected_ = -1;
  bool moveRecorded_ = false;       // the selected element's move is in the undo history
  std::vector<DataPoint> pending_;  // the points of the element being drawn
  std::optional<DataPoint> dragFrom_;
  std::optional<QPoint> hover_;
  QString hintText_;
  bool blockEquation_ = false, blockStatistics_ = false;
  int pointSize_ = 0;
  GraphNumberPlace numberPlace_ = GraphNumberPlace::Below;
  ValueBoxCorner boxCorner_ = ValueBoxCorner::UpLeft;
  QRect valueBox_;
  bool originShown_ = false;
  // The model grabbed by the modifier: its curve, the pixel parameter and the grabbed point.
  struct Grab {
    int curve = -1, parameter = 0;
    double x = 0, y = 0;
  };
  std::optional<Grab> grab_;
  Tool tool_ = Tool::None;
  std::optional<QPointF> reticle_;
  std::optional<QPoint> pressAt_;
  QPoint lastMouse_;
  std::optional<QRect> rubber_;
  Qt::MouseButton pressButton_ = Qt::NoButton;
};

}  // namespace kinovia
