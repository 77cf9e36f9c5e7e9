#include "media/video/MediaLibraries.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace kinovia {

bool FFmpegRuntimeOutdated() { return avformat_version() < LIBAVFORMAT_VERSION_INT; }

void SilenceMediaLibraryLogs() { av_log_set_level(AV_LOG_QUIET); }

}  // namespace kinovia
