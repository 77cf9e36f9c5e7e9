#include "session/UnitRepere.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "results/UnitMathUtils.h"

namespace kinovia {

namespace {

constexpr double kPi = std::numbers::pi;

TRepere::TOrigins::iterator PlaceOf(TRepere::TOrigins& list, int index) {
  if (index >= 0 && index < static_cast<int>(list.size())) return list.begin() + index;
  return list.end();
}

// Snaps an angle close to a multiple of pi/2 so that the axis is drawn exactly straight.
TPointD AxisDirection(double angle) {
  for (const double straight : {-kPi, -kPi / 2, 0.0, kPi / 2, kPi}) {
    if (std::abs(angle - straight) < 0.001) {
      const int quarter = static_cast<int>(std::lround(straight / (kPi / 2)));
      static constexpr TPointD kDirections[] = {{-1, 0}, {0, 1}, {1, 0}, {0, -1}, {-1, 0}};
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

TPointI Rounded(double x, double y) {
  return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

}  // namespace

// ---------------------------------------------------------------------------- TOrigine

TOrigine::TOrigine(int frame, TPointD position)
    : THistObject(TKind::Origine), frame_(frame), position_(position) {}

void TOrigine::Assign(const THistObject& source) {
  THistObject::Assign(source);
  const auto& o = static_cast<const TOrigine&>(source);
  frame_ = o.frame_;
  position_ = o.position_;
}

bool TOrigine::Equals(const THistObject& other) const {
  const auto& o = static_cast<const TOrigine&>(other);
  return frame_ == o.frame_ && SamePosition(position_, o.position_);
}

std::unique_ptr<THistObject> TOrigine::NewBlank() const {
  return std::make_unique<TOrigine>(-1, TPointD{});
}

// ---------------------------------------------------------------------------- TRepere

TRepere::TRepere(TKind kind, TSessionContext& context) : THistObject(kind), context_(context) {
  origins_.reserve(128);
}

// The per-frame origins are recorded objects of their own, so a snapshot of the frame leaves
// them out: restoring one must not undo an origin that has its own entry.
void TRepere::Assign(const THistObject& source) {
  THistObject::Assign(source);
  const auto& r = static_cast<const TRepere&>(source);
  directX_ = r.directX_;
  directY_ = r.directY_;
  origin_ = r.origin_;
}

bool TRepere::Equals(const THistObject& other) const {
  const auto& r = static_cast<const TRepere&>(other);
  return directX_ == r.directX_ && directY_ == r.directY_ && SamePosition(origin_, r.origin_);
}

void TRepere::SetDirectX(bool direct) { SetDirection(directX_, direct); }

void TRepere::SetDirectY(bool direct) { SetDirection(directY_, direct); }

void TRepere::SetDirection(bool& flag, bool direct) {
  if (direct == flag) return;
  context_.Record(*this, TAction::InvertAxis);
  flag = direct;
  context_.ResultsStale();
  DirectionChanged();
}

void TRepere::SetOrigin(TPointD origin) {
  if (SamePosition(origin, origin_)) return;
  origin_ = origin;
  context_.ResultsStale();
}

void TRepere::AddOrigin(std::unique_ptr<TOrigine> origin, TAction action) {
  auto place = PlaceOf(origins_, origin->ListIndex());
  origin->SetListIndex(static_cast<int>(place - origins_.begin()));
  const TOrigine& added = **origins_.insert(place, std::move(origin));
  context_.Record(added, action);
}

bool TRepere::RemoveOrigin(const TOrigine* origin, TAction action) {
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

void TRepere::ReinsertOrigin(std::unique_ptr<TOrigine> origin) {
  auto place = PlaceOf(origins_, origin->ListIndex());
  origin->SetListIndex(static_cast<int>(place - origins_.begin()));
  origins_.insert(place, std::move(origin));
}

TOrigine* TRepere::FindOrigin(int identifier) const {
  for (const auto& o : origins_) {
    if (o->Identifier() == identifier) return o.get();
  }
  return nullptr;
}

void TRepere::ResetRepere() {
  directX_ = true;
  directY_ = true;
  origin_ = {};
  origins_.clear();
}

// ---------------------------------------------------------------------------- TRepereFixe

TRepereFixe::TRepereFixe(TSessionContext& context)
    : TRepere(TKind::RepereFixe, context), thetaY_(kPi / 2) {}

void TRepereFixe::Assign(const THistObject& source) {
  TRepere::Assign(source);
  const auto& r = static_cast<const TRepereFixe&>(source);
  placed_ = r.placed_;
  thetaX_ = r.thetaX_;
  thetaY_ = r.thetaY_;
}

bool TRepereFixe::Equals(const THistObject& other) const {
  const auto& r = static_cast<const TRepereFixe&>(other);
  return TRepere::Equals(other) && placed_ == r.placed_ && IsZero(thetaX_ - r.thetaX_) &&
         IsZero(thetaY_ - r.thetaY_);
}

std::unique_ptr<THistObject> TRepereFixe::NewBlank() const {
  return std::make_unique<TRepereFixe>(context_);
}

void TRepereFixe::Reset() {
  ResetRepere();
  placed_ = 0;
  thetaX_ = 0.0;
  thetaY_ = kPi / 2;
  drag_ = kIdle;
  RecomputeGeometry();
}

void TRepereFixe::SetAngles(double thetaX, double thetaY) {
  thetaX_ = thetaX;
  thetaY_ = thetaY;
  RecomputeGeometry();
}

void TRepereFixe::PressLeft(TPointI p) {
  if (!OriginPlaced()) {
    context_.Record(*this, TAction::ChooseOrigin);
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
    context_.Record(*this, TAction::Drag);
    lastMouse_ = p;
    drag_ = kMoveOrigin;
  } else if (NearPixelLine(p, originScreen_, XArrowEnd(), half)) {
    context_.Record(*this, TAction::Turn);
    drag_ = kTurnX;
  } else if (NearPixelLine(p, originScreen_, YArrowEnd(), half)) {
    context_.Record(*this, TAction::Turn);
    drag_ = kTurnY;
  }
}

void TRepereFixe::PressRight() { EraseOrigin(); }

void TRepereFixe::Move(TPointI p) {
  const int dx = p.x - originScreen_.x;
  const int dy = p.y - originScreen_.y;
  switch (drag_) {
    case kMoveOrigin: {
      const TPointI moved{originScreen_.x + p.x - lastMouse_.x,
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
    context_.cursor = TSessionCursor::Tool;
  } else if (NearPoint(p, originScreen_, half)) {
    context_.cursor = TSessionCursor::Move;
  } else if (NearPixelLine(p, originScreen_, XArrowEnd(), half) ||
             NearPixelLine(p, originScreen_, YArrowEnd(), half)) {
    context_.cursor = TSessionCursor::Turn;
  } else {
    context_.cursor = TSessionCursor::Tool;
  }
}

void TRepereFixe::SetXAngle(double angle) {
  context_.Record(*this, TAction::Turn);
  TurnTo(NormalizeAngle(angle, 0.0), NormalizeAngle(angle, kPi / 2));
}

void TRepereFixe::EraseOrigin() {
  if (!OriginPlaced()) return;
  context_.Record(*this, TAction::Erase);
  placed_ = 0;
  thetaX_ = 0.0;
  thetaY_ = kPi / 2;
  RecomputeGeometry();
  Changed();
  context_.ResultsStale();
  context_.Repaint();
}

void TRepereFixe::TurnTo(double thetaX, double thetaY) {
  if (IsZero(thetaX - thetaX_)) return;
  thetaX_ = thetaX;
  thetaY_ = thetaY;
  context_.ResultsStale();
  RecomputeGeometry();
  Changed();
  context_.Repaint();
}

void TRepereFixe::RecomputeGeometry() {
  originScreen_ = context_.view.ToView(origin_);
  AxisEnds(thetaX_, xAxis_);
  AxisEnds(thetaY_, yAxis_);
}

// The axis runs across the part of the picture that the view shows.
void TRepereFixe::AxisEnds(double angle, TPointI ends[2]) const {
  const TPointI pictureTopLeft = context_.view.ToView({0.0, 0.0});
  const TPointI pictureBottomRight = context_.view.ToView({1.0, 1.0});
  const double left = std::max(0, pictureTopLeft.x);
  const double top = std::max(0, pictureTopLeft.y);
  const double right = std::min(context_.view.ViewWidth() - 1, pictureBottomRight.x);
  const double bottom = std::min(context_.view.ViewHeight() - 1, pictureBottomRight.y);
  const TPointD d = AxisDirection(angle);
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

void TRepereFixe::Changed() {
  if (onRepereChange) onRepereChange();
}

// ---------------------------------------------------------------------------- TTransparent

TTransparent::TTransparent(TSessionContext& context)
    : TRepere(TKind::Transparent, context),
      defaultOrigin_(std::make_unique<TOrigine>(-1, TPointD{})) {}

void TTransparent::Assign(const THistObject& source) {
  TRepere::Assign(source);
  const auto& t = static_cast<const TTransparent&>(source);
  w_ = t.w_;
  h_ = t.h_;
}

bool TTransparent::Equals(const THistObject& other) const {
  const auto& t = static_cast<const TTransparent&>(other);
  return TRepere::Equals(other) && IsZero(w_ - t.w_) && IsZero(h_ - t.h_);
}

std::unique_ptr<THistObject> TTransparent::NewBlank() const {
  return std::make_unique<TTransparent>(context_);
}

void TTransparent::Reset() {
  ResetRepere();
  w_ = h_ = 0.5;
  stage_ = kWaitGrab;
  defaultOrigin_->SetPosition({1 - 1.1 * w_, 1.1 * w_});
  RecomputeSheet();
}

void TTransparent::Grab(TPointI p) {
  grab_ = context_.view.ToFraction(p);
  grabOffset_ = grab_ - origin_;
  stage_ = kCarried;
}

void TTransparent::Carry(TPointI p) {
  if (stage_ != kCarried) return;
  grab_ = context_.view.ToFraction(p);
  SetOrigin(grab_ - grabOffset_);
  RecomputeSheet();
  context_.Repaint();
}

void TTransparent::Drop(TPointI p) {
  grab_ = context_.view.ToFraction(p);
  SetOrigin(grab_ - grabOffset_);
  const int frame = context_.video.CurrentSourceFrame();
  if (TOrigine* existing = FrameOrigin(frame)) {
    existing->SetPosition(origin_);
    existing->SetFrame(frame);
    StepStage(2);
  } else {
    AddOrigin(std::make_unique<TOrigine>(frame, origin_), TAction::OriginDropped);
    stage_ = kWaitMark;
  }
  RecomputeSheet();
  context_.Repaint();
}

bool TTransparent::CancelLastOrigin() {
  TOrigine* last = LastOrigin();
  if (last == nullptr) return false;
  context_.video.GoToSourceFrame(last->Frame());
  RemoveOrigin(last, TAction::OriginCancelled);
  FollowLastOrigin();
  StepStage(-2);
  context_.Repaint();
  return true;
}

void TTransparent::FollowLastOrigin() {
  const TOrigine* last = LastOrigin();
  SetOrigin(last != nullptr ? last->Position() : defaultOrigin_->Position());
  RecomputeSheet();
}

bool TTransparent::Resize(bool grow) {
  if (grow ? !(w_ < 1.0) : !(w_ > 0.1)) return false;
  context_.Record(*this, TAction::Resize);
  const double factor = grow ? 1.1 : 0.9;
  w_ *= factor;
  h_ *= factor;
  RecomputeSheet();
  context_.Repaint();
  return true;
}

void TTransparent::PlaceDefaultOrigin() {
  const double x = directX_ ? 1 - 1.1 * w_ : 1.1 * h_;
  const double y = directY_ ? 1.1 * w_ : 1 - 1.1 * h_;
  defaultOrigin_->SetPosition({x, y});
  if (origins_.empty()) SetOrigin(defaultOrigin_->Position());
  RecomputeSheet();
}

void TTransparent::DeleteFrameOrigin(int frame) {
  if (const TOrigine* o = FrameOrigin(frame)) RemoveOrigin(o, TAction::OriginDeleted);
}

void TTransparent::DeleteAllOrigins() {
  while (!origins_.empty()) RemoveOrigin(origins_.back().get(), TAction::OriginDeleted);
  PlaceDefaultOrigin();
}

TOrigine* TTransparent::FrameOrigin(int frame) const {
  for (auto it = origins_.rbegin(); it != origins_.rend(); ++it) {
    if ((*it)->Frame() == frame) return it->get();
  }
  return nullptr;
}

void TTransparent::RecomputeSheet() {
  const TPointI a = context_.view.ToView({origin_.x - w_, origin_.y - h_});
  const TPointI b = context_.view.ToView({origin_.x + w_, origin_.y + h_});
  sheetRect_ = {a.x, a.y, b.x, b.y};
}

TPointI TTransparent::CentreScreen() const { return context_.view.ToView(origin_); }

void TTransparent::StepStage(int steps) {
  stage_ = static_cast<TStage>(((stage_ + steps) % 3 + 3) % 3);
}

void TTransparent::SetSize(double halfWidth, double halfHeight) {
  if (halfWidth > 0 && !IsHuge(halfWidth)) w_ = halfWidth;
  if (halfHeight > 0 && !IsHuge(halfHeight)) h_ = halfHeight;
  RecomputeSheet();
}

}  // namespace kinovia
