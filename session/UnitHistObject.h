#pragma once
// The base of every session object whose changes can be undone, and the context that the
// session's objects share (video facts, view mapping, undo recording, staleness of the results).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

#include "session/UnitSessionPorts.h"

namespace kinovia {

// The concrete class of a recorded object; the values are those of the history entries.
enum class TKind : std::uint8_t {
  None = 0,  // frame containers, never recorded on their own
  Echelle = 1,
  MarqueRep = 2,
  MarqueTsp = 3,
  Origine = 4,
  PolyMarqueImgRep = 5,
  PolyMarqueImgTsp = 6,
  RepereFixe = 7,
  Transparent = 8,
};

// What an undo entry records; the values are stable codes.
enum class TAction : std::uint8_t {
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
enum class TSessionCursor : std::uint8_t { Tool, Move, Turn, SegmentEndA, SegmentEndB };

class THistObject {
 public:
  virtual ~THistObject() = default;
  THistObject(const THistObject&) = delete;
  THistObject& operator=(const THistObject&) = delete;

  // Copies all state of an object of the same class, its identifier and list index included.
  virtual void Assign(const THistObject& source);
  // True when the other object of the same class holds the same state.
  virtual bool Equals(const THistObject& other) const;
  // A fresh object of the same class bound to the same session objects, ready for Assign.
  virtual std::unique_ptr<THistObject> NewBlank() const = 0;

  int Group() const { return group_; }
  void SetGroup(int group) { group_ = group; }
  int Identifier() const { return identifier_; }
  int ListIndex() const { return listIndex_; }
  void SetListIndex(int index) { listIndex_ = index; }
  TAction Action() const { return action_; }
  void SetAction(TAction action) { action_ = action; }
  TKind Kind() const { return kind_; }

 protected:
  explicit THistObject(TKind kind);

 private:
  int group_ = 0;
  int identifier_;
  int listIndex_ = -1;
  TAction action_ = TAction::ReduceMarks;
  TKind kind_;
};

// The state the session's objects share; the session owns it and wires its hooks.
struct TSessionContext {
  TSessionContext(IVideoFacts& videoFacts, IViewMapping& viewMapping)
      : video(videoFacts), view(viewMapping) {}

  IVideoFacts& video;
  IViewMapping& view;
  // Pushes a copy of the object on the history in use.
  std::function<void(const THistObject&, TAction)> record;
  std::function<void()> onResultsStale;
  std::function<void()> onMarksChange;
  std::uint64_t resultsGeneration = 0;
  int penWidth = 1;
  bool repaintRequested = false;
  TSessionCursor cursor = TSessionCursor::Tool;

  void ResultsStale() {
    ++resultsGeneration;
    if (onResultsStale) onResultsStale();
  }
  void Record(const THistObject& object, TAction action) const {
    if (record) record(object, action);
  }
  void Repaint() { repaintRequested = true; }
  // Half the side of the square in which a click reaches a handle.
  int HitHalfSide() const { return std::max(6, penWidth) / 2; }
};

// True when p lies in the square of half-side `half` centred on c.
inline bool NearPoint(TPointI p, TPointI c, int half) {
  return std::abs(p.x - c.x) <= half && std::abs(p.y - c.y) <= half;
}
// True when p lies within the square of half-side `half` of a pixel of the line from a to b.
bool NearPixelLine(TPointI p, TPointI a, TPointI b, int half);
bool SamePosition(TPointD a, TPointD b);  // both coordinates equal per IsZero

}  // namespace kinovia
