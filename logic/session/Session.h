#pragma once
// The measurement session: the marks of every object on every frame, their names, colours and
// visibility, the calibration (scale, fixed frame, transparent), the pointing settings and the
// undo histories. The window forwards mouse and key events here and paints what it holds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "logic/formulas/FormulaSet.h"
#include "logic/session/Axes.h"
#include "logic/session/MarkStore.h"
#include "logic/session/Scale.h"
#include "logic/session/UndoHistory.h"

namespace kinovia {

using Colour = std::uint32_t;  // 0x00BBGGRR

inline constexpr int kPaletteSize = 65;
// Entry |k| mod 65 of the mark palette; -1 is the last entry, so stepping back from 0 wraps.
Colour PaletteColour(int k);
// Index of the colour's first occurrence in the palette, 0 when absent.
int PaletteIndex(Colour colour);

// The option values the session reads; the main window fills them from the options.
struct SessionOptions {
  std::uint8_t penSize = 0;         // 0 small, 1 medium, 2 large
  std::uint8_t numbering = 0;       // numbering position of the fixed store's marks
  std::uint8_t numberingSheet = 0;  // and of the transparent store's
  bool twoScales = false;           // a horizontal and a vertical scale instead of one segment
  bool startByZero = false;         // marks numbered from 0 when drawn
};

enum class PointingTool : std::uint8_t {
  None = 0,
  Scale = 1,
  Mark = 2,
  Move = 3,
  Axes = 4,
  Erase = 5,
  Transparent = 6
};

enum class MouseButton : std::uint8_t { Left, Right };

// The marks handed to the results: one column per pointed frame, earliest time first.
struct PointedData {
  std::vector<double> time;             // seconds from the earliest pointed frame
  std::vector<std::vector<int>> frame;  // [object][i] time index, -1 without a mark
  std::vector<std::vector<double>> x;   // [object][i] frame fractions from the origin
  std::vector<std::vector<double>> y;   // upwards
};

// A position found by the automatic tracking for one object on one source frame.
struct TrackedMark {
  int object = 0;
  int frame = 0;
  PointD position;  // frame fractions
};

// Everything the conversion to metres needs, for the active frame of reference.
struct MetricConversion {
  ScaleFactors factors;
  double theta = 0.0;
  bool directX = true;
  bool directY = true;
};
// Physical coordinates in metres of (x, y) taken from the origin in frame fractions, y upwards.
PointD ToPhysical(PointD xy, const MetricConversion& conversion);

struct WorkFileContent;

// What the session announces to its subscribers.
enum class SessionEvent : std::uint8_t {
  AxesChanged,
  MarkColourChanged,
  ScaleChanged,
  ScaleKindChanged,
  MarksChanged,
  MarksPerFrameChanged,
  ToolChanged,
  MarkVisibilityChanged,
  ResultsStale,  // every change that alters the results; the window marks them stale
};
inline constexpr std::size_t kSessionEventCount = 9;

class Session : private IUndoTarget {
 public:
  using Notification = std::function<void(const Session&)>;

  Session(IVideoFacts& video, IViewMapping& view, const SessionOptions& options);
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Calls the notification after every event of that kind, for the session's whole life.
  void Subscribe(SessionEvent event, Notification notification);

  // Lifecycle.
  void Reset();
  void Clear();
  // Replaces the whole session with a reopened work file. Nothing before it can be undone, and
  // each event is announced once, when the session is complete again.
  void Restore(const WorkFileContent& work);
  void OptionsChanged(const SessionOptions& options);
  // Recomputes every cached screen position after a zoom, pan or resize.
  void ViewChanged();

  // Pointing and removing; a refused click answers the message to show.
  std::optional<Message> PointMark(PointI p);
  void WithdrawLastMark();
  bool DeleteMark(const Mark* mark);
  void DeleteFrameMarks(int frame);
  void DeleteAllMarks();
  void EraseEverything();
  // The montage hid a frame: its marks and sheet origin go, and the mark histories are emptied.
  void FrameHidden(int frame);
  // Writes the tracking's positions into the fixed store as one undoable change, replacing
  // the mark an object already has on a frame.
  void KeepTrackedMarks(const std::vector<TrackedMark>& marks);

  // Pointing settings.
  void SetMarksNumberPerFrame(int n);
  void SetCurrentMarkOrderNumber(int n);
  void SetFramesBetweenMarks(int n) { framesBetween_ = std::max(1, n); }
  void SetMarksToDraw(int n) { EditedStore().SetMarksToDraw(n); }
  void SetAllDrawn(bool all) { EditedStore().SetAllDrawn(all); }
  void SetNumberPosition(std::uint8_t position) { EditedStore().SetNumberPosition(position); }
  void SetDuration(double seconds);
  void SetTool(PointingTool tool);
  void SetElementSize(std::uint8_t size);
  void SetElementColour(Colour colour) { elementColour_ = colour; }

  // Objects.
  void SetObjectColour(int object, Colour colour);
  void SetObjectVisibility(int object, bool visible);
  void SetObjectName(int object, const std::string& name);
  // Steps an object's colour (-1: the element colour) through the palette.
  void StepColour(int object, bool forward);
  Colour ObjectColour(int object) const;
  bool ObjectVisible(int object) const;
  std::string ObjectName(int object) const;

  // Calibration.
  void SetScaleSelection(Scale::SegmentKind segment);
  void SetScaleLength(Scale::SegmentKind segment, double metres);
  void SetXAxisAngle(double radians) { axes_.SetXAngle(radians); }
  void InvertXAxis();
  void InvertYAxis();
  void EraseScale();
  void EraseOrigin() { axes_.EraseOrigin(); }
  void DeleteAllOrigins();
  MetricConversion Conversion() const;

