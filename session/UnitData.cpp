#include "session/UnitData.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "resources/TxtCommon.h"
#include "resources/TxtSession.h"
#include "results/UnitMathUtils.h"

namespace kinovia {

namespace {

constexpr TColour kRed = 0x0000FF;

constexpr TColour Bgr(std::uint32_t rgb) {
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

TColour PaletteColour(int k) {
  if (k == -1) return Bgr(kPaletteRgb[kPaletteSize - 1]);
  const long long magnitude = std::llabs(static_cast<long long>(k));
  return Bgr(kPaletteRgb[magnitude % kPaletteSize]);
}

int PaletteIndex(TColour colour) {
  for (int i = 0; i < kPaletteSize; ++i) {
    if (Bgr(kPaletteRgb[i]) == colour) return i;
  }
  return 0;
}

TPointD ToPhysical(TPointD xy, const TConversion& c) {
  const double sx = xy.x * c.factors.sx;
  const double sy = xy.y * c.factors.sy;
  const double cosine = std::cos(c.theta);
  const double sine = std::sin(c.theta);
  TPointD out{sx * cosine + sy * sine, sy * cosine - sx * sine};
  if (!c.directX) out.x = -out.x;
  if (!c.directY) out.y = -out.y;
  return out;
}

// ---------------------------------------------------------------------------- lifecycle

TData::TData(IVideoFacts& video, IViewMapping& view, const TSessionOptions& options)
    : context_(video, view),
      options_(options),
      repere_(context_),
      transparent_(context_),
      echelle_(context_),
      fixedStore_(TKind::PolyMarqueImgRep, repere_),
      tspStore_(TKind::PolyMarqueImgTsp, transparent_) {
  WireContext();
  SetElementSize(options.penSize);
  Reset();
}

TData::~TData() = default;

void TData::WireContext() {
  context_.record = [this](const THistObject& object, TAction action) {
    CurrentHistory().Record(object, action);
  };
  context_.onResultsStale = [this] { Notify(OnResultsStale); };
  context_.onMarksChange = [this] { Notify(OnMarksChange); };
  repere_.onRepereChange = [this] { Notify(OnRepereChange); };
  echelle_.onScaleChange = [this] { Notify(OnScaleChange); };
}

void TData::Notify(const TNotify& notification) {
  if (notification) notification(*this);
}

void TData::Reset() {
  SetTool(TTool::Mark);
  duration_ = 0.0;
  repere_.Reset();
  transparent_.Reset();
  echelle_.Reset(options_.twoScales);
  fixedStore_.ResetDefaults(options_.numbering);
  tspStore_.ResetDefaults(options_.numberingTsp);
  colours_.assign(1, PaletteColour(0));
  visibilities_.assign(1, true);
  Clear();
}

void TData::Clear() {
  repere_.ClearOrigins();
  transparent_.ClearOrigins();
  fixedStore_.Clear();
  tspStore_.Clear();
  ClearHistories();
  context_.ResultsStale();
  Notify(OnMarksChange);
}

void TData::ClearHistories() {
  fixedMarksHistory_.Clear();
  tspMarksHistory_.Clear();
  scaleHistory_.Clear();
  axesHistory_.Clear();
}

void TData::OptionsChanged(const TSessionOptions& options) {
  options_ = options;
  const TEchelle::TSegment selection = echelle_.Selection();
  if (options.twoScales && selection == TEchelle::kSingle) {
    SetScaleSelection(TEchelle::kVert);
  } else if (!options.twoScales && selection != TEchelle::kSingle) {
    SetScaleSelection(TEchelle::kSingle);
  }
  SetElementSize(options.penSize);
  fixedStore_.SetNumberPosition(options.numbering);
  tspStore_.SetNumberPosition(options.numberingTsp);
}

void TData::ViewChanged() {
  fixedStore_.RecomputeScreen();
  tspStore_.RecomputeScreen();
  transparent_.RecomputeSheet();
  repere_.RecomputeGeometry();
  echelle_.RecomputeScreen();
}

// ---------------------------------------------------------------------------- pointing

std::optional<TMessage> TData::PointMark(TPointI p) {
  return TransparentMode() ? PointTransparent(p) : PointFixed(p);
}

namespace {
TMessage DuplicateMessage() {
  TMessage message;
  message.icon = TMessageIcon::Information;
  message.buttons = {txt::ButtonOk};
  message.Line(txt::SessionDuplicateMark);
  return message;
}
}  // namespace

std::optional<TMessage> TData::PointFixed(TPointI p) {
  const int frame = context_.video.CurrentSourceFrame();
  TContainer& container = fixedStore_.ContainerFor(frame);
  const int order = fixedStore_.CurrentOrder();
  if (container.OfOrder(order) != nullptr) return DuplicateMessage();
  auto created = fixedStore_.NewMark();
  created->SetOrder(order);
  TMarque& mark = fixedStore_.InsertMark(std::move(created), container);
  mark.SetFixedPosition(context_.view.ToFraction(p));
  mark.RecomputeScreen();
  context_.Record(mark, TAction::PointedMark);
  fixedStore_.Renumber();
  if (fixedStore_.MarksPerFrame() == order + 1) {
    context_.video.GoToMontageIndex(context_.video.CurrentMontageIndex() + framesBetween_);
  }
  fixedStore_.SetCurrentOrder(order + 1);
  context_.Repaint();
  return std::nullopt;
}

std::optional<TMessage> TData::PointTransparent(TPointI p) {
  const int frame = context_.video.CurrentSourceFrame();
  TContainer& container = tspStore_.ContainerFor(frame);
  if (container.OfOrder(0) != nullptr) return DuplicateMessage();
  TMarque& mark = tspStore_.InsertMark(tspStore_.NewMark(), container);
  mark.SetTranspPosition(context_.view.ToFraction(p) - transparent_.Origin());
  mark.RecomputeScreen();
  context_.Record(mark, TAction::PointedMark);
  tspStore_.Renumber();
  if (TOrigine* last = transparent_.LastOrigin()) last->SetFrame(frame);
  context_.video.GoToMontageIndex(context_.video.CurrentMontageIndex() + framesBetween_);
  transparent_.StepStage(1);
  context_.Repaint();
  return std::nullopt;
}

void TData::WithdrawLastMark() {
  TPolyContainer& store = ActiveStore();
  if (store.Marks().empty()) return;
  store.RemoveMark(store.Marks().back(), TAction::WithdrawnMark);
  context_.Repaint();
}

bool TData::DeleteMark(const TMarque* mark) {
  if (mark == nullptr) return false;
  TPolyContainer& store = mark->Store();
  if (!store.IsTransparent()) return store.RemoveMark(mark, TAction::DeletedMark);
  const int frame = mark->Frame();
  THistorique& history = CurrentHistory();
  history.OpenGroup();
  const bool removed = store.RemoveMark(mark, TAction::DeletedMark);
  if (removed) transparent_.DeleteFrameOrigin(frame);
  history.CloseGroup();
  return removed;
}

void TData::RemoveFrameMarks(TPolyContainer& store, int frame) {
  TContainer* container = store.FindContainer(frame);
  if (container == nullptr) return;
  if (store.IsTransparent()) {
    if (const TMarque* mark = container->OfOrder(0)) {
      if (store.RemoveMark(mark, TAction::DeletedMark)) transparent_.DeleteFrameOrigin(frame);
    }
    return;
  }
  while (!container->Marks().empty()) {
    store.RemoveMark(container->Marks().back().get(), TAction::DeletedMark);
  }
}

void TData::DeleteFrameMarks(int frame) {
  THistorique& history = CurrentHistory();
  history.OpenGroup();
  RemoveFrameMarks(ActiveStore(), frame);
  history.CloseGroup();
  context_.Repaint();
}

void TData::DeleteAllMarks() {
  TPolyContainer& store = ActiveStore();
  THistorique& history = CurrentHistory();
  history.OpenGroup();
  for (auto c = store.Containers().rbegin(); c != store.Containers().rend(); ++c) {
    while (!(*c)->Marks().empty()) {
      store.RemoveMark((*c)->Marks().back().get(), TAction::DeletedMark);
    }
  }
  store.SetCurrentOrder(0);
  if (TransparentMode()) {
    transparent_.DeleteAllOrigins();
    SheetMoved();
  }
  history.CloseGroup();
  context_.Repaint();
}

void TData::EraseEverything() {
  THistorique& history = CurrentHistory();
  history.OpenGroup();
  EraseScale();
  DeleteAllMarks();
  if (context_.video.WorkMode() == TWorkMode::RepereFixe) repere_.EraseOrigin();
  history.CloseGroup();
}

void TData::FrameHidden(int frame) {
  if (TContainer* c = tspStore_.FindContainer(frame)) {
    if (const TMarque* mark = c->OfOrder(0)) tspStore_.RemoveMark(mark, TAction::DeletedMark);
  }
  transparent_.DeleteFrameOrigin(frame);
  RemoveFrameMarks(fixedStore_, frame);
  fixedMarksHistory_.Clear();
  tspMarksHistory_.Clear();
  context_.Repaint();
}

void TData::KeepTrackedMarks(const std::vector<TTrackedMark>& marks) {
  THistorique& history = CurrentHistory();
  history.OpenGroup();
  for (const TTrackedMark& tracked : marks) {
    if (tracked.object < 0 || tracked.object >= fixedStore_.MarksPerFrame()) continue;
    TContainer& container = fixedStore_.ContainerFor(tracked.frame);
    TMarque* mark = container.OfOrder(tracked.object);
    const bool created = mark == nullptr;
    if (created) {
      auto fresh = fixedStore_.NewMark();
      fresh->SetOrder(tracked.object);
      mark = &fixedStore_.InsertMark(std::move(fresh), container);
    } else {
      context_.Record(*mark, TAction::Drag);
    }
    mark->SetFixedPosition(tracked.position);
    mark->RecomputeScreen();
    if (created) context_.Record(*mark, TAction::TrackedMark);
  }
  fixedStore_.Renumber();
  history.CloseGroup();
  context_.Repaint();
}

// ---------------------------------------------------------------------------- settings

void TData::SetMarksNumberPerFrame(int n) {
  TPolyContainer& store = ActiveStore();
  if (store.IsTransparent()) {
    store.SetMarksPerFrameValue(1);
    return;
  }
  context_.Record(store, TAction::Modify);
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
  Notify(OnMarksPerFrameChange);
}

void TData::GrowObjectArrays(int from, int to) {
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
    fixedStore_.MutableNames().push_back(TPolyContainer::DefaultName(i));
  }
}

void TData::ShrinkObjects(int from, int to) {
  for (int object = from - 1; object >= to; --object) {
    for (const auto& c : fixedStore_.Containers()) {
      if (const TMarque* mark = c->OfOrder(object)) {
        fixedStore_.RemoveMark(mark, TAction::ReduceMarks);
      }
    }
    auto& names = fixedStore_.MutableNames();
    if (object < static_cast<int>(names.size())) names.erase(names.begin() + object);
  }
  fixedStore_.Renumber();
  fixedStore_.SetCurrentOrder(fixedStore_.CurrentOrder());
}

void TData::SetCurrentMarkOrderNumber(int n) {
  ActiveStore().SetCurrentOrder(n);
  context_.Repaint();
}

void TData::SetDuration(double seconds) {
  if (IsZero(seconds - duration_)) return;
  duration_ = seconds;
  context_.ResultsStale();
}

void TData::SetTool(TTool tool) {
  tool_ = tool;
  if (tool == TTool::None) return;
  CancelDrags();
  if (transparent_.Stage() == TTransparent::kCarried)
    transparent_.SetStage(TTransparent::kWaitGrab);
  if (tool == TTool::Transparent) {
    transparent_.PlaceDefaultOrigin();
    SheetMoved();
  }
  context_.cursor = TSessionCursor::Tool;
  Notify(OnToolChange);
}

void TData::CancelDrags() {
  fixedStore_.CancelDrag();
  tspStore_.CancelDrag();
  repere_.CancelDrag();
  echelle_.CancelDrag();
}

void TData::SetElementSize(std::uint8_t size) {
  elementSize_ = std::min<std::uint8_t>(size, 2);
  context_.penWidth = 1 + 2 * elementSize_;
}

// ---------------------------------------------------------------------------- objects

void TData::SetObjectColour(int object, TColour colour) {
  if (object < 0 || object >= static_cast<int>(colours_.size())) return;
  colours_[object] = colour;
  Notify(OnMarkColorChange);
}

void TData::SetObjectVisibility(int object, bool visible) {
  if (object < 0 || object >= static_cast<int>(visibilities_.size())) return;
  visibilities_[object] = visible;
  Notify(OnMarkVisibilityChange);
}

void TData::SetObjectName(int object, const std::string& name) {
  TPolyContainer* store = nullptr;
  if (context_.video.WorkMode() == TWorkMode::RepereFixe) store = &fixedStore_;
  if (TransparentMode()) store = &tspStore_;
  if (store == nullptr) return;
  auto& names = store->MutableNames();
  if (object < 0 || object >= static_cast<int>(names.size())) return;
  names[object] = name;
}

void TData::StepColour(int object, bool forward) {
  const int step = forward ? 1 : -1;
  if (object == -1) {
    elementColour_ = PaletteColour(PaletteIndex(elementColour_) + step);
  } else {
    if (object < 0 || object >= static_cast<int>(colours_.size())) return;
    SetObjectColour(object, PaletteColour(PaletteIndex(colours_[object]) + step));
  }
  context_.Repaint();
}

TColour TData::ObjectColour(int object) const {
  if (object < 0 || object >= static_cast<int>(colours_.size())) return kRed;
  return colours_[object];
}

bool TData::ObjectVisible(int object) const {
  if (TransparentMode() || object < 0 || object >= static_cast<int>(visibilities_.size())) {
    return true;
  }
  return visibilities_[object];
}

std::string TData::ObjectName(int object) const {
  const auto& names = ActiveStore().Names();
  if (object < 0 || object >= static_cast<int>(names.size())) return {};
  return names[object];
}

// ---------------------------------------------------------------------------- calibration

void TData::SetScaleSelection(TEchelle::TSegment segment) {
  if (echelle_.SetSelection(segment)) Notify(OnScaleKindChange);
}

void TData::SetScaleLength(TEchelle::TSegment segment, double metres) {
  echelle_.SetLength(segment, metres);
}

void TData::InvertXAxis() { InvertAxis(true); }

void TData::InvertYAxis() { InvertAxis(false); }

void TData::InvertAxis(bool xAxis) {
  TRepere& frame = TransparentMode() ? static_cast<TRepere&>(transparent_) : repere_;
  if (xAxis) {
    frame.SetDirectX(!frame.DirectX());
  } else {
    frame.SetDirectY(!frame.DirectY());
  }
  if (TransparentMode()) SheetMoved();
  context_.Repaint();
}

void TData::EraseScale() {
  while (echelle_.PointCount(echelle_.Selection()) > 0) echelle_.EraseLastPoint();
}

void TData::DeleteAllOrigins() {
  THistorique& history = CurrentHistory();
  history.OpenGroup();
  transparent_.DeleteAllOrigins();
  history.CloseGroup();
  SheetMoved();
}

void TData::SheetMoved() {
  transparent_.RecomputeSheet();
  tspStore_.RecomputeScreen();
  context_.Repaint();
}

TConversion TData::Conversion() const {
  TConversion c;
  c.factors = echelle_.Factors(context_.video.PictureWidth(), context_.video.PictureHeight(),
                               options_.twoScales);
  c.theta = TransparentMode() ? 0.0 : repere_.XAngle();
  c.directX = DirectX();
  c.directY = DirectY();
  return c;
}

// ---------------------------------------------------------------------------- queries

const TPolyContainer& TData::ActiveStore() const {
  return TransparentMode() ? tspStore_ : fixedStore_;
}

TPolyContainer& TData::ActiveStore() { return TransparentMode() ? tspStore_ : fixedStore_; }

const TRepere& TData::ActiveRepere() const {
  if (TransparentMode()) return transparent_;
  return repere_;
}

int TData::MarksOnFrame(int frame) const {
  if (context_.video.WorkMode() != TWorkMode::Montage) return -1;
  return fixedStore_.MarksOnFrame(frame);
}

bool TData::OriginPlaced() const { return TransparentMode() || repere_.OriginPlaced(); }

double TData::XAxisAngle() const { return TransparentMode() ? 0.0 : repere_.XAngle(); }

TPointD TData::CurrentOrigin() const { return TransparentMode() ? TPointD{} : repere_.Origin(); }

TPointedData TData::GetData() const {
  const TPolyContainer& store = ActiveStore();
  std::vector<const TContainer*> pointed;
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
  TPointedData data;
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
      const TPointD t = mark->TranspPosition();
      data.frame[o][i] = k[j];
      data.x[o][i] = t.x;
      data.y[o][i] = -t.y;
    }
  }
  return data;
}

}  // namespace kinovia
