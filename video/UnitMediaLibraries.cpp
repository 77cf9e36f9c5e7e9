#include "video/UnitMediaLibraries.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace kinovia {

bool FFmpegRuntimeOutdated() { return avformat_version() < LIBAVFORMAT_VERSION_INT; }

}  // namespace kinovia
