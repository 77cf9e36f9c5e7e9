#include "media/studio/PictureSeries.h"

#include <fcntl.h>
#include <stdio.h>

#include <algorithm>
#include <cmath>

#include "logic/studio/PictureSeries.h"
#include "media/video/PictureFile.h"
#include "resources/TxtCommon.h"
#include "resources/TxtStudio.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

Message Refusal(TxtId reason, const std::string& fileName) {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  return m.Line(reason).Blank().FileName(fileName);
}

// Round(100 × done / count), as the progress bar shows it.
int Percent(std::size_t done, std::size_t count) {
  return int(std::lround(100.0 * double(done) / double(count)));
}

// Never over an existing file: a picture of the user's named like a stand-in must survive.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

// The pictures under their stand-in names for as long as it lives.
class StandIns {
 public:
  explicit StandIns(const std::vector<std::string>& names) : own_(names) {}
  ~StandIns() {
    for (std::size_t i = 0; i < taken_; ++i) RenameWithoutReplacing(standIns_[i], own_[i]);
  }
  StandIns(const StandIns&) = delete;
  StandIns& operator=(const StandIns&) = delete;

  // The names to read the pictures by, or the picture that could not be renamed.
  Result<std::vector<std::string>> Take() {
    if (FormsOneNumbering(own_)) return own_;
    standIns_ = StandInNames(own_);
    for (; taken_ < own_.size(); ++taken_)
      if (!RenameWithoutReplacing(own_[taken_], standIns_[taken_]))
        return Refusal(txt::PicturesRenameFailed, own_[taken_]);
    return standIns_;
  }

 private:
  std::vector<std::string> own_;
  std::vector<std::string> standIns_;
  std::size_t taken_ = 0;
};

Result<std::int32_t> WritePictures(const std::vector<std::string>& pictures,
                                   RecordSettings settings, Recorder& recorder,
                                   const std::filesystem::path& target,
                                   const RecordProgress& progress) {
  Bitmap picture, out;
  if (!ReadPicture(pictures.front(), picture))
    return RecordFailure(Txt(txt::AviWriterFrameDamaged));
  settings.change = PictureChange::None;
  if (auto refusal = CheckSettings(settings, picture.width, picture.height)) return *refusal;
  const RecorderFormat format = FormatFor(settings, picture.width, picture.height);
  if (!recorder.Open(target, format)) return RecordFailure(recorder.ErrorText());
  out.Resize(format.width, format.height);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (i > 0 && !ReadPicture(pictures[i], picture)) {
      recorder.Discard();
      return RecordFailure(Txt(txt::AviWriterFrameDamaged));
    }
    ShapeFrame(picture, settings, out);
    if (!recorder.AddFrame(out)) {
      recorder.Discard();
      return RecordFailure(recorder.ErrorText());
    }
    if (progress && !progress(Percent(i + 1, pictures.size()))) {
      recorder.Discard();
      return RecordFailure(Txt(txt::RecordStopped));
    }
  }
  if (!recorder.Finish()) return RecordFailure(recorder.ErrorText());
  return std::int32_t(pictures.size());
}

}  // namespace

Result<std::int32_t> SplitClip(FrameSource& source, const Montage& montage,
                               const RecordSettings& settings, const std::string& base,
                               const RecordProgress& progress) {
  if (!source.IsOpen() || montage.FrameCount() != source.FrameCount())
    return RecordFailure(Txt(txt::AviWriterNotInitialised));
  if (auto refusal = CheckSettings(settings, source.Width(), source.Height())) return *refusal;
  const PictureSize size = OutputSize(settings, source.Width(), source.Height());
  SourcePositionKeeper keeper(source);
  const std::vector<std::int32_t> frames = RecordSlots(montage, false);
  Bitmap frame, out;
  out.Resize(size.width, size.height);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    source.SetPosition(frames[i]);
    if (!source.DrawWhole(frame)) return RecordFailure(Txt(txt::AviWriterFrameDamaged));
    ShapeFrame(frame, settings, out);
    const std::string name = SeriesPictureName(base, std::int64_t(i), std::int64_t(frames.size()));
    if (!WritePicture(out, name)) return Refusal(txt::StudioWriteFailed, name);
    if (progress && !progress(Percent(i + 1, frames.size())))
      return RecordFailure(Txt(txt::RecordStopped));
  }
  return std::int32_t(frames.size());
}

Result<std::int32_t> JoinPictures(std::vector<std::string> pictures, const RecordSettings& settings,
                                  Recorder& recorder, const std::filesystem::path& target,
                                  const RecordProgress& progress) {
  std::sort(pictures.begin(), pictures.end());
  pictures.erase(std::unique(pictures.begin(), pictures.end()), pictures.end());
  if (pictures.empty()) return RecordFailure(Txt(txt::AviWriterNotInitialised));
  for (const std::string& name : pictures) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(name, ignored))
      return Refusal(txt::PicturesMissing, name);
  }
  StandIns standIns(pictures);
  const auto names = standIns.Take();
  if (!names) return names.Failure();
  return WritePictures(names.Value(), settings, recorder, target, progress);
}

}  // namespace kinovia
