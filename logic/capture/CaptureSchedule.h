#pragma once
// The one-second clock of a capture: the start delay with its count-down, the fixed duration, and
// the status line the main window shows on every tick.
#include <cstdint>
#include <string>

namespace kinovia {

struct CaptureTiming {
  bool delayOn = false;
  int delaySeconds = 5;  // 1 ... 120
  bool beep = true;
  bool durationOn = false;
  int durationSeconds = 10;  // 1 ... 600
};

inline constexpr int kMaxCaptureDelay = 120;
inline constexpr int kMaxCaptureDuration = 600;

enum class TickAction { None, Start, Stop };

class CaptureSchedule {
 public:
  // The start command: true when the capture must start at once (no delay set).
  bool Begin(const CaptureTiming& timing);
  // One second has passed; what the capture must do now. `capturing` is the driver's state.
  TickAction Tick(bool capturing);
  // True when the start that Tick asked for comes with a beep.
  bool BeepOnStart() const { return timing_.delayOn && timing_.beep; }
  int Seconds() const { return seconds_; }
  // Seconds before a delayed start, shown while waiting.
  int SecondsLeft() const { return timing_.delayOn ? timing_.delaySeconds - seconds_ : 0; }
  bool Waiting(bool capturing) const { return !capturing && timing_.delayOn; }

 private:
  int Delay() const { return timing_.delayOn ? timing_.delaySeconds : 0; }

  CaptureTiming timing_;
  int seconds_ = 0;
};

struct CaptureCounts {
  std::int64_t captured = 0;
  std::int64_t dropped = 0;
  bool operator==(const CaptureCounts&) const = default;
};

// The status line: the count-down while waiting, the frame counts while capturing, empty otherwise.
std::string CaptureStatusText(const CaptureSchedule& schedule, bool capturing,
                              const CaptureCounts& counts);

}  // namespace kinovia
