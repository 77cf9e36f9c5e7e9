#pragma once
// Frames of reference: the recorded origin of one frame, the camera's fixed frame with its axes,
// and the transparent sheet that the user carries from frame to frame.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "logic/session/RecordedObject.h"

namespace kinovia {

class SheetOrigin : public RecordedObject {
 public:
  SheetOrigin(int frame, PointD position);

  void Assign(const RecordedObject& source) override;
  bool Equals(const RecordedObject& other) const override;
  std::unique_ptr<RecordedObject> NewBlank() const override;

  int Frame() const { return frame_; }
  void SetFrame(int frame) { frame_ = frame; }
  PointD Position() const { return position_; }
  void SetPosition(PointD position) { position_ = position; }

 private:
  int frame_;
  PointD position_;
};

// What the fixed frame and the transparent share: axis directions, the current origin and the
// per-frame origins (used by the transparent only).
class Axes : public RecordedObject {
 public:
  using SheetOrigins = std::vector<std::unique_ptr<SheetOrigin>>;

  void Assign(const RecordedObject& source) override;
  bool Equals(const RecordedObject& other) const override;

  SessionContext& Context() const { return context_; }
  bool DirectX() const { return directX_; }
  bool DirectY() const { return directY_; }
  PointD Origin() const { return origin_; }
  const SheetOrigins& Origins() const { return origins_; }

  // A new direction is recorded for undo and makes the results stale.
  void SetDirectX(bool direct);
  void SetDirectY(bool direct);
  void SetOrigin(PointD origin);
  // Inserts at the origin's list index when valid, else at the end, then records it.
  void AddOrigin(std::unique_ptr<SheetOrigin> origin, UndoAction action);
  // Records the origin and destroys it; false when it is not in the list.
  bool RemoveOrigin(const SheetOrigin* origin, UndoAction action);
  // Takes the origin back as it was copied for undo, at its former place.
  void ReinsertOrigin(std::unique_ptr<SheetOrigin> origin);
  SheetOrigin* FindOrigin(int identifier) const;
  // Forgets every per-frame origin without recording anything (a new clip, a cleared session).
  void ClearOrigins() { origins_.clear(); }

 protected:
  Axes(ObjectKind kind, SessionContext& context);
  void ResetAxes();
  void AssignOrigins(const Axes& source);
  virtual void DirectionChanged() {}
  void SetDirection(bool& flag, bool direct);

  SessionContext& context_;
  bool directX_ = true;
  bool directY_ = true;
  PointD origin_;
  SheetOrigins origins_;
};

// The camera's frame of reference: an origin and two perpendicular axes turned by the user.
class FixedAxes : public Axes {
 public:
  enum DragMode : std::uint8_t { kIdle = 0, kMoveOrigin = 1, kTurnX = 2, kTurnY = 3 };

  explicit FixedAxes(SessionContext& context);

  void Assign(const RecordedObject& source) override;
  bool Equals(const RecordedObject& other) const override;
  std::unique_ptr<RecordedObject> NewBlank() const override;

  void Reset();
  void PressLeft(PointI p);
  void PressRight();
  void Move(PointI p);
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
  DragMode Drag() const { return drag_; }
  PointI OriginScreen() const { return originScreen_; }
  // Ends of each axis across the visible picture: [0] negative side, [1] positive side.
  const PointI* XAxis() const { return xAxis_; }
  const PointI* YAxis() const { return yAxis_; }
  // Where each arrow head is drawn: the positive end of a direct axis, else the negative end.
  PointI XArrowEnd() const { return xAxis_[directX_ ? 1 : 0]; }
  PointI YArrowEnd() const { return yAxis_[directY_ ? 1 : 0]; }

  std::function<void()> onAxesChange;

 protected:
  void DirectionChanged() override { RecomputeGeometry(); }

 private:
  void TurnTo(double thetaX, double thetaY);
  void AxisEnds(double angle, PointI ends[2]) const;
  void Changed();

  int placed_ = 0;
  double thetaX_ = 0.0;
  double thetaY_;
  DragMode drag_ = kIdle;
  PointI xAxis_[2];
  PointI yAxis_[2];
  PointI originScreen_;
  PointI lastMouse_;
};

// The sheet with its own axes, parallel to the picture edges, carried from frame to frame.
class TransparentSheet : public Axes {
 public:
  enum SheetStage : std::uint8_t { kWaitGrab = 0, kCarried = 1, kWaitMark = 2 };

  explicit TransparentSheet(SessionContext& context);

  void Assign(const RecordedObject& source) override;
  bool Equals(const RecordedObject& other) const override;
  std::unique_ptr<RecordedObject> NewBlank() const override;

  void Reset();
  void Grab(PointI p);
  void Carry(PointI p);
  void Drop(PointI p);
  // Withdraws the newest per-frame origin; false when there is none.
  bool CancelLastOrigin();
  // Grows or shrinks by 10 %, within the sheet's limits; false when refused.
  bool Resize(bool grow);
  void PlaceDefaultOrigin();
  void DeleteFrameOrigin(int frame);
  void DeleteAllOrigins();
  // After the newest origin went away: the sheet sits on the one before, or on the default.
  void FollowLastOrigin();
  SheetOrigin* FrameOrigin(int frame) const;
  SheetOrigin* LastOrigin() const { return origins_.empty() ? nullptr : origins_.back().get(); }
  void RecomputeSheet();
  void StepStage(int steps);
  void SetStage(SheetStage stage) { stage_ = stage; }
  void SetSize(double halfWidth, double halfHeight);

  double HalfWidth() const { return w_; }
  double HalfHeight() const { return h_; }
  SheetStage Stage() const { return stage_; }
  RectI SheetRect() const { return sheetRect_; }
  PointD DefaultOrigin() const { return defaultOrigin_->Position(); }
  PointI CentreScreen() const;

 protected:
  void DirectionChanged() override { PlaceDefaultOrigin(); }

 private:
  double w_ = 0.5;
  double h_ = 0.5;
  SheetStage stage_ = kWaitGrab;
  RectI sheetRect_;
  PointD grab_;
  PointD grabOffset_;
  std::unique_ptr<SheetOrigin> defaultOrigin_;
};

}  // namespace kinovia
