#include "gui/tracking/TrackingMode.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "gui/tracking/OutlinePainter.h"
#include "logic/session/Session.h"
#include "media/tracking/ClipTracking.h"
#include "resources/TxtCommon.h"
#include "resources/TxtTracking.h"

namespace kinovia {
namespace {

// The square drawn on each position found: 9 x 9 view pixels round it.
constexpr int kSquareHalf = 4;

}  // namespace

TrackingMode::TrackingMode(VideoControl& video, VideoView& view, Session& session,
                           TrackingHost host, QWidget* window)
    : QObject(window),
      video_(video),
      view_(view),
      session_(session),
      host_(std::move(host)),
      window_(window) {
  contourButton_ = AddButton(txt::TrackButtonContour, "ButtonTrackContour",
                             [this] { SetTool(TrackingTool::Contour); });
  contourButton_->setIcon(QIcon(QStringLiteral(":/icons/tool-contour.svg")));
  banZoneButton_ = AddButton(txt::TrackButtonBanZone, "ButtonTrackBanZone",
                             [this] { SetTool(TrackingTool::BanZone); });
  banZoneButton_->setIcon(QIcon(QStringLiteral(":/icons/tool-ban-zone.svg")));
  for (QAction* tool : {contourButton_, banZoneButton_}) tool->setCheckable(true);
  AddButton(txt::TrackButtonEraseContour, "ButtonTrackEffacerContour", [this] {
    ClearContour();
  })->setIcon(QIcon(QStringLiteral(":/icons/tool-erase-contour.svg")));
  AddButton(txt::TrackButtonEraseBanZone, "ButtonTrackEffacerBanZone", [this] {
    if (banZone_.Drawing())
      banZone_.Cancel();
    else
      tracker_.RemoveLastBanZone();
    Repaint();
  })->setIcon(QIcon(QStringLiteral(":/icons/tool-eraser.svg")));
  AddButton(txt::TrackButtonEraseTrack, "ButtonTrackEffacerTrack", [this] {
    ClearTrack();
  })->setIcon(QIcon(QStringLiteral(":/icons/tool-erase-track.svg")));
  AddButton(txt::TrackButtonObjectNumber, "ButtonTrackNumMarque", [this] {
    AskObjectNumber();
  })->setIcon(QIcon(QStringLiteral(":/icons/tool-object-number.svg")));
  AddButton(txt::TrackButtonSequence, "ButtonTrackSequence", [this] {
    AskLastFrame();
  })->setIcon(QIcon(QStringLiteral(":/icons/tool-last-frame.svg")));
  runButton_ = AddButton(txt::TrackButtonRun, "ButtonTrackSuivi", [this] { StartStop(); });
  runButton_->setIcon(window_->style()->standardIcon(QStyle::SP_MediaPlay));
  runButton_->setCheckable(true);
}

QAction* TrackingMode::AddButton(TxtId caption, const char* name, std::function<void()> command) {
  auto* action = new QAction(QTxt(caption), window_);
  action->setObjectName(name);
  action->setToolTip(QTxt(caption));
  connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
  toolBar_.push_back(action);
  return action;
}

QAction* TrackingMode::AddItem(QMenu* menu, TxtId caption, const char* name,
                               std::function<void()> command) {
  QAction* action = menu->addAction(QTxt(caption));
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
  return action;
}

void TrackingMode::AddMeasuresItems(QMenu* menu) {
  shapeItems_ = AddShapeItems(
      menu, {"MenuMesuresFormeLibre", "MenuMesuresFormePolygone", "MenuMesuresFormeCercle"},
      [this](OutlineShape shape) { SetContourShape(shape); });
  QMenu* shapes = qobject_cast<QMenu*>(shapeItems_.front()->parent());
  QMenu* radius = menu->addMenu(QTxt(txt::TrackMenuRadius));
  AddItem(radius, txt::TrackMenuRadius20, "MenuMesuresEspaceChoix1",
          [this] { SetSearchRadius(20); });
  AddItem(radius, txt::TrackMenuRadius40, "MenuMesuresEspaceChoix2",
          [this] { SetSearchRadius(40); });
  AddItem(radius, txt::TrackMenuRadius60, "MenuMesuresEspaceChoix3",
          [this] { SetSearchRadius(60); });
  AddItem(radius, txt::TrackMenuRadiusOther, "MenuMesuresEspaceChoixAutres",
          [this] { AskRadius(); });
  subpixelItem_ = AddItem(menu, txt::TrackMenuSubpixel, "MenuMesuresSubpixel",
                          [this] { tracker_.SetSubpixel(subpixelItem_->isChecked()); });
  subpixelItem_->setCheckable(true);
  menuItems_.insert(menuItems_.end(), {shapes->menuAction(), radius->menuAction(), subpixelItem_});
}

void TrackingMode::AddPopupItems(QMenu* menu) {
  QMenu* erase = menu->addMenu(QTxt(txt::TrackMenuErase));
  AddItem(erase, txt::TrackMenuEraseContour, "MenuAffichageEffacerContour",
          [this] { ClearContour(); });
  AddItem(erase, txt::TrackMenuEraseBanZones, "MenuAffichageEffacerBanZones", [this] {
    tracker_.RemoveAllBanZones();
    Repaint();
  });
  AddItem(erase, txt::TrackMenuEraseAll, "MenuAffichageEffacerTout", [this] {
    tracker_.ClearEverything();
    Repaint();
  });
  menuItems_.push_back(erase->menuAction());
}

void TrackingMode::ShowMenuItems(bool shown) {
  for (QAction* item : menuItems_) item->setVisible(shown);
}

void TrackingMode::Enter(int radius, int shapeOption, bool showSearchZone) {
  running_ = false;
  SetContourShape(ShapeFromOption(shapeOption));
  banZone_.Cancel();
  tracker_.Reset(session_.MarksPerFrame(), video_.FrameCount());
  SetSearchRadius(radius);
  showSearchZone_ = showSearchZone;
  SetTool(TrackingTool::None);
  ShowMenuItems(true);
  EnableCommands();
}

void TrackingMode::Leave() {
  running_ = false;
  KeepResults();
  SetTool(TrackingTool::None);
  ShowMenuItems(false);
}

void TrackingMode::ObjectCountChanged() {
  tracker_.ResizeObjects(session_.MarksPerFrame());
  Repaint();
}

void TrackingMode::SetTool(TrackingTool tool) {
  if (running_) return;
  tool_ = video_.IsOpen() ? tool : TrackingTool::None;
  contour_.Cancel();
  banZone_.Cancel();
  contourButton_->setChecked(tool_ == TrackingTool::Contour);
  banZoneButton_->setChecked(tool_ == TrackingTool::BanZone);
  view_.Canvas()->setToolTip(Hint());
  emit toolChanged();
  Repaint();
}

void TrackingMode::SetContourShape(OutlineShape shape) {
  contour_.SetShape(shape);
  const auto index = static_cast<std::size_t>(shape);
  if (index < shapeItems_.size()) shapeItems_[index]->setChecked(true);
  view_.Canvas()->setToolTip(Hint());
  Repaint();
}

void TrackingMode::SetSearchRadius(int radius) {
  tracker_.SetSearchRadius(radius);
  Repaint();
}

void TrackingMode::SetSearchZoneShown(bool shown) {
  showSearchZone_ = shown;
  Repaint();
}

QString TrackingMode::Hint() const {
  TxtId hint = txt::TrackHintPolygon;
  if (tool_ == TrackingTool::None) return {};
  if (tool_ == TrackingTool::Contour && contour_.Shape() == OutlineShape::FreeLine)
    hint = txt::TrackHintFreeLine;
  if (tool_ == TrackingTool::Contour && contour_.Shape() == OutlineShape::Circle)
    hint = txt::TrackHintCircle;
  return QTxt(hint).mid(1);
}

PointD TrackingMode::FractionAt(QPoint at) const {
  return OutlinePointAt(view_.Mapping(), at, video_.PictureWidth(), video_.PictureHeight());
}

QPoint TrackingMode::ViewAt(PointD fraction) const {
  const PointI p = view_.Mapping().ToView(fraction);
  return {p.x, p.y};
}

void TrackingMode::Press(QPoint at, Qt::MouseButton button, bool doubleClick) {
  if (running_ || !video_.IsOpen()) return;
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  if (tool_ == TrackingTool::Contour) ContourPress(FractionAt(at), button, doubleClick);
  if (tool_ == TrackingTool::BanZone) BanZonePress(FractionAt(at), button, doubleClick);
  Repaint();
}

void TrackingMode::ContourPress(PointD at, Qt::MouseButton button, bool doubleClick) {
  if (button == Qt::RightButton) {
    if (contour_.Drawing())
      contour_.Cancel();
    else
      ClearContour();
    return;
  }
  // A new contour replaces the object's contour from its first point on.
  if (!doubleClick) tracker_.ClearContour();
  if (contour_.Press(at, doubleClick)) FinishContour();
}

void TrackingMode::BanZonePress(PointD at, Qt::MouseButton button, bool doubleClick) {
  if (button == Qt::RightButton) {
    if (banZone_.Drawing())
      banZone_.Cancel();
    else
      tracker_.RemoveLastBanZone();
    return;
  }
  if (banZone_.Press(at, doubleClick))
    tracker_.AddBanZone(banZone_.Take(video_.PictureWidth(), video_.PictureHeight()));
}

void TrackingMode::FinishContour() {
  std::vector<PointD> outline = contour_.Take(video_.PictureWidth(), video_.PictureHeight());
  Bitmap frame;
  if (!DrawCurrentFrame(video_, frame)) return;
  tracker_.SetContour(std::move(outline), video_.CurrentMontageIndex(), ViewOf(frame));
}

void TrackingMode::ClearContour() {
  contour_.Cancel();
  tracker_.ClearContour();
  Repaint();
}

void TrackingMode::ClearTrack() {
  tracker_.ClearTrackedPositions();
  if (tracker_.Current().contourValid) {
    video_.GoToMontageIndex(tracker_.Current().contourFrame);
    host_.showFrame();
  }
  Repaint();
}

void TrackingMode::Move(QPoint at) {
  if (running_ || (!contour_.Drawing() && !banZone_.Drawing())) return;
  contour_.Move(FractionAt(at));
  banZone_.Move(FractionAt(at));
  Repaint();
}

bool TrackingMode::Key(const QKeyEvent& key, std::optional<QPoint> pointer) {
  if (!pointer || running_) return false;
  const bool polygonLike =
      (contour_.Drawing() && contour_.Shape() == OutlineShape::Polygon) || banZone_.Drawing();
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (contour_.Drawing() && contour_.Shape() != OutlineShape::Polygon) return true;
      Press(*pointer, Qt::LeftButton, false);
      return true;
    case Qt::Key_Escape:
      Press(*pointer, polygonLike ? Qt::LeftButton : Qt::RightButton, polygonLike);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int step = key.modifiers() & Qt::ControlModifier ? 10 : 1;
      const int dx = key.key() == Qt::Key_Left ? -step : key.key() == Qt::Key_Right ? step : 0;
      const int dy = key.key() == Qt::Key_Up ? -step : key.key() == Qt::Key_Down ? step : 0;
      QCursor::setPos(QCursor::pos() + QPoint(dx, dy));
      return true;
    }
    default:
      return false;
  }
}

