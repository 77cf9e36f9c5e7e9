#include "logic/session/Axes.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "core/Numbers.h"

namespace kinovia {

namespace {

constexpr double kPi = std::numbers::pi;

Axes::SheetOrigins::iterator PlaceOf(Axes::SheetOrigins& list, int index) {
  if (index >= 0 && index < static_cast<int>(list.size())) return list.begin() + index;
  return list.end();
}

// Snaps an angle close to a multiple of pi/2 so that the axis is drawn exactly straight.
PointD AxisDirection(double angle) {
  for (const double straight : {-kPi, -kPi / 2, 0.0, kPi / 2, kPi}) {
    if (std::abs(angle - straight) < 0.001) {
      const int quarter = static_cast<int>(std::lround(straight / (kPi / 2)));
      static constexpr PointD kDirections[] = {{-1, 0}, {0, 1}, {1, 0}, {0, -1}, {-1, 0}};
      return kDirections[quarter + 2];
    }
  }
  return {std::cos(angle), -std::sin(angle)};  // view pixels grow downwards
}

// Clips the parameter range of o + t·d to [low, high] along one coordinate; false when empty.
bool ClipSlab(double o, double d, double low, double high, double& t0, double& t1) {
  if (d == 0.0) return o >= low && o <= high;
  double a = (low - o) / d;
  double b = (high - o) / d;
  if (a > b) std::swap(a, b);
  t0 = std::max(t0, a);
  t1 = std::min(t1, b);
  return t0 <= t1;
}

PointI Rounded(double x, double y) {
  return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

}  // namespace

// ---------------------------------------------------------------------------- SheetOrigin

SheetOrigin::SheetOrigin(int frame, PointD position)
    : RecordedObject(ObjectKind::SheetOrigin), frame_(frame), position_(position) {}

void SheetOrigin::Assign(const RecordedObject& source) {
  RecordedObject::Assign(source);
  const auto& o = static_cast<const SheetOrigin&>(source);
  frame_ = o.frame_;
  position_ = o.position_;
}

bool SheetOrigin::Equals(const RecordedObject& other) const {
  const auto& o = static_cast<const SheetOrigin&>(other);
  return frame_ == o.frame_ && SamePosition(position_, o.position_);
}

std::unique_ptr<RecordedObject> SheetOrigin::NewBlank() const {
  return std::make_unique<SheetOrigin>(-1, PointD{});
}

// ---------------------------------------------------------------------------- Axes

Axes::Axes(ObjectKind kind, SessionContext& context) : RecordedObject(kind), context_(context) {
  origins_.reserve(128);
}

// The per-frame origins are recorded objects of their own, so a snapshot of the frame leaves
// them out: restoring one must not undo an origin that has its own entry.
void Axes::Assign(const RecordedObject& source) {
  RecordedObject::Assign(source);
  const auto& r = static_cast<const Axes&>(source);
  directX_ = r.directX_;
  directY_ = r.directY_;
  origin_ = r.origin_;
}

bool Axes::Equals(const RecordedObject& other) const {
  const auto& r = static_cast<const Axes&>(other);
  return directX_ == r.directX_ && directY_ == r.directY_ && SamePosition(origin_, r.origin_);
}

void Axes::SetDirectX(bool direct) { SetDirection(directX_, direct); }

void Axes::SetDirectY(bool direct) { SetDirection(directY_, direct); }

void Axes::SetDirection(bool& flag, bool direct) {
  if (direct == flag) return;
  context_.Record(*this, UndoAction::InvertAxis);
  flag = direct;
  context_.ResultsStale();
  DirectionChanged();
}

void Axes::SetOrigin(PointD origin) {
  if (SamePosition(origin, origin_)) return;
  origin_ = origin;
  context_.ResultsStale();
}

void Axes::AddOrigin(std::unique_ptr<SheetOrigin> origin, UndoAction action) {
  auto place = PlaceOf(origins_, origin->ListIndex());
  origin->SetListIndex(static_cast<int>(place - origins_.begin()));
  const SheetOrigin& added = **origins_.insert(place, std::move(origin));
  context_.Record(added, action);
}

bool Axes::RemoveOrigin(const SheetOrigin* origin, UndoAction action) {
  for (auto it = origins_.end(); it != origins_.begin();) {
    --it;
    if (it->get() != origin) continue;
    (*it)->SetListIndex(static_cast<int>(it - origins_.begin()));
    context_.Record(**it, action);
    origins_.erase(it);
    return true;
  }
  return false;
}

void Axes::ReinsertOrigin(std::unique_ptr<SheetOrigin> origin) {
  auto place = PlaceOf(origins_, origin->ListIndex());
  origin->SetListIndex(static_cast<int>(place - origins_.begin()));
  origins_.insert(place, std::move(origin));
}

SheetOrigin* Axes::FindOrigin(int identifier) const {
  for (const auto& o : origins_) {
    if (o->Identifier() == identifier) return o.get();
  }
  return nullptr;
}

void Axes::ResetAxes() {
  directX_ = true;
  directY_ = true;
  origin_ = {};
  origins_.clear();
}

// ---------------------------------------------------------------------------- FixedAxes

FixedAxes::FixedAxes(SessionContext& context)
    : Axes(ObjectKind::FixedAxes, context), thetaY_(kPi / 2) {}

void FixedAxes::Assign(const RecordedObject& source) {
  Axes::Assign(source);
  const auto& r = static_cast<const FixedAxes&>(source);
  placed_ = r.placed_;
  thetaX_ = r.thetaX_;
  thetaY_ = r.thetaY_;
}

bool FixedAxes::Equals(const RecordedObject& other) const {
  const auto& r = static_cast<const FixedAxes&>(other);
  return Axes::Equals(other) && placed_ == r.placed_ && IsZero(thetaX_ - r.thetaX_) &&
         IsZero(thetaY_ - r.thetaY_);
}

std::unique_ptr<RecordedObject> FixedAxes::NewBlank() const {
  return std::make_unique<FixedAxes>(context_);
}

void FixedAxes::Reset() {
  ResetAxes();
  placed_ = 0;
  thetaX_ = 0.0;
  thetaY_ = kPi / 2;
  drag_ = kIdle;
  RecomputeGeometry();
}

void FixedAxes::SetAngles(double thetaX, double thetaY) {
  thetaX_ = thetaX;
  thetaY_ = thetaY;
  RecomputeGeometry();
}

void FixedAxes::PressLeft(PointI p) {
  if (!OriginPlaced()) {
    context_.Record(*this, UndoAction::ChooseOrigin);
    placed_ = 1;
    SetOrigin(context_.view.ToFraction(p));
    context_.ResultsStale();
    RecomputeGeometry();
    Changed();
    context_.Repaint();
    return;
  }
  if (drag_ != kIdle) return;
  const int half = context_.HitHalfSide();
  if (NearPoint(p, originScreen_, half)) {
    context_.Record(*this, UndoAction::Drag);
    lastMouse_ = p;
    drag_ = kMoveOrigin;
  } else if (NearPixelLine(p, originScreen_, XArrowEnd(), half)) {
    context_.Record(*this, UndoAction::Turn);
    drag_ = kTurnX;
  } else if (NearPixelLine(p, originScreen_, YArrowEnd(), half)) {
    context_.Record(*this, UndoAction::Turn);
    drag_ = kTurnY;
  }
}

void FixedAxes::PressRight() { EraseOrigin(); }

void FixedAxes::Move(PointI p) {
  const int dx = p.x - originScreen_.x;
  const int dy = p.y - originScreen_.y;
  switch (drag_) {
    case kMoveOrigin: {
      const PointI moved{originScreen_.x + p.x - lastMouse_.x,
                         originScreen_.y + p.y - lastMouse_.y};
      lastMouse_ = p;
      SetOrigin(context_.view.ToFraction(moved));
      RecomputeGeometry();
      context_.Repaint();
      return;
    }
    case kTurnX: {
      const double t = directX_ ? std::atan2(-dy, dx) : std::atan2(dy, -dx);
      TurnTo(NormalizeAngle(t, 0.0), NormalizeAngle(t, kPi / 2));
      return;
    }
    case kTurnY: {
      const double t = directY_ ? std::atan2(-dy, dx) : std::atan2(dy, -dx);
      TurnTo(NormalizeAngle(t, -kPi / 2), NormalizeAngle(t, 0.0));
      return;
    }
    case kIdle:
      break;
  }
  const int half = context_.HitHalfSide();
  if (!OriginPlaced()) {
    context_.cursor = SessionCursor::Tool;
  } else if (NearPoint(p, originScreen_, half)) {
    context_.cursor = SessionCursor::Move;
  } else if (NearPixelLine(p, originScreen_, XArrowEnd(), half) ||
             NearPixelLine(p, originScreen_, YArrowEnd(), half)) {
    context_.cursor = SessionCursor::Turn;
  } else {
    context_.cursor = SessionCursor::Tool;
  }
}

void FixedAxes::SetXAngle(double angle) {
  context_.Record(*this, UndoAction::Turn);
  TurnTo(NormalizeAngle(angle, 0.0), NormalizeAngle(angle, kPi / 2));
}

void FixedAxes::EraseOrigin() {
  if (!OriginPlaced()) return;
  context_.Record(*this, UndoAction::Erase);
  placed_ = 0;
  thetaX_ = 0.0;
  thetaY_ = kPi / 2;
  RecomputeGeometry();
  Changed();
  context_.ResultsStale();
  context_.Repaint();
}

void FixedAxes::TurnTo(double thetaX, double thetaY) {
  if (IsZero(thetaX - thetaX_)) return;
  thetaX_ = thetaX;
  thetaY_ = thetaY;
  context_.ResultsStale();
  RecomputeGeometry();
  Changed();
  context_.Repaint();
}

void FixedAxes::RecomputeGeometry() {
  originScreen_ = context_.view.ToView(origin_);
  AxisEnds(thetaX_, xAxis_);
  AxisEnds(thetaY_, yAxis_);
}

// The axis runs across the part of the picture that the view shows.
void FixedAxes::AxisEnds(double angle, PointI ends[2]) const {
  const PointI pictureTopLeft = context_.view.ToView({0.0, 0.0});
  const PointI pictureBottomRight = context_.view.ToView({1.0, 1.0});
  const double left = std::max(0, pictureTopLeft.x);
  const double top = std::max(0, pictureTopLeft.y);
  const double right = std::min(context_.view.ViewWidth() - 1, pictureBottomRight.x);
  const double bottom = std::min(context_.view.ViewHeight() - 1, pictureBottomRight.y);
  const PointD d = AxisDirection(angle);
  const double ox = originScreen_.x;
  const double oy = originScreen_.y;
  double t0 = -std::numeric_limits<double>::infinity();
  double t1 = std::numeric_limits<double>::infinity();
  if (!ClipSlab(ox, d.x, left, right, t0, t1) || !ClipSlab(oy, d.y, top, bottom, t0, t1)) {
    ends[0] = ends[1] = originScreen_;
    return;
  }
  ends[0] = Rounded(ox + t0 * d.x, oy + t0 * d.y);
  ends[1] = Rounded(ox + t1 * d.x, oy + t1 * d.y);
}

void FixedAxes::Changed() {
  if (onAxesChange) onAxesChange();
}

// ---------------------------------------------------------------------------- TransparentSheet

TransparentSheet::TransparentSheet(SessionContext& context)
    : Axes(ObjectKind::Sheet, context),
      defaultOrigin_(std::make_unique<SheetOrigin>(-1, PointD{})) {}

void TransparentSheet::Assign(const RecordedObject& source) {
  Axes::Assign(source);
  const auto& t = static_cast<const TransparentSheet&>(source);
  w_ = t.w_;
  h_ = t.h_;
}

bool TransparentSheet::Equals(const RecordedObject& other) const {
  const auto& t = static_cast<const TransparentSheet&>(other);
  return Axes::Equals(other) && IsZero(w_ - t.w_) && IsZero(h_ - t.h_);
}

std::unique_ptr<RecordedObject> TransparentSheet::NewBlank() const {
  return std::make_unique<TransparentSheet>(context_);
}

void TransparentSheet::Reset() {
  ResetAxes();
  w_ = h_ = 0.5;
  stage_ = kWaitGrab;
  defaultOrigin_->SetPosition({1 - 1.1 * w_, 1.1 * w_});
  RecomputeSheet();
}

void TransparentSheet::Grab(PointI p) {
  grab_ = context_.view.ToFraction(p);
  grabOffset_ = grab_ - origin_;
  stage_ = kCarried;
}

void TransparentSheet::Carry(PointI p) {
  if (stage_ != kCarried) return;
  grab_ = context_.view.ToFraction(p);
  SetOrigin(grab_ - grabOffset_);
  RecomputeSheet();
  context_.Repaint();
}

void TransparentSheet::Drop(PointI p) {
  grab_ = context_.view.ToFraction(p);
  SetOrigin(grab_ - grabOffset_);
  const int frame = context_.video.CurrentSourceFrame();
  if (SheetOrigin* existing = FrameOrigin(frame)) {
    existing->SetPosition(origin_);
    existing->SetFrame(frame);
    StepStage(2);
  } else {
    AddOrigin(std::make_unique<SheetOrigin>(frame, origin_), UndoAction::OriginDropped);
    stage_ = kWaitMark;
  }
  RecomputeSheet();
  context_.Repaint();
}

bool TransparentSheet::CancelLastOrigin() {
  SheetOrigin* last = LastOrigin();
  if (last == nullptr) return false;
  context_.video.GoToSourceFrame(last->Frame());
  RemoveOrigin(last, UndoAction::OriginCancelled);
  FollowLastOrigin();
  StepStage(-2);
  context_.Repaint();
  return true;
}

void TransparentSheet::FollowLastOrigin() {
  const SheetOrigin* last = LastOrigin();
  SetOrigin(last != nullptr ? last->Position() : defaultOrigin_->Position());
  RecomputeSheet();
}

bool TransparentSheet::Resize(bool grow) {
  if (grow ? !(w_ < 1.0) : !(w_ > 0.1)) return false;
  context_.Record(*this, UndoAction::Resize);
  const double factor = grow ? 1.1 : 0.9;
  w_ *= factor;
  h_ *= factor;
  RecomputeSheet();
  context_.Repaint();
  return true;
}

void TransparentSheet::PlaceDefaultOrigin() {
  const double x = directX_ ? 1 - 1.1 * w_ : 1.1 * h_;
  const double y = directY_ ? 1.1 * w_ : 1 - 1.1 * h_;
  defaultOrigin_->SetPosition({x, y});
  if (origins_.empty()) SetOrigin(defaultOrigin_->Position());
  RecomputeSheet();
}

void TransparentSheet::DeleteFrameOrigin(int frame) {
  if (const SheetOrigin* o = FrameOrigin(frame)) RemoveOrigin(o, UndoAction::OriginDeleted);
}

void TransparentSheet::DeleteAllOrigins() {
  while (!origins_.empty()) RemoveOrigin(origins_.back().get(), UndoAction::OriginDeleted);
  PlaceDefaultOrigin();
}

SheetOrigin* TransparentSheet::FrameOrigin(int frame) const {
  for (auto it = origins_.rbegin(); it != origins_.rend(); ++it) {
    if ((*it)->Frame() == frame) return it->get();
  }
  return nullptr;
}

void TransparentSheet::RecomputeSheet() {
  const PointI a = context_.view.ToView({origin_.x - w_, origin_.y - h_});
  const PointI b = context_.view.ToView({origin_.x + w_, origin_.y + h_});
  sheetRect_ = {a.x, a.y, b.x, b.y};
}

PointI TransparentSheet::CentreScreen() const { return context_.view.ToView(origin_); }

void TransparentSheet::StepStage(int steps) {
  stage_ = static_cast<SheetStage>(((stage_ + steps) % 3 + 3) % 3);
}

void TransparentSheet::SetSize(double halfWidth, double halfHeight) {
  if (halfWidth > 0 && !IsHuge(halfWidth)) w_ = halfWidth;
  if (halfHeight > 0 && !IsHuge(halfHeight)) h_ = halfHeight;
  RecomputeSheet();
}

}  // namespace kinovia
