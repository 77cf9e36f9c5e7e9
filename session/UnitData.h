#pragma once
// The measurement session: the marks of every object on every frame, their names, colours and
// visibility, the calibration (scale, fixed frame, transparent), the pointing settings and the
// undo histories. The window forwards mouse and key events here and paints what it holds.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "resources/UnitMessage.h"
#include "session/UnitEchelle.h"
#include "session/UnitHistorique.h"
#include "session/UnitMarques.h"
#include "session/UnitRepere.h"

namespace kinovia {

using TColour = std::uint32_t;  // 0x00BBGGRR

inline constexpr int kPaletteSize = 65;
// Entry |k| mod 65 of the mark palette; -1 is the last entry, so stepping back from 0 wraps.
TColour PaletteColour(int k);
// Index of the colour's first occurrence in the palette, 0 when absent.
int PaletteIndex(TColour colour);

// The option values the session reads; the main window fills them from the options.
struct TSessionOptions {
  std::uint8_t penSize = 0;       // 0 small, 1 medium, 2 large
  std::uint8_t numbering = 0;     // numbering position of the fixed store's marks
  std::uint8_t numberingTsp = 0;  // and of the transparent store's
  bool twoScales = false;         // a horizontal and a vertical scale instead of one segment
  bool startByZero = false;       // marks numbered from 0 when drawn
};

enum class TTool : std::uint8_t {
  None = 0,
  Scale = 1,
  Mark = 2,
  Move = 3,
  Axes = 4,
  Erase = 5,
  Transparent = 6
};

enum class TMouseButton : std::uint8_t { Left, Right };

// The marks handed to the results: one column per pointed frame, earliest time first.
struct TPointedData {
  std::vector<double> time;             // seconds from the earliest pointed frame
  std::vector<std::vector<int>> frame;  // [object][i] time index, -1 without a mark
  std::vector<std::vector<double>> x;   // [object][i] frame fractions from the origin
  std::vector<std::vector<double>> y;   // upwards
};

// A position found by the automatic tracking for one object on one source frame.
struct TTrackedMark {
  int object = 0;
  int frame = 0;
  TPointD position;  // frame fractions
};

// Everything the conversion to metres needs, for the active frame of reference.
struct TConversion {
  TScaleFactors factors;
  double theta = 0.0;
  bool directX = true;
  bool directY = true;
};
// Physical coordinates in metres of (x, y) taken from the origin in frame fractions, y upwards.
TPointD ToPhysical(TPointD xy, const TConversion& conversion);

class TData : private IUndoTarget {
 public:
  using TNotify = std::function<void(TData&)>;

  TData(IVideoFacts& video, IViewMapping& view, const TSessionOptions& options);
  ~TData() override;
  TData(const TData&) = delete;
  TData& operator=(const TData&) = delete;

  // Lifecycle.
  void Reset();
  void Clear();
  void OptionsChanged(const TSessionOptions& options);
  // Recomputes every cached screen position after a zoom, pan or resize.
  void ViewChanged();

  // Pointing and removing; a refused click answers the message to show.
  std::optional<TMessage> PointMark(TPointI p);
  void WithdrawLastMark();
  bool DeleteMark(const TMarque* mark);
  void DeleteFrameMarks(int frame);
  void DeleteAllMarks();
  void EraseEverything();
  // The montage hid a frame: its marks and sheet origin go, and the mark histories are emptied.
  void FrameHidden(int frame);
  // Writes the tracking's positions into the fixed store as one undoable change, replacing
  // the mark an object already has on a frame.
  void KeepTrackedMarks(const std::vector<TTrackedMark>& marks);

  // Pointing settings.
  void SetMarksNumberPerFrame(int n);
  void SetCurrentMarkOrderNumber(int n);
  void SetFramesBetweenMarks(int n) { framesBetween_ = std::max(1, n); }
  void SetMarksToDraw(int n) { ActiveStore().SetMarksToDraw(n); }
  void SetAllDrawn(bool all) { ActiveStore().SetAllDrawn(all); }
  void SetNumberPosition(std::uint8_t position) { ActiveStore().SetNumberPosition(position); }
  void SetDuration(double seconds);
  void SetTool(TTool tool);
  void SetElementSize(std::uint8_t size);
  void SetElementColour(TColour colour) { elementColour_ = colour; }

  // Objects.
  void SetObjectColour(int object, TColour colour);
  void SetObjectVisibility(int object, bool visible);
  void SetObjectName(int object, const std::string& name);
  // Steps an object's colour (-1: the element colour) through the palette.
  void StepColour(int object, bool forward);
  TColour ObjectColour(int object) const;
  bool ObjectVisible(int object) const;
  std::string ObjectName(int object) const;
  // Raw arrays for a reader that restores a saved session.
  std::vector<TColour>& ObjectColours() { return colours_; }
  std::vector<bool>& ObjectVisibilities() { return visibilities_; }

