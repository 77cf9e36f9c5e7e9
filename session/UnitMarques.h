#pragma once
// Marks and their stores: one pointed position (TMarque), the marks of one frame (TContainer)
// and a whole store of marks with its pointing settings and object names (TPolyContainer).
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "session/UnitRepere.h"

namespace kinovia {

class TContainer;
class TPolyContainer;

class TMarque : public THistObject {
 public:
  void Assign(const THistObject& source) override;
  bool Equals(const THistObject& other) const override;

  // Position relative to the origin of the mark's frame of reference.
  virtual TPointD TranspPosition() const = 0;
  // Position on the picture.
  virtual TPointD FixedPosition() const = 0;
  virtual void SetTranspPosition(TPointD position) = 0;
  virtual void SetFixedPosition(TPointD position) = 0;

  int Order() const { return order_; }
  void SetOrder(int order) { order_ = order; }
  TPointI Screen() const { return screen_; }
  void RecomputeScreen();
  TRepere& Repere() const { return repere_; }
  TPolyContainer& Store() const { return store_; }
  TContainer* Container() const { return container_; }
  // The frame of the container that holds (or, for an undo copy, held) the mark.
  int Frame() const;

 protected:
  TMarque(TKind kind, TRepere& repere, TPolyContainer& store);
  void SetPrimary(TPointD position);

  TPointD primary_;

 private:
  friend class TContainer;

  int order_ = 0;
  TPointI screen_;
  TRepere& repere_;
  TPolyContainer& store_;
  TContainer* container_ = nullptr;
  int frame_ = -1;
};

// A mark of the fixed store: its position on the picture is primary.
class TMarqueRep : public TMarque {
 public:
  TMarqueRep(TRepere& repere, TPolyContainer& store);
  std::unique_ptr<THistObject> NewBlank() const override;
  TPointD TranspPosition() const override;
  TPointD FixedPosition() const override { return primary_; }
  void SetTranspPosition(TPointD position) override;
  void SetFixedPosition(TPointD position) override { SetPrimary(position); }
};

// A mark of the transparent store: its position on the sheet is primary.
class TMarqueTsp : public TMarque {
 public:
  TMarqueTsp(TRepere& repere, TPolyContainer& store);
  std::unique_ptr<THistObject> NewBlank() const override;
  TPointD TranspPosition() const override { return primary_; }
  TPointD FixedPosition() const override;
  void SetTranspPosition(TPointD position) override { SetPrimary(position); }
  void SetFixedPosition(TPointD position) override;
};

// The marks of one frame in one store, at most one per object.
class TContainer : public THistObject {
 public:
  TContainer(TPolyContainer& store, int frame);

  std::unique_ptr<THistObject> NewBlank() const override;

  int Frame() const { return frame_; }
  // Position of the frame among the store's frames in ascending order, empty frames last.
  int Rank() const;
  const std::vector<std::unique_ptr<TMarque>>& Marks() const { return marks_; }
  TMarque* OfOrder(int order) const;
  TMarque& Add(std::unique_ptr<TMarque> mark);
  // Detaches the mark; null when it is not held here.
  std::unique_ptr<TMarque> Take(const TMarque* mark);

 private:
  friend class TPolyContainer;

  TPolyContainer& store_;
  int frame_;
  mutable int rank_ = 0;
  std::vector<std::unique_ptr<TMarque>> marks_;
};

// A store of marks: the fixed one (marks measured in the camera's frame) or the transparent one.
class TPolyContainer : public THistObject {
 public:
  enum TDrag : std::uint8_t { kIdle = 0, kMoving = 1, kErasing = 2 };
  static constexpr int kMaxMarksPerFrame = 32;
  using TContainers = std::vector<std::unique_ptr<TContainer>>;

  TPolyContainer(TKind kind, TRepere& repere);
  ~TPolyContainer() override;

  void Assign(const THistObject& source) override;  // deep: containers and marks included
  bool Equals(const THistObject& other) const override;
  std::unique_ptr<THistObject> NewBlank() const override;

  bool IsTransparent() const { return Kind() == TKind::PolyMarqueImgTsp; }
  TRepere& Repere() const { return repere_; }
  TSessionContext& Context() const { return repere_.Context(); }

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
  const std::vector<TMarque*>& Marks() const { return marks_; }
  const TContainers& Containers() const { return containers_; }
  TContainer* FindContainer(int frame) const;
  TContainer& ContainerFor(int frame);
  std::unique_ptr<TMarque> NewMark();
  // Lists the mark (at its list index when valid) and puts it in its container.
  TMarque& InsertMark(std::unique_ptr<TMarque> mark, TContainer& container);
  // Records the mark with the action, then destroys it; false when it is not in its container.
  bool RemoveMark(const TMarque* mark, TAction action);
  // Detaches the mark without recording it (undo of a creation hands it back this way).
  std::unique_ptr<TMarque> DetachMark(const TMarque* mark);
  TMarque* FindMark(int identifier) const;
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
  TMarque* MarkAt(TPointI p) const;

  // Dragging with the move and erase tools.
  TDrag DragState() const { return drag_; }
  int DragIndex() const { return dragIndex_; }
  TRectI EraseRect() const { return eraseRect_; }
  void CancelDrag() { drag_ = kIdle; }
  void MovePress(TPointI p);
  void MoveMove(TPointI p);
  void StartErase(TPointI p);
  void ExtendErase(TPointI p);
  void EndDrag();
  void HoverCursor(TPointI p);

 private:
  friend class TContainer;
  void EnsureRanks() const;
  int ListPosition(const TMarque* mark) const;

  TRepere& repere_;
  bool allDrawn_ = true;
  int perFrame_ = 1;
  int toDraw_ = 1;
  int order_ = 0;
  int dragIndex_ = -1;
  TDrag drag_ = kIdle;
  TRectI eraseRect_;
  std::uint8_t numberPosition_ = 0;
  std::vector<std::string> names_;
  std::vector<TMarque*> marks_;
  TContainers containers_;
  std::unordered_map<int, TContainer*> byFrame_;
  // Ranks are computed when read, so that a long pointing session does not sort on every click.
  mutable bool ranksValid_ = true;
};

}  // namespace kinovia
