#pragma once
// Frames of reference: the recorded origin of one frame, the camera's fixed frame with its axes,
// and the transparent sheet that the user carries from frame to frame.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "session/UnitHistObject.h"

namespace kinovia {

class TOrigine : public THistObject {
 public:
  TOrigine(int frame, TPointD position);

  void Assign(const THistObject& source) override;
  bool Equals(const THistObject& other) const override;
  std::unique_ptr<THistObject> NewBlank() const override;

  int Frame() const { return frame_; }
  void SetFrame(int frame) { frame_ = frame; }
  TPointD Position() const { return position_; }
  void SetPosition(TPointD position) { position_ = position; }

 private:
  int frame_;
  TPointD position_;
};

// What the fixed frame and the transparent share: axis directions, the current origin and the
// per-frame origins (used by the transparent only).
class TRepere : public THistObject {
 public:
  using TOrigins = std::vector<std::unique_ptr<TOrigine>>;

  void Assign(const THistObject& source) override;
  bool Equals(const THistObject& other) const override;

  TSessionContext& Context() const { return context_; }
  bool DirectX() const { return directX_; }
  bool DirectY() const { return directY_; }
  TPointD Origin() const { return origin_; }
  const TOrigins& Origins() const { return origins_; }

  // A new direction is recorded for undo and makes the results stale.
  void SetDirectX(bool direct);
  void SetDirectY(bool direct);
  void SetOrigin(TPointD origin);
  // Inserts at the origin's list index when valid, else at the end, then records it.
  void AddOrigin(std::unique_ptr<TOrigine> origin, TAction action);
  // Records the origin and destroys it; false when it is not in the list.
  bool RemoveOrigin(const TOrigine* origin, TAction action);
  // Takes the origin back as it was copied for undo, at its former place.
  void ReinsertOrigin(std::unique_ptr<TOrigine> origin);
  TOrigine* FindOrigin(int identifier) const;
  // Forgets every per-frame origin without recording anything (a new clip, a cleared session).
  void ClearOrigins() { origins_.clear(); }

 protected:
  TRepere(TKind kind, TSessionContext& context);
  void ResetRepere();
  void AssignOrigins(const TRepere& source);
  virtual void DirectionChanged() {}
  void SetDirection(bool& flag, bool direct);

  TSessionContext& context_;
  bool directX_ = true;
  bool directY_ = true;
  TPointD origin_;
  TOrigins origins_;
};

// The camera's frame of reference: an origin and two perpendicular axes turned by the user.
class TRepereFixe : public TRepere {
 public:
  enum TDrag : std::uint8_t { kIdle = 0, kMoveOrigin = 1, kTurnX = 2, kTurnY = 3 };

  explicit TRepereFixe(TSessionContext& context);

  void Assign(const THistObject& source) override;
  bool Equals(const THistObject& other) const override;
  std::unique_ptr<THistObject> NewBlank() const override;

  void Reset();
  void PressLeft(TPointI p);
  void PressRight();
  void Move(TPointI p);
  void Release() { drag_ = kIdle; }
  void CancelDrag() { drag_ = kIdle; }
  // The typed angle of the axes dialog, in radians.
  void SetXAngle(double angle);
  void EraseOrigin();
  void RecomputeGeometry();
  // Raw setters for a reader that restores a saved session.
  void SetOriginPlaced(bool placed) { placed_ = placed ? 1 : 0; }
  void SetAngles(double thetaX, double thetaY);

  bool OriginPlaced() const { return placed_ != 0; }
  double XAngle() const { return thetaX_; }
  double YAngle() const { return thetaY_; }
  TDrag Drag() const { return drag_; }
  TPointI OriginScreen() const { return originScreen_; }
  // Ends of each axis across the visible picture: [0] negative side, [1] positive side.
  const TPointI* XAxis() const { return xAxis_; }
  const TPointI* YAxis() const { return yAxis_; }
  // Where each arrow head is drawn: the positive end of a direct axis, else the negative end.
  TPointI XArrowEnd() const { return xAxis_[directX_ ? 1 : 0]; }
  TPointI YArrowEnd() const { return yAxis_[directY_ ? 1 : 0]; }

  std::function<void()> onRepereChange;

 protected:
  void DirectionChanged() override { RecomputeGeometry(); }

 private:
  void TurnTo(double thetaX, double thetaY);
  void AxisEnds(double angle, TPointI ends[2]) const;
  void Changed();

  int placed_ = 0;
  double thetaX_ = 0.0;
  double thetaY_;
  TDrag drag_ = kIdle;
  TPointI xAxis_[2];
  TPointI yAxis_[2];
  TPointI originScreen_;
  TPointI lastMouse_;
};

// The sheet with its own axes, parallel to the picture edges, carried from frame to frame.
class TTransparent : public TRepere {
 public:
  enum TStage : std::uint8_t { kWaitGrab = 0, kCarried = 1, kWaitMark = 2 };

  explicit TTransparent(TSessionContext& context);

  void Assign(const THistObject& source) override;
  bool Equals(const THistObject& other) const override;
  std::unique_ptr<THistObject> NewBlank() const override;

  void Reset();
  void Grab(TPointI p);
  void Carry(TPointI p);
  void Drop(TPointI p);
  // Withdraws the newest per-frame origin; false when there is none.
  bool CancelLastOrigin();
  // Grows or shrinks by 10 %, within the sheet's limits; false when refused.
  bool Resize(bool grow);
  void PlaceDefaultOrigin();
  void DeleteFrameOrigin(int frame);
  void DeleteAllOrigins();
  // After the newest origin went away: the sheet sits on the one before, or on the default.
  void FollowLastOrigin();
  TOrigine* FrameOrigin(int frame) const;
  TOrigine* LastOrigin() const { return origins_.empty() ? nullptr : origins_.back().get(); }
  void RecomputeSheet();
  void StepStage(int steps);
  void SetStage(TStage stage) { stage_ = stage; }
  void SetSize(double halfWidth, double halfHeight);

  double HalfWidth() const { return w_; }
  double HalfHeight() const { return h_; }
  TStage Stage() const { return stage_; }
  TRectI SheetRect() const { return sheetRect_; }
  TPointD DefaultOrigin() const { return defaultOrigin_->Position(); }
  TPointI CentreScreen() const;

 protected:
  void DirectionChanged() override { PlaceDefaultOrigin(); }

 private:
  double w_ = 0.5;
  double h_ = 0.5;
  TStage stage_ = kWaitGrab;
  TRectI sheetRect_;
  TPointD grab_;
  TPointD grabOffset_;
  std::unique_ptr<TOrigine> defaultOrigin_;
};

}  // namespace kinovia
