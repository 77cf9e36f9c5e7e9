#pragma once
// A periodic timer on its own thread, standing in for the multimedia timer of playback: its
// callback only advances the frame and asks the window for a repaint. The callback runs while the
// interface thread edits, so it reads only copies handed to it whole (VideoControl's snapshot).
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kinovia {

class PlaybackTimer {
 public:
  PlaybackTimer() = default;
  ~PlaybackTimer() { Stop(); }
  PlaybackTimer(const PlaybackTimer&) = delete;
  PlaybackTimer& operator=(const PlaybackTimer&) = delete;

  // Calls `tick` every `periodMs` milliseconds (on the timer's thread, from absolute deadlines
  // so the period does not drift) until it returns false or Stop is called.
  void Start(int periodMs, std::function<bool()> tick);
  // Safe from the tick itself, which then only asks the loop to end.
  void Stop();
  bool Running() const;

 private:
  void Loop(int periodMs);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
  std::function<bool()> tick_;
  bool stopping_ = false;
  bool running_ = false;
};

}  // namespace kinovia
