#include "media/video/PlaybackTimer.h"

#include <algorithm>
#include <chrono>

namespace kinovia {

void PlaybackTimer::Start(int periodMs, std::function<bool()> tick) {
  Stop();
  std::lock_guard lock(mutex_);
  tick_ = std::move(tick);
  stopping_ = false;
  running_ = true;
  thread_ = std::thread(&PlaybackTimer::Loop, this, std::max(periodMs, 1));
}

void PlaybackTimer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool PlaybackTimer::Running() const {
  std::lock_guard lock(mutex_);
  return running_ && !stopping_;
}

void PlaybackTimer::Loop(int periodMs) {
  const auto period = std::chrono::milliseconds(periodMs);
  auto deadline = std::chrono::steady_clock::now() + period;
  std::unique_lock lock(mutex_);
  while (!wake_.wait_until(lock, deadline, [this] { return stopping_; })) {
    lock.unlock();
    const bool more = tick_();
    lock.lock();
    if (!more) break;
    deadline += period;
  }
  running_ = false;
}

}  // namespace kinovia
