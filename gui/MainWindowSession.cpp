// The session in the main window: its creation and notifications, the mouse on the picture, the
// session's keys, the cursor and the questions pointing asks.
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QTime>

#include "core/Numbers.h"
#include "gui/Cursors.h"
#include "gui/MainWindow.h"
#include "gui/ResultsCheck.h"
#include "gui/SessionPainter.h"
#include "gui/ValueDialog.h"
#include "gui/VideoView.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"

namespace kinovia {

namespace {

PointI ToPoint(QPoint p) { return {p.x(), p.y()}; }

std::optional<MouseButton> SessionButton(Qt::MouseButton button) {
  if (button == Qt::LeftButton) return MouseButton::Left;
  if (button == Qt::RightButton) return MouseButton::Right;
  return std::nullopt;
}

// Digits of the main keyboard and of the keypad give the same key codes.
std::optional<int> DigitOf(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
  return std::nullopt;
}

bool IsGrowKey(int key) { return key == Qt::Key_Plus || key == Qt::Key_Equal; }
bool IsShrinkKey(int key) { return key == Qt::Key_Minus; }

}  // namespace

void MainWindow::CreateSession() {
  session_ = std::make_unique<Session>(*video_, view_->MappingPort(), ReadSessionOptions());
  for (const SessionEvent event : {SessionEvent::AxesChanged, SessionEvent::MarkColourChanged,
                                   SessionEvent::ScaleChanged, SessionEvent::ScaleKindChanged,
                                   SessionEvent::MarksChanged, SessionEvent::MarksPerFrameChanged,
                                   SessionEvent::ToolChanged, SessionEvent::MarkVisibilityChanged})
    session_->Subscribe(event, [this](const Session&) { onSessionChanged(); });
  view_->SetOverlay([this](QPainter& painter) {
    if (ClipOpen()) PaintSession(painter, *session_, Mode(), startByZero_);
    PaintTracking(painter);
    PaintStudio(painter);
  });
  connect(view_, &VideoView::mappingChanged, this, [this] { session_->ViewChanged(); });
  connect(view_, &VideoView::picturePressed, this, &MainWindow::onPicturePressed);
  connect(view_, &VideoView::pictureMoved, this, &MainWindow::onPictureMoved);
  connect(view_, &VideoView::pictureReleased, this, &MainWindow::onPictureReleased);
}

void MainWindow::onSessionChanged() {
  UpdateFields();
  RefreshCursor();
  view_->Canvas()->update();
}

void MainWindow::AfterSessionInput(const std::optional<Message>& message) {
  if (message) ShowMessage(*message);
  if (session_->TakeRepaintRequest()) view_->Canvas()->update();
  RefreshCursor();
  UpdateFields();
}

void MainWindow::onPicturePressed(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers) {
  const auto which = SessionButton(button);
  if (!ClipOpen() || !IsPointingMode(Mode()) || !which) return;
  const auto segment = session_->CalibrationScale().Selection();
  const int pointsBefore = session_->CalibrationScale().PointCount(segment);
  const auto message = session_->MousePress(*which, ToPoint(at));
  AfterSessionInput(message);
  // The segment just got its second point: its length is asked at once.
  if (session_->Tool() == PointingTool::Scale && pointsBefore == 1 &&
      session_->CalibrationScale().PointCount(segment) == 2)
    AskScaleLength(segment);
}

void MainWindow::onPictureMoved(QPoint at, Qt::MouseButtons) {
  if (!ClipOpen() || !IsPointingMode(Mode())) return;
  session_->MouseMove(ToPoint(at));
  AfterSessionInput(std::nullopt);
}

void MainWindow::onPictureReleased(QPoint at, Qt::MouseButton button) {
  const auto which = SessionButton(button);
  if (!ClipOpen() || !IsPointingMode(Mode()) || !which) return;
  session_->MouseRelease(*which, ToPoint(at));
  AfterSessionInput(std::nullopt);
}

void MainWindow::AskScaleLength(int segment) {
  if (!ClipOpen()) return;
  const auto which = static_cast<Scale::SegmentKind>(segment);
  const double current = session_->CalibrationScale().Length(which);
  const auto value = value_->Ask(MakeValueField(ValueKind::Length, CurrentValueContext()),
                                 FormatValue(4, current));
  if (value) session_->SetScaleLength(which, *value);
  view_->Canvas()->update();
}

ValueContext MainWindow::CurrentValueContext() const {
  ValueContext c;
  c.frameCount = video_->FrameCount();
  c.marksPerFrame = session_->MarksPerFrame();
  return c;
}

void MainWindow::RefreshCursor() {
  QCursor cursor = KinoviaCursor(CursorShape::Arrow);
  if (view_->Tool() == ViewToolKind::Zoom)
    cursor = KinoviaCursor(CursorShape::Zoom);
  else if (view_->Tool() == ViewToolKind::Pan)
    cursor = KinoviaCursor(CursorShape::Pan);
  else if (ClipOpen() && IsPointingMode(Mode()))
    cursor = SessionCursor();
  view_->Canvas()->setCursor(cursor);
}

QCursor MainWindow::SessionCursor() const {
  switch (session_->Cursor()) {
    case SessionCursor::Move:
      return KinoviaCursor(CursorShape::Move);
    case SessionCursor::Turn:
      return KinoviaCursor(CursorShape::Turn);
    case SessionCursor::SegmentEndA:
    case SessionCursor::SegmentEndB:
      return KinoviaCursor(CursorShape::End);
    case SessionCursor::Tool:
      break;
  }
  switch (session_->Tool()) {
    case PointingTool::Scale:
      return KinoviaCursor(CursorShape::Scale);
    case PointingTool::Mark:
      if (session_->MarksPerFrame() == 1) return KinoviaCursor(CursorShape::Mark);
      return KinoviaCursor(CursorShape::Mark, session_->CurrentMarkOrderNumber() % 10 + 1);
    case PointingTool::Axes:
      return KinoviaCursor(CursorShape::Axes);
    case PointingTool::Transparent:
      return KinoviaCursor(session_->Transparent().Stage() == TransparentSheet::kWaitMark
                               ? CursorShape::Mark
                               : CursorShape::Grab);
    default:
      return KinoviaCursor(CursorShape::Arrow);
  }
}

// The session's keys, in their order; false when the key is not one of them.
bool MainWindow::SessionKey(const QKeyEvent& key, std::optional<QPoint> pointer) {
  if (Mode() == WorkingMode::Capture || !ClipOpen()) return false;
  const bool ctrl = key.modifiers() & Qt::ControlModifier;
  if (const auto digit = DigitOf(key.key())) {
    session_->KeyDigit(*digit, ctrl);
    view_->Canvas()->update();
    return true;
  }
  if (!IsPointingMode(Mode())) return false;
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  if (enter && view_->Tool() == ViewToolKind::None && pointer) {
    AfterSessionInput(session_->KeyEnter(ToPoint(*pointer)));
    return true;
  }
  if (key.key() == Qt::Key_Alt && session_->Tool() == PointingTool::Mark) {
    session_->KeyNextObject();
    AfterSessionInput(std::nullopt);
    return true;
  }
  if ((IsGrowKey(key.key()) || IsShrinkKey(key.key())) &&
      session_->Tool() == PointingTool::Transparent) {
    session_->KeyResizeSheet(IsGrowKey(key.key()));
    AfterSessionInput(std::nullopt);
    return true;
  }
  if (key.key() == Qt::Key_A && ctrl) {
    session_->Undo();
    AfterSessionInput(std::nullopt);
    view_->Canvas()->update();
    return true;
  }
  return false;
}

void MainWindow::ApplySessionTool(ToolAction tool) {
  switch (tool) {
    case ToolAction::Scale:
      session_->SetScaleSelection(Scale::kSingle);
      session_->SetTool(PointingTool::Scale);
      break;
    case ToolAction::ScaleHorizontal:
      session_->SetScaleSelection(Scale::kHoriz);
      session_->SetTool(PointingTool::Scale);
      break;
    case ToolAction::ScaleVertical:
      session_->SetScaleSelection(Scale::kVert);
      session_->SetTool(PointingTool::Scale);
      break;
    case ToolAction::Mark:
      session_->SetTool(PointingTool::Mark);
      break;
    case ToolAction::Move:
      session_->SetTool(PointingTool::Move);
      break;
    case ToolAction::Erase:
      session_->SetTool(PointingTool::Erase);
      break;
    case ToolAction::Origin:
      session_->SetTool(PointingTool::Axes);
      break;
    case ToolAction::Sheet:
      session_->SetTool(PointingTool::Transparent);
      break;
    default:
      return;
  }
  view_->Canvas()->update();
}

ResultsFacts MainWindow::CurrentResultsFacts() const {
  ResultsFacts f;
  f.mode = Mode();
  f.scaleValid = session_->CalibrationScale().Valid();
  f.originPlaced = session_->OriginPlaced();
  f.transparentMarks = int(session_->TransparentStore().Marks().size());
  for (int o = 0; o < session_->MarksPerFrame(); ++o) f.marksPerObject.push_back(0);
  for (const Mark* mark : session_->FixedStore().Marks())
    if (mark->Order() >= 0 && mark->Order() < int(f.marksPerObject.size()))
      ++f.marksPerObject[std::size_t(mark->Order())];
  if (Mode() == WorkingMode::Transparent) f.marksPerObject.clear();
  f.adviseNaming = adviseNaming_ && namingAdviceOn_ && HasDefaultName();
  return f;
}

}  // namespace kinovia
