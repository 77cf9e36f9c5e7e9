#pragma once
// The scale: three segments of known length (single, horizontal, vertical), one of them selected
// for editing, and the factors that turn frame fractions into metres.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "logic/session/RecordedObject.h"

namespace kinovia {

// Metres per picture width and per picture height; -1 where the scale gives none.
struct ScaleFactors {
  double sx = -1.0;
  double sy = -1.0;
  bool Usable() const { return sx > 0 && sy > 0; }
};

class Scale : public RecordedObject {
 public:
  enum SegmentKind : std::uint8_t { kSingle = 0, kHoriz = 1, kVert = 2 };
  // Drag states: the segment's end being moved (0 or 1), the whole segment, or none.
  static constexpr int kIdle = -2;
  static constexpr int kWhole = -1;

  explicit Scale(SessionContext& context);

  void Assign(const RecordedObject& source) override;
  bool Equals(const RecordedObject& other) const override;
  std::unique_ptr<RecordedObject> NewBlank() const override;

  void Reset(bool twoScales);
  void PressLeft(PointI p);
  void Move(PointI p);
  void Release() { drag_ = kIdle; }
  void CancelDrag() { drag_ = kIdle; }
  // Erases the selected segment's last point; only a complete segment is recorded first.
  void EraseLastPoint();
  void SetLength(SegmentKind segment, double metres);
  // True when the selection changed.
  bool SetSelection(SegmentKind segment);
  void RecomputeScreen();
  // Raw setters for a reader that restores a saved session.
  void SetPointCount(SegmentKind segment, int count);
  void SetPoint(SegmentKind segment, int end, PointD position);

  SegmentKind Selection() const { return selection_; }
  int PointCount(SegmentKind segment) const { return count_[segment]; }
  double Length(SegmentKind segment) const { return length_[segment]; }
  PointD Point(SegmentKind segment, int end) const { return points_[2 * segment + end]; }
  PointI Screen(SegmentKind segment, int end) const { return screen_[2 * segment + end]; }
  int Drag() const { return drag_; }
  bool SegmentValid(SegmentKind segment) const;
  // Valid for the results: the single segment, or both the horizontal and vertical ones.
  bool Valid() const;
  ScaleFactors Factors(int pictureWidth, int pictureHeight, bool twoScales) const;
  // The line from the selected segment's only point to the pointer, while it waits for its end.
  std::optional<std::pair<PointI, PointI>> RubberLine() const;

  std::function<void()> onScaleChange;

 private:
  void AddPoint(PointI p);
  void EditPress(PointI p);
  void MoveEnd(int end, PointI p);
  void MoveWhole(PointI p);
  void HoverCursor(PointI p);
  // The part of the selected segment under the pointer: 0, 1 for an end, kWhole, or kIdle.
  int HitTest(PointI p) const;
  PointD& P(int end) { return points_[2 * selection_ + end]; }

  SessionContext& context_;
  int count_[3] = {0, 0, 0};
  int drag_ = kIdle;
  double length_[3] = {0, 0, 0};
  PointI screen_[6];
  PointI lastMouse_;
  PointD points_[6];
  SegmentKind selection_ = kSingle;
  std::optional<PointI> rubberEnd_;
};

}  // namespace kinovia
