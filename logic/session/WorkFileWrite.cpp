// Writes a work file's sections in the order every reader of the format expects.
#include <optional>

#include "core/Numbers.h"
#include "logic/session/WorkFile.h"
#include "logic/session/WorkFileKeys.h"

namespace kinovia {
namespace {

using knv::Indexed;
using knv::Key;

class Writer {
 public:
  explicit Writer(IniFile& ini) : ini_(ini) {}
  void Section(std::string_view section) {
    bulk_.reset();
    section_ = section;
  }
  // A section of many keys: they are appended as they come, repeats caught once at its end.
  void BulkSection(std::string_view section, std::size_t keys, std::size_t bytes) {
    Section(section);
    bulk_.emplace(ini_, section, keys, bytes);
  }
  void Int(const std::string& key, std::int64_t value) { Text(key, std::to_string(value)); }
  void Bool(const std::string& key, bool value) { Text(key, value ? "1" : "0"); }
  void Real(const std::string& key, double value) { Text(key, FullPrecisionText(value)); }
  void Text(const std::string& key, std::string_view value) {
    if (bulk_) {
      bulk_->Write(key, value);
    } else {
      ini_.Write(section_, key, value);
    }
  }

 private:
  IniFile& ini_;
  std::string_view section_;
  std::optional<IniFile::SectionWriter> bulk_;
};

void WriteAxes(Writer& w, const SavedAxes& axes, std::string_view suffix) {
  w.Bool(Key("DirectYAxisDirection", suffix), axes.directY);
  w.Bool(Key("DirectXAxisDirection", suffix), axes.directX);
  w.Real(Key("OrigineCurrentXCoordinate", suffix), axes.origin.x);
  w.Real(Key("OrigineCurrentYCoordinate", suffix), axes.origin.y);
}

void WriteSessionKeys(Writer& w, const WorkFileContent& work) {
  w.Real("RequiredDuration", work.duration);
  w.Int("FramesNumberBetweenTwoMarks", work.framesBetween);
  w.Int("MarkColorsNumber", static_cast<std::int64_t>(work.colours.size()));
  for (std::size_t i = 0; i < work.colours.size(); ++i) {
    w.Int(Indexed("MarkColor_", i), work.colours[i]);
  }
  // The key's spelling is the format's own.
  w.Int("MarkVisibiltiesNumber", static_cast<std::int64_t>(work.visibilities.size()));
  for (std::size_t i = 0; i < work.visibilities.size(); ++i) {
    w.Bool(Indexed("MarkVisibility_", i), work.visibilities[i]);
  }
  w.Int("ElementColor", work.elementColour);
  w.Int("ElementSize", work.elementSize);
}

void WriteFrames(Writer& w, const WorkFileContent& work) {
  WriteAxes(w, work.fixedAxes, knv::kGrid);
  w.Int(Key("OriginePointsNumber", knv::kGrid), work.originPointsNumber);
  w.Real(Key("XAxisAngle", knv::kGrid), work.xAxisAngle);
  w.Real(Key("YAxisAngle", knv::kGrid), work.yAxisAngle);

  WriteAxes(w, work.layerAxes, knv::kLayer);
  w.Int("LayerStage", LayerStageCode(work.layerStage));
  w.Real("LayerWidth", work.layerWidth);
  w.Real("LayerHeight", work.layerHeight);
  w.Int(Key("OriginePositionsNumber", knv::kLayer),
        static_cast<std::int64_t>(work.positions.size()));
  for (std::size_t j = 0; j < work.positions.size(); ++j) {
    w.Int(Key("OrigineImageNumber", knv::kLayer, j), work.positions[j].frame);
    w.Real(Key("OrigineXCoordinate", knv::kLayer, j), work.positions[j].position.x);
    w.Real(Key("OrigineYCoordinate", knv::kLayer, j), work.positions[j].position.y);
  }
}

void WriteScale(Writer& w, const WorkFileContent& work) {
  constexpr std::string_view kNames[] = {"Scale", "ScaleHoriz", "ScaleVert"};
  for (std::size_t s = 0; s < 3; ++s) {
    const std::string base(kNames[s]);
    const SavedScaleSegment& segment = work.scale[s];
    w.Int(base + "PointsNumber", segment.points);
    w.Real(base + "Point1XCoordinate", segment.p1.x);
    w.Real(base + "Point1YCoordinate", segment.p1.y);
    w.Real(base + "Point2XCoordinate", segment.p2.x);
    w.Real(base + "Point2YCoordinate", segment.p2.y);
    w.Real(base + "Length", segment.length);
  }
}

void WriteStore(Writer& w, const SavedStore& store, std::string_view suffix) {
  w.Int(Key("MarksNumberPosition", suffix), store.numberPosition);
  w.Bool(Key("MarksIsAllDrawn", suffix), store.allDrawn);
  w.Int(Key("MarksNumberToDraw", suffix), store.toDraw);
  w.Int(Key("CurrentMarkOrderNumber", suffix), store.currentOrder);
  w.Int(Key("MarksNumberPerFrame", suffix), store.perFrame);
  w.Int(Key("SystemNamesNumber", suffix), static_cast<std::int64_t>(store.names.size()));
  for (std::size_t i = 0; i < store.names.size(); ++i) {
    w.Text(Key("SystemName", suffix, i), store.names[i]);
  }
  w.Int(Key("MarksContainersNumber", suffix), static_cast<std::int64_t>(store.containers.size()));
  knv::KeyBuffer key;
  for (std::size_t c = 0; c < store.containers.size(); ++c) {
    const SavedFrameMarks& container = store.containers[c];
    const std::string containerSuffix = Key(suffix, std::to_string(c));
    w.Int(Key("MarksContainerFrameNumber", containerSuffix), container.frame);
    w.Int(Key("MarksContainerMarkNumber", containerSuffix), container.rank);
    w.Int(Key("MarksContainerMarksNumber", containerSuffix),
          static_cast<std::int64_t>(container.marks.size()));
    for (std::size_t m = 0; m < container.marks.size(); ++m) {
      const SavedMark& mark = container.marks[m];
      w.Int(key.Of("MarkOrderNumber", containerSuffix, m), mark.order);
      w.Real(key.Of("MarkXCoordinate", containerSuffix, m), mark.position.x);
      w.Real(key.Of("MarkYCoordinate", containerSuffix, m), mark.position.y);
    }
  }
}

void WriteMontage(Writer& w, const SavedMontage& montage) {
  w.Section(knv::kMontage);
  w.Int("VisibleImagesNumber", montage.frameCount);
  w.Int("VisibleScalesNumber", static_cast<std::int64_t>(montage.runs.size()));
  for (std::size_t i = 0; i < montage.runs.size(); ++i) {
    w.Int(Indexed("VisibleScale_", i), montage.runs[i].start);
    w.Bool(Indexed("VisibleImage_", i), montage.runs[i].visible);
  }
  w.Int("TimeShiftsNumber", montage.frameCount);
  w.Int("TimeShiftScalesNumber", static_cast<std::int64_t>(montage.entries.size()));
  for (std::size_t i = 0; i < montage.entries.size(); ++i) {
    w.Int(Indexed("TimeShiftScale_", i), montage.entries[i].frame);
    w.Int(Indexed("TimeShift_", i), montage.entries[i].shift);
  }
}

template <class T>
void WriteRecords(Writer& w, std::string_view countKey, const std::vector<T>& records,
                  const knv::RecordFields<T>& fields) {
  w.Section(knv::kFormules);
  w.Int(std::string(countKey), static_cast<std::int64_t>(records.size()));
  w.Section(knv::kRecord);
  for (std::size_t i = 0; i < records.size(); ++i) {
    for (const auto& [key, member] : fields) {
      w.Text(Key(key, std::to_string(i)), records[i].*member);
    }
  }
}

void WriteFormulas(Writer& w, const FormulaSet& set) {
  WriteRecords(w, "FormulesNumber", set.formulas, knv::kFormulaFields);
  WriteRecords(w, "ConstantesNumber", set.constants, knv::kConstantFields);
}

}  // namespace

std::int32_t LayerStageCode(std::int32_t stage) { return stage == 0 ? 1 : stage == 1 ? 0 : stage; }

std::int32_t LayerStageFromCode(std::int32_t code) {
  return code == 0 ? 1 : code == 1 ? 0 : code == 2 ? 2 : 0;
}

// The section of the marks, written in bulk. Its keys are counted beforehand, with room to
// spare for the few fixed ones: a list that grew at the end would be copied whole. A mark's three
// keys take up to about a hundred and fifty bytes.
void StartMarksSection(Writer& w, const WorkFileContent& work) {
  std::size_t triples = work.positions.size();
  for (const SavedStore* store : {&work.fixedStore, &work.layerStore}) {
    triples += store->containers.size();
    for (const auto& container : store->containers) triples += container.marks.size();
  }
  const std::size_t lists = work.colours.size() + work.visibilities.size() +
                            work.fixedStore.names.size() + work.layerStore.names.size();
  const std::size_t keys = 3 * triples + lists + 256;
  w.BulkSection(knv::kData, keys, 48 * keys);
}

void WriteWorkFile(IniFile& ini, const WorkFileContent& work) {
  Writer w(ini);
  w.Section(knv::kMain);
  w.Int("Version", knv::kVersion);
  w.Text("VideoFileName", work.videoFileName);
  w.Text("VideoRelativeFileName", work.videoRelativeName);
  StartMarksSection(w, work);
  WriteSessionKeys(w, work);
  WriteFrames(w, work);
  WriteScale(w, work);
  WriteStore(w, work.fixedStore, knv::kGrid);
  WriteStore(w, work.layerStore, knv::kLayer);
  w.Section(knv::kVideo);
  w.Int("ImageNumber", work.imageNumber);
  w.Bool("MarkingMode", work.transparentMode);
  WriteMontage(w, work.montage);
  WriteFormulas(w, work.formulas);
}

}  // namespace kinovia
