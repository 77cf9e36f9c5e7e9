// The session's side of undo: which history serves the current context, and how each kind of
// entry is put back into the live objects.
#include "logic/session/Session.h"
#include "resources/TxtSession.h"

namespace kinovia {

UndoHistory Session::*Session::HistoryInUse() const {
  const WorkingMode mode = context_.video.WorkMode();
  const bool pointing = mode == WorkingMode::FixedAxes || mode == WorkingMode::Transparent;
  if (pointing && tool_ == PointingTool::Scale) return &Session::scaleHistory_;
  if (mode == WorkingMode::FixedAxes && tool_ == PointingTool::Axes) return &Session::axesHistory_;
  if (mode == WorkingMode::Transparent) return &Session::sheetMarksHistory_;
  return &Session::fixedMarksHistory_;
}

bool Session::Undo() {
  const bool undone = ActiveHistory().Undo(*this);
  if (undone) context_.Repaint();
  return undone;
}

std::string Session::UndoCaption() { return ActiveHistory().Caption(*this); }

std::string Session::UndoMenuCaption() { return UndoCaption() + "  " + Txt(txt::UndoShortcut); }

RecordedObject* Session::FindLive(const RecordedObject& entry) {
  const int id = entry.Identifier();
  const auto same = [id](RecordedObject& o) { return o.Identifier() == id ? &o : nullptr; };
  switch (entry.Kind()) {
    case ObjectKind::Scale:
      return same(scale_);
    case ObjectKind::FixedAxes:
      return same(axes_);
    case ObjectKind::Sheet:
      return same(transparent_);
    case ObjectKind::FixedStore:
      return same(fixedStore_);
    case ObjectKind::SheetStore:
      return same(sheetStore_);
    case ObjectKind::FixedMark:
      return fixedStore_.FindMark(id);
    case ObjectKind::SheetMark:
      return sheetStore_.FindMark(id);
    case ObjectKind::SheetOrigin:
      return transparent_.FindOrigin(id);
    case ObjectKind::None:
      break;
  }
  return nullptr;
}

void Session::UndoCreation(RecordedObject& live, UndoAction action) {
  if (live.Kind() == ObjectKind::FixedMark || live.Kind() == ObjectKind::SheetMark) {
    auto& mark = static_cast<Mark&>(live);
    const UndoAction removal =
        action == UndoAction::TrackedMark ? UndoAction::DeletedMark : UndoAction::WithdrawnMark;
    mark.Store().RemoveMark(&mark, removal);
  } else if (live.Kind() == ObjectKind::SheetOrigin) {
    const UndoAction removal =
        action == UndoAction::OriginAdded ? UndoAction::DeletedMark : UndoAction::WithdrawnMark;
    transparent_.RemoveOrigin(static_cast<SheetOrigin*>(&live), removal);
    transparent_.FollowLastOrigin();
    if (action == UndoAction::OriginDropped) transparent_.StepStage(-2);
  }
  SheetMoved();
}

void Session::Reinsert(std::unique_ptr<RecordedObject> entry) {
  const ObjectKind kind = entry->Kind();
  if (kind == ObjectKind::FixedMark || kind == ObjectKind::SheetMark) {
    ReinsertMark(std::unique_ptr<Mark>(static_cast<Mark*>(entry.release())));
  } else if (kind == ObjectKind::SheetOrigin) {
    const UndoAction action = entry->Action();
    ReinsertOrigin(std::unique_ptr<SheetOrigin>(static_cast<SheetOrigin*>(entry.release())),
                   action);
  }
}

// A mark comes back only to a free place: if its object was pointed again on that frame in the
// meantime (through another history), the live mark is kept rather than doubled.
void Session::ReinsertMark(std::unique_ptr<Mark> mark) {
  MarkStore& store = mark->Store();
  FrameMarks& container = store.ContainerFor(mark->Frame());
  if (container.OfOrder(mark->Order()) != nullptr) return;
  Mark& inserted = store.InsertMark(std::move(mark), container);
  inserted.RecomputeScreen();
  store.Renumber();
  context_.Repaint();
}

void Session::ReinsertOrigin(std::unique_ptr<SheetOrigin> origin, UndoAction action) {
  const PointD position = origin->Position();
  transparent_.ReinsertOrigin(std::move(origin));
  if (action == UndoAction::OriginCancelled) {
    transparent_.SetOrigin(position);
    transparent_.StepStage(2);
  }
  SheetMoved();
}

void Session::Revert(RecordedObject& live, const RecordedObject& entry) {
  live.Assign(entry);
  context_.ResultsStale();
  switch (live.Kind()) {
    case ObjectKind::Scale:
      scale_.RecomputeScreen();
      break;
    case ObjectKind::FixedMark:
    case ObjectKind::SheetMark:
      static_cast<Mark&>(live).RecomputeScreen();
      break;
    case ObjectKind::FixedAxes:
      axes_.RecomputeGeometry();
      Notify(SessionEvent::AxesChanged);
      break;
    case ObjectKind::SheetOrigin:
    case ObjectKind::Sheet:
      SheetMoved();
      break;
    case ObjectKind::FixedStore:
    case ObjectKind::SheetStore: {
      auto& store = static_cast<MarkStore&>(live);
      store.RecomputeScreen();
      Notify(SessionEvent::MarksChanged);
      Notify(SessionEvent::MarksPerFrameChanged);
      break;
    }
    case ObjectKind::None:
      break;
  }
  context_.Repaint();
}

}  // namespace kinovia
