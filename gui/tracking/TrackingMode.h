#pragma once
// The tracking mode of the main window: the contour and ban-zone tools, the object, sequence and
// radius commands, the run with its stop button, the painting of what was drawn and found, and
// the question that keeps the positions as marks when the mode is left.
#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "gui/ValueDialog.h"
#include "logic/tracking/OutlineDrawing.h"
#include "logic/tracking/Tracker.h"

class QAction;
class QKeyEvent;
class QMenu;
class QPainter;
class QWidget;

namespace kinovia {

class Session;
class VideoControl;
class VideoView;

// What the mode asks of the main window.
struct TrackingHost {
  std::function<int(const Message&)> showMessage;
  std::function<std::optional<double>(ValueKind, const ValueContext&, const std::string& initial)>
      askValue;
  // Shows the video's current frame in the view (during a run, once per frame).
  std::function<void()> showFrame;
  // The run's progress in the status bar; total 0 when it ended.
  std::function<void(int done, int total)> progress;
};

enum class TrackingTool { None = 0, Contour = 1, BanZone = 2 };

class TrackingMode : public QObject {
  Q_OBJECT

 public:
  TrackingMode(VideoControl& video, VideoView& view, Session& session, TrackingHost host,
               QWidget* window);

  // The tool bar's commands, the measures menu's and the pop-up menu's items of the mode.
  const std::vector<QAction*>& ToolBarActions() const { return toolBar_; }
  void AddMeasuresItems(QMenu* menu);
  void AddPopupItems(QMenu* menu);
  // The mode's menu items shown only while it is on.
  void ShowMenuItems(bool shown);

  // Entering resets everything; the options give the radius, the contour shape and whether the
  // search zone is drawn.
  void Enter(int radius, int shapeOption, bool showSearchZone);
  // Stops a run, offers to keep the positions as marks, switches the tool off.
  void Leave();
  void ObjectCountChanged();

  bool Running() const { return running_; }
  // Starts a run after its checks, or asks the running one to stop at its next frame.
  void StartStop();
  // The video's pause button: true when it stopped a run.
  bool StopRun();

  void Press(QPoint at, Qt::MouseButton button, bool doubleClick);
  void Move(QPoint at);
  // Enter, Escape and the arrows while the pointer is over the picture; true when used.
  bool Key(const QKeyEvent& key, std::optional<QPoint> pointer);
  void Paint(QPainter& painter) const;

  const Tracker& State() const { return tracker_; }
  TrackingTool Tool() const { return tool_; }
  void SetTool(TrackingTool tool);
  void SetContourShape(OutlineShape shape);
  void SetSearchRadius(int radius);
  void SetSearchZoneShown(bool shown);
  // The canvas hint of the active tool, without the leading "|"; empty without a tool.
  QString Hint() const;

 signals:
  void toolChanged();

 private:
  QAction* AddButton(TxtId caption, const char* name, std::function<void()> command);
  QAction* AddItem(QMenu* menu, TxtId caption, const char* name, std::function<void()> command);
  void ContourPress(PointD at, Qt::MouseButton button, bool doubleClick);
  void BanZonePress(PointD at, Qt::MouseButton button, bool doubleClick);
  void FinishContour();
  void ClearContour();
  void ClearTrack();
  void AskObjectNumber();
  void AskLastFrame();
  void AskRadius();
  bool Warn(std::optional<TxtId> problem, MessageIcon icon);
  void Run();
  void KeepResults();
  void EnableCommands();
  void Repaint() const;
  PointD FractionAt(QPoint at) const;
  QPoint ViewAt(PointD fraction) const;

  VideoControl& video_;
  VideoView& view_;
  Session& session_;
  TrackingHost host_;
  QWidget* window_;
  Tracker tracker_;
  OutlineDrawing contour_;
  OutlineDrawing banZone_{OutlineShape::Polygon};
  TrackingTool tool_ = TrackingTool::None;
  bool running_ = false;
  bool showSearchZone_ = true;
  std::vector<QAction*> toolBar_;
  std::vector<QAction*> menuItems_;
  QAction* contourButton_ = nullptr;
  QAction* banZoneButton_ = nullptr;
  QAction* runButton_ = nullptr;
  QAction* subpixelItem_ = nullptr;
  std::vector<QAction*> shapeItems_;
};

}  // namespace kinovia
