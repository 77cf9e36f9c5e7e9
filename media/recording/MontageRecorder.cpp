#include "media/recording/MontageRecorder.h"

#include <algorithm>

#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {

Message RecordFailure(const std::string& reason) {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  m.Line(txt::RecordFailed).Blank();
  // A reason may hold two lines (the outdated FFmpeg library's).
  std::size_t from = 0;
  for (std::size_t end; (end = reason.find('\n', from)) != std::string::npos; from = end + 1)
    m.Line(reason.substr(from, end - from));
  return m.Line(reason.substr(from));
}

void ShapeFrame(const Bitmap& frame, const RecordSettings& s, Bitmap& out) {
  PictureRect from{0, 0, frame.width, frame.height};
  if (s.change == PictureChange::Crop)
    from = {s.crop.left, s.crop.top, frame.width - s.crop.right, frame.height - s.crop.bottom};
  StretchInto(frame, from, RasterOperation::Copy, out);
}

RecorderFormat FormatFor(const RecordSettings& s, int width, int height) {
  const PictureSize size = OutputSize(s, width, height);
  RecorderFormat format;
  format.width = size.width;
  format.height = size.height;
  format.framesPerSecond = s.framesPerSecond;
  format.codec = s.codec;
  format.quality = s.quality;
  format.keyFrames = s.keyFrames;
  // The text names the FFmpeg recorder: only its files carry it.
  if (s.framework == RecordFramework::FFmpeg) format.comment = Txt(txt::VideoOwnRecorderComment);
  return format;
}

Result<std::int32_t> RecordMontage(FrameSource& source, const Montage& montage,
                                   const RecordSettings& settings, Recorder& recorder,
                                   const std::filesystem::path& target,
                                   const RecordProgress& progress) {
  if (!source.IsOpen() || montage.FrameCount() != source.FrameCount())
    return RecordFailure(Txt(txt::AviWriterNotInitialised));
  if (auto refusal = CheckSettings(settings, source.Width(), source.Height())) return *refusal;
  const RecorderFormat format = FormatFor(settings, source.Width(), source.Height());
  if (!recorder.Open(target, format)) return RecordFailure(recorder.ErrorText());
  SourcePositionKeeper keeper(source);
  const std::vector<std::int32_t> slots = RecordSlots(montage, settings.blanks);
  Bitmap frame, blank, out;
  out.Resize(format.width, format.height);
  blank.Resize(format.width, format.height);
  std::fill(blank.pixels.begin(), blank.pixels.end(), kBlankGrey);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const bool isBlank = slots[i] == kBlankSlot;
    if (!isBlank) {
      source.SetPosition(slots[i]);
      if (!source.DrawWhole(frame)) {
        recorder.Discard();
        return RecordFailure(Txt(txt::AviWriterFrameDamaged));
      }
      ShapeFrame(frame, settings, out);
    }
    if (!recorder.AddFrame(isBlank ? blank : out)) {
      recorder.Discard();
      return RecordFailure(recorder.ErrorText());
    }
    if (progress && !progress(int((i + 1) * 100 / slots.size()))) {
      recorder.Discard();
      return RecordFailure(Txt(txt::RecordStopped));
    }
  }
  if (!recorder.Finish()) return RecordFailure(recorder.ErrorText());
  return std::int32_t(slots.size());
}

}  // namespace kinovia
