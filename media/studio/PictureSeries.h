#pragma once
// The studio's two conversions, shared by the window and kinovia-cli: a clip's visible frames
// into numbered pictures, and pictures into a clip through a recorder.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Result.h"
#include "logic/montage/Montage.h"
#include "logic/montage/RecordPlan.h"
#include "media/recording/MontageRecorder.h"
#include "media/video/FrameSource.h"

namespace kinovia {

// Writes every visible frame of the montage, in order, copied, resized or cropped as the
// settings say, to base_NN.bmp (NN its index among the visible frames, zero-padded to the digits
// of their count); the number of pictures written. The source is back on its frame afterwards.
Result<std::int32_t> SplitClip(FrameSource& source, const Montage& montage,
                               const RecordSettings& settings, const std::string& base,
                               const RecordProgress& progress);

// Writes `target` with one frame a picture, the pictures sorted by name, each brought to the
// first one's size; the number of frames. Pictures whose names do not run as one numbering bear
// stand-in names while the clip is built and get their own back whatever happens; a name that
// cannot be taken stops the build before anything is written.
Result<std::int32_t> JoinPictures(std::vector<std::string> pictures, const RecordSettings& settings,
                                  Recorder& recorder, const std::filesystem::path& target,
                                  const RecordProgress& progress);

}  // namespace kinovia
