#pragma once
// The work file (".knv"): what a saved session holds, written to and read from its INI text, and
// the save command's flow.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "resources/UnitMessage.h"
#include "session/UnitGeometry.h"
#include "settings/UnitIniFile.h"
#include "workshop/UnitMontage.h"

namespace kinovia {

class TData;

// A user formula and a user constant as the work file keeps them: plain texts.
struct TUserFormula {
  std::string identifier, phrase, comment, unit;
  bool operator==(const TUserFormula&) const = default;
};
struct TUserConstant {
  std::string identifier, index, value, unit;  // value: "=" and a formula, or a number's text
  bool operator==(const TUserConstant&) const = default;
};
struct TFormulaSet {
  std::vector<TUserFormula> formulas;
  std::vector<TUserConstant> constants;
  bool operator==(const TFormulaSet&) const = default;
};

struct TKnvAxes {
  bool directX = true, directY = true;
  TPointD origin{0.5, 0.5};
  bool operator==(const TKnvAxes&) const = default;
};
struct TKnvOrigin {
  std::int32_t frame = -1;
  TPointD position;
  bool operator==(const TKnvOrigin&) const = default;
};
struct TKnvMark {
  std::int32_t order = 0;
  TPointD position;  // on the picture (fixed store) or from the sheet's origin (transparent)
  bool operator==(const TKnvMark&) const = default;
};
struct TKnvContainer {
  std::int32_t frame = 0;
  std::int32_t rank = 0;
  std::vector<TKnvMark> marks;
  bool operator==(const TKnvContainer&) const = default;
};
struct TKnvStore {
  std::int32_t numberPosition = 0;
  bool allDrawn = true;
  std::int32_t toDraw = 1;
  std::int32_t currentOrder = 0;
  std::int32_t perFrame = 1;
  std::vector<std::string> names;
  std::vector<TKnvContainer> containers;
  bool operator==(const TKnvStore&) const = default;
};
struct TKnvSegment {
  std::int32_t points = 0;
  TPointD p1, p2;
  double length = 0;
  bool operator==(const TKnvSegment&) const = default;
};
struct TKnvMontage {
  std::int32_t frameCount = 0;
  std::vector<TVisibilityRun> runs;
  std::vector<TTimeShiftEntry> entries;
  bool operator==(const TKnvMontage&) const = default;
};

// Everything a work file holds, in plain values.
struct TWorkFile {
  std::string videoFileName;
  std::string videoRelativeName;  // the clip as seen from the work file's folder
  double duration = 0;
  std::int32_t framesBetween = 1;
  std::vector<std::uint32_t> colours;
  std::vector<bool> visibilities;
  std::uint32_t elementColour = 0x00FFFF;
  std::int32_t elementSize = 0;
  TKnvAxes fixedAxes;
  std::int32_t originPointsNumber = 0;
  double xAxisAngle = 0, yAxisAngle = 0;
  TKnvAxes layerAxes;
  std::int32_t layerStage = 0;  // the sheet's stage, not its stored code
  double layerWidth = 0.5, layerHeight = 0.5;
  std::vector<TKnvOrigin> positions;
  std::array<TKnvSegment, 3> scale;  // single, horizontal, vertical
  TKnvStore fixedStore, layerStore;
  std::int32_t imageNumber = 0;
  bool transparentMode = false;
  TKnvMontage montage;
  TFormulaSet formulas;
  bool operator==(const TWorkFile&) const = default;
};

// The stored code of the sheet's stage and back: 0 <-> 1, 1 <-> 0, 2 <-> 2.
std::int32_t LayerStageCode(std::int32_t stage);
std::int32_t LayerStageFromCode(std::int32_t code);

// Writes every section and key in the file's order; keys already in `ini` that this save does
// not write keep their lines.
void WriteWorkFile(TIniFile& ini, const TWorkFile& work);
// Reads a work file back; missing keys take their defaults. A file that cannot be trusted (an
// unreadable number, a count beyond what the file holds, a negative frame or object) gives the
// message that explains the refusal.
std::variant<TWorkFile, TMessage> ReadWorkFile(const TIniFile& ini, const std::string& path);

// The session's state as a work file holds it, and back. Applying replaces the whole session
// and empties its undo histories.
TWorkFile CaptureSession(const TData& data);
void ApplyToSession(const TWorkFile& work, TData& data);
TKnvMontage CaptureMontage(const TMontage& montage);
// Gives the reopened clip its saved montage; a montage saved for a clip of another length, or one
// that contradicts itself, leaves every frame visible and unshifted. False in that case.
bool ApplyMontage(const TKnvMontage& saved, std::int32_t clipFrameCount, TMontage& montage);

// The work file object: one open INI file at a time, written back in one step on Close. Keys go
// to disk only then, so that a failure can be told to the user; a TKnv destroyed while open
// leaves the file as it was.
class TKnv {
 public:
  // Reads the file when it exists; false when a file is already open or this one cannot be read.
  bool Open(const std::string& path);
  // Writes the file and releases it; false when it could not be written (the file on disk is
  // then as it was).
  bool Close();
  TIniFile* Ini() { return ini_ ? &*ini_ : nullptr; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::optional<TIniFile> ini_;
};

// The dialogs the save command needs; the main window implements them.
class TSaveCommandUi {
 public:
  virtual ~TSaveCommandUi() = default;
  // The save dialog ("*.knv"); nullopt when cancelled.
  virtual std::optional<std::string> AskSaveName() = 0;
  // Shows a message and answers the index of the pressed button.
  virtual int ShowMessage(const TMessage& message) = 0;
  // The folder the recent-files list remembers.
  virtual void RememberFolder(const std::string& folder) = 0;
};

// The "Guardar" command. Answers the saved file's path, for the recent-files list; nullopt when
// nothing was saved.
std::optional<std::string> SaveWorkCommand(bool clipOpen, const TWorkFile& work,
                                           TSaveCommandUi& ui);

// What an opened work file needs from the user or the disk: the clip to open again.
struct TOpenedWork {
  TWorkFile work;
  std::optional<std::string> clip;  // nullopt: the clip was not found
  std::optional<TMessage> clipMissing;
};
// Reads a work file from disk and finds its clip: the stored path, else the clip's place
// relative to the work file, else a clip of the same name beside the work file.
std::variant<TOpenedWork, TMessage> OpenWorkFile(const std::string& path);

}  // namespace kinovia
