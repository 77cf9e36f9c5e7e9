// Reads a work file back into plain values, trusting nothing it holds: every count is checked
// against the keys that are really there, so a damaged file never makes us allocate or loop
// beyond its own size.
#include <cmath>
#include <numbers>
#include <set>

#include "core/Numbers.h"
#include "core/TextFill.h"
#include "logic/session/WorkFile.h"
#include "logic/session/WorkFileKeys.h"
#include "resources/TxtCommon.h"
#include "resources/TxtSettings.h"

namespace kinovia {
namespace {

using knv::Indexed;
using knv::Key;

// Thrown inside the reader only, to leave at the first key that cannot be trusted.
struct Refusal {
  TxtId reason;
  std::string key;
};

class Reader {
 public:
  explicit Reader(const IniFile& ini) : ini_(ini) {}

  void Section(std::string_view section) {
    section_ = section;
    keys_ = budget_ = ini_.KeyCount(section);
  }
  std::int32_t Int(const std::string& key, std::int32_t byDefault) const {
    return ReadIniInteger(ini_, section_, key, byDefault);
  }
  bool Bool(const std::string& key, bool byDefault) const {
    return ReadIniBool(ini_, section_, key, byDefault);
  }
  std::string Text(const std::string& key) const { return ReadIniString(ini_, section_, key); }
  double Real(const std::string& key, double byDefault) const {
    const auto text = ini_.ReadView(section_, key);
    if (!text) return byDefault;
    const double value = StoredTextToReal(*text);
    if (IsHuge(value)) throw Refusal{txt::KnvBadNumber, key};
    return value;
  }
  PointD Point(const std::string& xKey, const std::string& yKey, double byDefault) const {
    return {Real(xKey, byDefault), Real(yKey, byDefault)};
  }
  // A number of things each of which has keys of its own in the section, counted elsewhere:
  // more than the section's keys means the file was damaged.
  void AtMostKeys(const std::string& key, std::int32_t value) const {
    if (value > 0 && static_cast<std::size_t>(value) > keys_) throw Refusal{txt::KnvBadCount, key};
  }
  // A count of items, each of which needs at least one key of the section: more than the
  // section's keys left means the file was damaged.
  std::size_t Count(const std::string& key) {
    const std::int32_t count = Int(key, 0);
    if (count <= 0) return 0;
    if (static_cast<std::size_t>(count) > budget_) throw Refusal{txt::KnvBadCount, key};
    budget_ -= static_cast<std::size_t>(count);
    return static_cast<std::size_t>(count);
  }

