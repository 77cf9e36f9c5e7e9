#pragma once
// The studio mode of the main window: the contour tools and the eraser over the picture, their
// menu items, the chronophotograph with its background question, saving the current frame as a
// picture, the clip split into pictures and pictures joined into a clip, and the contours taken
// from a tracking run.
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "logic/montage/RecordPlan.h"
#include "logic/studio/StudioContours.h"
#include "logic/tracking/OutlineDrawing.h"
#include "media/recording/MontageRecorder.h"

class QAction;
class QMenu;
class QPainter;
class QWidget;

namespace kinovia {

struct Bitmap;
class Montage;
class RecordDialog;
class VideoControl;
class VideoView;

// What the mode asks of the main window.
struct StudioHost {
  std::function<int(const Message&)> showMessage;
  // A message with a check box; its state comes back in `checked`.
  std::function<int(const Message&, const QString& box, bool* checked)> askWithCheckBox;
  // A save dialog with its title, proposed name and filters; nothing when cancelled. The name
  // carries the extension of the chosen filter.
  std::function<std::optional<std::string>(TxtId title, const QString& proposed,
                                           const QStringList&)>
      askSaveName;
  // The save dialog of a clip, opened in `folder` on `proposed`, the name as typed; nothing when
  // cancelled.
  std::function<std::optional<std::string>(const std::string& folder, TxtId proposed)> askClipName;
  // An open dialog of several files; none when cancelled.
  std::function<std::vector<std::string>(TxtId title, const QString& filter)> askOpenNames;
  // A conversion's progress: 0 ... 100 shows it, 101 hides it.
  std::function<void(int percent)> progress;
  std::function<void()> showFrame;
  // The object the tracking mode has tracked, when it has one.
  std::function<StudioContours()> trackedContours;
};

enum class StudioTool { None = 0, Contour = 1, Eraser = 2 };

class StudioMode : public QObject {
  Q_OBJECT

 public:
  StudioMode(VideoControl& video, const Montage& montage, VideoView& view, StudioHost host,
             QWidget* window);

  const std::vector<QAction*>& ToolBarActions() const { return toolBar_; }
  // The contour's shapes in the measures menu and "remove all contours" in the pop-up menu,
  // shown only while the mode is on.
  void AddMeasuresItems(QMenu* menu);
  void AddPopupItems(QMenu* menu);
  void ShowMenuItems(bool shown);

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
  void SplitIntoPictures();
  void JoinPictures();
  void SetContourShape(OutlineShape shape);

 signals:
  void toolChanged();

 private:
  QAction* AddButton(TxtId caption, const char* name, const char* icon,
                     std::function<void()> command);
  void ContourPress(PointD at, Qt::MouseButton button, bool doubleClick);
  void EraserPress(QPoint at, Qt::MouseButton button);
  std::optional<std::int32_t> ContourUnder(QPoint at) const;
  // The name written, or nothing when cancelled or refused (the user was told).
  std::optional<std::string> SavePicture(const Bitmap& picture, TxtId title, TxtId proposed);
  void Warn(TxtId first, TxtId second);
  void Inform(const Message& message);
  bool AskJoinInformation();
  RecordProgress ShowProgress();
  void EraseAllContours();
  void EnableCommands();
  void Repaint() const;
  PointD FractionAt(QPoint at) const;

  VideoControl& video_;
  const Montage& montage_;
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
  QAction* joinButton_ = nullptr;
  std::vector<QAction*> shapeItems_;  // in the order of OutlineShape
  std::vector<QAction*> menuItems_;
  RecordDialog* record_ = nullptr;
  RecordSettings splitSettings_;
  RecordSettings joinSettings_;
  std::string clipFolder_;
  bool joinInformation_ = true;
};

}  // namespace kinovia
