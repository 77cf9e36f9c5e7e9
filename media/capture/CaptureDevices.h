#pragma once
// The capture devices of the two frameworks, their formats and the compressors they offer.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logic/capture/CaptureChoices.h"

namespace kinovia {

struct CaptureDevice {
  CaptureFramework framework = CaptureFramework::Libav;
  std::string name;  // as the device calls itself
  std::string path;  // the V4L2 node; empty for the test pattern
  bool testPattern = false;
};

// One size, pixel encoding and rate the device offers.
struct CaptureFormat {
  int width = 0;
  int height = 0;
  std::string encoding;  // the V4L2 four-character code: "YUYV", "MJPG"...
  // Frames per second = rateNumerator / rateDenominator.
  std::uint32_t rateNumerator = 30;
  std::uint32_t rateDenominator = 1;

  double Rate() const { return static_cast<double>(rateNumerator) / rateDenominator; }
  void SetRate(double fps);
  // "640 x 480 YUYV 30 fps", the name the format list shows and the options file keeps.
  std::string Name() const;
};

// The environment variable that lists the test pattern, for machines without a camera.
inline constexpr const char* kTestCameraVariable = "KINOVIA_TEST_CAMERA";

// Every device in list order: the first framework's, then the second's; each framework ends its
// part with the test pattern when KINOVIA_TEST_CAMERA=1.
std::vector<CaptureDevice> ListCaptureDevices();
int CountOf(const std::vector<CaptureDevice>& devices, CaptureFramework framework);
// The name shown in the device list: the device's name and its framework's suffix.
std::string ListedName(const CaptureDevice& device);

// The device called `name`, by its listed name or its own (case ignored; the first of equal
// names); nullopt when none is.
std::optional<CaptureDevice> FindDevice(const std::vector<CaptureDevice>& devices,
                                        const std::string& name);

// The formats as the device reports them, largest first; empty when it cannot be asked.
std::vector<CaptureFormat> FormatsOf(const CaptureDevice& device);

// The camera nodes ("video" followed by anything) of a device folder, sorted; empty when it
// cannot be read.
std::vector<std::string> VideoDeviceNodes(const std::string& folder);

// The compressors, no compression first.
enum class CaptureCompression { None, MotionJpeg };
struct CaptureCodec {
  std::string name;
  CaptureCompression compression = CaptureCompression::None;
  // Whether "Configurar" has something to set: Motion-JPEG's quality.
  bool configurable = false;
};

// The JPEG quality of a Motion-JPEG capture, 10 ... 100.
inline constexpr int kCaptureJpegQualityMin = 10;
inline constexpr int kCaptureJpegQualityDefault = 85;
std::vector<CaptureCodec> CaptureCodecs();

}  // namespace kinovia
