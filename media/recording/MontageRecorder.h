#pragma once
// Records the montage of the open clip: its visible frames in order, copied, resized or cropped,
// with light-grey blanks in the empty time slots when asked, through one recorder.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "core/Result.h"
#include "logic/montage/RecordPlan.h"
#include "media/recording/Recorder.h"
#include "media/video/FrameSource.h"

namespace kinovia {

// RGB 192, 192, 192.
inline constexpr std::uint8_t kBlankGrey = 192;

// Called after each written frame with the percentage done; answering false abandons the
// recording.
using RecordProgress = std::function<bool(int percent)>;

// Writes `target`; the number of frames written, or the failure message ("Error detectado
// durante la creación del archivo de vídeo :", an empty line and the reason). Nothing is left
// under `target` after a failure or an abandon, and the source is back on its frame.
Result<std::int32_t> RecordMontage(FrameSource& source, const Montage& montage,
                                   const RecordSettings& settings, Recorder& recorder,
                                   const std::filesystem::path& target,
                                   const RecordProgress& progress);

// Puts the source back on the frame it showed, whatever happened meanwhile.
class SourcePositionKeeper {
 public:
  explicit SourcePositionKeeper(FrameSource& source)
      : source_(source), kept_(source.CurrentFrame()) {}
  ~SourcePositionKeeper() { source_.SetPosition(kept_); }
  SourcePositionKeeper(const SourcePositionKeeper&) = delete;
  SourcePositionKeeper& operator=(const SourcePositionKeeper&) = delete;

 private:
  FrameSource& source_;
  std::int32_t kept_;
};

// "Error detectado durante la creación del archivo de vídeo :", an empty line and the reason.
Message RecordFailure(const std::string& reason);

// The frame as the settings want it (copied, resized or cropped), drawn into `out`, already of
// the output size.
void ShapeFrame(const Bitmap& frame, const RecordSettings& settings, Bitmap& out);

// The recorder's format for these settings on a source of width x height.
RecorderFormat FormatFor(const RecordSettings& settings, int width, int height);

}  // namespace kinovia
