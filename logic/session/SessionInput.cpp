// The session's side of the mouse and keys on the picture, by tool and working mode.
#include "logic/session/Session.h"

namespace kinovia {

bool Session::PointingMode() const {
  const WorkingMode mode = context_.video.WorkMode();
  return mode == WorkingMode::FixedAxes || mode == WorkingMode::Transparent;
}

std::optional<Message> Session::MousePress(MouseButton button, PointI p) {
  if (!PointingMode() || ActiveStore().DragState() == MarkStore::kMoving) return std::nullopt;
  if (button == MouseButton::Left) return PressLeft(p);
  PressRight(p);
  return std::nullopt;
}

std::optional<Message> Session::PressLeft(PointI p) {
  const bool transparentMode = TransparentMode();
  switch (tool_) {
    case PointingTool::Scale:
      scale_.PressLeft(p);
      break;
    case PointingTool::Mark:
      if (!transparentMode) return PointMark(p);
      break;
    case PointingTool::Move:
      EditedStore().MovePress(p);
      break;
    case PointingTool::Erase:
      PressErase(p);
      break;
    case PointingTool::Axes:
      if (!transparentMode) axes_.PressLeft(p);
      break;
    case PointingTool::Transparent:
      if (transparentMode) return PressTransparent(p);
      break;
    case PointingTool::None:
      break;
  }
  return std::nullopt;
}

void Session::PressRight(PointI) {
  const bool transparentMode = TransparentMode();
  switch (tool_) {
    case PointingTool::Scale:
      scale_.EraseLastPoint();
      break;
    case PointingTool::Mark:
      if (!transparentMode) WithdrawLastMark();
      break;
    case PointingTool::Erase:
      DeleteFrameMarks(context_.video.CurrentSourceFrame());
      break;
    case PointingTool::Axes:
      if (!transparentMode) axes_.EraseOrigin();
      break;
    case PointingTool::Transparent:
      if (!transparentMode) break;
      if (transparent_.Stage() == TransparentSheet::kWaitGrab) {
        WithdrawLastMark();
      } else if (transparent_.Stage() == TransparentSheet::kWaitMark &&
                 transparent_.CancelLastOrigin()) {
        SheetMoved();
      }
      break;
    case PointingTool::Move:
    case PointingTool::None:
      break;
  }
}

std::optional<Message> Session::PressTransparent(PointI p) {
  switch (transparent_.Stage()) {
    case TransparentSheet::kWaitGrab:
      transparent_.Grab(p);
      break;
    case TransparentSheet::kCarried:
      transparent_.Drop(p);
      SheetMoved();
      break;
    case TransparentSheet::kWaitMark:
      return PointMark(p);
  }
  return std::nullopt;
}

void Session::PressErase(PointI p) {
  MarkStore& store = EditedStore();
  if (store.DragState() != MarkStore::kIdle) return;
  if (const Mark* mark = store.MarkAt(p)) {
    DeleteMark(mark);
    context_.Repaint();
  } else {
    store.StartErase(p);
  }
}

void Session::MouseMove(PointI p) {
  if (!PointingMode()) return;
  const bool transparentMode = TransparentMode();
  switch (tool_) {
    case PointingTool::Scale:
      scale_.Move(p);
      break;
    case PointingTool::Move:
      EditedStore().MoveMove(p);
      break;
    case PointingTool::Erase:
      EditedStore().ExtendErase(p);
      break;
    case PointingTool::Axes:
      if (!transparentMode) axes_.Move(p);
      break;
    case PointingTool::Transparent:
      if (transparentMode && transparent_.Stage() == TransparentSheet::kCarried) {
        transparent_.Carry(p);
        SheetMoved();
      }
      break;
    case PointingTool::Mark:
    case PointingTool::None:
      break;
  }
}

void Session::MouseRelease(MouseButton, PointI p) {
  if (!PointingMode()) return;
  MarkStore& store = EditedStore();
  switch (tool_) {
    case PointingTool::Scale:
      scale_.Release();
      break;
    case PointingTool::Move:
      if (store.DragState() == MarkStore::kMoving) store.EndDrag();
      break;
    case PointingTool::Erase:
      if (store.DragState() == MarkStore::kErasing) ReleaseErase();
      break;
    case PointingTool::Axes:
      axes_.Release();
      break;
    case PointingTool::Transparent:
      if (TransparentMode() && transparent_.Stage() == TransparentSheet::kCarried) {
        transparent_.Drop(p);
        SheetMoved();
      }
      break;
    case PointingTool::Mark:
    case PointingTool::None:
      break;
  }
}

// Every mark inside the rectangle goes in one undo step, scanned from the newest.
void Session::ReleaseErase() {
  MarkStore& store = EditedStore();
  store.EndDrag();
  const RectI rect = store.EraseRect();
  const UndoGroup group(ActiveHistory());
  for (int i = static_cast<int>(store.Marks().size()) - 1; i >= 0; --i) {
    if (i >= static_cast<int>(store.Marks().size())) continue;
    const Mark* mark = store.Marks()[i];
    if (rect.Contains(mark->Screen())) DeleteMark(mark);
  }
  context_.Repaint();
}

std::optional<Message> Session::KeyEnter(PointI pointer) {
  if (!PointingMode()) return std::nullopt;
  if (tool_ == PointingTool::Axes) {
    if (axes_.Drag() != FixedAxes::kIdle) {
      axes_.Release();
      return std::nullopt;
    }
    return MousePress(MouseButton::Left, pointer);
  }
  const bool carried =
      tool_ == PointingTool::Transparent && transparent_.Stage() == TransparentSheet::kCarried;
  if (ActiveStore().DragState() == MarkStore::kMoving || carried) {
    MouseRelease(MouseButton::Left, pointer);
    return std::nullopt;
  }
  return MousePress(MouseButton::Left, pointer);
}

void Session::KeyDigit(int digit, bool backward) {
  if (context_.video.WorkMode() == WorkingMode::Capture || digit < 0 || digit > 9) return;
  StepColour(digit == 0 ? -1 : digit - 1, !backward);
}

void Session::KeyNextObject() {
  if (tool_ != PointingTool::Mark) return;
  SetCurrentMarkOrderNumber(ActiveStore().CurrentOrder() + 1);
}

void Session::KeyResizeSheet(bool grow) {
  if (tool_ != PointingTool::Transparent || !TransparentMode()) return;
  transparent_.Resize(grow);
}

bool Session::TakeRepaintRequest() {
  const bool requested = context_.repaintRequested;
  context_.repaintRequested = false;
  return requested;
}

}  // namespace kinovia
