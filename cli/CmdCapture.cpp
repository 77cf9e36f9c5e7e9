// kinovia-cli devices
// kinovia-cli capture [--device NAME] [--seconds S] [--delay S] [--rate FPS] OUT.avi
#include <chrono>
#include <cmath>
#include <ostream>
#include <thread>

#include "cli/CommandRegistry.h"
#include "core/Numbers.h"
#include "logic/capture/CaptureSchedule.h"
#include "media/capture/CaptureEngine.h"
#include "media/video/MediaLibraries.h"
#include "resources/TxtCapture.h"

namespace kinovia::cli {
namespace {

constexpr int kDefaultSeconds = 10;

ExitStatus RunDevices(const std::vector<std::string>& args, CliStreams streams) {
  if (!args.empty()) return UsageError(streams.err);
  SilenceMediaLibraryLogs();
  for (const auto& device : ListCaptureDevices()) {
    streams.out << (device.framework == CaptureFramework::Libav ? "V4L2" : "GStreamer") << '\t'
                << device.name << '\n';
  }
  return ExitStatus::Ok;
}

struct CaptureArgs {
  std::optional<std::string> device;
  CaptureTiming timing{false, 5, false, true, kDefaultSeconds};
  std::optional<double> rate;
  std::string out;
};

bool TakeOption(CaptureArgs& parsed, const std::string& name, const std::string& value) {
  if (name == "--device") {
    parsed.device = value;
    return true;
  }
  if (name == "--rate") {
    parsed.rate = TextToReal(value);
    return parsed.rate && *parsed.rate > 0 && *parsed.rate <= 1000;
  }
  const auto n = TextToInteger(value);
  if (name == "--seconds" && n && *n >= 1 && *n <= kMaxCaptureDuration) {
    parsed.timing.durationSeconds = *n;
    return true;
  }
  if (name == "--delay" && n && *n >= 0 && *n <= kMaxCaptureDelay) {
    parsed.timing.delayOn = *n > 0;
    parsed.timing.delaySeconds = *n;
    return true;
  }
  return false;
}

std::optional<CaptureArgs> ParseArgs(const std::vector<std::string>& args) {
  CaptureArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].starts_with("--")) {
      if (i + 1 >= args.size() || !TakeOption(parsed, args[i], args[i + 1])) return std::nullopt;
      ++i;
    } else if (parsed.out.empty()) {
      parsed.out = args[i];
    } else {
      return std::nullopt;
    }
  }
  if (parsed.out.empty()) return std::nullopt;
  return parsed;
}

// The largest format at the asked rate; otherwise the largest, asked to run at that rate.
CaptureFormat ChooseFormat(const std::vector<CaptureFormat>& formats, std::optional<double> rate) {
  if (!rate) return formats.front();
  for (const auto& format : formats)
    if (std::abs(format.Rate() - *rate) < 1e-3) return format;
  CaptureFormat chosen = formats.front();
  chosen.SetRate(*rate);
  return chosen;
}

ExitStatus Refuse(const Message& message, CliStreams streams) {
  for (const auto& line : message.lines)
    if (!line.text.empty()) streams.err << line.text << '\n';
  return ExitStatus::Failed;
}

ExitStatus Refuse(TxtId text, CliStreams streams) {
  streams.err << Txt(text) << '\n';
  return ExitStatus::Failed;
}

// The window's one-second clock, run by sleeping: the same delay, start and stop rules.
Result<void> RunClock(CaptureEngine& engine, const CaptureArgs& parsed) {
  CaptureSchedule schedule;
  if (schedule.Begin(parsed.timing)) {
    if (auto started = engine.StartCapture(parsed.out, CaptureCompression::MotionJpeg); !started)
      return started;
  }
  auto next = std::chrono::steady_clock::now();
  while (!engine.Lost()) {
    next += std::chrono::seconds(1);
    std::this_thread::sleep_until(next);
    const TickAction action = schedule.Tick(engine.Capturing());
    if (action == TickAction::Start) {
      if (auto started = engine.StartCapture(parsed.out, CaptureCompression::MotionJpeg); !started)
        return started;
    } else if (action == TickAction::Stop) {
      return engine.StopCapture();
    }
  }
  return engine.StopCapture();
}

ExitStatus RunCapture(const std::vector<std::string>& args, CliStreams streams) {
  const auto parsed = ParseArgs(args);
  if (!parsed) return UsageError(streams.err);
  SilenceMediaLibraryLogs();
  const auto devices = ListCaptureDevices();
  if (devices.empty()) return Refuse(txt::CaptureNoDevice, streams);
  const auto device = parsed->device ? FindDevice(devices, *parsed->device) : devices.front();
  if (!device) {
    streams.err << Txt(txt::CliUnknownDevice) << ' ' << *parsed->device << '\n';
    return ExitStatus::Failed;
  }
  const auto formats = FormatsOf(*device);
  if (formats.empty()) return Refuse(txt::CaptureDeviceNotWorking, streams);
  CaptureEngine engine;
  if (auto connected = engine.Connect(*device, ChooseFormat(formats, parsed->rate)); !connected)
    return Refuse(connected.Failure(), streams);
  const auto finished = RunClock(engine, *parsed);
  const bool lost = engine.Lost();
  engine.Disconnect();
  const auto counts = engine.Counts();
  if (counts.captured > 0 || finished) {
    streams.out << "captured\t" << counts.captured << '\n' << "dropped\t" << counts.dropped << '\n';
  }
  if (!finished) return Refuse(finished.Failure(), streams);
  if (lost) return Refuse(txt::CaptureDeviceLost, streams);
  return ExitStatus::Ok;
}

const bool devicesRegistered = RegisterCommand({"devices", txt::CliSynopsisDevices, RunDevices});
const bool captureRegistered = RegisterCommand({"capture", txt::CliSynopsisCapture, RunCapture});

}  // namespace
}  // namespace kinovia::cli
