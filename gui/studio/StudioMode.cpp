#include "gui/studio/StudioMode.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "gui/montage/RecordDialog.h"
#include "gui/tracking/OutlinePainter.h"
#include "logic/tracking/Contour.h"
#include "media/studio/Chronophotograph.h"
#include "media/tracking/ClipTracking.h"
#include "media/video/PictureFile.h"
#include "media/video/VideoControl.h"
#include "resources/TxtCommon.h"
#include "resources/TxtStudio.h"
#include "resources/TxtTracking.h"

namespace kinovia {
namespace {

// How near a contour's vertex the eraser's click must fall, in view pixels.
constexpr int kEraserReach = 5;
const QColor kContourColour(230, 40, 40);
const QColor kCurrentContourColour(40, 90, 230);

}  // namespace

StudioMode::StudioMode(VideoControl& video, const Montage& montage, VideoView& view,
                       StudioHost host, QWidget* window)
    : QObject(window),
      video_(video),
      montage_(montage),
      view_(view),
      host_(std::move(host)),
      window_(window) {
  contourButton_ = AddButton(txt::StudioButtonContour, "ButtonStudioContour", "tool-contour",
                             [this] { SetTool(StudioTool::Contour); });
  eraserButton_ = AddButton(txt::StudioButtonEraser, "ButtonStudioEffacerContour", "tool-eraser",
                            [this] { SetTool(StudioTool::Eraser); });
  for (QAction* tool : {contourButton_, eraserButton_}) tool->setCheckable(true);
  AddButton(txt::StudioButtonFromTrack, "ButtonStudioFromTracking", "tool-contours-from-track",
            [this] { TakeTrackedContours(); });
  AddButton(txt::StudioButtonChrono, "ButtonStudioChronoPhoto", "tool-chronophotograph",
            [this] { MakeChronophotograph(); });
  AddButton(txt::StudioButtonSaveFrame, "ButtonStudioCapture", "tool-save-frame",
            [this] { SaveCurrentFrame(); });
  AddButton(txt::SplitCaption, "ButtonStudioV2p", "tool-split-clip",
            [this] { SplitIntoPictures(); });
  joinButton_ = AddButton(txt::JoinCaption, "ButtonStudioP2v", "tool-join-pictures",
                          [this] { JoinPictures(); });
  record_ = new RecordDialog(window);
}

void StudioMode::AddMeasuresItems(QMenu* menu) {
  shapeItems_ = AddShapeItems(
      menu, {"MenuStudioFormeLibre", "MenuStudioFormePolygone", "MenuStudioFormeCercle"},
      [this](OutlineShape shape) { SetContourShape(shape); });
  QMenu* shapes = qobject_cast<QMenu*>(shapeItems_.front()->parent());
  menuItems_.push_back(shapes->menuAction());
}

void StudioMode::AddPopupItems(QMenu* menu) {
  QAction* erase = menu->addAction(QTxt(txt::StudioMenuEraseContours));
  erase->setObjectName("MenuStudioEffacerContours");
  connect(erase, &QAction::triggered, this, &StudioMode::EraseAllContours);
  menuItems_.push_back(erase);
}

void StudioMode::ShowMenuItems(bool shown) {
  for (QAction* item : menuItems_) item->setVisible(shown);
}

void StudioMode::SetContourShape(OutlineShape shape) {
  drawing_.SetShape(shape);
  const auto index = static_cast<std::size_t>(shape);
  if (index < shapeItems_.size()) shapeItems_[index]->setChecked(true);
  view_.Canvas()->setToolTip(Hint());
  Repaint();
}

void StudioMode::EraseAllContours() {
  drawing_.Cancel();
  contours_.Clear();
  Repaint();
}

QAction* StudioMode::AddButton(TxtId caption, const char* name, const char* icon,
                               std::function<void()> command) {
  auto* action = new QAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))),
                             QTxt(caption), window_);
  action->setObjectName(name);
  action->setToolTip(QTxt(caption));
  connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
  toolBar_.push_back(action);
  return action;
}

void StudioMode::Enter(int shapeOption) {
  SetContourShape(ShapeFromOption(shapeOption));
  SetTool(StudioTool::None);
  ShowMenuItems(true);
  EnableCommands();
}

void StudioMode::Leave() {
  SetTool(StudioTool::None);
  ShowMenuItems(false);
}