  // The user's variables and constants, saved with the work; a clip opened afresh keeps them.
  const FormulaSet& Formulas() const { return formulas_; }
  void SetFormulas(FormulaSet formulas);

  // Mouse and keys, in view pixels, dispatched by tool and working mode.
  std::optional<Message> MousePress(MouseButton button, PointI p);
  void MouseMove(PointI p);
  void MouseRelease(MouseButton button, PointI p);
  std::optional<Message> KeyEnter(PointI pointer);
  // Digits 1 to 9 step the colour of objects 0 to 8, digit 0 the element colour.
  void KeyDigit(int digit, bool backward);
  void KeyNextObject();
  void KeyResizeSheet(bool grow);
  // True once after any change that needs the picture repainted.
  bool TakeRepaintRequest();
  SessionCursor Cursor() const { return context_.cursor; }

  // Undo, on the history of the current mode and tool.
  bool Undo();
  std::string UndoCaption();
  // The menu item's text: the caption, two spaces and the shortcut.
  std::string UndoMenuCaption();
  const UndoHistory& CurrentHistory() const { return this->*HistoryInUse(); }

  // Queries, on the active store or frame of reference.
  PointedData GetData() const;
  int MarksCount() const { return static_cast<int>(ActiveStore().Marks().size()); }
  int MarksPerFrame() const { return ActiveStore().MarksPerFrame(); }
  int CurrentMarkOrderNumber() const { return ActiveStore().CurrentOrder(); }
  int MarksToDraw() const { return ActiveStore().MarksToDraw(); }
  bool AllDrawn() const { return ActiveStore().AllDrawn(); }
  std::uint8_t NumberPosition() const { return ActiveStore().NumberPosition(); }
  int LastPointedFrame() const { return ActiveStore().LastContainerFrame(); }
  int MarksOnFrame(int frame) const;
  int SmallestObjectMarkCount() const { return ActiveStore().SmallestObjectCount(); }
  bool OriginPlaced() const;
  double XAxisAngle() const;
  PointD CurrentOrigin() const;
  bool DirectX() const { return ActiveAxes().DirectX(); }
  bool DirectY() const { return ActiveAxes().DirectY(); }
  bool TransparentMode() const { return context_.video.WorkMode() == WorkingMode::Transparent; }

  int FramesBetweenMarks() const { return framesBetween_; }
  double Duration() const { return duration_; }
  PointingTool Tool() const { return tool_; }
  std::uint8_t ElementSize() const { return elementSize_; }
  int PenWidth() const { return context_.penWidth; }
  Colour ElementColour() const { return elementColour_; }
  const SessionOptions& Options() const { return options_; }
  std::uint64_t ResultsGeneration() const { return context_.resultsGeneration; }

  // The session's parts, to read only: the painter and the work file see them here, and every
  // change goes through the operations above, so that it is recorded and announced.
  const MarkStore& FixedStore() const { return fixedStore_; }
  const MarkStore& TransparentStore() const { return sheetStore_; }
  const MarkStore& ActiveStore() const;
  const FixedAxes& ReferenceAxes() const { return axes_; }
  const TransparentSheet& Transparent() const { return transparent_; }
  const Scale& CalibrationScale() const { return scale_; }
  const Axes& ActiveAxes() const;

 private:
  RecordedObject* FindLive(const RecordedObject& entry) override;
  void UndoCreation(RecordedObject& live, UndoAction action) override;
  void Reinsert(std::unique_ptr<RecordedObject> entry) override;
  void Revert(RecordedObject& live, const RecordedObject& entry) override;
  void ReinsertMark(std::unique_ptr<Mark> mark);
  void ReinsertOrigin(std::unique_ptr<SheetOrigin> origin, UndoAction action);

  UndoHistory Session::*HistoryInUse() const;
  UndoHistory& ActiveHistory() { return this->*HistoryInUse(); }
  void ClearHistories();
  MarkStore& EditedStore();
  void Notify(SessionEvent event) const;
  void NotifyAll() const;
  void ApplyWork(const WorkFileContent& work);
  void WireContext();
  bool PointingMode() const;
  std::optional<Message> PointFixed(PointI p);
  std::optional<Message> PointTransparent(PointI p);
  void GrowObjectArrays(int from, int to);
  void ShrinkObjects(int from, int to);
  void RemoveFrameMarks(MarkStore& store, int frame);
  void CancelDrags();
  void InvertAxis(bool xAxis);
  void SheetMoved();
  std::optional<Message> PressLeft(PointI p);
  void PressRight(PointI p);
  std::optional<Message> PressTransparent(PointI p);
  void PressErase(PointI p);
  void ReleaseErase();

  SessionContext context_;
  SessionOptions options_;
  int framesBetween_ = 1;
  double duration_ = 0.0;
  PointingTool tool_ = PointingTool::Mark;
  std::uint8_t elementSize_ = 0;
  Colour elementColour_ = 0x00FFFF;
  std::vector<Colour> colours_;
  std::vector<bool> visibilities_;
  FixedAxes axes_;
  TransparentSheet transparent_;
  Scale scale_;
  MarkStore fixedStore_;
  MarkStore sheetStore_;
  FormulaSet formulas_;
  UndoHistory fixedMarksHistory_;
  UndoHistory sheetMarksHistory_;
  UndoHistory scaleHistory_;
  UndoHistory axesHistory_;
  std::array<std::vector<Notification>, kSessionEventCount> subscribers_;
  // Set while a work file is applied: its many small changes are announced once at the end.
  bool restoring_ = false;
};

}  // namespace kinovia