  // Calibration.
  void SetScaleSelection(TEchelle::TSegment segment);
  void SetScaleLength(TEchelle::TSegment segment, double metres);
  void SetXAxisAngle(double radians) { repere_.SetXAngle(radians); }
  void InvertXAxis();
  void InvertYAxis();
  void EraseScale();
  void EraseOrigin() { repere_.EraseOrigin(); }
  void DeleteAllOrigins();
  TConversion Conversion() const;

  // Mouse and keys, in view pixels, dispatched by tool and working mode.
  std::optional<TMessage> MousePress(TMouseButton button, TPointI p);
  void MouseMove(TPointI p);
  void MouseRelease(TMouseButton button, TPointI p);
  std::optional<TMessage> KeyEnter(TPointI pointer);
  // Digits 1 to 9 step the colour of objects 0 to 8, digit 0 the element colour.
  void KeyDigit(int digit, bool backward);
  void KeyNextObject();
  void KeyResizeSheet(bool grow);
  // True once after any change that needs the picture repainted.
  bool TakeRepaintRequest();
  TSessionCursor Cursor() const { return context_.cursor; }

  // Undo, on the history of the current mode and tool.
  bool Undo();
  std::string UndoCaption();
  // The menu item's text: the caption, two spaces and the shortcut.
  std::string UndoMenuCaption();
  THistorique& CurrentHistory();
  void ClearHistories();

  // Queries, on the active store or frame of reference.
  TPointedData GetData() const;
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
  TPointD CurrentOrigin() const;
  bool DirectX() const { return ActiveRepere().DirectX(); }
  bool DirectY() const { return ActiveRepere().DirectY(); }
  bool TransparentMode() const { return context_.video.WorkMode() == TWorkMode::Transparent; }

  int FramesBetweenMarks() const { return framesBetween_; }
  double Duration() const { return duration_; }
  TTool Tool() const { return tool_; }
  std::uint8_t ElementSize() const { return elementSize_; }
  int PenWidth() const { return context_.penWidth; }
  TColour ElementColour() const { return elementColour_; }
  const TSessionOptions& Options() const { return options_; }
  std::uint64_t ResultsGeneration() const { return context_.resultsGeneration; }

  // The objects themselves, for the painter and the work file.
  TPolyContainer& FixedStore() { return fixedStore_; }
  TPolyContainer& TransparentStore() { return tspStore_; }
  const TPolyContainer& FixedStore() const { return fixedStore_; }
  const TPolyContainer& TransparentStore() const { return tspStore_; }
  const TPolyContainer& ActiveStore() const;
  TPolyContainer& ActiveStore();
  TRepereFixe& Repere() { return repere_; }
  const TRepereFixe& Repere() const { return repere_; }
  TTransparent& Transparent() { return transparent_; }
  const TTransparent& Transparent() const { return transparent_; }
  TEchelle& Echelle() { return echelle_; }
  const TEchelle& Echelle() const { return echelle_; }
  const TRepere& ActiveRepere() const;

  TNotify OnRepereChange;
  TNotify OnMarkColorChange;
  TNotify OnScaleChange;
  TNotify OnScaleKindChange;
  TNotify OnMarksChange;
  TNotify OnMarksPerFrameChange;
  TNotify OnToolChange;
  TNotify OnMarkVisibilityChange;
  // Every change that alters the results; the window marks them stale.
  TNotify OnResultsStale;

 private:
  THistObject* FindLive(const THistObject& entry) override;
  void UndoCreation(THistObject& live, TAction action) override;
  void Reinsert(std::unique_ptr<THistObject> entry) override;
  void Restore(THistObject& live, const THistObject& entry) override;
  void ReinsertMark(std::unique_ptr<TMarque> mark);
  void ReinsertOrigin(std::unique_ptr<TOrigine> origin, TAction action);

  void Notify(const TNotify& notification);
  void WireContext();
  bool PointingMode() const;
  std::optional<TMessage> PointFixed(TPointI p);
  std::optional<TMessage> PointTransparent(TPointI p);
  void GrowObjectArrays(int from, int to);
  void ShrinkObjects(int from, int to);
  void RemoveFrameMarks(TPolyContainer& store, int frame);
  void CancelDrags();
  void InvertAxis(bool xAxis);
  void SheetMoved();
  std::optional<TMessage> PressLeft(TPointI p);
  void PressRight(TPointI p);
  std::optional<TMessage> PressTransparent(TPointI p);
  void PressErase(TPointI p);
  void ReleaseErase();

  TSessionContext context_;
  TSessionOptions options_;
  int framesBetween_ = 1;
  double duration_ = 0.0;
  TTool tool_ = TTool::Mark;
  std::uint8_t elementSize_ = 0;
  TColour elementColour_ = 0x00FFFF;
  std::vector<TColour> colours_;
  std::vector<bool> visibilities_;
  TRepereFixe repere_;
  TTransparent transparent_;
  TEchelle echelle_;
  TPolyContainer fixedStore_;
  TPolyContainer tspStore_;
  THistorique fixedMarksHistory_;
  THistorique tspMarksHistory_;
  THistorique scaleHistory_;
  THistorique axesHistory_;
};

}  // namespace kinovia
