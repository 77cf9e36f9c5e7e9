#include "media/capture/CaptureDevices.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <tuple>

#include "media/capture/GStreamerDevices.h"
#include "resources/TxtCapture.h"

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavformat/avformat.h>
}

namespace kinovia {
namespace {

bool TestCameraWanted() {
  const char* value = std::getenv(kTestCameraVariable);
  return value && std::string(value) == "1";
}

std::vector<CaptureDevice> LibavDevices() {
  std::vector<CaptureDevice> devices;
  avdevice_register_all();
  const AVInputFormat* v4l2 = av_find_input_format("video4linux2");
  AVDeviceInfoList* list = nullptr;
  if (v4l2 && avdevice_list_input_sources(v4l2, nullptr, nullptr, &list) >= 0 && list) {
    for (int i = 0; i < list->nb_devices; ++i) {
      const AVDeviceInfo* info = list->devices[i];
      devices.push_back({CaptureFramework::Libav,
                         info->device_description ? info->device_description : info->device_name,
                         info->device_name, false});
    }
  }
  avdevice_free_list_devices(&list);
  return devices;
}

class Fd {
 public:
  explicit Fd(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NONBLOCK)) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  bool Ok() const { return fd_ >= 0; }
  template <class T>
  bool Ask(unsigned long request, T& answer) const {
    int r;
    do r = ::ioctl(fd_, request, &answer);
    while (r < 0 && errno == EINTR);
    return r == 0;
  }

 private:
  int fd_;
};

std::string FourCc(std::uint32_t code) {
  std::string text;
  for (int i = 0; i < 4; ++i) text += static_cast<char>((code >> (8 * i)) & 0xFF);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::vector<std::pair<int, int>> SizesOf(const Fd& fd, std::uint32_t pixelFormat) {
  std::vector<std::pair<int, int>> sizes;
  v4l2_frmsizeenum size{};
  size.pixel_format = pixelFormat;
  for (size.index = 0; fd.Ask(VIDIOC_ENUM_FRAMESIZES, size); ++size.index) {
    if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
      sizes.emplace_back(size.discrete.width, size.discrete.height);
    } else {  // a range: its two ends are what the device surely takes
      sizes.emplace_back(size.stepwise.max_width, size.stepwise.max_height);
      sizes.emplace_back(size.stepwise.min_width, size.stepwise.min_height);
      break;
    }
  }
  return sizes;
}

// Rates as fractions of frames per second (the device speaks of intervals between frames).
std::vector<std::pair<std::uint32_t, std::uint32_t>> RatesOf(const Fd& fd, std::uint32_t pixels,
                                                             int width, int height) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> rates;
  v4l2_frmivalenum interval{};
  interval.pixel_format = pixels;
  interval.width = static_cast<std::uint32_t>(width);
  interval.height = static_cast<std::uint32_t>(height);
  for (interval.index = 0; fd.Ask(VIDIOC_ENUM_FRAMEINTERVALS, interval); ++interval.index) {
    const v4l2_fract f =
        interval.type == V4L2_FRMIVAL_TYPE_DISCRETE ? interval.discrete : interval.stepwise.min;
    if (f.numerator > 0 && f.denominator > 0) rates.emplace_back(f.denominator, f.numerator);
    if (interval.type != V4L2_FRMIVAL_TYPE_DISCRETE) break;
  }
  if (rates.empty()) rates.emplace_back(30, 1);
  return rates;
}

std::vector<CaptureFormat> V4l2Formats(const std::string& path) {
  std::vector<CaptureFormat> formats;
  Fd fd(path);
  if (!fd.Ok()) return formats;
  v4l2_fmtdesc description{};
  description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  for (description.index = 0; fd.Ask(VIDIOC_ENUM_FMT, description); ++description.index) {
    for (const auto& [w, h] : SizesOf(fd, description.pixelformat)) {
      for (const auto& [num, den] : RatesOf(fd, description.pixelformat, w, h)) {
        formats.push_back({w, h, FourCc(description.pixelformat), num, den});
      }
    }
  }
  return formats;
}

