#pragma once
// The studio mode of the main window: the contour tools and the eraser over the picture, the
// chronophotograph with its background question, saving the current frame as a picture, and the
// contours taken from a tracking run.
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "logic/studio/StudioContours.h"
#include "logic/tracking/OutlineDrawing.h"

class QAction;
class QPainter;
class QWidget;

namespace kinovia {

struct Bitmap;
class VideoControl;
class VideoView;

// What the mode asks of the main window.
struct StudioHost {
  std::function<int(const Message&)> showMessage;
  // A message with a check box; its state comes back in `checked`.
  std::function<int(const Message&, const QString& box, bool* checked)> askWithCheckBox;
  // A save dialog with its title, proposed name and filters; nothing when cancelled. The name
  // carries the extension of the chosen filter.
  std::function<std::optional<std::string>(TxtId title, TxtId proposed, const QStringList&)>
      askSaveName;
  std::function<void()> showFrame;
  // The object the tracking mode has tracked, when it has one.
  std::function<StudioContours()> trackedContours;
};

enum class StudioTool { None = 0, Contour = 1, Eraser = 2 };

class StudioMode : public QObject {
  Q_OBJECT

 public:
  StudioMode(VideoControl& video, VideoView& view, StudioHost host, QWidget* window);

  const std::vector<QAction*>& ToolBarActions() const { return toolBar_; }

  void Enter(int shapeOption);
  void Leave();
  // Another clip: contours of the old one mean nothing.
  void ClipChanged();

  void Press(QPoint at, Qt::MouseButton button, bool doubleClick);
  void Move(QPoint at, bool leftHeld);
  void Release(QPoint at, Qt::MouseButton button);
  void Paint(QPainter& painter) const;

  StudioTool Tool() const { return tool_; }
  void SetTool(StudioTool tool);
  const StudioContours& Contours() const { return contours_; }
  QString Hint() const;

  void MakeChronophotograph();
  void SaveCurrentFrame();
  void TakeTrackedContours();

 signals:
  void toolChanged();

 private:
  QAction* AddButton(TxtId caption, const char* name, const QString& glyph,
                     std::function<void()> command);
  void ContourPress(PointD at, Qt::MouseButton button, bool doubleClick);
  void EraserPress(QPoint at, Qt::MouseButton button);
  std::optional<std::int32_t> ContourUnder(QPoint at) const;
  // The name written, or nothing when cancelled or refused (the user was told).
  std::optional<std::string> SavePicture(const Bitmap& picture, TxtId title, TxtId proposed);
  void Warn(TxtId first, TxtId second);
  void EnableCommands();
  void Repaint() const;
  PointD FractionAt(QPoint at) const;

  VideoControl& video_;
  VideoView& view_;
  StudioHost host_;
  QWidget* window_;
  StudioContours contours_;
  OutlineDrawing drawing_;
  StudioTool tool_ = StudioTool::None;
  std::optional<QRect> rubber_;  // the eraser's rectangle, view pixels
  std::vector<QAction*> toolBar_;
  QAction* contourButton_ = nullptr;
  QAction* eraserButton_ = nullptr;
};

}  // namespace kinovia
