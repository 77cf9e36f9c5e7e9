#pragma once
// The base of every session object whose changes can be undone, and the context that the
// session's objects share (video facts, view mapping, undo recording, staleness of the results).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

#include "logic/session/SessionPorts.h"

namespace kinovia {

// The concrete class of a recorded object; the values are those of the history entries.
enum class ObjectKind : std::uint8_t {
  None = 0,  // frame containers, never recorded on their own
  Scale = 1,
  FixedMark = 2,
  SheetMark = 3,
  SheetOrigin = 4,
  FixedStore = 5,
  SheetStore = 6,
  FixedAxes = 7,
  Sheet = 8,
};

// What an undo entry records; the values are stable codes.
enum class UndoAction : std::uint8_t {
  ReduceMarks = 0,
  ChooseOrigin = 1,
  TrackedMark = 2,
  PointedMark = 3,
  OriginAdded = 4,
  OriginDropped = 5,
  FirstScalePoint = 6,
  Resize = 7,
  Drag = 8,
  Erase = 9,
  InvertAxis = 10,
  Modify = 11,
  Turn = 12,
  DeletedMark = 13,
  WithdrawnMark = 14,
  OriginDeleted = 15,
  OriginCancelled = 16,
};

// The cursor the session asks for over the picture; Tool means the current tool's own cursor.
enum class SessionCursor : std::uint8_t { Tool, Move, Turn, SegmentEndA, SegmentEndB };

class RecordedObject {
 public:
  virtual ~RecordedObject() = default;
  RecordedObject(const RecordedObject&) = delete;
  RecordedObject& operator=(const RecordedObject&) = delete;

  // Copies all state of an object of the same class, its identifier and list index included.
  virtual void Assign(const RecordedObject& source);
  // True when the other object of the same class holds the same state.
  virtual bool Equals(const RecordedObject& other) const;
  // A fresh object of the same class bound to the same session objects, ready for Assign.
  virtual std::unique_ptr<RecordedObject> NewBlank() const = 0;

  int Group() const { return group_; }
  void SetGroup(int group) { group_ = group; }
  int Identifier() const { return identifier_; }
  int ListIndex() const { return listIndex_; }
  void SetListIndex(int index) { listIndex_ = index; }
  UndoAction Action() const { return action_; }
  void SetAction(UndoAction action) { action_ = action; }
  ObjectKind Kind() const { return kind_; }

 protected:
  explicit RecordedObject(ObjectKind kind);

 private:
  int group_ = 0;
  int identifier_;
  int listIndex_ = -1;
  UndoAction action_ = UndoAction::ReduceMarks;
  ObjectKind kind_;
};

// The state the session's objects share; the session owns it and wires its hooks.
struct SessionContext {
  SessionContext(IVideoFacts& videoFacts, IViewMapping& viewMapping)
      : video(videoFacts), view(viewMapping) {}

  IVideoFacts& video;
  IViewMapping& view;
  // Pushes a copy of the object on the history in use.
  std::function<void(const RecordedObject&, UndoAction)> record;
  std::function<void()> onResultsStale;
  std::function<void()> onMarksChange;
  std::uint64_t resultsGeneration = 0;
  int penWidth = 1;
  bool repaintRequested = false;
  SessionCursor cursor = SessionCursor::Tool;

  void ResultsStale() {
    ++resultsGeneration;
    if (onResultsStale) onResultsStale();
  }
  void Record(const RecordedObject& object, UndoAction action) const {
    if (record) record(object, action);
  }
  void Repaint() { repaintRequested = true; }
  // Half the side of the square in which a click reaches a handle.
  int HitHalfSide() const { return std::max(6, penWidth) / 2; }
};

// True when p lies in the square of half-side `half` centred on c.
inline bool NearPoint(PointI p, PointI c, int half) {
  return std::abs(p.x - c.x) <= half && std::abs(p.y - c.y) <= half;
}
// True when p lies within the square of half-side `half` of a pixel of the line from a to b.
bool NearPixelLine(PointI p, PointI a, PointI b, int half);
bool SamePosition(PointD a, PointD b);  // both coordinates equal per IsZero

}  // namespace kinovia
