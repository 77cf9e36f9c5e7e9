#pragma once
// A GStreamer decoder for H.264, HEVC and Motion-JPEG that lends libavcodec's own pictures
// downstream.
//
// GStreamer's libav plugin decodes these with the same library, then copies every picture into a
// buffer of its own, from a pool twice the size of the decoder's; and loading that plugin
// registers every codec the library has. Its own JPEG decoder is not the ffmpeg tool's: it halves
// the chroma of 4:2:2 pictures and rounds its transform otherwise. Here the picture libavcodec
// decoded is wrapped as it is (its planes, its strides), and held until the last buffer that shows
// it is gone.
#include <gst/gst.h>

namespace kinovia {

// The factory's name, for pipelines that choose it over another decoder of the same streams.
inline constexpr const char* kLentPictureDecoder = "kinovialentdec";

// Registers the decoder for this process once GStreamer is initialised; false when it cannot.
bool RegisterLentPictureDecoder();

// True for GStreamer's other decoders of the streams the lending decoder reads: a pipeline that
// can have the lending one skips these.
bool CopiesWhatIsLent(GstElementFactory* factory);

}  // namespace kinovia
