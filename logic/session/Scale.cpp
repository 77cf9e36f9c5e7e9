#include "logic/session/Scale.h"

#include <cmath>

#include "core/Numbers.h"

namespace kinovia {

Scale::Scale(SessionContext& context) : RecordedObject(ObjectKind::Scale), context_(context) {}

void Scale::Assign(const RecordedObject& source) {
  RecordedObject::Assign(source);
  const auto& e = static_cast<const Scale&>(source);
  std::copy(std::begin(e.count_), std::end(e.count_), count_);
  std::copy(std::begin(e.length_), std::end(e.length_), length_);
  std::copy(std::begin(e.points_), std::end(e.points_), points_);
}

bool Scale::Equals(const RecordedObject& other) const {
  const auto& e = static_cast<const Scale&>(other);
  for (int s = 0; s < 3; ++s) {
    if (count_[s] != e.count_[s] || !IsZero(length_[s] - e.length_[s])) return false;
  }
  for (int i = 0; i < 6; ++i) {
    if (!SamePosition(points_[i], e.points_[i])) return false;
  }
  return true;
}

std::unique_ptr<RecordedObject> Scale::NewBlank() const {
  return std::make_unique<Scale>(context_);
}

void Scale::Reset(bool twoScales) {
  for (int s = 0; s < 3; ++s) {
    count_[s] = 0;
    length_[s] = 0.0;
  }
  for (auto& p : points_) p = {};
  drag_ = kIdle;
  selection_ = twoScales ? kVert : kSingle;
  rubberEnd_.reset();
  RecomputeScreen();
}

void Scale::PressLeft(PointI p) {
  if (count_[selection_] < 2) {
    AddPoint(p);
  } else {
    EditPress(p);
  }
}

void Scale::AddPoint(PointI p) {
  const PointD click = context_.view.ToFraction(p);
  if (count_[selection_] == 0) {
    context_.Record(*this, UndoAction::FirstScalePoint);
    P(0) = click;
  } else {
    // A second point on the first one's pixel (its column or row for a horizontal or vertical
    // segment) would give a segment without length where it matters.
    const PointI first = screen_[2 * selection_];
    switch (selection_) {
      case kSingle:
        if (p == first) return;
        P(1) = click;
        break;
      case kHoriz:
        if (p.x == first.x) return;
        P(1) = {click.x, P(0).y};
        break;
      case kVert:
        if (p.y == first.y) return;
        P(1) = {P(0).x, click.y};
        break;
    }
  }
  ++count_[selection_];
  rubberEnd_.reset();
  context_.ResultsStale();
  RecomputeScreen();
  context_.Repaint();
  if (onScaleChange) onScaleChange();
}

int Scale::HitTest(PointI p) const {
  const int half = context_.HitHalfSide();
  const PointI a = screen_[2 * selection_];
  const PointI b = screen_[2 * selection_ + 1];
  const int pen = context_.penWidth;
  const bool onBody = NearPixelLine(p, a, b, half);
  if (std::abs(b.x - a.x) < pen && std::abs(b.y - a.y) < pen && onBody) return kWhole;
  if (NearPoint(p, a, half)) return 0;
  if (NearPoint(p, b, half)) return 1;
  return onBody ? kWhole : kIdle;
}

void Scale::EditPress(PointI p) {
  const int hit = HitTest(p);
  if (hit == kIdle) return;
  context_.Record(*this, hit == kWhole ? UndoAction::Drag : UndoAction::Modify);
  lastMouse_ = p;
  drag_ = hit;
}

void Scale::Move(PointI p) {
  if (count_[selection_] == 1) {
    const PointI first = screen_[2 * selection_];
    rubberEnd_ = selection_ == kHoriz  ? PointI{p.x, first.y}
                 : selection_ == kVert ? PointI{first.x, p.y}
                                       : p;
    context_.Repaint();
    return;
  }
  if (count_[selection_] < 2) return;
  if (drag_ == kWhole) {
    MoveWhole(p);
  } else if (drag_ == 0 || drag_ == 1) {
    MoveEnd(drag_, p);
  } else {
    HoverCursor(p);
  }
}

void Scale::MoveWhole(PointI p) {
  const int dx = p.x - lastMouse_.x;
  const int dy = p.y - lastMouse_.y;
  lastMouse_ = p;
  for (int end = 0; end < 2; ++end) {
    const PointI s = screen_[2 * selection_ + end];
    P(end) = context_.view.ToFraction({s.x + dx, s.y + dy});
  }
  if (selection_ == kHoriz) P(1).y = P(0).y;
  if (selection_ == kVert) P(1).x = P(0).x;
  context_.ResultsStale();
  RecomputeScreen();
  context_.Repaint();
}

void Scale::MoveEnd(int end, PointI p) {
  PointD moved = context_.view.ToFraction(p);
  const PointD other = P(1 - end);
  const PointD old = P(end);
  if (selection_ == kHoriz) moved.y = other.y;
  if (selection_ == kVert) moved.x = other.x;
  if (SamePosition(moved, old)) return;
  P(end) = moved;
  context_.ResultsStale();
  RecomputeScreen();
  context_.Repaint();
}

void Scale::HoverCursor(PointI p) {
  const int hit = HitTest(p);
  if (hit == kIdle) {
    context_.cursor = SessionCursor::Tool;
  } else if (hit == kWhole) {
    context_.cursor = SessionCursor::Move;
  } else {
    const PointI a = screen_[2 * selection_];
    const PointI b = screen_[2 * selection_ + 1];
    const bool falling = (b.x - a.x) * (b.y - a.y) >= 0;
    context_.cursor = falling ? SessionCursor::SegmentEndA : SessionCursor::SegmentEndB;
  }
}

void Scale::EraseLastPoint() {
  int& count = count_[selection_];
  if (count == 0) return;
  if (count == 2) context_.Record(*this, UndoAction::Erase);
  --count;
  rubberEnd_.reset();
  context_.ResultsStale();
  context_.Repaint();
}

void Scale::SetLength(SegmentKind segment, double metres) {
  if (IsZero(metres - length_[segment])) return;
  length_[segment] = metres;
  context_.ResultsStale();
}

bool Scale::SetSelection(SegmentKind segment) {
  if (segment == selection_) return false;
  selection_ = segment;
  drag_ = kIdle;
  rubberEnd_.reset();
  return true;
}

void Scale::RecomputeScreen() {
  for (int i = 0; i < 6; ++i) screen_[i] = context_.view.ToView(points_[i]);
}

void Scale::SetPointCount(SegmentKind segment, int count) {
  count_[segment] = std::clamp(count, 0, 2);
}

void Scale::SetPoint(SegmentKind segment, int end, PointD position) {
  points_[2 * segment + end] = position;
  screen_[2 * segment + end] = context_.view.ToView(position);
}

bool Scale::SegmentValid(SegmentKind segment) const {
  return count_[segment] == 2 && length_[segment] > 0;
}

bool Scale::Valid() const {
  return selection_ == kSingle ? SegmentValid(kSingle)
                               : SegmentValid(kHoriz) && SegmentValid(kVert);
}

// A segment whose second point was erased no longer gives a scale, even though its former
// coordinates are still held.
ScaleFactors Scale::Factors(int pictureWidth, int pictureHeight, bool twoScales) const {
  ScaleFactors f;
  if (!twoScales) {
    if (count_[kSingle] < 2) return f;
    const double w = pictureWidth;
    const double h = pictureHeight;
    const double du = points_[1].x - points_[0].x;
    const double dv = points_[1].y - points_[0].y;
    const double pixels = std::sqrt(w * w * du * du + h * h * dv * dv);
    if (IsZero(pixels)) return f;
    f.sx = w * length_[kSingle] / pixels;
    f.sy = h * length_[kSingle] / pixels;
    return f;
  }
  const double du = std::abs(points_[3].x - points_[2].x);
  const double dv = std::abs(points_[5].y - points_[4].y);
  if (count_[kHoriz] == 2 && !IsZero(du)) f.sx = length_[kHoriz] / du;
  if (count_[kVert] == 2 && !IsZero(dv)) f.sy = length_[kVert] / dv;
  return f;
}

std::optional<std::pair<PointI, PointI>> Scale::RubberLine() const {
  if (count_[selection_] != 1 || !rubberEnd_) return std::nullopt;
  return std::make_pair(screen_[2 * selection_], *rubberEnd_);
}

}  // namespace kinovia
