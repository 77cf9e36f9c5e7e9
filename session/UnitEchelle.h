#pragma once
// The scale: three segments of known length (single, horizontal, vertical), one of them selected
// for editing, and the factors that turn frame fractions into metres.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "session/UnitHistObject.h"

namespace kinovia {

// Metres per picture width and per picture height; -1 where the scale gives none.
struct TScaleFactors {
  double sx = -1.0;
  double sy = -1.0;
  bool Usable() const { return sx > 0 && sy > 0; }
};

class TEchelle : public THistObject {
 public:
  enum TSegment : std::uint8_t { kSingle = 0, kHoriz = 1, kVert = 2 };
  // Drag states: the segment's end being moved (0 or 1), the whole segment, or none.
  static constexpr int kIdle = -2;
  static constexpr int kWhole = -1;

  explicit TEchelle(TSessionContext& context);

  void Assign(const THistObject& source) override;
  bool Equals(const THistObject& other) const override;
  std::unique_ptr<THistObject> NewBlank() const override;

  void Reset(bool twoScales);
  void PressLeft(TPointI p);
  void Move(TPointI p);
  void Release() { drag_ = kIdle; }
  void CancelDrag() { drag_ = kIdle; }
  // Erases the selected segment's last point; only a complete segment is recorded first.
  void EraseLastPoint();
  void SetLength(TSegment segment, double metres);
  // True when the selection changed.
  bool SetSelection(TSegment segment);
  void RecomputeScreen();
  // Raw setters for a reader that restores a saved session.
  void SetPointCount(TSegment segment, int count);
  void SetPoint(TSegment segment, int end, TPointD position);

  TSegment Selection() const { return selection_; }
  int PointCount(TSegment segment) const { return count_[segment]; }
  double Length(TSegment segment) const { return length_[segment]; }
  TPointD Point(TSegment segment, int end) const { return points_[2 * segment + end]; }
  TPointI Screen(TSegment segment, int end) const { return screen_[2 * segment + end]; }
  int Drag() const { return drag_; }
  bool SegmentValid(TSegment segment) const;
  // Valid for the results: the single segment, or both the horizontal and vertical ones.
  bool Valid() const;
  TScaleFactors Factors(int pictureWidth, int pictureHeight, bool twoScales) const;
  // The line from the selected segment's only point to the pointer, while it waits for its end.
  std::optional<std::pair<TPointI, TPointI>> RubberLine() const;

  std::function<void()> onScaleChange;

 private:
  void AddPoint(TPointI p);
  void EditPress(TPointI p);
  void MoveEnd(int end, TPointI p);
  void MoveWhole(TPointI p);
  void HoverCursor(TPointI p);
  // The part of the selected segment under the pointer: 0, 1 for an end, kWhole, or kIdle.
  int HitTest(TPointI p) const;
  TPointD& P(int end) { return points_[2 * selection_ + end]; }

  TSessionContext& context_;
  int count_[3] = {0, 0, 0};
  int drag_ = kIdle;
  double length_[3] = {0, 0, 0};
  TPointI screen_[6];
  TPointI lastMouse_;
  TPointD points_[6];
  TSegment selection_ = kSingle;
  std::optional<TPointI> rubberEnd_;
};

}  // namespace kinovia