 private:
  const IniFile& ini_;
  std::string_view section_;
  std::size_t keys_ = 0, budget_ = 0;
};

SavedAxes ReadAxes(const Reader& r, std::string_view suffix) {
  SavedAxes axes;
  axes.directY = r.Bool(Key("DirectYAxisDirection", suffix), true);
  axes.directX = r.Bool(Key("DirectXAxisDirection", suffix), true);
  axes.origin = r.Point(Key("OrigineCurrentXCoordinate", suffix),
                        Key("OrigineCurrentYCoordinate", suffix), 0.5);
  return axes;
}

void ReadSessionKeys(Reader& r, WorkFileContent& work) {
  work.duration = r.Real("RequiredDuration", work.duration);
  work.framesBetween = std::max(1, r.Int("FramesNumberBetweenTwoMarks", 1));
  work.colours.resize(r.Count("MarkColorsNumber"));
  for (std::size_t i = 0; i < work.colours.size(); ++i) {
    work.colours[i] = static_cast<std::uint32_t>(r.Int(Indexed("MarkColor_", i), 0)) & 0xFFFFFF;
  }
  work.visibilities.resize(r.Count("MarkVisibiltiesNumber"));
  for (std::size_t i = 0; i < work.visibilities.size(); ++i) {
    work.visibilities[i] = r.Bool(Indexed("MarkVisibility_", i), true);
  }
  work.elementColour =
      static_cast<std::uint32_t>(r.Int("ElementColor", static_cast<std::int32_t>(0x00FFFF))) &
      0xFFFFFF;
  work.elementSize = std::clamp(r.Int("ElementSize", 0), 0, 2);
}

void ReadFrames(Reader& r, WorkFileContent& work) {
  work.fixedAxes = ReadAxes(r, knv::kGrid);
  work.originPointsNumber = std::clamp(r.Int(Key("OriginePointsNumber", knv::kGrid), 0), 0, 1);
  work.xAxisAngle = r.Real(Key("XAxisAngle", knv::kGrid), 0);
  // The y axis is always a quarter turn from the x axis; a file without it keeps that.
  work.yAxisAngle =
      r.Real(Key("YAxisAngle", knv::kGrid), NormalizeAngle(work.xAxisAngle, std::numbers::pi / 2));

  work.layerAxes = ReadAxes(r, knv::kLayer);
  work.layerStage = LayerStageFromCode(r.Int("LayerStage", 1));
  work.layerWidth = r.Real("LayerWidth", 0.5);
  work.layerHeight = r.Real("LayerHeight", 0.5);
  work.positions.resize(r.Count(Key("OriginePositionsNumber", knv::kLayer)));
  for (std::size_t j = 0; j < work.positions.size(); ++j) {
    SavedOrigin& origin = work.positions[j];
    origin.frame = r.Int(Key("OrigineImageNumber", knv::kLayer, j), -1);
    if (origin.frame < -1)
      throw Refusal{txt::KnvBadIndex, Key("OrigineImageNumber", knv::kLayer, j)};
    origin.position = r.Point(Key("OrigineXCoordinate", knv::kLayer, j),
                              Key("OrigineYCoordinate", knv::kLayer, j), 0);
  }
}

void ReadScale(const Reader& r, WorkFileContent& work) {
  constexpr std::string_view kNames[] = {"Scale", "ScaleHoriz", "ScaleVert"};
  for (std::size_t s = 0; s < 3; ++s) {
    const std::string base(kNames[s]);
    SavedScaleSegment& segment = work.scale[s];
    segment.points = std::clamp(r.Int(base + "PointsNumber", 0), 0, 2);
    segment.p1 = r.Point(base + "Point1XCoordinate", base + "Point1YCoordinate", 0);
    segment.p2 = r.Point(base + "Point2XCoordinate", base + "Point2YCoordinate", 0);
    segment.length = r.Real(base + "Length", 0);
  }
}

// `seen` holds a flag per object of the store, all down between two containers.
void ReadMarks(Reader& r, const std::string& suffix, SavedFrameMarks& container,
               std::vector<bool>& seen) {
  container.marks.resize(r.Count(Key("MarksContainerMarksNumber", suffix)));
  knv::KeyBuffer key;
  for (std::size_t m = 0; m < container.marks.size(); ++m) {
    SavedMark& mark = container.marks[m];
    mark.order = r.Int(key.Of("MarkOrderNumber", suffix, m), 0);
    // One mark per object on a frame, and only for objects the store has.
    const auto object = static_cast<std::size_t>(mark.order);
    if (mark.order < 0 || object >= seen.size() || seen[object]) {
      throw Refusal{txt::KnvBadIndex, key.Of("MarkOrderNumber", suffix, m)};
    }
    seen[object] = true;
    mark.position.x = r.Real(key.Of("MarkXCoordinate", suffix, m), 0);
    mark.position.y = r.Real(key.Of("MarkYCoordinate", suffix, m), 0);
  }
  for (const SavedMark& mark : container.marks) seen[static_cast<std::size_t>(mark.order)] = false;
}

SavedStore ReadStore(Reader& r, std::string_view suffix) {
  SavedStore store;
  store.numberPosition = std::clamp(r.Int(Key("MarksNumberPosition", suffix), 0), 0, 2);
  store.allDrawn = r.Bool(Key("MarksIsAllDrawn", suffix), true);
  store.toDraw = std::max(1, r.Int(Key("MarksNumberToDraw", suffix), 1));
  store.currentOrder = r.Int(Key("CurrentMarkOrderNumber", suffix), 0);
  store.perFrame = r.Int(Key("MarksNumberPerFrame", suffix), 1);
  if (store.perFrame < 1) store.perFrame = 1;
  store.names.resize(r.Count(Key("SystemNamesNumber", suffix)));
  for (std::size_t i = 0; i < store.names.size(); ++i) {
    store.names[i] = r.Text(Key("SystemName", suffix, i));
  }
  // Every object has its name, colour and visibility keys: more objects than keys is damage.
  if (store.perFrame > 1) r.AtMostKeys(Key("MarksNumberPerFrame", suffix), store.perFrame);
  store.containers.resize(r.Count(Key("MarksContainersNumber", suffix)));
  std::set<std::int32_t> frames;
  // perFrame is bounded by the section's keys: the flags cost no more than the file.
  std::vector<bool> seen(static_cast<std::size_t>(store.perFrame));
  for (std::size_t c = 0; c < store.containers.size(); ++c) {
    SavedFrameMarks& container = store.containers[c];
    const std::string containerSuffix = Key(suffix, std::to_string(c));
    const std::string frameKey = Key("MarksContainerFrameNumber", containerSuffix);
    container.frame = r.Int(frameKey, 0);
    if (container.frame < 0 || !frames.insert(container.frame).second) {
      throw Refusal{txt::KnvBadIndex, frameKey};
    }
    container.rank = r.Int(Key("MarksContainerMarkNumber", containerSuffix), 0);
    ReadMarks(r, containerSuffix, container, seen);
  }
  return store;
}

SavedMontage ReadMontage(Reader& r) {
  SavedMontage montage;
  r.Section(knv::kMontage);
  montage.frameCount = std::max(0, r.Int("VisibleImagesNumber", 0));
  montage.runs.resize(r.Count("VisibleScalesNumber"));
  for (std::size_t i = 0; i < montage.runs.size(); ++i) {
    montage.runs[i] = {r.Int(Indexed("VisibleScale_", i), 0),
                       r.Bool(Indexed("VisibleImage_", i), true)};
  }
  montage.entries.resize(r.Count("TimeShiftScalesNumber"));
  for (std::size_t i = 0; i < montage.entries.size(); ++i) {
    montage.entries[i] = {r.Int(Indexed("TimeShiftScale_", i), 1),
                          r.Int(Indexed("TimeShift_", i), 0)};
  }
  return montage;
}

template <class T>
void ReadRecords(const Reader& r, std::vector<T>& records, std::size_t count,
                 const knv::RecordFields<T>& fields) {
  records.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    for (const auto& [key, member] : fields)
      records[i].*member = r.Text(Key(key, std::to_string(i)));
  }
}

FormulaSet ReadFormulas(Reader& r, const IniFile& ini) {
  FormulaSet set;
  r.Section(knv::kFormules);
  const std::size_t formulaCount = std::max(0, r.Int("FormulesNumber", 0));
  const std::size_t constantCount = std::max(0, r.Int("ConstantesNumber", 0));
  // The records live in their own section: count them against its keys.
  Reader records(ini);
  records.Section(knv::kRecord);
  const std::size_t keys = ini.KeyCount(knv::kRecord);
  if (formulaCount > keys) throw Refusal{txt::KnvBadCount, "FormulesNumber"};
  if (constantCount > keys - formulaCount) throw Refusal{txt::KnvBadCount, "ConstantesNumber"};
  ReadRecords(records, set.formulas, formulaCount, knv::kFormulaFields);
  ReadRecords(records, set.constants, constantCount, knv::kConstantFields);
  return set;
}

Message RefusalMessage(const std::string& path, TxtId reason, const std::string& key) {
  Message message{MessageIcon::Error, {txt::ButtonOk}, {}};
  message.Line(txt::KnvCannotOpen).FileName(path).Blank().Line(FillTexts(reason, {key}));
  return message;
}

}  // namespace

Result<WorkFileContent> ReadWorkFile(const IniFile& ini, const std::string& path) {
  if (!ini.HasSection(knv::kMain) || !ini.HasSection(knv::kData)) {
    return RefusalMessage(path, txt::KnvNotAWorkFile, "");
  }
  WorkFileContent work;
  try {
    Reader r(ini);
    r.Section(knv::kMain);
    work.videoFileName = r.Text("VideoFileName");
    work.videoRelativeName = r.Text("VideoRelativeFileName");
    r.Section(knv::kData);
    ReadSessionKeys(r, work);
    ReadFrames(r, work);
    ReadScale(r, work);
    work.fixedStore = ReadStore(r, knv::kGrid);
    work.layerStore = ReadStore(r, knv::kLayer);
    r.Section(knv::kVideo);
    work.imageNumber = std::max(0, r.Int("ImageNumber", 0));
    work.transparentMode = r.Int("MarkingMode", 0) == 1;
    work.montage = ReadMontage(r);
    work.formulas = ReadFormulas(r, ini);
  } catch (const Refusal& refusal) {
    return RefusalMessage(path, refusal.reason, refusal.key);
  }
  return work;
}

}  // namespace kinovia
