#pragma once
// Clips from phones record at a variable rate: when the camera is busy it skips pictures, and
// the presentation times show a hole. Declaring each hole as missing frames gives every frame
// its true time index.
#include <cstdint>
#include <vector>

#include "logic/montage/Montage.h"

namespace kinovia {

struct TimestampHoles {
  double interval = 0;                      // the usual spacing of the pictures, in seconds
  std::vector<std::int32_t> missingBefore;  // per frame, the pictures missing just before it
  std::int64_t total = 0;                   // all the missing pictures
};

// The holes of a clip whose frames are shown at `times` (seconds, ascending). The usual spacing
// is the median one; a gap counts as round(gap / spacing) - 1 missing pictures.
TimestampHoles FindTimestampHoles(const std::vector<double>& times);

// Declares every hole as missing frames: each frame after one is shifted by its count.
void DeclareHoles(Montage& montage, const TimestampHoles& holes);

}  // namespace kinovia
