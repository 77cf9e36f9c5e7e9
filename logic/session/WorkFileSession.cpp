// Moves a session between Session and the plain values of a work file.
#include <algorithm>

#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"

namespace kinovia {
namespace {

constexpr Scale::SegmentKind kSegments[] = {Scale::kSingle, Scale::kHoriz, Scale::kVert};

SavedAxes CaptureAxes(const Axes& axes) { return {axes.DirectX(), axes.DirectY(), axes.Origin()}; }

SavedStore CaptureStore(const MarkStore& store) {
  SavedStore out;
  out.numberPosition = store.NumberPosition();
  out.allDrawn = store.AllDrawn();
  out.toDraw = store.MarksToDraw();
  out.currentOrder = store.CurrentOrder();
  out.perFrame = store.MarksPerFrame();
  out.names = store.Names();
  std::vector<const FrameMarks*> containers;
  for (const auto& container : store.Containers()) containers.push_back(container.get());
  std::sort(containers.begin(), containers.end(),
            [](const FrameMarks* a, const FrameMarks* b) { return a->Rank() < b->Rank(); });
  for (const FrameMarks* container : containers) {
    SavedFrameMarks& saved = out.containers.emplace_back();
    saved.frame = container->Frame();
    saved.rank = container->Rank();
    for (const auto& mark : container->Marks()) {
      const PointD position = store.IsTransparent() ? mark->SheetPosition() : mark->FixedPosition();
      saved.marks.push_back({mark->Order(), position});
    }
  }
  return out;
}

void ApplyAxes(const SavedAxes& saved, Axes& axes) {
  axes.SetDirectX(saved.directX);
  axes.SetDirectY(saved.directY);
  axes.SetOrigin(saved.origin);
}

void ApplyStore(const SavedStore& saved, MarkStore& store) {
  store.Clear();
  store.SetNumberPosition(static_cast<std::uint8_t>(saved.numberPosition));
  store.SetAllDrawn(saved.allDrawn);
  store.SetMarksToDraw(saved.toDraw);
  store.SetMarksPerFrameValue(saved.perFrame);
  auto& names = store.MutableNames();
  names = saved.names;
  for (int i = static_cast<int>(names.size()); i < store.MarksPerFrame(); ++i) {
    names.push_back(MarkStore::DefaultName(i));
  }
  for (const SavedFrameMarks& container : saved.containers) {
    FrameMarks& target = store.ContainerFor(container.frame);
    for (const SavedMark& mark : container.marks) {
      std::unique_ptr<Mark> created = store.NewMark();
      created->SetOrder(mark.order);
      if (store.IsTransparent()) {
        created->SetSheetPosition(mark.position);
      } else {
        created->SetFixedPosition(mark.position);
      }
      store.InsertMark(std::move(created), target);
    }
  }
  store.Renumber();
  store.SetCurrentOrder(saved.currentOrder);
}

void ApplyFixedAxes(const WorkFileContent& work, FixedAxes& axes) {
  ApplyAxes(work.fixedAxes, axes);
  axes.SetOriginPlaced(work.originPointsNumber > 0);
  axes.SetAngles(work.xAxisAngle, work.yAxisAngle);
}

void ApplySheet(const WorkFileContent& work, TransparentSheet& sheet) {
  ApplyAxes(work.layerAxes, sheet);
  sheet.SetSize(work.layerWidth, work.layerHeight);
  for (const SavedOrigin& origin : work.positions) {
    sheet.AddOrigin(std::make_unique<SheetOrigin>(origin.frame, origin.position),
                    UndoAction::OriginAdded);
  }
  sheet.SetStage(static_cast<TransparentSheet::SheetStage>(work.layerStage));
}

void ApplyScale(const WorkFileContent& work, Scale& scale) {
  for (std::size_t s = 0; s < 3; ++s) {
    scale.SetPointCount(kSegments[s], work.scale[s].points);
    scale.SetPoint(kSegments[s], 0, work.scale[s].p1);
    scale.SetPoint(kSegments[s], 1, work.scale[s].p2);
    scale.SetLength(kSegments[s], work.scale[s].length);
  }
}

// Every object of the fixed store has a colour and a visibility, whatever the file held.
void ApplyObjectArrays(const WorkFileContent& work, int objects, std::vector<Colour>& colours,
                       std::vector<bool>& visibilities) {
  const auto count = static_cast<std::size_t>(objects);
  colours.assign(work.colours.begin(), work.colours.end());
  visibilities.assign(work.visibilities.begin(), work.visibilities.end());
  for (std::size_t i = colours.size(); i < count; ++i) {
    colours.push_back(PaletteColour(static_cast<int>(i)));
  }
  visibilities.resize(std::max(visibilities.size(), count), true);
}

}  // namespace

SavedMontage CaptureMontage(const Montage& montage) {
  return {montage.FrameCount(), montage.VisibilityRuns(), montage.TimeShiftEntries()};
}

bool ApplyMontage(const SavedMontage& saved, std::int32_t clipFrameCount, Montage& montage) {
  if (saved.frameCount == clipFrameCount &&
      montage.Restore(saved.frameCount, saved.runs, saved.entries)) {
    return true;
  }
  montage.ResetMontage(clipFrameCount);
  return false;
}

WorkFileContent CaptureSession(const Session& data) {
  WorkFileContent work;
  work.duration = data.Duration();
  work.framesBetween = data.FramesBetweenMarks();
  const int objects = data.FixedStore().MarksPerFrame();
  for (int i = 0; i < objects; ++i) {
    work.colours.push_back(data.ObjectColour(i));
    work.visibilities.push_back(data.ObjectVisible(i));
  }
  work.elementColour = data.ElementColour();
  work.elementSize = data.ElementSize();
  const FixedAxes& axes = data.ReferenceAxes();
  work.fixedAxes = CaptureAxes(axes);
  work.originPointsNumber = axes.OriginPlaced() ? 1 : 0;
  work.xAxisAngle = axes.XAngle();
  work.yAxisAngle = axes.YAngle();
  const TransparentSheet& sheet = data.Transparent();
  work.layerAxes = CaptureAxes(sheet);
  work.layerStage = sheet.Stage();
  work.layerWidth = sheet.HalfWidth();
  work.layerHeight = sheet.HalfHeight();
  for (const auto& origin : sheet.Origins()) {
    work.positions.push_back({origin->Frame(), origin->Position()});
  }
  const Scale& scale = data.CalibrationScale();
  for (std::size_t s = 0; s < 3; ++s) {
    work.scale[s] = {scale.PointCount(kSegments[s]), scale.Point(kSegments[s], 0),
                     scale.Point(kSegments[s], 1), scale.Length(kSegments[s])};
  }
  work.fixedStore = CaptureStore(data.FixedStore());
  work.layerStore = CaptureStore(data.TransparentStore());
  work.transparentMode = data.TransparentMode();
  work.formulas = data.Formulas();
  return work;
}

void Session::ApplyWork(const WorkFileContent& work) {
  Reset();
  SetDuration(work.duration);
  SetFramesBetweenMarks(work.framesBetween);
  SetElementColour(work.elementColour);
  SetElementSize(static_cast<std::uint8_t>(work.elementSize));
  ApplyFixedAxes(work, axes_);
  ApplySheet(work, transparent_);
  ApplyScale(work, scale_);
  ApplyStore(work.fixedStore, fixedStore_);
  ApplyStore(work.layerStore, sheetStore_);
  ApplyObjectArrays(work, fixedStore_.MarksPerFrame(), colours_, visibilities_);
  formulas_ = work.formulas;
}

}  // namespace kinovia
