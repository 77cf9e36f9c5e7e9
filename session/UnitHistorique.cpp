#include "session/UnitHistorique.h"

#include "resources/TxtSession.h"

namespace kinovia {

namespace {

const std::string* VerbOf(TAction action) {
  switch (action) {
    case TAction::ChooseOrigin:
      return &Txt(txt::UndoVerbEscoger);
    case TAction::TrackedMark:
    case TAction::PointedMark:
      return &Txt(txt::UndoVerbPoner);
    case TAction::OriginAdded:
    case TAction::OriginDropped:
    case TAction::Drag:
    case TAction::OriginDeleted:
    case TAction::OriginCancelled:
      return &Txt(txt::UndoVerbDesplazar);
    case TAction::FirstScalePoint:
      return &Txt(txt::UndoVerbDefinir);
    case TAction::Resize:
      return &Txt(txt::UndoVerbDeformar);
    case TAction::Erase:
      return &Txt(txt::UndoVerbBorrar);
    case TAction::InvertAxis:
      return &Txt(txt::UndoVerbCambiarSentido);
    case TAction::Modify:
      return &Txt(txt::UndoVerbModificar);
    case TAction::Turn:
      return &Txt(txt::UndoVerbGirar);
    case TAction::DeletedMark:
    case TAction::WithdrawnMark:
      return &Txt(txt::UndoVerbSuprimir);
    case TAction::ReduceMarks:
      break;
  }
  return nullptr;
}

const std::string* NounOf(TKind kind) {
  switch (kind) {
    case TKind::Echelle:
      return &Txt(txt::UndoNounEscala);
    case TKind::MarqueRep:
    case TKind::MarqueTsp:
      return &Txt(txt::UndoNounMarca);
    case TKind::Origine:
    case TKind::Transparent:
      return &Txt(txt::UndoNounTransparente);
    case TKind::RepereFixe:
      return &Txt(txt::UndoNounSistemaReferencia);
    default:
      return nullptr;
  }
}

}  // namespace

bool CreatesObject(TAction action) {
  return action >= TAction::TrackedMark && action <= TAction::OriginDropped;
}

bool DeletesObject(TAction action) {
  return action >= TAction::DeletedMark && action <= TAction::OriginCancelled;
}

void THistorique::Record(const THistObject& object, TAction action) {
  if (suspended_ || object.Kind() == TKind::None) return;
  while (entries_.size() > kCapacity - 1) entries_.pop_front();
  auto copy = object.NewBlank();
  copy->Assign(object);
  if (!grouping_) ++counter_;
  copy->SetGroup(counter_);
  copy->SetAction(action);
  entries_.push_back(std::move(copy));
}

void THistorique::OpenGroup() {
  if (!grouping_) {
    ++counter_;
    grouping_ = true;
  } else {
    ++depth_;
  }
}

void THistorique::CloseGroup() {
  if (depth_ < 1) {
    grouping_ = false;
  } else {
    --depth_;
  }
}

void THistorique::Clear() {
  entries_.clear();
  counter_ = 0;
  depth_ = 0;
  grouping_ = false;
  suspended_ = false;
}

void THistorique::Prune(IUndoTarget& target) {
  while (!entries_.empty()) {
    const THistObject& entry = *entries_.back();
    if (CreatesObject(entry.Action()) || DeletesObject(entry.Action())) return;
    const THistObject* live = target.FindLive(entry);
    if (live != nullptr && !live->Equals(entry)) return;
    entries_.pop_back();
  }
}

bool THistorique::Undo(IUndoTarget& target) {
  Prune(target);
  if (entries_.empty()) return false;
  const int group = entries_.back()->Group();
  suspended_ = true;
  while (!entries_.empty() && entries_.back()->Group() == group) {
    std::unique_ptr<THistObject> entry = std::move(entries_.back());
    entries_.pop_back();
    const TAction action = entry->Action();
    if (action == TAction::ReduceMarks) continue;  // the store's own snapshot brings them back
    if (DeletesObject(action)) {
      target.Reinsert(std::move(entry));
      continue;
    }
    THistObject* live = target.FindLive(*entry);
    if (live == nullptr) continue;
    if (CreatesObject(action)) {
      target.UndoCreation(*live, action);
    } else {
      target.Restore(*live, *entry);
    }
  }
  suspended_ = false;
  return true;
}

std::string THistorique::Caption(IUndoTarget& target) {
  Prune(target);
  std::string caption = Txt(txt::UndoCancelar);
  if (entries_.empty()) return caption;
  const THistObject& newest = *entries_.back();
  bool sameKind = true;
  for (auto it = entries_.rbegin(); it != entries_.rend() && (*it)->Group() == newest.Group();
       ++it) {
    if ((*it)->Action() != newest.Action()) return caption;
    sameKind = sameKind && (*it)->Kind() == newest.Kind();
  }
  if (const std::string* verb = VerbOf(newest.Action())) caption += ' ' + *verb;
  if (sameKind) {
    if (const std::string* noun = NounOf(newest.Kind())) caption += ' ' + *noun;
  }
  return caption;
}

}  // namespace kinovia
