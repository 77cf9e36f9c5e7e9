#include "logic/capture/CaptureSchedule.h"

#include "core/TextFill.h"
#include "resources/TxtCapture.h"

namespace kinovia {

bool CaptureSchedule::Begin(const CaptureTiming& timing) {
  timing_ = timing;
  seconds_ = 0;
  return !timing_.delayOn;
}

TickAction CaptureSchedule::Tick(bool capturing) {
  ++seconds_;
  if (!timing_.delayOn && !timing_.durationOn) return TickAction::None;
  if (seconds_ < Delay()) return TickAction::None;
  if (!capturing) return TickAction::Start;
  if (timing_.durationOn && seconds_ >= Delay() + timing_.durationSeconds) return TickAction::Stop;
  return TickAction::None;
}

std::string CaptureStatusText(const CaptureSchedule& schedule, bool capturing,
                              const CaptureCounts& counts) {
  if (schedule.Waiting(capturing)) {
    return FillNumbers(txt::CaptureCountdown, {schedule.SecondsLeft()});
  }
  if (!capturing) return {};
  return Txt(txt::CaptureFramesCaptured) + " " + std::to_string(counts.captured) + "    " +
         Txt(txt::CaptureFramesDropped) + " " + std::to_string(counts.dropped);
}

}  // namespace kinovia
