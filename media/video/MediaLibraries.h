#pragma once
// Which media libraries this build found at run time.

namespace kinovia {

// True when the libavformat loaded at run time is older than the one Kinovia was built against:
// the case the program reports as an outdated FFmpeg library.
bool FFmpegRuntimeOutdated();

// GStreamer initialised once for the process; false when it cannot start.
bool GStreamerReady();

// FFmpeg's own console messages would mix with the program's; Kinovia reports in its own words.
void SilenceMediaLibraryLogs();

}  // namespace kinovia
