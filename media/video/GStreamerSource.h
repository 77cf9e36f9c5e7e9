#pragma once
// Framework 1: GStreamer (uridecodebin, videoconvert, appsink). Frame n is the picture shown at
// stream time n x 1.0001 x T, found by an accurate seek, or by pulling the next pictures when
// the clip is stepped forward.
#include <atomic>
#include <cstdint>
#include <future>
#include <memory>

#include "media/video/FFmpegSource.h"
#include "media/video/FrameSource.h"

namespace kinovia {

class GStreamerSource : public FrameSource {
 public:
  GStreamerSource();
  ~GStreamerSource() override;

  // False when the open clip failed the check of GStreamer's seeks that follows the opening, and
  // its frames come from FFmpeg; waits for that check's verdict.
  bool ServesItsOwnFrames() const;
  // After an opening GStreamer refused, FFmpeg's reading of the clip made to check it (null when
  // FFmpeg could not read it either), for the FFmpeg source to take over.
  std::unique_ptr<FFmpegSource> TakeRefusedReading() { return std::move(refusedReading_); }

 protected:
  std::optional<StreamFacts> OpenFile(const std::string& fileName) override;
  void CloseFile() override;
  bool DecodeFrame(std::int32_t n, int turn, Bitmap& frame) override;

 private:
  struct State;
  // The check of a clip's frames that goes on after its opening.
  struct Check {
    std::unique_ptr<FFmpegSource> reference;
    std::unique_ptr<State> probe;  // a second pipeline on the clip, for the seeks
    std::shared_future<bool> verdict;
    // It goes on while the clip is not being stepped through, or at once when awaited.
    std::atomic<std::int64_t> lastStep{0};  // when the last frame was drawn, steady clock, ns
    std::atomic<bool> drawing{false};
    std::atomic<bool> awaited{false};
    void WaitForIdleSource() const;
  };

  static bool SameTimeline(const FFmpegSource& reference, const StreamFacts& facts);
  static Bitmap ComparedPicture(FFmpegSource& reference, std::int32_t n);
  static bool SamePicture(State& state, const Bitmap& theirs, std::int32_t n);
  static bool FramesAgree(State& state, FFmpegSource& reference, std::int32_t n);
  void CheckInBackground(const std::string& fileName, const StreamFacts& facts,
                         std::unique_ptr<FFmpegSource> reference);
  // Waits for the check's verdict and, when GStreamer failed it, turns to FFmpeg's frames.
  void SettleCheck();
  // True when frame n comes from FFmpeg for now: GStreamer would have to seek before its seeks
  // were checked, or FFmpeg is stepping on from such a frame.
  bool ServedMeanwhile(std::int32_t n) const;
  bool DrawMeanwhile(std::int32_t n, int turn, Bitmap& frame);
  bool Serve(std::int32_t n, int turn, Bitmap& frame);

  std::unique_ptr<State> state_;
  std::unique_ptr<Check> check_;
  std::unique_ptr<FFmpegSource> fallback_;  // serves the frames when GStreamer's seeks miss
  std::unique_ptr<FFmpegSource> refusedReading_;
  std::unique_ptr<FFmpegSource> meanwhile_;  // serves the frames sought before the verdict
  std::int32_t meanwhileFrame_ = -1;         // the last frame it served
};

}  // namespace kinovia