void StudioMode::ClipChanged() {
  contours_.Clear();
  SetTool(StudioTool::None);
  EnableCommands();
}

void StudioMode::EnableCommands() {
  for (QAction* action : toolBar_) action->setEnabled(video_.IsOpen());
  // Pictures make a clip with no clip open.
  joinButton_->setEnabled(true);
}

void StudioMode::SetTool(StudioTool tool) {
  tool_ = video_.IsOpen() ? tool : StudioTool::None;
  drawing_.Cancel();
  rubber_.reset();
  contourButton_->setChecked(tool_ == StudioTool::Contour);
  eraserButton_->setChecked(tool_ == StudioTool::Eraser);
  view_.Canvas()->setToolTip(Hint());
  view_.Canvas()->unsetCursor();
  emit toolChanged();
  Repaint();
}

QString StudioMode::Hint() const {
  if (tool_ == StudioTool::None) return {};
  TxtId hint = txt::TrackHintPolygon;
  if (tool_ == StudioTool::Eraser) hint = txt::StudioHintEraser;
  if (tool_ == StudioTool::Contour && drawing_.Shape() == OutlineShape::FreeLine)
    hint = txt::TrackHintFreeLine;
  if (tool_ == StudioTool::Contour && drawing_.Shape() == OutlineShape::Circle)
    hint = txt::TrackHintCircle;
  return QTxt(hint).mid(1);
}

PointD StudioMode::FractionAt(QPoint at) const {
  return OutlinePointAt(view_.Mapping(), at, video_.PictureWidth(), video_.PictureHeight());
}

void StudioMode::Press(QPoint at, Qt::MouseButton button, bool doubleClick) {
  if (!video_.IsOpen() || (button != Qt::LeftButton && button != Qt::RightButton)) return;
  if (tool_ == StudioTool::Contour) ContourPress(FractionAt(at), button, doubleClick);
  if (tool_ == StudioTool::Eraser && !doubleClick) EraserPress(at, button);
  Repaint();
}

void StudioMode::ContourPress(PointD at, Qt::MouseButton button, bool doubleClick) {
  const std::int32_t frame = video_.CurrentSourceFrame();
  if (button == Qt::RightButton) {
    if (drawing_.Drawing()) return drawing_.Cancel();
    if (contours_.Remove(frame) || contours_.Empty()) return;
    // Nothing on this frame: the last contour drawn is taken back, on its own frame.
    const std::int32_t last = *contours_.LastFrame();
    contours_.Remove(last);
    video_.GoToSourceFrame(last);
    host_.showFrame();
    return;
  }
  if (!drawing_.Drawing() && drawing_.Shape() == OutlineShape::Polygon) contours_.Remove(frame);
  if (!drawing_.Press(at, doubleClick)) return;
  auto outline = drawing_.Take(video_.PictureWidth(), video_.PictureHeight());
  // A circle of no radius or a line of one point encloses nothing to cut out.
  if (outline.size() >= 3) contours_.Set(frame, std::move(outline));
}

void StudioMode::EraserPress(QPoint at, Qt::MouseButton button) {
  if (button == Qt::RightButton) return contours_.Clear();
  if (const auto frame = ContourUnder(at)) {
    contours_.Remove(*frame);
    return;
  }
  rubber_ = QRect(at, at);
}

std::optional<std::int32_t> StudioMode::ContourUnder(QPoint at) const {
  for (const auto& contour : contours_.List()) {
    for (const PointD& p : contour.outline) {
      const PointI v = view_.Mapping().ToView(p);
      if (std::abs(v.x - at.x()) <= kEraserReach && std::abs(v.y - at.y()) <= kEraserReach)
        return contour.frame;
    }
  }
  return std::nullopt;
}

void StudioMode::Move(QPoint at, bool leftHeld) {
  if (tool_ == StudioTool::Contour && drawing_.Drawing()) drawing_.Move(FractionAt(at));
  if (tool_ == StudioTool::Eraser && rubber_ && leftHeld) rubber_->setBottomRight(at);
  if (tool_ == StudioTool::Eraser && !leftHeld) {
    if (ContourUnder(at))
      view_.Canvas()->setCursor(Qt::PointingHandCursor);
    else
      view_.Canvas()->unsetCursor();
  }
  if (drawing_.Drawing() || rubber_) Repaint();
}