std::vector<CaptureFormat> TestPatternFormats() {
  std::vector<CaptureFormat> formats;
  for (const auto& [w, h] : {std::pair{640, 480}, std::pair{320, 240}})
    for (const std::uint32_t fps : {30U, 25U, 15U}) formats.push_back({w, h, "RGB3", fps, 1});
  return formats;
}

// "30", "29.97": a name kept in the options file must not change with the regional settings.
std::string RateText(std::uint32_t numerator, std::uint32_t denominator) {
  const auto hundredths = (std::uint64_t{numerator} * 100 + denominator / 2) / denominator;
  std::string text = std::to_string(hundredths / 100);
  if (const auto fraction = hundredths % 100; fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}

CaptureDevice TestPattern(CaptureFramework framework) {
  return {framework, Txt(txt::CaptureTestPatternName), "", true};
}

}  // namespace

void CaptureFormat::SetRate(double fps) {
  // Thousandths keep rates such as 29.97 exact enough for the file's header.
  rateNumerator = static_cast<std::uint32_t>(std::lround(std::clamp(fps, 0.001, 1000.0) * 1000));
  rateDenominator = 1000;
  const auto common = std::gcd(rateNumerator, rateDenominator);
  rateNumerator /= common;
  rateDenominator /= common;
}

std::string CaptureFormat::Name() const {
  return std::to_string(width) + " x " + std::to_string(height) + " " + encoding + " " +
         RateText(rateNumerator, rateDenominator) + " fps";
}

std::vector<CaptureDevice> ListCaptureDevices() {
  const bool pattern = TestCameraWanted();
  std::vector<CaptureDevice> devices = LibavDevices();
  if (pattern) devices.push_back(TestPattern(CaptureFramework::Libav));
  for (auto& device : GStreamerVideoSources())
    devices.push_back({CaptureFramework::GStreamer, device.name, device.path, false});
  if (pattern) devices.push_back(TestPattern(CaptureFramework::GStreamer));
  return devices;
}

int CountOf(const std::vector<CaptureDevice>& devices, CaptureFramework framework) {
  return static_cast<int>(std::count_if(devices.begin(), devices.end(),
                                        [&](const auto& d) { return d.framework == framework; }));
}

std::string ListedName(const CaptureDevice& device) {
  return device.name + Txt(device.framework == CaptureFramework::Libav
                               ? txt::CaptureFrameworkV4l2Suffix
                               : txt::CaptureFrameworkGStreamerSuffix);
}

std::optional<CaptureDevice> FindDevice(const std::vector<CaptureDevice>& devices,
                                        const std::string& name) {
  std::vector<std::string> listed;
  std::vector<std::string> own;
  for (const auto& device : devices) {
    listed.push_back(ListedName(device));
    own.push_back(device.name);
  }
  auto found = FindByName(listed, name);
  if (!found) found = FindByName(own, name);
  if (!found) return std::nullopt;
  return devices[static_cast<std::size_t>(*found)];
}

std::vector<CaptureFormat> FormatsOf(const CaptureDevice& device) {
  auto formats = device.testPattern ? TestPatternFormats() : V4l2Formats(device.path);
  std::stable_sort(formats.begin(), formats.end(), [](const auto& a, const auto& b) {
    return std::tuple(a.width * a.height, a.Rate()) > std::tuple(b.width * b.height, b.Rate());
  });
  return formats;
}

std::vector<std::string> VideoDeviceNodes(const std::string& folder) {
  std::vector<std::string> nodes;
  std::error_code failed;
  for (std::filesystem::directory_iterator entry(folder, failed), end; !failed && entry != end;
       entry.increment(failed)) {
    const std::string name = entry->path().filename().string();
    if (name.starts_with("video")) nodes.push_back(name);
  }
  std::sort(nodes.begin(), nodes.end());
  return nodes;
}

std::vector<CaptureCodec> CaptureCodecs() {
  return {{Txt(txt::CaptureCodecNone), CaptureCompression::None, false},
          {Txt(txt::CaptureCodecMjpeg), CaptureCompression::MotionJpeg, true}};
}

}  // namespace kinovia
