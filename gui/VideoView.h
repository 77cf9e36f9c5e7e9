#pragma once
// The picture of the clip in the main window: it keeps the picture's proportions, zooms, pans and
// scrolls it, and converts pointer positions to frame fractions for the session.
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "gui/ViewMapping.h"
#include "media/video/VideoControl.h"

class QScrollBar;

namespace kinovia {

class Magnifier;

// The area that shows the picture; its size is the view size of the mapping.
class VideoCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit VideoCanvas(QWidget* parent);

 signals:
  void pressed(QMouseEvent* event);
  void moved(QMouseEvent* event);
  void released(QMouseEvent* event);
  void painting(QPainter& painter);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class VideoView : public QWidget {
  Q_OBJECT

 public:
  explicit VideoView(QWidget* parent = nullptr);

  // The frame to show, at the picture's own size. A new size is a new clip: 100 %, whole picture.
  void SetFrame(const QImage& frame);
  void ClearFrame();
  const QImage& Frame() const { return frame_; }
  // "Ocultar la imagen": the marks on a white sheet, without the picture under them.
  void SetPictureHidden(bool hidden);
  bool PictureHidden() const { return pictureHidden_; }

  const ViewMapping& Mapping() const { return mapping_; }
  // The session's port on the mapping; it lives as long as the view.
  IViewMapping& MappingPort() { return mapping_; }
  VideoCanvas* Canvas() const { return canvas_; }
  Magnifier* Loupe() const { return magnifier_; }

  ViewToolKind Tool() const { return tool_; }
  // Choosing the same tool again does nothing; another tool ends any rubber rectangle or drag.
  void SetTool(ViewToolKind tool);
  void ResetZoom();
  // Draws the session over the picture; called with the view's painter after the frame.
  void SetOverlay(std::function<void(QPainter&)> overlay) { overlay_ = std::move(overlay); }
  // The zoom tool's rubber rectangle while it is drawn.
  std::optional<QRect> Rubber() const { return rubber_; }

  // The zoom and pan tools' actions, also used by the keyboard (Enter, Esc).
  void ZoomPress(QPoint at, Qt::MouseButton button);
  void ZoomRelease(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  bool Panning() const { return panFrom_.has_value(); }
  void EndPan() { panFrom_.reset(); }

 signals:
  // Pointer events on the picture while no view tool is active, in view pixels.
  void picturePressed(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void pictureMoved(QPoint at, Qt::MouseButtons buttons);
  void pictureReleased(QPoint at, Qt::MouseButton button);
  void zoomChanged(int zoom);
  // Zoom, pan or size changed: screen positions computed from fractions must be recomputed.
  void mappingChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void onCanvasPressed(QMouseEvent* event);
  void onCanvasMoved(QMouseEvent* event);
  void onCanvasReleased(QMouseEvent* event);
  void onCanvasPainting(QPainter& painter);
  void Layout();
  void AfterMappingChange(int oldZoom);
  void SyncScrollBars();

  ViewMapping mapping_;
  QImage frame_;
  bool pictureHidden_ = false;
  VideoCanvas* canvas_ = nullptr;
  QScrollBar* scrollX_ = nullptr;
  QScrollBar* scrollY_ = nullptr;
  Magnifier* magnifier_ = nullptr;
  ViewToolKind tool_ = ViewToolKind::None;
  std::optional<QRect> rubber_;
  std::optional<QPoint> rubberStart_;
  std::optional<QPoint> panFrom_;
  bool syncing_ = false;
  std::function<void(QPainter&)> overlay_;
};

}  // namespace kinovia
