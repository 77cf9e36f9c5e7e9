#include "logic/session/UndoHistory.h"

#include "resources/TxtSession.h"

namespace kinovia {

namespace {

const std::string* VerbOf(UndoAction action) {
  switch (action) {
    case UndoAction::ChooseOrigin:
      return &Txt(txt::UndoVerbEscoger);
    case UndoAction::TrackedMark:
    case UndoAction::PointedMark:
      return &Txt(txt::UndoVerbPoner);
    case UndoAction::OriginAdded:
    case UndoAction::OriginDropped:
    case UndoAction::Drag:
    case UndoAction::OriginDeleted:
    case UndoAction::OriginCancelled:
      return &Txt(txt::UndoVerbDesplazar);
    case UndoAction::FirstScalePoint:
      return &Txt(txt::UndoVerbDefinir);
    case UndoAction::Resize:
      return &Txt(txt::UndoVerbDeformar);
    case UndoAction::Erase:
      return &Txt(txt::UndoVerbBorrar);
    case UndoAction::InvertAxis:
      return &Txt(txt::UndoVerbCambiarSentido);
    case UndoAction::Modify:
      return &Txt(txt::UndoVerbModificar);
    case UndoAction::Turn:
      return &Txt(txt::UndoVerbGirar);
    case UndoAction::DeletedMark:
    case UndoAction::WithdrawnMark:
      return &Txt(txt::UndoVerbSuprimir);
    case UndoAction::ReduceMarks:
      break;
  }
  return nullptr;
}

const std::string* NounOf(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Scale:
      return &Txt(txt::UndoNounEscala);
    case ObjectKind::FixedMark:
    case ObjectKind::SheetMark:
      return &Txt(txt::UndoNounMarca);
    case ObjectKind::SheetOrigin:
    case ObjectKind::Sheet:
      return &Txt(txt::UndoNounTransparente);
    case ObjectKind::FixedAxes:
      return &Txt(txt::UndoNounSistemaReferencia);
    default:
      return nullptr;
  }
}

}  // namespace

bool CreatesObject(UndoAction action) {
  return action >= UndoAction::TrackedMark && action <= UndoAction::OriginDropped;
}

bool DeletesObject(UndoAction action) {
  return action >= UndoAction::DeletedMark && action <= UndoAction::OriginCancelled;
}

void UndoHistory::Record(const RecordedObject& object, UndoAction action) {
  if (suspended_ || object.Kind() == ObjectKind::None) return;
  while (entries_.size() > kCapacity - 1) entries_.pop_front();
  auto copy = object.NewBlank();
  copy->Assign(object);
  if (!grouping_) ++counter_;
  copy->SetGroup(counter_);
  copy->SetAction(action);
  entries_.push_back(std::move(copy));
}

void UndoHistory::OpenGroup() {
  if (!grouping_) {
    ++counter_;
    grouping_ = true;
  } else {
    ++depth_;
  }
}

void UndoHistory::CloseGroup() {
  if (depth_ < 1) {
    grouping_ = false;
  } else {
    --depth_;
  }
}

void UndoHistory::Clear() {
  entries_.clear();
  counter_ = 0;
  depth_ = 0;
  grouping_ = false;
  suspended_ = false;
}

void UndoHistory::Prune(IUndoTarget& target) {
  while (!entries_.empty()) {
    const RecordedObject& entry = *entries_.back();
    if (CreatesObject(entry.Action()) || DeletesObject(entry.Action())) return;
    const RecordedObject* live = target.FindLive(entry);
    if (live != nullptr && !live->Equals(entry)) return;
    entries_.pop_back();
  }
}

bool UndoHistory::Undo(IUndoTarget& target) {
  Prune(target);
  if (entries_.empty()) return false;
  const int group = entries_.back()->Group();
  suspended_ = true;
  while (!entries_.empty() && entries_.back()->Group() == group) {
    std::unique_ptr<RecordedObject> entry = std::move(entries_.back());
    entries_.pop_back();
    const UndoAction action = entry->Action();
    if (action == UndoAction::ReduceMarks) continue;  // the store's own snapshot brings them back
    if (DeletesObject(action)) {
      target.Reinsert(std::move(entry));
      continue;
    }
    RecordedObject* live = target.FindLive(*entry);
    if (live == nullptr) continue;
    if (CreatesObject(action)) {
      target.UndoCreation(*live, action);
    } else {
      target.Revert(*live, *entry);
    }
  }
  suspended_ = false;
  return true;
}

std::string UndoHistory::Caption(IUndoTarget& target) {
  Prune(target);
  std::string caption = Txt(txt::UndoCancelar);
  if (entries_.empty()) return caption;
  const RecordedObject& newest = *entries_.back();
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
