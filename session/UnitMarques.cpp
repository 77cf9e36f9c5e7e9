#include "session/UnitMarques.h"

#include <algorithm>
#include <numeric>

#include "resources/TxtSession.h"
#include "results/UnitMathUtils.h"

namespace kinovia {

// ---------------------------------------------------------------------------- TMarque

TMarque::TMarque(TKind kind, TRepere& repere, TPolyContainer& store)
    : THistObject(kind), repere_(repere), store_(store) {}

void TMarque::Assign(const THistObject& source) {
  THistObject::Assign(source);
  const auto& m = static_cast<const TMarque&>(source);
  order_ = m.order_;
  primary_ = m.primary_;
  screen_ = m.screen_;
  frame_ = m.Frame();
}

bool TMarque::Equals(const THistObject& other) const {
  const auto& m = static_cast<const TMarque&>(other);
  return SamePosition(FixedPosition(), m.FixedPosition()) &&
         SamePosition(TranspPosition(), m.TranspPosition());
}

void TMarque::RecomputeScreen() { screen_ = repere_.Context().view.ToView(FixedPosition()); }

int TMarque::Frame() const { return container_ != nullptr ? container_->Frame() : frame_; }

void TMarque::SetPrimary(TPointD position) {
  if (SamePosition(position, primary_)) return;
  primary_ = position;
  repere_.Context().ResultsStale();
}

TMarqueRep::TMarqueRep(TRepere& repere, TPolyContainer& store)
    : TMarque(TKind::MarqueRep, repere, store) {}

std::unique_ptr<THistObject> TMarqueRep::NewBlank() const {
  return std::make_unique<TMarqueRep>(Repere(), Store());
}

TPointD TMarqueRep::TranspPosition() const { return primary_ - Repere().Origin(); }

void TMarqueRep::SetTranspPosition(TPointD position) { SetPrimary(position + Repere().Origin()); }

TMarqueTsp::TMarqueTsp(TRepere& repere, TPolyContainer& store)
    : TMarque(TKind::MarqueTsp, repere, store) {}

std::unique_ptr<THistObject> TMarqueTsp::NewBlank() const {
  return std::make_unique<TMarqueTsp>(Repere(), Store());
}

TPointD TMarqueTsp::FixedPosition() const { return primary_ + Repere().Origin(); }

void TMarqueTsp::SetFixedPosition(TPointD position) { SetPrimary(position - Repere().Origin()); }

// ---------------------------------------------------------------------------- TContainer

TContainer::TContainer(TPolyContainer& store, int frame)
    : THistObject(TKind::None), store_(store), frame_(frame) {
  marks_.reserve(32);
}

std::unique_ptr<THistObject> TContainer::NewBlank() const {
  return std::make_unique<TContainer>(store_, frame_);
}

int TContainer::Rank() const {
  store_.EnsureRanks();
  return rank_;
}

TMarque* TContainer::OfOrder(int order) const {
  for (const auto& m : marks_) {
    if (m->Order() == order) return m.get();
  }
  return nullptr;
}

TMarque& TContainer::Add(std::unique_ptr<TMarque> mark) {
  mark->container_ = this;
  mark->frame_ = frame_;
  marks_.push_back(std::move(mark));
  return *marks_.back();
}

std::unique_ptr<TMarque> TContainer::Take(const TMarque* mark) {
  for (auto it = marks_.begin(); it != marks_.end(); ++it) {
    if (it->get() != mark) continue;
    std::unique_ptr<TMarque> taken = std::move(*it);
    marks_.erase(it);
    taken->container_ = nullptr;
    return taken;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------- TPolyContainer

TPolyContainer::TPolyContainer(TKind kind, TRepere& repere) : THistObject(kind), repere_(repere) {
  marks_.reserve(1024);
  containers_.reserve(1024);
  SetDefaultNames();
}

TPolyContainer::~TPolyContainer() = default;

std::unique_ptr<THistObject> TPolyContainer::NewBlank() const {
  return std::make_unique<TPolyContainer>(Kind(), repere_);
}

void TPolyContainer::Assign(const THistObject& source) {
  THistObject::Assign(source);
  const auto& s = static_cast<const TPolyContainer&>(source);
  allDrawn_ = s.allDrawn_;
  perFrame_ = s.perFrame_;
  toDraw_ = s.toDraw_;
  order_ = s.order_;
  numberPosition_ = s.numberPosition_;
  names_ = s.names_;
  marks_.clear();
  byFrame_.clear();
  containers_.clear();
  std::unordered_map<const TMarque*, TMarque*> copies;
  for (const auto& c : s.containers_) {
    auto copy = std::make_unique<TContainer>(*this, c->frame_);
    copy->THistObject::Assign(*c);
    for (const auto& m : c->marks_) {
      auto mark = NewMark();
      mark->Assign(*m);
      copies[m.get()] = &copy->Add(std::move(mark));
    }
    byFrame_.emplace(copy->frame_, copy.get());
    containers_.push_back(std::move(copy));
  }
  for (const TMarque* m : s.marks_) marks_.push_back(copies.at(m));
  ranksValid_ = false;
}

bool TPolyContainer::Equals(const THistObject& other) const {
  const auto& s = static_cast<const TPolyContainer&>(other);
  if (allDrawn_ != s.allDrawn_ || perFrame_ != s.perFrame_ || toDraw_ != s.toDraw_ ||
      order_ != s.order_ || numberPosition_ != s.numberPosition_ || names_ != s.names_ ||
      containers_.size() != s.containers_.size() || marks_.size() != s.marks_.size()) {
    return false;
  }
  for (std::size_t i = 0; i < containers_.size(); ++i) {
    const TContainer& a = *containers_[i];
    const TContainer& b = *s.containers_[i];
    if (a.frame_ != b.frame_ || a.marks_.size() != b.marks_.size()) return false;
    for (std::size_t k = 0; k < a.marks_.size(); ++k) {
      if (a.marks_[k]->Order() != b.marks_[k]->Order() || !a.marks_[k]->Equals(*b.marks_[k])) {
        return false;
      }
    }
  }
  return true;
}

void TPolyContainer::SetCurrentOrder(int n) {
  if (IsTransparent() || n >= perFrame_ || n < -1) {
    order_ = 0;
  } else {
    order_ = n == -1 ? perFrame_ - 1 : n;
  }
}

std::string TPolyContainer::DefaultName(int object) {
  return Txt(txt::SessionDefaultObjectName) + std::to_string(object + 1);
}

// The transparent store names one more entry: the sheet itself as a frame of reference.
void TPolyContainer::SetDefaultNames() {
  names_.clear();
  const int count = IsTransparent() ? 2 : perFrame_;
  for (int i = 0; i < count; ++i) names_.push_back(DefaultName(i));
}

TContainer* TPolyContainer::FindContainer(int frame) const {
  const auto it = byFrame_.find(frame);
  return it == byFrame_.end() ? nullptr : it->second;
}

TContainer& TPolyContainer::ContainerFor(int frame) {
  if (TContainer* found = FindContainer(frame)) return *found;
  containers_.push_back(std::make_unique<TContainer>(*this, frame));
  byFrame_.emplace(frame, containers_.back().get());
  ranksValid_ = false;
  return *containers_.back();
}

std::unique_ptr<TMarque> TPolyContainer::NewMark() {
  if (IsTransparent()) return std::make_unique<TMarqueTsp>(repere_, *this);
  return std::make_unique<TMarqueRep>(repere_, *this);
}

TMarque& TPolyContainer::InsertMark(std::unique_ptr<TMarque> mark, TContainer& container) {
  const int index = mark->ListIndex();
  const bool valid = index >= 0 && index < static_cast<int>(marks_.size());
  const auto place = valid ? marks_.begin() + index : marks_.end();
  mark->SetListIndex(static_cast<int>(place - marks_.begin()));
  TMarque& added = container.Add(std::move(mark));
  marks_.insert(place, &added);
  ranksValid_ = false;
  Context().ResultsStale();
  if (Context().onMarksChange) Context().onMarksChange();
  return added;
}

int TPolyContainer::ListPosition(const TMarque* mark) const {
  // Searched from the end: undo and withdrawal nearly always concern the newest marks.
  for (int i = static_cast<int>(marks_.size()) - 1; i >= 0; --i) {
    if (marks_[i] == mark) return i;
  }
  return -1;
}

std::unique_ptr<TMarque> TPolyContainer::DetachMark(const TMarque* mark) {
  TContainer* container = mark->Container();
  const int position = ListPosition(mark);
  if (container == nullptr || position < 0) return nullptr;
  auto taken = container->Take(mark);
  if (!taken) return nullptr;
  marks_.erase(marks_.begin() + position);
  taken->SetListIndex(position);
  ranksValid_ = false;
  Context().ResultsStale();
  if (Context().onMarksChange) Context().onMarksChange();
  return taken;
}

bool TPolyContainer::RemoveMark(const TMarque* mark, TAction action) {
  const int object = std::max(0, std::min(mark->Order(), perFrame_ - 1));
  TContainer* container = mark->Container();
  auto taken = DetachMark(mark);
  if (!taken) return false;
  Context().Record(*taken, action);
  taken.reset();
  if (action == TAction::WithdrawnMark) {
    Context().video.GoToSourceFrame(container->Frame());
    SetCurrentOrder(container->Marks().empty() ? 0 : object);
    if (IsTransparent()) static_cast<TTransparent&>(repere_).StepStage(-1);
  }
  return true;
}

TMarque* TPolyContainer::FindMark(int identifier) const {
  for (auto it = marks_.rbegin(); it != marks_.rend(); ++it) {
    if ((*it)->Identifier() == identifier) return *it;
  }
  return nullptr;
}

void TPolyContainer::Clear() {
  marks_.clear();
  byFrame_.clear();
  containers_.clear();
  dragIndex_ = -1;
  drag_ = kIdle;
  ranksValid_ = true;
  SetDefaultNames();
}

void TPolyContainer::ResetDefaults(std::uint8_t numberPosition) {
  allDrawn_ = true;
  perFrame_ = 1;
  toDraw_ = 1;
  order_ = 0;
  drag_ = kIdle;
  dragIndex_ = -1;
  SetNumberPosition(numberPosition);
}

void TPolyContainer::RecomputeScreen() {
  for (TMarque* m : marks_) m->RecomputeScreen();
}

void TPolyContainer::EnsureRanks() const {
  if (ranksValid_) return;
  const int emptyKey = Context().video.FrameCount() + 1;
  std::vector<int> keys(containers_.size());
  for (std::size_t i = 0; i < containers_.size(); ++i) {
    keys[i] = containers_[i]->marks_.empty() ? emptyKey : containers_[i]->frame_;
  }
  std::vector<std::size_t> order(containers_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  for (std::size_t r = 0; r < order.size(); ++r) {
    containers_[order[r]]->rank_ = static_cast<int>(r);
  }
  ranksValid_ = true;
}

int TPolyContainer::LastContainerFrame() const {
  return containers_.empty() ? 0 : containers_.back()->Frame();
}

int TPolyContainer::MarksOnFrame(int frame) const {
  const TContainer* c = FindContainer(frame);
  return c == nullptr ? -1 : static_cast<int>(c->Marks().size());
}

int TPolyContainer::SmallestObjectCount() const {
  std::vector<int> counts(perFrame_, 0);
  for (const TMarque* m : marks_) {
    if (m->Order() >= 0 && m->Order() < perFrame_) ++counts[m->Order()];
  }
  return *std::min_element(counts.begin(), counts.end());
}

int TPolyContainer::FirstDrawnIndex() const {
  if (allDrawn_) return 0;
  return std::max(0, static_cast<int>(marks_.size()) - toDraw_);
}

TMarque* TPolyContainer::MarkAt(TPointI p) const {
  const int half = Context().HitHalfSide();
  for (TMarque* m : marks_) {
    if (NearPoint(p, m->Screen(), half)) return m;
  }
  return nullptr;
}

void TPolyContainer::MovePress(TPointI p) {
  if (drag_ != kIdle) return;
  const int half = Context().HitHalfSide();
  for (std::size_t i = 0; i < marks_.size(); ++i) {
    if (!NearPoint(p, marks_[i]->Screen(), half)) continue;
    Context().Record(*marks_[i], TAction::Drag);
    drag_ = kMoving;
    dragIndex_ = static_cast<int>(i);
    return;
  }
}

void TPolyContainer::MoveMove(TPointI p) {
  if (drag_ == kIdle) {
    HoverCursor(p);
    dragIndex_ = -1;
    return;
  }
  if (drag_ != kMoving || dragIndex_ < 0 || dragIndex_ >= static_cast<int>(marks_.size())) return;
  TMarque* mark = marks_[dragIndex_];
  mark->SetFixedPosition(Context().view.ToFraction(p));
  mark->RecomputeScreen();
  Context().Repaint();
}

void TPolyContainer::StartErase(TPointI p) {
  drag_ = kErasing;
  eraseRect_ = {p.x, p.y, p.x, p.y};
}

void TPolyContainer::ExtendErase(TPointI p) {
  if (drag_ == kIdle) {
    HoverCursor(p);
    return;
  }
  if (drag_ != kErasing) return;
  eraseRect_.right = p.x;
  eraseRect_.bottom = p.y;
  Context().Repaint();
}

void TPolyContainer::EndDrag() {
  drag_ = kIdle;
  Context().cursor = TSessionCursor::Tool;
}

void TPolyContainer::HoverCursor(TPointI p) {
  Context().cursor = MarkAt(p) != nullptr ? TSessionCursor::Move : TSessionCursor::Tool;
}

}  // namespace kinovia
