#pragma once
// The work file (".knv"): what a saved session holds, written to and read from its INI text, and
// the save command's flow.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "core/IniFile.h"
#include "core/Message.h"
#include "core/Result.h"
#include "logic/formulas/FormulaSet.h"
#include "logic/montage/Montage.h"

namespace kinovia {

class Session;

struct SavedAxes {
  bool directX = true, directY = true;
  PointD origin{0.5, 0.5};
  bool operator==(const SavedAxes&) const = default;
};
struct SavedOrigin {
  std::int32_t frame = -1;
  PointD position;
  bool operator==(const SavedOrigin&) const = default;
};
struct SavedMark {
  std::int32_t order = 0;
  PointD position;  // on the picture (fixed store) or from the sheet's origin (transparent)
  bool operator==(const SavedMark&) const = default;
};
struct SavedFrameMarks {
  std::int32_t frame = 0;
  std::int32_t rank = 0;
  std::vector<SavedMark> marks;
  bool operator==(const SavedFrameMarks&) const = default;
};
struct SavedStore {
  std::int32_t numberPosition = 0;
  bool allDrawn = true;
  std::int32_t toDraw = 1;
  std::int32_t currentOrder = 0;
  std::int32_t perFrame = 1;
  std::vector<std::string> names;
  std::vector<SavedFrameMarks> containers;
  bool operator==(const SavedStore&) const = default;
};
struct SavedScaleSegment {
  std::int32_t points = 0;
  PointD p1, p2;
  double length = 0;
  bool operator==(const SavedScaleSegment&) const = default;
};
struct SavedMontage {
  std::int32_t frameCount = 0;
  std::vector<VisibilityRun> runs;
  std::vector<TimeShiftEntry> entries;
  bool operator==(const SavedMontage&) const = default;
};

// Everything a work file holds, in plain values.
struct WorkFileContent {
  std::string videoFileName;
  std::string videoRelativeName;  // the clip as seen from the work file's folder
  double duration = 0;
  std::int32_t framesBetween = 1;
  std::vector<std::uint32_t> colours;
  std::vector<bool> visibilities;
  std::uint32_t elementColour = 0x00FFFF;
  std::int32_t elementSize = 0;
  SavedAxes fixedAxes;
  std::int32_t originPointsNumber = 0;
  double xAxisAngle = 0, yAxisAngle = 0;
  SavedAxes layerAxes;
  std::int32_t layerStage = 0;  // the sheet's stage, not its stored code
  double layerWidth = 0.5, layerHeight = 0.5;
  std::vector<SavedOrigin> positions;
  std::array<SavedScaleSegment, 3> scale;  // single, horizontal, vertical
  SavedStore fixedStore, layerStore;
  std::int32_t imageNumber = 0;
  bool transparentMode = false;
  SavedMontage montage;
  FormulaSet formulas;
  bool operator==(const WorkFileContent&) const = default;
};

// The stored code of the sheet's stage and back: 0 <-> 1, 1 <-> 0, 2 <-> 2.
std::int32_t LayerStageCode(std::int32_t stage);
std::int32_t LayerStageFromCode(std::int32_t code);

// Writes every section and key in the file's order; keys already in `ini` that this save does
// not write keep their lines.
void WriteWorkFile(IniFile& ini, const WorkFileContent& work);
// Reads a work file back; missing keys take their defaults. A file that cannot be trusted (an
// unreadable number, a count beyond what the file holds, a negative frame or object) gives the
// message that explains the refusal.
Result<WorkFileContent> ReadWorkFile(const IniFile& ini, const std::string& path);

// The session's state as a work file holds it; Session::Restore brings it back.
WorkFileContent CaptureSession(const Session& data);
SavedMontage CaptureMontage(const Montage& montage);
// Gives the reopened clip its saved montage; a montage saved for a clip of another length, or one
// that contradicts itself, leaves every frame visible and unshifted. False in that case.
bool ApplyMontage(const SavedMontage& saved, std::int32_t clipFrameCount, Montage& montage);

// What a reopened work file is checked against: its clip.
struct ClipFacts {
  std::int32_t frameCount = 0;  // 0 when unknown: no frame is then past the end
  double interval = 0;          // the clip's own time between two frames, in seconds
};
// Leaves out what the program or the clip cannot take (objects past the most a session points,
// marks and sheet positions past the clip's last frame) and replaces an interval between frames
// outside the accepted bounds by the clip's; the rest stays as saved. Answers the warning that
// says what was changed, nullopt when nothing was.
std::optional<Message> FitWorkToClip(WorkFileContent& work, const ClipFacts& clip,
                                     const std::string& path);

// The work file object: one open INI file at a time, written back in one step on Close. Keys go
// to disk only then, so that a failure can be told to the user; a WorkFile destroyed while open
// leaves the file as it was.
class WorkFile {
 public:
  // Reads the file when it exists; false when a file is already open or this one cannot be read.
  bool Open(const std::string& path);
  // Writes the file and releases it; false when it could not be written (the file on disk is
  // then as it was).
  bool Close();
  IniFile* Ini() { return ini_ ? &*ini_ : nullptr; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::optional<IniFile> ini_;
};

// The dialogs the save command needs; the main window implements them.
class SaveCommandUi {
 public:
  virtual ~SaveCommandUi() = default;
  // The save dialog ("*.knv"); nullopt when cancelled.
  virtual std::optional<std::string> AskSaveName() = 0;
  // Shows a message and answers the index of the pressed button.
  virtual int ShowMessage(const Message& message) = 0;
  // The folder the recent-files list remembers.
  virtual void RememberFolder(const std::string& folder) = 0;
};

// The "Guardar" command. Answers the saved file's path, for the recent-files list; nullopt when
// nothing was saved.
std::optional<std::string> SaveWorkCommand(bool clipOpen, const WorkFileContent& work,
                                           SaveCommandUi& ui);

// An opened work file and the clip to open again.
struct OpenedWork {
  WorkFileContent work;
  std::string clip;
};
// Reads a work file from disk and finds its clip: the stored path, else the clip's place
// relative to the work file, else a clip of the same name beside the work file. Refused with the
// reason when the file cannot be read or trusted, or when the clip is nowhere to be found.
Result<OpenedWork> OpenWorkFile(const std::string& path);

}  // namespace kinovia
