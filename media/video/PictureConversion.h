#pragma once
// A decoded picture of any pixel layout made into the program's RGB bitmap.
#include "media/video/AvHandles.h"
#include "media/video/FrameSource.h"

namespace kinovia {

// Converts `picture` into `out`. `scale` and `rgb` (allocated by the caller) are kept between
// calls, so that a stream of pictures of one size reuses them. False when FFmpeg cannot convert.
bool ConvertToBitmap(const AVFrame& picture, SwsContextPtr& scale, AVFrame& rgb, Bitmap& out);

}  // namespace kinovia
