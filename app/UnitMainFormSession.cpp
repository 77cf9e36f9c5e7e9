// The session in the main window: its creation and notifications, the mouse on the picture, the
// session's keys, the cursor and the questions pointing asks.
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QTime>

#include "app/UnitBoiteValeur.h"
#include "app/UnitCursors.h"
#include "app/UnitMainForm.h"
#include "app/UnitResultsCheck.h"
#include "app/UnitSessionPainter.h"
#include "results/UnitMathUtils.h"
#include "session/UnitData.h"
#include "video/UnitVideo.h"
#include "video/UnitVideoView.h"

namespace kinovia {

namespace {

TPointI ToPoint(QPoint p) { return {p.x(), p.y()}; }

std::optional<TMouseButton> SessionButton(Qt::MouseButton button) {
  if (button == Qt::LeftButton) return TMouseButton::Left;
  if (button == Qt::RightButton) return TMouseButton::Right;
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

void TMainForm::CreateSession() {
  data_ = std::make_unique<TData>(*video_, view_->MappingPort(), SessionOptions());
  auto changed = [this](TData&) { SessionChanged(); };
  for (auto* notification :
       {&data_->OnRepereChange, &data_->OnMarkColorChange, &data_->OnScaleChange,
        &data_->OnScaleKindChange, &data_->OnMarksChange, &data_->OnMarksPerFrameChange,
        &data_->OnToolChange, &data_->OnMarkVisibilityChange})
    *notification = changed;
  view_->SetOverlay([this](QPainter& painter) {
    if (ClipOpen()) PaintSession(painter, *data_, Mode(), startByZero_);
  });
  connect(view_, &TVideoView::MappingChanged, this, [this] { data_->ViewChanged(); });
  connect(view_, &TVideoView::PicturePressed, this, &TMainForm::PicturePressed);
  connect(view_, &TVideoView::PictureMoved, this, &TMainForm::PictureMoved);
  connect(view_, &TVideoView::PictureReleased, this, &TMainForm::PictureReleased);
}

void TMainForm::SessionChanged() {
  UpdateFields();
  RefreshCursor();
  view_->Canvas()->update();
}

void TMainForm::AfterSessionInput(const std::optional<TMessage>& message) {
  if (message) ShowMessage(*message);
  if (data_->TakeRepaintRequest()) view_->Canvas()->update();
  RefreshCursor();
  UpdateFields();
}

void TMainForm::PicturePressed(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers) {
  const auto which = SessionButton(button);
  if (!ClipOpen() || !IsPointingMode(Mode()) || !which) return;
  const auto segment = data_->Echelle().Selection();
  const int pointsBefore = data_->Echelle().PointCount(segment);
  const auto message = data_->MousePress(*which, ToPoint(at));
  AfterSessionInput(message);
  // The segment just got its second point: its length is asked at once.
  if (data_->Tool() == TTool::Scale && pointsBefore == 1 &&
      data_->Echelle().PointCount(segment) == 2)
    AskScaleLength(segment);
}

void TMainForm::PictureMoved(QPoint at, Qt::MouseButtons) {
  if (!ClipOpen() || !IsPointingMode(Mode())) return;
  data_->MouseMove(ToPoint(at));
  AfterSessionInput(std::nullopt);
}

void TMainForm::PictureReleased(QPoint at, Qt::MouseButton button) {
  const auto which = SessionButton(button);
  if (!ClipOpen() || !IsPointingMode(Mode()) || !which) return;
  data_->MouseRelease(*which, ToPoint(at));
  AfterSessionInput(std::nullopt);
}

void TMainForm::AskScaleLength(int segment) {
  if (!ClipOpen()) return;
  const auto which = static_cast<TEchelle::TSegment>(segment);
  const double current = data_->Echelle().Length(which);
  const auto value = valeur_->Ask(MakeValeurField(TSorteValeur::tsLongueur, ValeurContext()),
                                  FormatValue(4, current));
  if (value) data_->SetScaleLength(which, *value);
  view_->Canvas()->update();
}

TValeurContext TMainForm::ValeurContext() const {
  TValeurContext c;
  c.frameCount = video_->FrameCount();
  c.marksPerFrame = data_->MarksPerFrame();
  return c;
}

void TMainForm::RefreshCursor() {
  QCursor cursor = KinoviaCursor(TCursorShape::Arrow);
  if (view_->Tool() == TViewTool::Zoom)
    cursor = KinoviaCursor(TCursorShape::Zoom);
  else if (view_->Tool() == TViewTool::Pan)
    cursor = KinoviaCursor(TCursorShape::Pan);
  else if (ClipOpen() && IsPointingMode(Mode()))
    cursor = SessionCursor();
  view_->Canvas()->setCursor(cursor);
}

QCursor TMainForm::SessionCursor() const {
  switch (data_->Cursor()) {
    case TSessionCursor::Move:
      return KinoviaCursor(TCursorShape::Move);
    case TSessionCursor::Turn:
      return KinoviaCursor(TCursorShape::Turn);
    case TSessionCursor::SegmentEndA:
    case TSessionCursor::SegmentEndB:
      return KinoviaCursor(TCursorShape::End);
    case TSessionCursor::Tool:
      break;
  }
  switch (data_->Tool()) {
    case TTool::Scale:
      return KinoviaCursor(TCursorShape::Scale);
    case TTool::Mark:
      if (data_->MarksPerFrame() == 1) return KinoviaCursor(TCursorShape::Mark);
      return KinoviaCursor(TCursorShape::Mark, data_->CurrentMarkOrderNumber() % 10 + 1);
    case TTool::Axes:
      return KinoviaCursor(TCursorShape::Axes);
    case TTool::Transparent:
      return KinoviaCursor(data_->Transparent().Stage() == TTransparent::kWaitMark
                               ? TCursorShape::Mark
                               : TCursorShape::Grab);
    default:
      return KinoviaCursor(TCursorShape::Arrow);
  }
}

// The session's keys, in their order; false when the key is not one of them.
bool TMainForm::SessionKey(const QKeyEvent& key, std::optional<QPoint> pointer) {
  if (Mode() == TWorkMode::Capture || !ClipOpen()) return false;
  const bool ctrl = key.modifiers() & Qt::ControlModifier;
  if (const auto digit = DigitOf(key.key())) {
    data_->KeyDigit(*digit, ctrl);
    view_->Canvas()->update();
    return true;
  }
  if (!IsPointingMode(Mode())) return false;
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  if (enter && view_->Tool() == TViewTool::None && pointer) {
    AfterSessionInput(data_->KeyEnter(ToPoint(*pointer)));
    return true;
  }
  if (key.key() == Qt::Key_Alt && data_->Tool() == TTool::Mark) {
    data_->KeyNextObject();
    AfterSessionInput(std::nullopt);
    return true;
  }
  if ((IsGrowKey(key.key()) || IsShrinkKey(key.key())) && data_->Tool() == TTool::Transparent) {
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

void TMainForm::ApplySessionTool(TToolAction tool) {
  switch (tool) {
    case TToolAction::Echelle:
      data_->SetScaleSelection(TEchelle::kSingle);
      data_->SetTool(TTool::Scale);
      break;
    case TToolAction::EchelleHoriz:
      data_->SetScaleSelection(TEchelle::kHoriz);
      data_->SetTool(TTool::Scale);
      break;
    case TToolAction::EchelleVert:
      data_->SetScaleSelection(TEchelle::kVert);
      data_->SetTool(TTool::Scale);
      break;
    case TToolAction::Marque:
      data_->SetTool(TTool::Mark);
      break;
    case TToolAction::Deplacer:
      data_->SetTool(TTool::Move);
      break;
    case TToolAction::Effacer:
      data_->SetTool(TTool::Erase);
      break;
    case TToolAction::Origine:
      data_->SetTool(TTool::Axes);
      break;
    case TToolAction::Tsp:
      data_->SetTool(TTool::Transparent);
      break;
    default:
      return;
  }
  view_->Canvas()->update();
}

TResultsFacts TMainForm::ResultsFacts() const {
  TResultsFacts f;
  f.mode = Mode();
  f.scaleValid = data_->Echelle().Valid();
  f.originPlaced = data_->OriginPlaced();
  f.transparentMarks = int(data_->TransparentStore().Marks().size());
  for (int o = 0; o < data_->MarksPerFrame(); ++o) f.marksPerObject.push_back(0);
  for (const TMarque* mark : data_->FixedStore().Marks())
    if (mark->Order() >= 0 && mark->Order() < int(f.marksPerObject.size()))
      ++f.marksPerObject[std::size_t(mark->Order())];
  if (Mode() == TWorkMode::Transparent) f.marksPerObject.clear();
  f.adviseNaming = adviseNaming_ && namingAdviceOn_ && HasDefaultName();
  return f;
}

}  // namespace kinovia
