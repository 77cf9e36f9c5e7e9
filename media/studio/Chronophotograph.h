#pragma once
// The chronophotograph: each contour's object cut out of its own frame and laid, in the order
// the contours were drawn, on a blank page or on the frame of the object's first position.
#include "core/Result.h"
#include "logic/studio/StudioContours.h"
#include "media/video/FrameSource.h"

namespace kinovia {

// Moves `source` to each contour's frame (source numbering). Refused without a contour or when a
// frame cannot be drawn, with the program's messages.
Result<Bitmap> BuildChronophotograph(FrameSource& source, const StudioContours& contours,
                                     bool background);

}  // namespace kinovia
