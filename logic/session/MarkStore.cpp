#include "logic/session/MarkStore.h"

#include <algorithm>
#include <numeric>

#include "core/Numbers.h"
#include "resources/TxtSession.h"

namespace kinovia {

// ---------------------------------------------------------------------------- Mark

Mark::Mark(ObjectKind kind, Axes& axes, MarkStore& store)
    : RecordedObject(kind), axes_(axes), store_(store) {}

void Mark::Assign(const RecordedObject& source) {
  RecordedObject::Assign(source);
  const auto& m = static_cast<const Mark&>(source);
  order_ = m.order_;
  primary_ = m.primary_;
  screen_ = m.screen_;
  frame_ = m.Frame();
}

bool Mark::Equals(const RecordedObject& other) const {
  const auto& m = static_cast<const Mark&>(other);
  return SamePosition(FixedPosition(), m.FixedPosition()) &&
         SamePosition(SheetPosition(), m.SheetPosition());
}

void Mark::RecomputeScreen() { screen_ = axes_.Context().view.ToView(FixedPosition()); }

int Mark::Frame() const { return container_ != nullptr ? container_->Frame() : frame_; }

void Mark::SetPrimary(PointD position) {
  if (SamePosition(position, primary_)) return;
  primary_ = position;
  axes_.Context().ResultsStale();
}

FixedMark::FixedMark(Axes& axes, MarkStore& store) : Mark(ObjectKind::FixedMark, axes, store) {}

std::unique_ptr<RecordedObject> FixedMark::NewBlank() const {
  return std::make_unique<FixedMark>(ReferenceAxes(), Store());
}

PointD FixedMark::SheetPosition() const { return primary_ - ReferenceAxes().Origin(); }

void FixedMark::SetSheetPosition(PointD position) {
  SetPrimary(position + ReferenceAxes().Origin());
}

SheetMark::SheetMark(Axes& axes, MarkStore& store) : Mark(ObjectKind::SheetMark, axes, store) {}

std::unique_ptr<RecordedObject> SheetMark::NewBlank() const {
  return std::make_unique<SheetMark>(ReferenceAxes(), Store());
}

PointD SheetMark::FixedPosition() const { return primary_ + ReferenceAxes().Origin(); }

void SheetMark::SetFixedPosition(PointD position) {
  SetPrimary(position - ReferenceAxes().Origin());
}

// ---------------------------------------------------------------------------- FrameMarks

FrameMarks::FrameMarks(MarkStore& store, int frame)
    : RecordedObject(ObjectKind::None), store_(store), frame_(frame) {
  // Room for one mark of each object: a long session of one object keeps a pointer a frame, not
  // the room of the most objects a frame can hold.
  marks_.reserve(static_cast<std::size_t>(store.MarksPerFrame()));
}

std::unique_ptr<RecordedObject> FrameMarks::NewBlank() const {
  return std::make_unique<FrameMarks>(store_, frame_);
}

int FrameMarks::Rank() const {
  store_.EnsureRanks();
  return rank_;
}

Mark* FrameMarks::OfOrder(int order) const {
  for (const auto& m : marks_) {
    if (m->Order() == order) return m.get();
  }
  return nullptr;
}

Mark& FrameMarks::Add(std::unique_ptr<Mark> mark) {
  mark->container_ = this;
  mark->frame_ = frame_;
  marks_.push_back(std::move(mark));
  return *marks_.back();
}

std::unique_ptr<Mark> FrameMarks::Take(const Mark* mark) {
  for (auto it = marks_.begin(); it != marks_.end(); ++it) {
    if (it->get() != mark) continue;
    std::unique_ptr<Mark> taken = std::move(*it);
    marks_.erase(it);
    taken->container_ = nullptr;
    return taken;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------- MarkStore

MarkStore::MarkStore(ObjectKind kind, Axes& axes) : RecordedObject(kind), axes_(axes) {
  marks_.reserve(1024);
  containers_.reserve(1024);
  SetDefaultNames();
}

MarkStore::~MarkStore() = default;

std::unique_ptr<RecordedObject> MarkStore::NewBlank() const {
  return std::make_unique<MarkStore>(Kind(), axes_);
}

void MarkStore::Assign(const RecordedObject& source) {
  RecordedObject::Assign(source);
  const auto& s = static_cast<const MarkStore&>(source);
  allDrawn_ = s.allDrawn_;
  perFrame_ = s.perFrame_;
  toDraw_ = s.toDraw_;
  order_ = s.order_;
  numberPosition_ = s.numberPosition_;
  names_ = s.names_;
  marks_.clear();
  byFrame_.clear();
  containers_.clear();
  std::unordered_map<const Mark*, Mark*> copies;
  for (const auto& c : s.containers_) {
    auto copy = std::make_unique<FrameMarks>(*this, c->frame_);
    copy->RecordedObject::Assign(*c);
    for (const auto& m : c->marks_) {
      auto mark = NewMark();
      mark->Assign(*m);
      copies[m.get()] = &copy->Add(std::move(mark));
    }
    byFrame_.emplace(copy->frame_, copy.get());
    containers_.push_back(std::move(copy));
  }
  for (const Mark* m : s.marks_) marks_.push_back(copies.at(m));
  ranksValid_ = false;
}

bool MarkStore::Equals(const RecordedObject& other) const {
  const auto& s = static_cast<const MarkStore&>(other);
  if (allDrawn_ != s.allDrawn_ || perFrame_ != s.perFrame_ || toDraw_ != s.toDraw_ ||
      order_ != s.order_ || numberPosition_ != s.numberPosition_ || names_ != s.names_ ||
      containers_.size() != s.containers_.size() || marks_.size() != s.marks_.size()) {
    return false;
  }
  for (std::size_t i = 0; i < containers_.size(); ++i) {
    const FrameMarks& a = *containers_[i];
    const FrameMarks& b = *s.containers_[i];
    if (a.frame_ != b.frame_ || a.marks_.size() != b.marks_.size()) return false;
    for (std::size_t k = 0; k < a.marks_.size(); ++k) {
      if (a.marks_[k]->Order() != b.marks_[k]->Order() || !a.marks_[k]->Equals(*b.marks_[k])) {
        return false;
      }
    }
  }
  return true;
}

void MarkStore::SetCurrentOrder(int n) {
  if (IsTransparent() || n >= perFrame_ || n < -1) {
    order_ = 0;
  } else {
    order_ = n == -1 ? perFrame_ - 1 : n;
  }
}

std::string MarkStore::DefaultName(int object) {
  return Txt(txt::SessionDefaultObjectName) + std::to_string(object + 1);
}

// The transparent store names one more entry: the sheet itself as a frame of reference.
void MarkStore::SetDefaultNames() {
  names_.clear();
  const int count = IsTransparent() ? 2 : perFrame_;
  for (int i = 0; i < count; ++i) names_.push_back(DefaultName(i));
}

FrameMarks* MarkStore::FindContainer(int frame) const {
  const auto it = byFrame_.find(frame);
  return it == byFrame_.end() ? nullptr : it->second;
}

FrameMarks& MarkStore::ContainerFor(int frame) {
  if (FrameMarks* found = FindContainer(frame)) return *found;
  containers_.push_back(std::make_unique<FrameMarks>(*this, frame));
  byFrame_.emplace(frame, containers_.back().get());
  ranksValid_ = false;
  return *containers_.back();
}

std::unique_ptr<Mark> MarkStore::NewMark() {
  if (IsTransparent()) return std::make_unique<SheetMark>(axes_, *this);
  return std::make_unique<FixedMark>(axes_, *this);
}

Mark& MarkStore::InsertMark(std::unique_ptr<Mark> mark, FrameMarks& container) {
  const int index = mark->ListIndex();
  const bool valid = index >= 0 && index < static_cast<int>(marks_.size());
  const auto place = valid ? marks_.begin() + index : marks_.end();
  mark->SetListIndex(static_cast<int>(place - marks_.begin()));
  Mark& added = container.Add(std::move(mark));
  marks_.insert(place, &added);
  ranksValid_ = false;
  Context().ResultsStale();
  if (Context().onMarksChange) Context().onMarksChange();
  return added;
}

int MarkStore::ListPosition(const Mark* mark) const {
  // Searched from the end: undo and withdrawal nearly always concern the newest marks.
  for (int i = static_cast<int>(marks_.size()) - 1; i >= 0; --i) {
    if (marks_[i] == mark) return i;
  }
  return -1;
}

std::unique_ptr<Mark> MarkStore::DetachMark(const Mark* mark) {
  FrameMarks* container = mark->Container();
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

bool MarkStore::RemoveMark(const Mark* mark, UndoAction action) {
  const int object = std::max(0, std::min(mark->Order(), perFrame_ - 1));
  FrameMarks* container = mark->Container();
  auto taken = DetachMark(mark);
  if (!taken) return false;
  Context().Record(*taken, action);
  taken.reset();
  if (action == UndoAction::WithdrawnMark) {
    Context().video.GoToSourceFrame(container->Frame());
    SetCurrentOrder(container->Marks().empty() ? 0 : object);
    if (IsTransparent()) static_cast<TransparentSheet&>(axes_).StepStage(-1);
  }
  return true;
}

Mark* MarkStore::FindMark(int identifier) const {
  for (auto it = marks_.rbegin(); it != marks_.rend(); ++it) {
    if ((*it)->Identifier() == identifier) return *it;
  }
  return nullptr;
}

void MarkStore::Clear() {
  marks_.clear();
  byFrame_.clear();
  containers_.clear();
  dragIndex_ = -1;
  drag_ = kIdle;
  ranksValid_ = true;
  SetDefaultNames();
}

void MarkStore::ResetDefaults(std::uint8_t numberPosition) {
  allDrawn_ = true;
  perFrame_ = 1;
  toDraw_ = 1;
  order_ = 0;
  drag_ = kIdle;
  dragIndex_ = -1;
  SetNumberPosition(numberPosition);
}

void MarkStore::RecomputeScreen() {
  for (Mark* m : marks_) m->RecomputeScreen();
}

void MarkStore::EnsureRanks() const {
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

int MarkStore::LastContainerFrame() const {
  return containers_.empty() ? 0 : containers_.back()->Frame();
}

int MarkStore::MarksOnFrame(int frame) const {
  const FrameMarks* c = FindContainer(frame);
  return c == nullptr ? -1 : static_cast<int>(c->Marks().size());
}

int MarkStore::SmallestObjectCount() const {
  std::vector<int> counts(perFrame_, 0);
  for (const Mark* m : marks_) {
    if (m->Order() >= 0 && m->Order() < perFrame_) ++counts[m->Order()];
  }
  return *std::min_element(counts.begin(), counts.end());
}

int MarkStore::FirstDrawnIndex() const {
  if (allDrawn_) return 0;
  return std::max(0, static_cast<int>(marks_.size()) - toDraw_);
}

Mark* MarkStore::MarkAt(PointI p) const {
  const int half = Context().HitHalfSide();
  for (Mark* m : marks_) {
    if (NearPoint(p, m->Screen(), half)) return m;
  }
  return nullptr;
}

void MarkStore::MovePress(PointI p) {
  if (drag_ != kIdle) return;
  const int half = Context().HitHalfSide();
  for (std::size_t i = 0; i < marks_.size(); ++i) {
    if (!NearPoint(p, marks_[i]->Screen(), half)) continue;
    Context().Record(*marks_[i], UndoAction::Drag);
    drag_ = kMoving;
    dragIndex_ = static_cast<int>(i);
    return;
  }
}

void MarkStore::MoveMove(PointI p) {
  if (drag_ == kIdle) {
    HoverCursor(p);
    dragIndex_ = -1;
    return;
  }
  if (drag_ != kMoving || dragIndex_ < 0 || dragIndex_ >= static_cast<int>(marks_.size())) return;
  Mark* mark = marks_[dragIndex_];
  mark->SetFixedPosition(Context().view.ToFraction(p));
  mark->RecomputeScreen();
  Context().Repaint();
}

void MarkStore::StartErase(PointI p) {
  drag_ = kErasing;
  eraseRect_ = {p.x, p.y, p.x, p.y};
}

void MarkStore::ExtendErase(PointI p) {
  if (drag_ == kIdle) {
    HoverCursor(p);
    return;
  }
  if (drag_ != kErasing) return;
  eraseRect_.right = p.x;
  eraseRect_.bottom = p.y;
  Context().Repaint();
}

void MarkStore::EndDrag() {
  drag_ = kIdle;
  Context().cursor = SessionCursor::Tool;
}

void MarkStore::HoverCursor(PointI p) {
  Context().cursor = MarkAt(p) != nullptr ? SessionCursor::Move : SessionCursor::Tool;
}

}  // namespace kinovia
