#include "media/video/MediaLibraries.h"

#include <gst/gst.h>

#include <mutex>

#include "media/video/GStreamerDecoder.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace kinovia {

bool FFmpegRuntimeOutdated() { return avformat_version() < LIBAVFORMAT_VERSION_INT; }

bool GStreamerReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    ready = gst_init_check(nullptr, nullptr, nullptr) && RegisterLentPictureDecoder();
  });
  return ready;
}

std::jthread PrepareGStreamer() {
  return std::jthread([] {
    if (!GStreamerReady()) return;
    for (const char* plugin : {"libav", "playback", "typefindfunctions", "coreelements"})
      if (GstPlugin* loaded = gst_plugin_load_by_name(plugin)) gst_object_unref(loaded);
  });
}

void SilenceMediaLibraryLogs() { av_log_set_level(AV_LOG_QUIET); }

}  // namespace kinovia
