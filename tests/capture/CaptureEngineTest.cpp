#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "media/capture/CaptureEngine.h"
#include "tests/workshop/FfmpegProbe.h"

namespace kinovia {
namespace {

using namespace std::chrono_literals;
using test::ProbeClip;
using test::ScratchFolder;

CaptureDevice TestPattern(CaptureFramework framework) {
  setenv(kTestCameraVariable, "1", 1);
  for (const auto& device : ListCaptureDevices())
    if (device.testPattern && device.framework == framework) return device;
  ADD_FAILURE() << "no test pattern listed";
  return {};
}

CaptureFormat SmallFormat(const CaptureDevice& device, std::uint32_t fps) {
  for (auto format : FormatsOf(device)) {
    if (format.width == 320 && format.Rate() == fps) return format;
  }
  ADD_FAILURE() << "no 320 x 240 format";
  return {};
}

// The counter drawn across the top of the test pattern: one white cell per set bit.
int CounterOf(const std::vector<std::uint8_t>& rgb, int width) {
  const int cell = width / 16;
  int value = 0;
  for (int bit = 0; bit < 16; ++bit) {
    const std::size_t at = (static_cast<std::size_t>(cell / 2) * width + bit * cell + cell / 2) * 3;
    if (rgb.at(at) > 200 && rgb.at(at + 1) > 200 && rgb.at(at + 2) > 200) value |= 1 << bit;
  }
  return value;
}

int FrameCount(const std::filesystem::path& clip) {
  return std::atoi(ProbeClip(clip)["nb_read_frames"].c_str());
}

void CaptureFor(CaptureEngine& engine, const std::filesystem::path& out, CaptureCompression codec,
                std::chrono::milliseconds duration) {
  ASSERT_TRUE(engine.StartCapture(out.string(), codec));
  std::this_thread::sleep_for(duration);
  ASSERT_TRUE(engine.StopCapture());
}

TEST(CaptureEngine, TwoSecondsOfTheTestPatternGiveRateTimesDuration) {
  ScratchFolder folder("capture_pattern");
  const auto device = TestPattern(CaptureFramework::Libav);
  const auto format = SmallFormat(device, 25);
  CaptureEngine engine;
  ASSERT_TRUE(engine.Connect(device, format));
  std::this_thread::sleep_for(300ms);  // the preview runs before the capture starts
  const auto out = folder.Path() / "pattern.avi";
  CaptureFor(engine, out, CaptureCompression::MotionJpeg, 2s);
  const auto counts = engine.Counts();

  const int frames = FrameCount(out);
  EXPECT_EQ(frames, counts.captured);
  EXPECT_NEAR(frames, 50, 5);
  EXPECT_EQ(ProbeClip(out)["codec_name"], "mjpeg");
  EXPECT_EQ(ProbeClip(out)["r_frame_rate"], "25/1");
  // The counter advances by one a frame, less the frames dropped.
  const int first = CounterOf(test::DecodeFrame(out, 0), 320);
  const int last = CounterOf(test::DecodeFrame(out, frames - 1), 320);
  EXPECT_GT(first, 0);
  EXPECT_EQ(last - first, frames - 1 + counts.dropped);

  Bitmap preview;
  std::uint64_t seen = 0;
  EXPECT_TRUE(engine.NewestFrame(preview, seen));
  EXPECT_EQ(preview.width, 320);
  EXPECT_FALSE(engine.NewestFrame(preview, seen));  // nothing newer yet
}

// The quality set through "Configurar" reaches the Motion-JPEG frames.
TEST(CaptureEngine, MotionJpegQualityIsTheOneConfigured) {
  ScratchFolder folder("capture_quality");
  const auto device = TestPattern(CaptureFramework::Libav);
  CaptureEngine engine;
  ASSERT_TRUE(engine.Connect(device, SmallFormat(device, 25)));
  std::uintmax_t bytesPerFrame[2] = {};
  const int qualities[2] = {kCaptureJpegQualityMin, 100};
  for (int i = 0; i < 2; ++i) {
    const auto out = folder.Path() / ("q" + std::to_string(qualities[i]) + ".avi");
    ASSERT_TRUE(engine.StartCapture(out.string(), CaptureCompression::MotionJpeg, qualities[i]));
    std::this_thread::sleep_for(600ms);
    ASSERT_TRUE(engine.StopCapture());
    bytesPerFrame[i] = std::filesystem::file_size(out) / std::uintmax_t(FrameCount(out));
  }
  EXPECT_LT(4 * bytesPerFrame[0], 3 * bytesPerFrame[1]);
}

TEST(CaptureEngine, GStreamerTestPatternCapturesUncompressed) {
  ScratchFolder folder("capture_gstreamer");
  const auto device = TestPattern(CaptureFramework::GStreamer);
  CaptureEngine engine;
  if (!engine.Connect(device, SmallFormat(device, 30))) GTEST_SKIP() << "no videotestsrc";
  const auto out = folder.Path() / "ball.avi";
  CaptureFor(engine, out, CaptureCompression::None, 2s);
  EXPECT_NEAR(FrameCount(out), 60, 6);
  EXPECT_EQ(ProbeClip(out)["codec_name"], "rawvideo");
}

// A camera pulled out: the real pattern, cut off after a number of frames.
class VanishingGrabber final : public FrameGrabber {
 public:
  VanishingGrabber(std::unique_ptr<FrameGrabber> real, int frames)
      : real_(std::move(real)), left_(frames) {}
  bool Read(Bitmap& frame, std::int64_t& microseconds) override {
    return left_-- > 0 && real_->Read(frame, microseconds);
  }
  void Interrupt() override { real_->Interrupt(); }