void StudioMode::Release(QPoint at, Qt::MouseButton button) {
  if (tool_ != StudioTool::Eraser || button != Qt::LeftButton || !rubber_) return;
  rubber_->setBottomRight(at);
  contours_.RemoveInside(FractionAt(rubber_->topLeft()), FractionAt(rubber_->bottomRight()));
  rubber_.reset();
  Repaint();
}

void StudioMode::Paint(QPainter& painter) const {
  if (!video_.IsOpen()) return;
  const IViewMapping& mapping = view_.Mapping();
  const std::int32_t frame = video_.CurrentSourceFrame();
  for (const auto& contour : contours_.List())
    PaintPolyline(painter, ClosedPolygon(contour.outline), mapping,
                  contour.frame == frame ? kCurrentContourColour : kContourColour);
  PaintOutlineInProgress(painter, drawing_, mapping, kCurrentContourColour);
  if (rubber_) {
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rubber_->normalized());
  }
}

void StudioMode::Warn(TxtId first, TxtId second) {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(first).Line(second);
  host_.showMessage(m);
}

void StudioMode::MakeChronophotograph() {
  if (contours_.Empty()) return Warn(txt::ChronoNoContour, txt::ChronoUseContourButton);
  if (!video_.IsOpen()) return Warn(txt::ChronoUnexpected, txt::StudioOperationCancelled);
  Message question;
  question.buttons = {txt::ButtonOk};
  question.Line(txt::ChronoExplain1)
      .Line(txt::ChronoExplain2)
      .Line(txt::ChronoExplain3)
      .Line(txt::ChronoExplain4);
  bool background = true;
  host_.askWithCheckBox(question, QTxt(txt::ChronoBackgroundBox), &background);
  const std::int32_t shown = video_.CurrentSourceFrame();
  const auto picture = BuildChronophotograph(*video_.Source(), contours_, background);
  // Building moved the clip underneath the video control: put it back where the user sees it.
  video_.GoToSourceFrame(background ? *contours_.SmallestFrame() : shown);
  host_.showFrame();
  if (!picture) {
    host_.showMessage(picture.Failure());
    return;
  }
  const auto name = SavePicture(picture.Value(), txt::ChronoSaveTitle, txt::ChronoProposedName);
  if (!name) return;
  Message saved;
  saved.buttons = {txt::ButtonOk};
  saved.Line(txt::StudioFileSaved).Blank().FileName(*name);
  host_.showMessage(saved);
}

void StudioMode::SaveCurrentFrame() {
  Bitmap frame;
  if (!video_.IsOpen() || !DrawCurrentFrame(video_, frame))
    return Warn(txt::StudioFrameUnexpected, txt::StudioOperationCancelled);
  const auto name = SavePicture(frame, txt::StudioSaveFrameTitle, txt::StudioFrameProposedName);
  if (!name) return;
  Message saved;
  saved.buttons = {txt::ButtonOk};
  saved.Line(txt::StudioFrameSaved1)
      .Line(PictureFormatOf(*name) == PictureFormat::Png ? txt::StudioFrameSavedPng
                                                         : txt::StudioFrameSaved2);
  host_.showMessage(saved);
}

std::optional<std::string> StudioMode::SavePicture(const Bitmap& picture, TxtId title,
                                                   TxtId proposed) {
  const auto name = host_.askSaveName(title, QTxt(proposed),
                                      {QTxt(txt::StudioBitmapFilter), QTxt(txt::StudioPngFilter)});
  if (!name) return std::nullopt;
  if (WritePicture(picture, *name)) return name;
  Warn(txt::StudioWriteFailed, txt::StudioOperationCancelled);
  return std::nullopt;
}

void StudioMode::TakeTrackedContours() {
  StudioContours tracked = host_.trackedContours();
  if (tracked.Empty()) {
    Message m;
    m.buttons = {txt::ButtonOk};
    m.Line(txt::StudioNoTrack);
    host_.showMessage(m);
    return;
  }
  if (!contours_.Empty()) {
    Message m;
    m.icon = MessageIcon::Confirmation;
    m.buttons = {txt::ButtonOk, txt::ButtonCancelar};
    m.Line(txt::StudioFromTrackAsk);
    if (host_.showMessage(m) != 0) return;
  }
  contours_ = std::move(tracked);
  Repaint();
}

void StudioMode::Repaint() const { view_.Canvas()->update(); }

}  // namespace kinovia
