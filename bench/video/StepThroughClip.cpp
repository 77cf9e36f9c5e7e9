// Opens a clip with one frame source and draws its frames as the view gets them (RGB), as a
// whole process, so that it can be timed side by side with the ffmpeg tool on the same clip:
//   step-through-clip avi|gstreamer|ffmpeg|chain CLIP [FRAMES [FIRST]]
// draws FRAMES frames from frame FIRST (0 when absent; all frames when FRAMES is absent; 1
// measures the opening, 1 and a FIRST far in the clip a random access). "chain" opens the clip as
// the program does, trying the sources in the order its extension asks.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/MemoryReuse.h"
#include "logic/montage/Montage.h"
#include "media/video/AviFileSource.h"
#include "media/video/FFmpegSource.h"
#include "media/video/GStreamerSource.h"
#include "media/video/VideoControl.h"

namespace {

// One source on its own, or the program's chain of them.
struct OpenedClip {
  std::unique_ptr<kinovia::FrameSource> alone;
  kinovia::Montage montage;
  kinovia::VideoControl chain{montage};

  kinovia::FrameSource* Open(const std::string& name, const std::string& clip) {
    if (name == "chain") return chain.Open(clip) ? chain.Source() : nullptr;
    if (name == "avi") alone = std::make_unique<kinovia::AviFileSource>();
    if (name == "gstreamer") alone = std::make_unique<kinovia::GStreamerSource>();
    if (name == "ffmpeg") alone = std::make_unique<kinovia::FFmpegSource>();
    return alone && alone->Open(clip) ? alone.get() : nullptr;
  }
};

}  // namespace

int main(int argc, char** argv) {
  // As the program's own main does: frames freed are kept for the next ones.
  kinovia::KeepFreedMemoryForReuse();
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: step-through-clip avi|gstreamer|ffmpeg|chain CLIP [FRAMES [FIRST]]\n");
    return 2;
  }
  OpenedClip opened;
  kinovia::FrameSource* source = opened.Open(argv[1], argv[2]);
  if (!source) {
    std::fprintf(stderr, "%s does not open with %s\n", argv[2], argv[1]);
    return 1;
  }
  const long count = source->FrameCount();
  const long first =
      argc >= 5 ? std::clamp<long>(std::strtol(argv[4], nullptr, 10), 0, count - 1) : 0;
  const long wanted = argc >= 4 ? std::strtol(argv[3], nullptr, 10) : count;
  const auto end = static_cast<std::int32_t>(first + std::clamp<long>(wanted, 1, count - first));
  kinovia::Bitmap picture;
  for (auto n = static_cast<std::int32_t>(first); n < end; ++n) {
    source->SetPosition(n);
    if (!source->DrawWhole(picture)) {
      std::fprintf(stderr, "frame %d does not decode\n", n);
      return 1;
    }
  }
  return 0;
}