bool TrackingMode::Warn(std::optional<TxtId> problem, MessageIcon icon) {
  if (!problem) return false;
  Message m;
  m.icon = icon;
  m.buttons = {txt::ButtonOk};
  m.Line(*problem);
  host_.showMessage(m);
  return true;
}

void TrackingMode::AskObjectNumber() {
  ValueContext context;
  context.marksPerFrame = tracker_.ObjectCount();
  const auto value =
      host_.askValue(ValueKind::ObjectNumber, context, std::to_string(tracker_.ObjectIndex() + 1));
  if (value) tracker_.SetObjectIndex(static_cast<int>(*value) - 1);
  Repaint();
}

void TrackingMode::AskLastFrame() {
  if (Warn(tracker_.SequenceProblem(video_.IsOpen(), contour_.Drawing()), MessageIcon::Information))
    return;
  ValueContext context;
  context.frameCount = tracker_.FrameCount();
  context.firstTrackedImage = tracker_.Current().contourFrame;
  const auto value =
      host_.askValue(ValueKind::LastFrame, context, std::to_string(tracker_.LastFrame() + 1));
  // The dialog counts frames from 1.
  if (value) tracker_.SetLastFrame(static_cast<int>(*value) - 1);
}

void TrackingMode::AskRadius() {
  const auto value =
      host_.askValue(ValueKind::MaxDistance, {}, std::to_string(tracker_.SearchRadius()));
  if (value) SetSearchRadius(static_cast<int>(*value));
}

