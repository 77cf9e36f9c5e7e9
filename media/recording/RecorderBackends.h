#pragma once
// The recorders' constructors, kept out of Recorder.h so its users see only the interface.
#include <memory>

#include "media/recording/Recorder.h"

namespace kinovia {

std::unique_ptr<Recorder> MakeAviRecorder();
std::unique_ptr<Recorder> MakeFFmpegRecorder();
std::unique_ptr<Recorder> MakeGStreamerRecorder();

}  // namespace kinovia
