// The session in the main window: its creation and notifications, the mouse on the picture, the
// session's keys, the cursor and the questions pointing asks.
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QTime>

#include "gui/ValueDialog.h"
#include "gui/Cursors.h"
#include "gui/MainWindow.h"
#include "gui/ResultsCheck.h"
#include "gui/SessionPainter.h"
#include "core/Numbers.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"
#include "gui/VideoView.h"

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
  data_ = std::make_unique<Session>(*video_, view_->MappingPort(), ReadSessionOptions());
  auto changed = [this](Session&) { SessionChanged(); };
  for (auto* notification :
       {&data_->OnAxesChange, &data_->OnMarkColorChange, &data_->OnScaleChange,
        &data_->OnScaleKindChange, &data_->OnMarksChange, &data_->OnMarksPerFrameChange,
        &data_->OnToolChange, &data_->OnMarkVisibilityChange})
    *notification = changed;
  view_->SetOverlay([this](QPainter& painter) {
    if (ClipOpen()) PaintSession(painter, *data_, Mode(), startByZero_);
  });
  connect(view_, &VideoView::MappingChanged, this, [this] { data_->ViewChanged(); });
  connect(view_, &VideoView::PicturePressed, this, &MainWindow::PicturePressed);
  connect(view_, &VideoView::PictureMoved, this, &MainWindow::PictureMoved);
  connect(view_, &VideoView::PictureReleased, this, &MainWindow::PictureReleased);
}

void MainWindow::SessionChanged() {
  UpdateFields();
  RefreshCursor();
  view_->Canvas()->update();
}

void MainWindow::AfterSessionInput(const std::optional<Message>& message) {
  if (message) ShowMessage(*message);
  if (data_->TakeRepaintRequest()) view_->Canvas()->update();
  RefreshCursor();
  UpdateFields();
}

void MainWindow::PicturePressed(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers) {
  const auto which = SessionButton(button);
  if (!ClipOpen() || !IsPointingMode(Mode()) || !which) return;
  const auto segment = data_->CalibrationScale().Selection();
  const int pointsBefore = data_->CalibrationScale().PointCount(segment);
  const auto message = data_->MousePress(*which, ToPoint(at));
  AfterSessionInput(message);
  // The segment just got its second point: its length is asked at once.
  if (data_->Tool() == PointingTool::Scale && pointsBefore == 1 &&
      data_->CalibrationScale().PointCount(segment) == 2)
    AskScaleLength(segment);
}

void MainWindow::PictureMoved(QPoint at, Qt::MouseButtons) {
  if (!ClipOpen() || !IsPointingMode(Mode())) return;
  data_->MouseMove(ToPoint(at));
  AfterSessionInput(std::nullopt);
}

void MainWindow::PictureReleased(QPoint at, Qt::MouseButton button) {
  const auto which = SessionButton(button);
  if (!ClipOpen() || !IsPointingMode(Mode()) || !which) return;
  data_->MouseRelease(*which, ToPoint(at));
  AfterSessionInput(std::nullopt);
}

void MainWindow::AskScaleLength(int segment) {
  if (!ClipOpen()) return;
  const auto which = static_cast<Scale::SegmentKind>(segment);
  const double current = data_->CalibrationScale().Length(which);
  const auto value = value_->Ask(MakeValueField(ValueKind::tsLongueur, CurrentValueContext()),
                                  FormatValue(4, current));
  if (value) data_->SetScaleLength(which, *value);
  view_->Canvas()->update();
}

ValueContext MainWindow::CurrentValueContext() const {
  ValueContext c;
  c.frameCount = video_->FrameCount();
  c.marksPerFrame = data_->MarksPerFrame();
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
  switch (data_->Cursor()) {
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
  switch (data_->Tool()) {
    case PointingTool::Scale:
      return KinoviaCursor(CursorShape::Scale);
    case PointingTool::Mark:
      if (data_->MarksPerFrame() == 1) return KinoviaCursor(CursorShape::Mark);
      return KinoviaCursor(CursorShape::Mark, data_->CurrentMarkOrderNumber() % 10 + 1);
    case PointingTool::Axes:
      return KinoviaCursor(CursorShape::Axes);
    case PointingTool::Transparent:
      return KinoviaCursor(data_->Transparent().Stage() == TransparentSheet::kWaitMark
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
    data_->KeyDigit(*digit, ctrl);
    view_->Canvas()->update();
    return true;
  }
  if (!IsPointingMode(Mode())) return false;
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  if (enter && view_->Tool() == ViewToolKind::None && pointer) {
    AfterSessionInput(data_->KeyEnter(ToPoint(*pointer)));
    return true;
  }
  if (key.key() == Qt::Key_Alt && data_->Tool() == PointingTool::Mark) {
    data_->KeyNextObject();
    AfterSessionInput(std::nullopt);
    return true;
  }
  if ((IsGrowKey(key.key()) || IsShrinkKey(key.key())) && data_->Tool() == PointingTool::Transparent) {
    data_->KeyResizeSheet(IsGrowKey(key.key()));
    AfterSessionInput(std::nullopt);
    return true;
  }
  if (key.key() == Qt::Key_A && ctrl) {
    data_->Undo();
    AfterSessionInput(std::nullopt);
    view_->Canvas()->update();
    return true;
  }
  return false;
}

void MainWindow::ApplySessionTool(ToolAction tool) {
  switch (tool) {
    case ToolAction::CalibrationScale:
      data_->SetScaleSelection(Scale::kSingle);
      data_->SetTool(PointingTool::Scale);
      break;
    case ToolAction::EchelleHoriz:
      data_->SetScaleSelection(Scale::kHoriz);
      data_->SetTool(PointingTool::Scale);
      break;
    case ToolAction::EchelleVert:
      data_->SetScaleSelection(Scale::kVert);
      data_->SetTool(PointingTool::Scale);
      break;
    case ToolAction::Marque:
      data_->SetTool(PointingTool::Mark);
      break;
    case ToolAction::Deplacer:
      data_->SetTool(PointingTool::Move);
      break;
    case ToolAction::Effacer:
      data_->SetTool(PointingTool::Erase);
      break;
    case ToolAction::Origine:
      data_->SetTool(PointingTool::Axes);
      break;
    case ToolAction::Tsp:
      data_->SetTool(PointingTool::Transparent);
      break;
    default:
      return;
  }
  view_->Canvas()->update();
}

ResultsFacts MainWindow::CurrentResultsFacts() const {
  ResultsFacts f;
  f.mode = Mode();
  f.scaleValid = data_->CalibrationScale().Valid();
  f.originPlaced = data_->OriginPlaced();
  f.transparentMarks = int(data_->TransparentStore().Marks().size());
  for (int o = 0; o < data_->MarksPerFrame(); ++o) f.marksPerObject.push_back(0);
  for (const Mark* mark : data_->FixedStore().Marks())
    if (mark->Order() >= 0 && mark->Order() < int(f.marksPerObject.size()))
      ++f.marksPerObject[std::size_t(mark->Order())];
  if (Mode() == WorkingMode::Transparent) f.marksPerObject.clear();
  f.adviseNaming = adviseNaming_ && namingAdviceOn_ && HasDefaultName();
  return f;
}

}  // namespace kinovia