 private:
  std::unique_ptr<FrameGrabber> real_;
  int left_;
};

TEST(CaptureEngine, ADeviceThatDisappearsEndsTheCaptureAndKeepsTheFile) {
  ScratchFolder folder("capture_lost");
  const auto device = TestPattern(CaptureFramework::Libav);
  const auto format = SmallFormat(device, 30);
  auto real = ConnectGrabber(device, format);
  ASSERT_TRUE(real);
  CaptureEngine engine;
  engine.Attach(std::make_unique<VanishingGrabber>(std::move(real).Value(), 20), format);
  const auto out = folder.Path() / "cut.avi";
  ASSERT_TRUE(engine.StartCapture(out.string(), CaptureCompression::MotionJpeg));
  for (int i = 0; i < 100 && engine.Capturing(); ++i) std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(engine.Capturing());
  EXPECT_TRUE(engine.Lost());
  EXPECT_TRUE(engine.StopCapture());
  EXPECT_EQ(FrameCount(out), engine.Counts().captured);
  EXPECT_GT(engine.Counts().captured, 0);
  EXPECT_FALSE(
      engine.StartCapture((folder.Path() / "again.avi").string(), CaptureCompression::MotionJpeg));
}

TEST(CaptureEngine, AnUnknownNodeIsRefusedWithTheDeviceMessage) {
  CaptureEngine engine;
  const auto refused = engine.Connect({CaptureFramework::Libav, "gone", "/dev/video-none", false},
                                      {320, 240, "YUYV"});
  ASSERT_FALSE(refused);
  EXPECT_EQ(PlainText(refused.Failure()), "El dispositivo de captura elegido no funciona.");
  EXPECT_FALSE(engine.Connected());
}

// The kernel's virtual camera, fed by ffmpeg, where the machine has one.
std::string LoopbackNode() {
  for (int n = 0; n < 64; ++n) {
    const std::string node = "/dev/video" + std::to_string(n);
    const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK);
    if (fd < 0) continue;
    v4l2_capability caps{};
    const bool loopback = ::ioctl(fd, VIDIOC_QUERYCAP, &caps) == 0 &&
                          std::string(reinterpret_cast<char*>(caps.driver)) == "v4l2 loopback";
    ::close(fd);
    if (loopback) return node;
  }
  return {};
}

TEST(CaptureEngine, TheKernelsVirtualCamera) {
  const std::string node = LoopbackNode();
  if (node.empty()) GTEST_SKIP() << "no v4l2loopback device";
  ScratchFolder folder("capture_loopback");
  const std::string feed =
      "ffmpeg -loglevel error -re -f lavfi -i testsrc=s=320x240:r=25 -t 6 "
      "-pix_fmt yuyv422 -f v4l2 " +
      node + " &";
  ASSERT_EQ(std::system(feed.c_str()), 0);
  std::this_thread::sleep_for(1s);
  CaptureEngine engine;
  ASSERT_TRUE(engine.Connect({CaptureFramework::Libav, "loopback", node, false},
                             {320, 240, "YUYV", 25, 1}));
  const auto out = folder.Path() / "loop.avi";
  CaptureFor(engine, out, CaptureCompression::MotionJpeg, 2s);
  EXPECT_NEAR(FrameCount(out), 50, 5);
}

}  // namespace
}  // namespace kinovia
