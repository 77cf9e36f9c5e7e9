#pragma once
// Framework 2: FFmpeg's libraries. The frames are listed once at opening by their presentation
// times, so frame n is the n-th picture shown whatever the codec's reordering (B-frames), the
// container's declared count or a variable frame rate; going to a frame decodes from the
// keyframe before it until exactly that picture comes out.
#include <memory>
#include <string>
#include <vector>

#include "media/video/FrameSource.h"
#include "media/video/PictureConversion.h"

namespace kinovia {

// How the frame count of the open clip was found.
enum class FrameCounting {
  Packets,   // one compressed packet per picture, each with its presentation time
  Ranks,     // one packet per picture, no presentation times: pictures known by their rank
  Decoding,  // the container's times were missing, repeated or wrong: every frame was decoded
};

class FFmpegSource : public FrameSource {
 public:
  FFmpegSource();
  ~FFmpegSource() override;

  // The decoder's threads for the frames served after the next opening (its own decoding uses
  // every processor); 0 takes one a processor.
  int decoderThreads = 0;

  // Lines of the last failure to open or to decode, as the video control shows them; empty after
  // a success.
  const std::vector<std::string>& ErrorLines() const { return errorLines_; }
  // The comment stored in the file's metadata; empty when there is none or it cannot be read.
  static std::string Comment(const std::string& fileName);
  FrameCounting Counting() const { return counting_; }
  // The frames a seek can start from, ascending (valid while open).
  std::vector<std::int32_t> KeyFrames() const;
  // When each frame is shown, in seconds from the first, as the file's packets tell it; empty
  // when the frames had to be counted by decoding (their times are not to be trusted then).
  std::vector<double> FrameTimes() const;
  // True when frame n is shown at n x T after the first, give or take a quarter of T (a clip of
  // variable frame rate is not); false too when the file's times could not be trusted.
  bool EvenlySpaced() const;
  // Frame n turned `turn` degrees clockwise (0: as stored in the file, before its display
  // rotation), for a source that serves FFmpeg's frames in its own stead; `frame` keeps its size.
  bool DecodeServed(std::int32_t n, int turn, Bitmap& frame) {
    return IsOpen() && DecodeFrame(n, turn, frame);
  }
  // The stored frame, for a single frame looked at rather than stepped on from: a keyframe's own
  // picture is decoded from its packet alone, without the pictures a decoder of B-frames reads
  // ahead (at 4K, two pictures decoded and 25 MB of memory less).
  bool DecodeStoredAlone(std::int32_t n, Bitmap& frame);
  // From another thread: the decoding under way soon fails, and so does every later one until
  // the next opening (for a check that is no longer wanted).
  void Interrupt();
  // How the last picture drawn was turned into RGB, as the ffmpeg tool converts the clip: the
  // matrix it is tagged with and its range. Valid while open.
  ColourSpace Colours() const;
  // Decodes from now on with `threads` threads (0: one a processor), which the calling thread
  // starts, from the clip's start. False when the decoder cannot be opened again.
  bool DecodeWithThreads(int threads);
  // A reading of a clip made by another source's FFmpegSource (GStreamer's reference, when
  // GStreamer refused the clip): the next opening of the same file takes it over instead of
  // reading and checking the file again.
  void TakeOverReading(std::unique_ptr<FFmpegSource> opened) { offered_ = std::move(opened); }

 protected:
  std::optional<StreamFacts> OpenFile(const std::string& fileName) override;
  void CloseFile() override;
  bool DecodeFrame(std::int32_t n, int turn, Bitmap& frame) override;

 private:
  struct State;
  std::optional<StreamFacts> AdoptOffered(const std::string& fileName);
  StreamFacts Facts() const;

  std::unique_ptr<State> state_;
  std::unique_ptr<FFmpegSource> offered_;
  std::vector<std::string> errorLines_;
  FrameCounting counting_ = FrameCounting::Packets;
};

}  // namespace kinovia
