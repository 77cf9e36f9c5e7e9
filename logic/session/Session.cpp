#include "logic/session/Session.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/Numbers.h"
#include "resources/TxtCommon.h"
#include "resources/TxtSession.h"

namespace kinovia {

namespace {

constexpr Colour kRed = 0x0000FF;

constexpr Colour Bgr(std::uint32_t rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// Written as RGB for legibility; stored as the platform's 0x00BBGGRR.
constexpr std::uint32_t kPaletteRgb[kPaletteSize] = {
    0xFF0000, 0x05D1E9, 0x32CD32, 0xFFF8DC, 0xFFD700, 0x008B8B, 0xFF1493, 0xBDB76B, 0x7CFC00,
    0x00CED1, 0xFF6347, 0x20B2AA, 0xFFA07A, 0xDCDCDC, 0xD2691E, 0xDAA520, 0xFF69B4, 0x6495ED,
    0xDC143C, 0x90EE90, 0xFF4500, 0xE9967A, 0x00BFFF, 0xFF7F50, 0x66CDAA, 0xF0E68C, 0xFF8C00,
    0xCD5C5C, 0xADD8E6, 0xF08080, 0xB8860B, 0xFFB6C1, 0x87CEFA, 0xB0C4DE, 0x00FF00, 0x32CD32,
    0xC71585, 0x48D1CC, 0x00FA9A, 0x7B68EE, 0x3CB371, 0xBA55D3, 0x0000CD, 0x22B222, 0xFF00FF,
    0x2E8B57, 0xF4A460, 0xFA8072, 0x4169E1, 0xBC8F8F, 0xDDA0DD, 0xCD853F, 0xDB7093, 0xDA70D6,
    0x8FBC8F, 0xFFA500, 0x9ACD32, 0xEE82EE, 0x40E0D0, 0x5F9EA0, 0xD8BFD8, 0x008080, 0x6A5ACD,
    0xDEB887, 0xFFFF00};

}  // namespace

Colour PaletteColour(int k) {
  if (k == -1) return Bgr(kPaletteRgb[kPaletteSize - 1]);
  const long long magnitude = std::llabs(static_cast<long long>(k));
  return Bgr(kPaletteRgb[magnitude % kPaletteSize]);
}

int PaletteIndex(Colour colour) {
  for (int i = 0; i < kPaletteSize; ++i) {
    if (Bgr(kPaletteRgb[i]) == colour) return i;
  }
  return 0;
}

PointD ToPhysical(PointD xy, const MetricConversion& c) {
  const double sx = xy.x * c.factors.sx;
  const double sy = xy.y * c.factors.sy;
  const double cosine = std::cos(c.theta);
  const double sine = std::sin(c.theta);
  PointD out{sx * cosine + sy * sine, sy * cosine - sx * sine};
  if (!c.directX) out.x = -out.x;
  if (!c.directY) out.y = -out.y;
  return out;
}

// ---------------------------------------------------------------------------- lifecycle

Session::Session(IVideoFacts& video, IViewMapping& view, const SessionOptions& options)
    : context_(video, view),
      options_(options),
      axes_(context_),
      transparent_(context_),
      scale_(context_),
      fixedStore_(ObjectKind::FixedStore, axes_),
      sheetStore_(ObjectKind::SheetStore, transparent_) {
  WireContext();
  SetElementSize(options.penSize);
  Reset();
}

Session::~Session() = default;

void Session::WireContext() {
  context_.record = [this](const RecordedObject& object, UndoAction action) {
    ActiveHistory().Record(object, action);
  };
  context_.onResultsStale = [this] { Notify(SessionEvent::ResultsStale); };
  context_.onMarksChange = [this] { Notify(SessionEvent::MarksChanged); };
  axes_.onAxesChange = [this] { Notify(SessionEvent::AxesChanged); };
  scale_.onScaleChange = [this] { Notify(SessionEvent::ScaleChanged); };
}

void Session::Subscribe(SessionEvent event, Notification notification) {
  if (notification)
    subscribers_[static_cast<std::size_t>(event)].push_back(std::move(notification));
}

// By index: a subscriber may subscribe again while it is being called.
void Session::Notify(SessionEvent event) const {
  if (restoring_) return;
  const auto& subscribers = subscribers_[static_cast<std::size_t>(event)];
  for (std::size_t i = 0; i < subscribers.size(); ++i) subscribers[i](*this);
}

void Session::NotifyAll() const {
  for (std::size_t event = 0; event < kSessionEventCount; ++event) {
    Notify(static_cast<SessionEvent>(event));
  }
}

void Session::Reset() {
  SetTool(PointingTool::Mark);
  duration_ = 0.0;
  axes_.Reset();
  transparent_.Reset();
  scale_.Reset(options_.twoScales);
  fixedStore_.ResetDefaults(options_.numbering);
  sheetStore_.ResetDefaults(options_.numberingSheet);
  colours_.assign(1, PaletteColour(0));
  visibilities_.assign(1, true);
  Clear();
}

void Session::SetFormulas(FormulaSet formulas) {
  if (formulas == formulas_) return;
  formulas_ = std::move(formulas);
  context_.ResultsStale();
}

void Session::Clear() {
  axes_.ClearOrigins();
  transparent_.ClearOrigins();
  fixedStore_.Clear();
  sheetStore_.Clear();
  ClearHistories();
  context_.ResultsStale();
  Notify(SessionEvent::MarksChanged);
}

namespace {
// Holds the flag set for as long as it lives.
class FlagRaised {
 public:
  explicit FlagRaised(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagRaised() { flag_ = false; }
  FlagRaised(const FlagRaised&) = delete;
  FlagRaised& operator=(const FlagRaised&) = delete;

 private:
  bool& flag_;
};
}  // namespace

void Session::Restore(const WorkFileContent& work) {
  {
    const FlagRaised restoring(restoring_);
    ApplyWork(work);
  }
  ClearHistories();
  ViewChanged();
  NotifyAll();
}

void Session::ClearHistories() {
  fixedMarksHistory_.Clear();
  sheetMarksHistory_.Clear();
  scaleHistory_.Clear();
  axesHistory_.Clear();
}

void Session::OptionsChanged(const SessionOptions& options) {
  options_ = options;
  const Scale::SegmentKind selection = scale_.Selection();
  if (options.twoScales && selection == Scale::kSingle) {
    SetScaleSelection(Scale::kVert);
  } else if (!options.twoScales && selection != Scale::kSingle) {
    SetScaleSelection(Scale::kSingle);
  }
  SetElementSize(options.penSize);
  fixedStore_.SetNumberPosition(options.numbering);
  sheetStore_.SetNumberPosition(options.numberingSheet);
}

void Session::ViewChanged() {
  fixedStore_.RecomputeScreen();
  sheetStore_.RecomputeScreen();
  transparent_.RecomputeSheet();
  axes_.RecomputeGeometry();
  scale_.RecomputeScreen();
}

// ---------------------------------------------------------------------------- pointing

std::optional<Message> Session::PointMark(PointI p) {
  return TransparentMode() ? PointTransparent(p) : PointFixed(p);
}

namespace {
Message DuplicateMessage() {
  Message message;
  message.icon = MessageIcon::Information;
  message.buttons = {txt::ButtonOk};
  message.Line(txt::SessionDuplicateMark);
  return message;
}
}  // namespace

std::optional<Message> Session::PointFixed(PointI p) {
  const int frame = context_.video.CurrentSourceFrame();
  FrameMarks& container = fixedStore_.ContainerFor(frame);
  const int order = fixedStore_.CurrentOrder();
  if (container.OfOrder(order) != nullptr) return DuplicateMessage();
  auto created = fixedStore_.NewMark();
  created->SetOrder(order);
  Mark& mark = fixedStore_.InsertMark(std::move(created), container);
  mark.SetFixedPosition(context_.view.ToFraction(p));
  mark.RecomputeScreen();
  context_.Record(mark, UndoAction::PointedMark);
  fixedStore_.Renumber();
  if (fixedStore_.MarksPerFrame() == order + 1) {
    context_.video.GoToMontageIndex(context_.video.CurrentMontageIndex() + framesBetween_);
  }
  fixedStore_.SetCurrentOrder(order + 1);
  context_.Repaint();
  return std::nullopt;
}

std::optional<Message> Session::PointTransparent(PointI p) {
  const int frame = context_.video.CurrentSourceFrame();
  FrameMarks& container = sheetStore_.ContainerFor(frame);
  if (container.OfOrder(0) != nullptr) return DuplicateMessage();
  Mark& mark = sheetStore_.InsertMark(sheetStore_.NewMark(), container);
  mark.SetSheetPosition(context_.view.ToFraction(p) - transparent_.Origin());
  mark.RecomputeScreen();
  context_.Record(mark, UndoAction::PointedMark);
  sheetStore_.Renumber();
  if (SheetOrigin* last = transparent_.LastOrigin()) last->SetFrame(frame);
  context_.video.GoToMontageIndex(context_.video.CurrentMontageIndex() + framesBetween_);
  transparent_.StepStage(1);
  context_.Repaint();
  return std::nullopt;
}

void Session::WithdrawLastMark() {
  MarkStore& store = EditedStore();
  if (store.Marks().empty()) return;
  store.RemoveMark(store.Marks().back(), UndoAction::WithdrawnMark);
  context_.Repaint();
}

bool Session::DeleteMark(const Mark* mark) {
  if (mark == nullptr) return false;
  MarkStore& store = mark->Store();
  if (!store.IsTransparent()) return store.RemoveMark(mark, UndoAction::DeletedMark);
  const int frame = mark->Frame();
  const UndoGroup group(ActiveHistory());
  const bool removed = store.RemoveMark(mark, UndoAction::DeletedMark);
  if (removed) transparent_.DeleteFrameOrigin(frame);
  return removed;
}

void Session::RemoveFrameMarks(MarkStore& store, int frame) {
  FrameMarks* container = store.FindContainer(frame);
  if (container == nullptr) return;
  if (store.IsTransparent()) {
    if (const Mark* mark = container->OfOrder(0)) {
      if (store.RemoveMark(mark, UndoAction::DeletedMark)) transparent_.DeleteFrameOrigin(frame);
    }
    return;
  }
  while (!container->Marks().empty()) {
    store.RemoveMark(container->Marks().back().get(), UndoAction::DeletedMark);
  }
}

void Session::DeleteFrameMarks(int frame) {
  const UndoGroup group(ActiveHistory());
  RemoveFrameMarks(EditedStore(), frame);
  context_.Repaint();
}

void Session::DeleteAllMarks() {
  MarkStore& store = EditedStore();
  const UndoGroup group(ActiveHistory());
  for (auto c = store.Containers().rbegin(); c != store.Containers().rend(); ++c) {
    while (!(*c)->Marks().empty()) {
      store.RemoveMark((*c)->Marks().back().get(), UndoAction::DeletedMark);
    }
  }
  store.SetCurrentOrder(0);
  if (TransparentMode()) {
    transparent_.DeleteAllOrigins();
    SheetMoved();
  }
  context_.Repaint();
}

void Session::EraseEverything() {
  const UndoGroup group(ActiveHistory());
  EraseScale();
  DeleteAllMarks();
  if (context_.video.WorkMode() == WorkingMode::FixedAxes) axes_.EraseOrigin();
}

void Session::FrameHidden(int frame) {
  if (FrameMarks* c = sheetStore_.FindContainer(frame)) {
    if (const Mark* mark = c->OfOrder(0)) sheetStore_.RemoveMark(mark, UndoAction::DeletedMark);
  }
  transparent_.DeleteFrameOrigin(frame);
  RemoveFrameMarks(fixedStore_, frame);
  fixedMarksHistory_.Clear();
  sheetMarksHistory_.Clear();
  context_.Repaint();
}

void Session::KeepTrackedMarks(const std::vector<TrackedMark>& marks) {
  const UndoGroup group(ActiveHistory());
  for (const TrackedMark& tracked : marks) {
    if (tracked.object < 0 || tracked.object >= fixedStore_.MarksPerFrame()) continue;
    FrameMarks& container = fixedStore_.ContainerFor(tracked.frame);
    Mark* mark = container.OfOrder(tracked.object);
    const bool created = mark == nullptr;
    if (created) {
      auto fresh = fixedStore_.NewMark();
      fresh->SetOrder(tracked.object);
      mark = &fixedStore_.InsertMark(std::move(fresh), container);
    } else {
      context_.Record(*mark, UndoAction::Drag);
    }
    mark->SetFixedPosition(tracked.position);
    mark->RecomputeScreen();
    if (created) context_.Record(*mark, UndoAction::TrackedMark);
  }
  fixedStore_.Renumber();
  context_.Repaint();
}

// ---------------------------------------------------------------------------- settings

void Session::SetMarksNumberPerFrame(int n) {
  MarkStore& store = EditedStore();
  if (store.IsTransparent()) {
    store.SetMarksPerFrameValue(1);
    return;
  }
  context_.Record(store, UndoAction::Modify);
  const int old = store.MarksPerFrame();
  store.SetMarksPerFrameValue(n);
  const int now = store.MarksPerFrame();
  if (now == old) return;
  context_.ResultsStale();
  if (now > old) {
    GrowObjectArrays(old, now);
  } else {
    ShrinkObjects(old, now);
  }
  Notify(SessionEvent::MarksPerFrameChanged);
}

void Session::GrowObjectArrays(int from, int to) {
  if (static_cast<int>(visibilities_.size()) < from) visibilities_.resize(from, true);
  visibilities_.resize(to);
  if (static_cast<int>(colours_.size()) < from) {
    const int size = static_cast<int>(colours_.size());
    colours_.resize(from);
    for (int i = size; i < from; ++i) colours_[i] = PaletteColour(i);
  }
  colours_.resize(to);
  for (int i = from; i < to; ++i) {
    visibilities_[i] = true;
    colours_[i] = PaletteColour(i);
    fixedStore_.MutableNames().push_back(MarkStore::DefaultName(i));
  }
}

void Session::ShrinkObjects(int from, int to) {
  for (int object = from - 1; object >= to; --object) {
    for (const auto& c : fixedStore_.Containers()) {
      if (const Mark* mark = c->OfOrder(object)) {
        fixedStore_.RemoveMark(mark, UndoAction::ReduceMarks);
      }
    }
    auto& names = fixedStore_.MutableNames();
    if (object < static_cast<int>(names.size())) names.erase(names.begin() + object);
  }
  fixedStore_.Renumber();
  fixedStore_.SetCurrentOrder(fixedStore_.CurrentOrder());
}

void Session::SetCurrentMarkOrderNumber(int n) {
  EditedStore().SetCurrentOrder(n);
  context_.Repaint();
}

void Session::SetDuration(double seconds) {
  if (IsZero(seconds - duration_)) return;
  duration_ = seconds;
  context_.ResultsStale();
}

void Session::SetTool(PointingTool tool) {
  tool_ = tool;
  if (tool == PointingTool::None) return;
  CancelDrags();
  if (transparent_.Stage() == TransparentSheet::kCarried)
    transparent_.SetStage(TransparentSheet::kWaitGrab);
  if (tool == PointingTool::Transparent) {
    transparent_.PlaceDefaultOrigin();
    SheetMoved();
  }
  context_.cursor = SessionCursor::Tool;
  Notify(SessionEvent::ToolChanged);
}

void Session::CancelDrags() {
  fixedStore_.CancelDrag();
  sheetStore_.CancelDrag();
  axes_.CancelDrag();
  scale_.CancelDrag();
}

void Session::SetElementSize(std::uint8_t size) {
  elementSize_ = std::min<std::uint8_t>(size, 2);
  context_.penWidth = 1 + 2 * elementSize_;
}

// ---------------------------------------------------------------------------- objects

void Session::SetObjectColour(int object, Colour colour) {
  if (object < 0 || object >= static_cast<int>(colours_.size())) return;
  colours_[object] = colour;
  Notify(SessionEvent::MarkColourChanged);
}

void Session::SetObjectVisibility(int object, bool visible) {
  if (object < 0 || object >= static_cast<int>(visibilities_.size())) return;
  visibilities_[object] = visible;
  Notify(SessionEvent::MarkVisibilityChanged);
}

void Session::SetObjectName(int object, const std::string& name) {
  MarkStore* store = nullptr;
  if (context_.video.WorkMode() == WorkingMode::FixedAxes) store = &fixedStore_;
  if (TransparentMode()) store = &sheetStore_;
  if (store == nullptr) return;
  auto& names = store->MutableNames();
  if (object < 0 || object >= static_cast<int>(names.size())) return;
  names[object] = name;
}

void Session::StepColour(int object, bool forward) {
  const int step = forward ? 1 : -1;
  if (object == -1) {
    elementColour_ = PaletteColour(PaletteIndex(elementColour_) + step);
  } else {
    if (object < 0 || object >= static_cast<int>(colours_.size())) return;
    SetObjectColour(object, PaletteColour(PaletteIndex(colours_[object]) + step));
  }
  context_.Repaint();
}

Colour Session::ObjectColour(int object) const {
  if (object < 0 || object >= static_cast<int>(colours_.size())) return kRed;
  return colours_[object];
}

bool Session::ObjectVisible(int object) const {
  if (TransparentMode() || object < 0 || object >= static_cast<int>(visibilities_.size())) {
    return true;
  }
  return visibilities_[object];
}

std::string Session::ObjectName(int object) const {
  const auto& names = ActiveStore().Names();
  if (object < 0 || object >= static_cast<int>(names.size())) return {};
  return names[object];
}

// ---------------------------------------------------------------------------- calibration

void Session::SetScaleSelection(Scale::SegmentKind segment) {
  if (scale_.SetSelection(segment)) Notify(SessionEvent::ScaleKindChanged);
}

void Session::SetScaleLength(Scale::SegmentKind segment, double metres) {
  scale_.SetLength(segment, metres);
}

void Session::InvertXAxis() { InvertAxis(true); }

void Session::InvertYAxis() { InvertAxis(false); }

void Session::InvertAxis(bool xAxis) {
  Axes& frame = TransparentMode() ? static_cast<Axes&>(transparent_) : axes_;
  if (xAxis) {
    frame.SetDirectX(!frame.DirectX());
  } else {
    frame.SetDirectY(!frame.DirectY());
  }
  if (TransparentMode()) SheetMoved();
  context_.Repaint();
}

void Session::EraseScale() {
  while (scale_.PointCount(scale_.Selection()) > 0) scale_.EraseLastPoint();
}

void Session::DeleteAllOrigins() {
  {
    const UndoGroup group(ActiveHistory());
    transparent_.DeleteAllOrigins();
  }
  SheetMoved();
}

void Session::SheetMoved() {
  transparent_.RecomputeSheet();
  sheetStore_.RecomputeScreen();
  context_.Repaint();
}

MetricConversion Session::Conversion() const {
  MetricConversion c;
  c.factors = scale_.Factors(context_.video.PictureWidth(), context_.video.PictureHeight(),
                             options_.twoScales);
  c.theta = TransparentMode() ? 0.0 : axes_.XAngle();
  c.directX = DirectX();
  c.directY = DirectY();
  return c;
}

// ---------------------------------------------------------------------------- queries

const MarkStore& Session::ActiveStore() const {
  return TransparentMode() ? sheetStore_ : fixedStore_;
}

MarkStore& Session::EditedStore() { return TransparentMode() ? sheetStore_ : fixedStore_; }

const Axes& Session::ActiveAxes() const {
  if (TransparentMode()) return transparent_;
  return axes_;
}

int Session::MarksOnFrame(int frame) const {
  if (context_.video.WorkMode() != WorkingMode::Montage) return -1;
  return fixedStore_.MarksOnFrame(frame);
}

bool Session::OriginPlaced() const { return TransparentMode() || axes_.OriginPlaced(); }

double Session::XAxisAngle() const { return TransparentMode() ? 0.0 : axes_.XAngle(); }

PointD Session::CurrentOrigin() const { return TransparentMode() ? PointD{} : axes_.Origin(); }

PointedData Session::GetData() const {
  const MarkStore& store = ActiveStore();
  std::vector<const FrameMarks*> pointed;
  for (const auto& c : store.Containers()) {
    if (!c->Marks().empty()) pointed.push_back(c.get());
  }
  std::vector<int> k(pointed.size());
  for (std::size_t j = 0; j < pointed.size(); ++j) {
    k[j] = context_.video.FrameTimeIndex(pointed[j]->Frame());
  }
  if (!k.empty()) {
    const int earliest = *std::min_element(k.begin(), k.end());
    for (int& v : k) v -= earliest;
  }
  std::vector<std::size_t> order(pointed.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) { return k[a] < k[b]; });

  const int objects = store.MarksPerFrame();
  const std::size_t n = pointed.size();
  PointedData data;
  data.time.resize(n);
  data.frame.assign(objects, std::vector<int>(n, -1));
  data.x.assign(objects, std::vector<double>(n, 0.0));
  data.y.assign(objects, std::vector<double>(n, 0.0));
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = order[i];
    data.time[i] = k[j] * duration_;
    for (const auto& mark : pointed[j]->Marks()) {
      const int o = mark->Order();
      if (o < 0 || o >= objects) continue;
      const PointD t = mark->SheetPosition();
      data.frame[o][i] = k[j];
      data.x[o][i] = t.x;
      data.y[o][i] = -t.y;
    }
  }
  return data;
}

}  // namespace kinovia
