// The session's side of the mouse and keys on the picture, by tool and working mode.
#include "session/UnitData.h"

namespace kinovia {

bool TData::PointingMode() const {
  const TWorkMode mode = context_.video.WorkMode();
  return mode == TWorkMode::RepereFixe || mode == TWorkMode::Transparent;
}

std::optional<TMessage> TData::MousePress(TMouseButton button, TPointI p) {
  if (!PointingMode() || ActiveStore().DragState() == TPolyContainer::kMoving) return std::nullopt;
  if (button == TMouseButton::Left) return PressLeft(p);
  PressRight(p);
  return std::nullopt;
}

std::optional<TMessage> TData::PressLeft(TPointI p) {
  const bool transparentMode = TransparentMode();
  switch (tool_) {
    case TTool::Scale:
      echelle_.PressLeft(p);
      break;
    case TTool::Mark:
      if (!transparentMode) return PointMark(p);
      break;
    case TTool::Move:
      ActiveStore().MovePress(p);
      break;
    case TTool::Erase:
      PressErase(p);
      break;
    case TTool::Axes:
      if (!transparentMode) repere_.PressLeft(p);
      break;
    case TTool::Transparent:
      if (transparentMode) return PressTransparent(p);
      break;
    case TTool::None:
      break;
  }
  return std::nullopt;
}

void TData::PressRight(TPointI) {
  const bool transparentMode = TransparentMode();
  switch (tool_) {
    case TTool::Scale:
      echelle_.EraseLastPoint();
      break;
    case TTool::Mark:
      if (!transparentMode) WithdrawLastMark();
      break;
    case TTool::Erase:
      DeleteFrameMarks(context_.video.CurrentSourceFrame());
      break;
    case TTool::Axes:
      if (!transparentMode) repere_.EraseOrigin();
      break;
    case TTool::Transparent:
      if (!transparentMode) break;
      if (transparent_.Stage() == TTransparent::kWaitGrab) {
        WithdrawLastMark();
      } else if (transparent_.Stage() == TTransparent::kWaitMark &&
                 transparent_.CancelLastOrigin()) {
        SheetMoved();
      }
      break;
    case TTool::Move:
    case TTool::None:
      break;
  }
}

std::optional<TMessage> TData::PressTransparent(TPointI p) {
  switch (transparent_.Stage()) {
    case TTransparent::kWaitGrab:
      transparent_.Grab(p);
      break;
    case TTransparent::kCarried:
      transparent_.Drop(p);
      SheetMoved();
      break;
    case TTransparent::kWaitMark:
      return PointMark(p);
  }
  return std::nullopt;
}

void TData::PressErase(TPointI p) {
  TPolyContainer& store = ActiveStore();
  if (store.DragState() != TPolyContainer::kIdle) return;
  if (const TMarque* mark = store.MarkAt(p)) {
    DeleteMark(mark);
    context_.Repaint();
  } else {
    store.StartErase(p);
  }
}

void TData::MouseMove(TPointI p) {
  if (!PointingMode()) return;
  const bool transparentMode = TransparentMode();
  switch (tool_) {
    case TTool::Scale:
      echelle_.Move(p);
      break;
    case TTool::Move:
      ActiveStore().MoveMove(p);
      break;
    case TTool::Erase:
      ActiveStore().ExtendErase(p);
      break;
    case TTool::Axes:
      if (!transparentMode) repere_.Move(p);
      break;
    case TTool::Transparent:
      if (transparentMode && transparent_.Stage() == TTransparent::kCarried) {
        transparent_.Carry(p);
        SheetMoved();
      }
      break;
    case TTool::Mark:
    case TTool::None:
      break;
  }
}

void TData::MouseRelease(TMouseButton, TPointI p) {
  if (!PointingMode()) return;
  TPolyContainer& store = ActiveStore();
  switch (tool_) {
    case TTool::Scale:
      echelle_.Release();
      break;
    case TTool::Move:
      if (store.DragState() == TPolyContainer::kMoving) store.EndDrag();
      break;
    case TTool::Erase:
      if (store.DragState() == TPolyContainer::kErasing) ReleaseErase();
      break;
    case TTool::Axes:
      repere_.Release();
      break;
    case TTool::Transparent:
      if (TransparentMode() && transparent_.Stage() == TTransparent::kCarried) {
        transparent_.Drop(p);
        SheetMoved();
      }
      break;
    case TTool::Mark:
    case TTool::None:
      break;
  }
}

// Every mark inside the rectangle goes in one undo step, scanned from the newest.
void TData::ReleaseErase() {
  TPolyContainer& store = ActiveStore();
  store.EndDrag();
  const TRectI rect = store.EraseRect();
  THistorique& history = CurrentHistory();
  history.OpenGroup();
  for (int i = static_cast<int>(store.Marks().size()) - 1; i >= 0; --i) {
    if (i >= static_cast<int>(store.Marks().size())) continue;
    const TMarque* mark = store.Marks()[i];
    if (rect.Contains(mark->Screen())) DeleteMark(mark);
  }
  history.CloseGroup();
  context_.Repaint();
}

std::optional<TMessage> TData::KeyEnter(TPointI pointer) {
  if (!PointingMode()) return std::nullopt;
  if (tool_ == TTool::Axes) {
    if (repere_.Drag() != TRepereFixe::kIdle) {
      repere_.Release();
      return std::nullopt;
    }
    return MousePress(TMouseButton::Left, pointer);
  }
  const bool carried =
      tool_ == TTool::Transparent && transparent_.Stage() == TTransparent::kCarried;
  if (ActiveStore().DragState() == TPolyContainer::kMoving || carried) {
    MouseRelease(TMouseButton::Left, pointer);
    return std::nullopt;
  }
  return MousePress(TMouseButton::Left, pointer);
}

void TData::KeyDigit(int digit, bool backward) {
  if (context_.video.WorkMode() == TWorkMode::Capture || digit < 0 || digit > 9) return;
  StepColour(digit == 0 ? -1 : digit - 1, !backward);
}

void TData::KeyNextObject() {
  if (tool_ != TTool::Mark) return;
  SetCurrentMarkOrderNumber(ActiveStore().CurrentOrder() + 1);
}

void TData::KeyResizeSheet(bool grow) {
  if (tool_ != TTool::Transparent || !TransparentMode()) return;
  transparent_.Resize(grow);
}

bool TData::TakeRepaintRequest() {
  const bool requested = context_.repaintRequested;
  context_.repaintRequested = false;
  return requested;
}

}  // namespace kinovia
