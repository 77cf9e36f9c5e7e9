#pragma once
// Which media libraries this build found at run time.
#include <thread>

namespace kinovia {

// True when the libavformat loaded at run time is older than the one Kinovia was built against:
// the case the program reports as an outdated FFmpeg library.
bool FFmpegRuntimeOutdated();

// GStreamer initialised once for the process; false when it cannot start.
bool GStreamerReady();

// Starts GStreamer and loads the plugins a clip's opening needs, on a thread of their own, so that
// the first clip opened does not wait for them (the libav plugin alone registers every codec of
// the library: about a tenth of a second). The thread is joined when the handle is destroyed.
std::jthread PrepareGStreamer();

// FFmpeg's own console messages would mix with the program's; Kinovia reports in its own words.
void SilenceMediaLibraryLogs();

}  // namespace kinovia
