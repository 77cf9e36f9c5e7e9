#pragma once
// Marks and their stores: one pointed position (Mark), the marks of one frame (FrameMarks)
// and a whole store of marks with its pointing settings and object names (MarkStore).
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "logic/session/Axes.h"

namespace kinovia {

class FrameMarks;
class MarkStore;

class Mark : public RecordedObject {
 public:
  void Assign(const RecordedObject& source) override;
  bool Equals(const RecordedObject& other) const override;

  // Position relative to the origin of the mark's frame of reference.
  virtual PointD SheetPosition() const = 0;
  // Position on the picture.
  virtual PointD FixedPosition() const = 0;
  virtual void SetSheetPosition(PointD position) = 0;
  virtual void SetFixedPosition(PointD position) = 0;

  int Order() const { return order_; }
  void SetOrder(int order) { order_ = order; }
  PointI Screen() const { return screen_; }
  void RecomputeScreen();
  Axes& ReferenceAxes() const { return axes_; }
  MarkStore& Store() const { return store_; }
  FrameMarks* Container() const { return container_; }
  // The frame of the container that holds (or, for an undo copy, held) the mark.
  int Frame() const;

 protected:
  Mark(ObjectKind kind, Axes& axes, MarkStore& store);
  void SetPrimary(PointD position);

  PointD primary_;

 private:
  friend class FrameMarks;

  int order_ = 0;
  PointI screen_;
  Axes& axes_;
  MarkStore& store_;
  FrameMarks* container_ = nullptr;
  int frame_ = -1;
};

// A mark of the fixed store: its position on the picture is primary.
class FixedMark : public Mark {
 public:
  FixedMark(Axes& axes, MarkStore& store);
  std::unique_ptr<RecordedObject> NewBlank() const override;
  PointD SheetPosition() const override;
  PointD FixedPosition() const override { return primary_; }
  void SetSheetPosition(PointD position) override;
  void SetFixedPosition(PointD position) override { SetPrimary(position); }
};

// A mark of the transparent store: its position on the sheet is primary.
class SheetMark : public Mark {
 public:
  SheetMark(Axes& axes, MarkStore& store);
  std::unique_ptr<RecordedObject> NewBlank() const override;
  PointD SheetPosition() const override { return primary_; }
  PointD FixedPosition() const override;
  void SetSheetPosition(PointD position) override { SetPrimary(position); }
  void SetFixedPosition(PointD position) override;
};

// The marks of one frame in one store, at most one per object.
class FrameMarks : public RecordedObject {
 public:
  FrameMarks(MarkStore& store, int frame);

  std::unique_ptr<RecordedObject> NewBlank() const override;

  int Frame() const { return frame_; }
  // Position of the frame among the store's frames in ascending order, empty frames last.
  int Rank() const;
  const std::vector<std::unique_ptr<Mark>>& Marks() const { return marks_; }
  Mark* OfOrder(int order) const;
  Mark& Add(std::unique_ptr<Mark> mark);
  // Detaches the mark; null when it is not held here.
  std::unique_ptr<Mark> Take(const Mark* mark);

 private:
  friend class MarkStore;

  MarkStore& store_;
  int frame_;
  mutable int rank_ = 0;
  std::vector<std::unique_ptr<Mark>> marks_;
};

// A store of marks: the fixed one (marks measured in the camera's frame) or the transparent one.
class MarkStore : public RecordedObject {
 public:
  enum DragMode : std::uint8_t { kIdle = 0, kMoving = 1, kErasing = 2 };
  static constexpr int kMaxMarksPerFrame = 32;
  using FrameMarksList = std::vector<std::unique_ptr<FrameMarks>>;

  MarkStore(ObjectKind kind, Axes& axes);
  ~MarkStore() override;

  void Assign(const RecordedObject& source) override;  // deep: containers and marks included
  bool Equals(const RecordedObject& other) const override;
  std::unique_ptr<RecordedObject> NewBlank() const override;

  bool IsTransparent() const { return Kind() == ObjectKind::SheetStore; }
  Axes& ReferenceAxes() const { return axes_; }
  SessionContext& Context() const { return axes_.Context(); }

  // Settings.
  bool AllDrawn() const { return allDrawn_; }
  void SetAllDrawn(bool all) { allDrawn_ = all; }
  int MarksPerFrame() const { return perFrame_; }
  // Kept within what the dialog accepts, whatever a work file says.
  void SetMarksPerFrameValue(int n) {
    perFrame_ = IsTransparent() ? 1 : std::clamp(n, 1, kMaxMarksPerFrame);
  }
  int MarksToDraw() const { return toDraw_; }
  void SetMarksToDraw(int n) { toDraw_ = std::max(1, n); }
  int CurrentOrder() const { return order_; }
  // -1 selects the last object, a number past the last one the first.
  void SetCurrentOrder(int n);
  std::uint8_t NumberPosition() const { return numberPosition_; }
  void SetNumberPosition(std::uint8_t position) { numberPosition_ = position <= 2 ? position : 0; }
  const std::vector<std::string>& Names() const { return names_; }
  std::vector<std::string>& MutableNames() { return names_; }
  static std::string DefaultName(int object);
  void SetDefaultNames();

  // Content.
  const std::vector<Mark*>& Marks() const { return marks_; }
  const FrameMarksList& Containers() const { return containers_; }
  FrameMarks* FindContainer(int frame) const;
  FrameMarks& ContainerFor(int frame);
  std::unique_ptr<Mark> NewMark();
  // Lists the mark (at its list index when valid) and puts it in its container.
  Mark& InsertMark(std::unique_ptr<Mark> mark, FrameMarks& container);
  // Records the mark with the action, then destroys it; false when it is not in its container.
  bool RemoveMark(const Mark* mark, UndoAction action);
  // Detaches the mark without recording it (undo of a creation hands it back this way).
  std::unique_ptr<Mark> DetachMark(const Mark* mark);
  Mark* FindMark(int identifier) const;
  void Renumber() { ranksValid_ = false; }
  void Clear();
  void ResetDefaults(std::uint8_t numberPosition);
  void RecomputeScreen();

  // Queries.
  int LastContainerFrame() const;
  int MarksOnFrame(int frame) const;
  int SmallestObjectCount() const;
  // Index in the list of the first mark drawn: all of them, or only the last few.
  int FirstDrawnIndex() const;
  // First mark of the list within the hit square of the pointer.
  Mark* MarkAt(PointI p) const;

  // Dragging with the move and erase tools.
  DragMode DragState() const { return drag_; }
  int DragIndex() const { return dragIndex_; }
  RectI EraseRect() const { return eraseRect_; }
  void CancelDrag() { drag_ = kIdle; }
  void MovePress(PointI p);
  void MoveMove(PointI p);
  void StartErase(PointI p);
  void ExtendErase(PointI p);
  void EndDrag();
  void HoverCursor(PointI p);

 private:
  friend class FrameMarks;
  void EnsureRanks() const;
  int ListPosition(const Mark* mark) const;

  Axes& axes_;
  bool allDrawn_ = true;
  int perFrame_ = 1;
  int toDraw_ = 1;
  int order_ = 0;
  int dragIndex_ = -1;
  DragMode drag_ = kIdle;
  RectI eraseRect_;
  std::uint8_t numberPosition_ = 0;
  std::vector<std::string> names_;
  std::vector<Mark*> marks_;
  FrameMarksList containers_;
  std::unordered_map<int, FrameMarks*> byFrame_;
  // Ranks are computed when read, so that a long pointing session does not sort on every click.
  mutable bool ranksValid_ = true;
};

}  // namespace kinovia