bool TrackingMode::StopRun() {
  if (!running_) return false;
  running_ = false;
  return true;
}

void TrackingMode::StartStop() {
  if (StopRun()) return;
  if (Warn(tracker_.StartProblem(video_.IsOpen(), contour_.Drawing()), MessageIcon::Warning)) {
    runButton_->setChecked(false);
    return;
  }
  Run();
}

void TrackingMode::Run() {
  running_ = true;
  EnableCommands();
  runButton_->setChecked(true);
  TrackThroughClip(tracker_, video_, session_.FramesBetweenMarks(), [this](int done, int total) {
    host_.showFrame();
    host_.progress(done, total);
    // The window stays alive between two frames: repaints, the stop button, the mode buttons.
    QApplication::processEvents();
    return running_;
  });
  running_ = false;
  host_.progress(0, 0);
  runButton_->setChecked(false);
  EnableCommands();
  host_.showFrame();
  Repaint();
}

void TrackingMode::EnableCommands() {
  for (QAction* action : toolBar_)
    action->setEnabled(video_.IsOpen() && (action == runButton_ || !running_));
}

void TrackingMode::KeepResults() {
  if (!tracker_.HasResults()) return;
  Message m;
  m.icon = MessageIcon::Confirmation;
  m.buttons = {txt::ButtonIgnorar, txt::ButtonGuardar};
  m.Line(txt::TrackKeepDone).Blank().Line(txt::TrackKeepAsk).Blank().Line(txt::TrackKeepReplace);
  const int pressed = host_.showMessage(m);
  if (pressed >= 0 && pressed < int(m.buttons.size()) &&
      m.buttons[std::size_t(pressed)] == txt::ButtonGuardar)
    session_.KeepTrackedMarks(tracker_.Results());
}

