#include "media/video/MediaLibraries.h"

#include <gst/gst.h>

#include <mutex>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace kinovia {

bool FFmpegRuntimeOutdated() { return avformat_version() < LIBAVFORMAT_VERSION_INT; }

bool GStreamerReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = gst_init_check(nullptr, nullptr, nullptr); });
  return ready;
}

void SilenceMediaLibraryLogs() { av_log_set_level(AV_LOG_QUIET); }

}  // namespace kinovia
