// The session's side of undo: which history serves the current context, and how each kind of
// entry is put back into the live objects.
#include "resources/TxtSession.h"
#include "session/UnitData.h"

namespace kinovia {

THistorique& TData::CurrentHistory() {
  const TWorkMode mode = context_.video.WorkMode();
  const bool pointing = mode == TWorkMode::RepereFixe || mode == TWorkMode::Transparent;
  if (pointing && tool_ == TTool::Scale) return scaleHistory_;
  if (mode == TWorkMode::RepereFixe && tool_ == TTool::Axes) return axesHistory_;
  if (mode == TWorkMode::Transparent) return tspMarksHistory_;
  return fixedMarksHistory_;
}

bool TData::Undo() {
  const bool undone = CurrentHistory().Undo(*this);
  if (undone) context_.Repaint();
  return undone;
}

std::string TData::UndoCaption() { return CurrentHistory().Caption(*this); }

std::string TData::UndoMenuCaption() { return UndoCaption() + "  " + Txt(txt::UndoShortcut); }

THistObject* TData::FindLive(const THistObject& entry) {
  const int id = entry.Identifier();
  const auto same = [id](THistObject& o) { return o.Identifier() == id ? &o : nullptr; };
  switch (entry.Kind()) {
    case TKind::Echelle:
      return same(echelle_);
    case TKind::RepereFixe:
      return same(repere_);
    case TKind::Transparent:
      return same(transparent_);
    case TKind::PolyMarqueImgRep:
      return same(fixedStore_);
    case TKind::PolyMarqueImgTsp:
      return same(tspStore_);
    case TKind::MarqueRep:
      return fixedStore_.FindMark(id);
    case TKind::MarqueTsp:
      return tspStore_.FindMark(id);
    case TKind::Origine:
      return transparent_.FindOrigin(id);
    case TKind::None:
      break;
  }
  return nullptr;
}

void TData::UndoCreation(THistObject& live, TAction action) {
  if (live.Kind() == TKind::MarqueRep || live.Kind() == TKind::MarqueTsp) {
    auto& mark = static_cast<TMarque&>(live);
    const TAction removal =
        action == TAction::TrackedMark ? TAction::DeletedMark : TAction::WithdrawnMark;
    mark.Store().RemoveMark(&mark, removal);
  } else if (live.Kind() == TKind::Origine) {
    const TAction removal =
        action == TAction::OriginAdded ? TAction::DeletedMark : TAction::WithdrawnMark;
    transparent_.RemoveOrigin(static_cast<TOrigine*>(&live), removal);
    transparent_.FollowLastOrigin();
    if (action == TAction::OriginDropped) transparent_.StepStage(-2);
  }
  SheetMoved();
}

void TData::Reinsert(std::unique_ptr<THistObject> entry) {
  const TKind kind = entry->Kind();
  if (kind == TKind::MarqueRep || kind == TKind::MarqueTsp) {
    ReinsertMark(std::unique_ptr<TMarque>(static_cast<TMarque*>(entry.release())));
  } else if (kind == TKind::Origine) {
    const TAction action = entry->Action();
    ReinsertOrigin(std::unique_ptr<TOrigine>(static_cast<TOrigine*>(entry.release())), action);
  }
}

// A mark comes back only to a free place: if its object was pointed again on that frame in the
// meantime (through another history), the live mark is kept rather than doubled.
void TData::ReinsertMark(std::unique_ptr<TMarque> mark) {
  TPolyContainer& store = mark->Store();
  TContainer& container = store.ContainerFor(mark->Frame());
  if (container.OfOrder(mark->Order()) != nullptr) return;
  TMarque& inserted = store.InsertMark(std::move(mark), container);
  inserted.RecomputeScreen();
  store.Renumber();
  context_.Repaint();
}

void TData::ReinsertOrigin(std::unique_ptr<TOrigine> origin, TAction action) {
  const TPointD position = origin->Position();
  transparent_.ReinsertOrigin(std::move(origin));
  if (action == TAction::OriginCancelled) {
    transparent_.SetOrigin(position);
    transparent_.StepStage(2);
  }
  SheetMoved();
}

void TData::Restore(THistObject& live, const THistObject& entry) {
  live.Assign(entry);
  context_.ResultsStale();
  switch (live.Kind()) {
    case TKind::Echelle:
      echelle_.RecomputeScreen();
      break;
    case TKind::MarqueRep:
    case TKind::MarqueTsp:
      static_cast<TMarque&>(live).RecomputeScreen();
      break;
    case TKind::RepereFixe:
      repere_.RecomputeGeometry();
      Notify(OnRepereChange);
      break;
    case TKind::Origine:
    case TKind::Transparent:
      SheetMoved();
      break;
    case TKind::PolyMarqueImgRep:
    case TKind::PolyMarqueImgTsp: {
      auto& store = static_cast<TPolyContainer&>(live);
      store.RecomputeScreen();
      Notify(OnMarksChange);
      Notify(OnMarksPerFrameChange);
      break;
    }
    case TKind::None:
      break;
  }
  context_.Repaint();
}

}  // namespace kinovia