void TrackingMode::Repaint() const { view_.Canvas()->update(); }

void TrackingMode::Paint(QPainter& painter) const {
  if (!video_.IsOpen() || tracker_.ObjectCount() == 0) return;
  const IViewMapping& mapping = view_.Mapping();
  const QColor objectColour = QColourOf(session_.ObjectColour(tracker_.ObjectIndex()));
  const QColor zoneColour = QColourOf(session_.ElementColour());
  const TrackedObject& object = tracker_.Current();
  PaintOutlineInProgress(painter, banZone_, mapping, zoneColour);
  PaintOutlineInProgress(painter, contour_, mapping, objectColour);
  if (object.contourValid) {
    PaintPolyline(painter, ClosedPolygon(object.contour), mapping, objectColour);
    if (showSearchZone_) {
      const bool tracked =
          object.HasTrackedFrames() && object.state != TrackedObjectState::ContourDrawn;
      const QPoint centre = ViewAt(tracked ? object.lastPosition : object.contourCentre);
      const double viewPerPixel = double(view_.Mapping().ViewWidth()) * view_.Mapping().Zoom() /
                                  (100.0 * std::max(video_.PictureWidth(), 1));
      const int radius = static_cast<int>(tracker_.WindowSide() * viewPerPixel / 2);
      painter.setPen(QPen(zoneColour, 1, Qt::DotLine));
      painter.drawEllipse(centre, radius, radius);
    }
  }
  for (const auto& zone : object.banZones) PaintPolyline(painter, zone, mapping, zoneColour);
  painter.setPen(QPen(objectColour, 1));
  painter.setBrush(Qt::NoBrush);
  for (std::size_t f = 0; f < object.frameTags.size(); ++f) {
    if (object.frameTags[f] == Tracker::kNotTracked) continue;
    const QPoint p = ViewAt(object.positions[f]);
    painter.drawRect(p.x() - kSquareHalf, p.y() - kSquareHalf, 2 * kSquareHalf, 2 * kSquareHalf);
  }
}

}  // namespace kinovia
