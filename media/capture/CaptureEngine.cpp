#include "media/capture/CaptureEngine.h"

#include <algorithm>
#include <cmath>

#include "media/recording/AviWriter.h"
#include "resources/TxtCapture.h"

namespace kinovia {

namespace {

Message WriteFailure(AviError error) {
  Message m;
  m.icon = MessageIcon::Warning;
  m.Line(error == AviError::None ? Txt(txt::CaptureWriteFailed) : AviErrorText(error));
  return m;
}

}  // namespace

Message DeviceNotWorking() {
  Message m;
  m.icon = MessageIcon::Warning;
  m.Line(txt::CaptureDeviceNotWorking);
  return m;
}

Result<std::unique_ptr<FrameGrabber>> ConnectGrabber(const CaptureDevice& device,
                                                     const CaptureFormat& format) {
  if (format.width <= 0 || format.height <= 0 || format.rateNumerator == 0 ||
      format.rateDenominator == 0)
    return DeviceNotWorking();
  return device.framework == CaptureFramework::Libav ? ConnectLibavGrabber(device, format)
                                                     : ConnectGStreamerGrabber(device, format);
}

CaptureEngine::CaptureEngine() : writer_(std::make_unique<AviWriter>()) {}

CaptureEngine::~CaptureEngine() { Disconnect(); }

Result<void> CaptureEngine::Connect(const CaptureDevice& device, const CaptureFormat& format) {
  Disconnect();
  auto grabber = ConnectGrabber(device, format);
  if (!grabber) return grabber.Failure();
  Attach(std::move(grabber).Value(), format);
  return {};
}

void CaptureEngine::Attach(std::unique_ptr<FrameGrabber> grabber, const CaptureFormat& format) {
  Disconnect();
  grabber_ = std::move(grabber);
  format_ = format;
  lost_ = false;
  reader_ = std::thread([this] { ReadFrames(); });
}

void CaptureEngine::Disconnect() {
  if (capturing_) (void)StopCapture();
  if (grabber_) grabber_->Interrupt();
  if (reader_.joinable()) reader_.join();
  grabber_.reset();
  std::lock_guard lock(frameMutex_);
  newest_ = {};
}

void CaptureEngine::ReadFrames() {
  Bitmap frame;
  std::int64_t microseconds = 0;
  while (grabber_->Read(frame, microseconds)) {
    Record(frame, microseconds);
    std::lock_guard lock(frameMutex_);
    std::swap(newest_, frame);
    ++sequence_;
  }
  lost_ = true;
  // The frames written so far are the user's: the file is completed, not thrown away.
  std::lock_guard lock(fileMutex_);
  if (writerOpen_) {
    writeFailed_ = !writer_->Finish() || writeFailed_;
    writerOpen_ = false;
  }
  capturing_ = false;
}

void CaptureEngine::Record(const Bitmap& frame, std::int64_t microseconds) {
  std::lock_guard lock(fileMutex_);
  if (!writerOpen_) {
    lastMicroseconds_ = microseconds;
    return;
  }
  // Frames the device skipped show as a gap between the times of two that came.
  const double interval = 1e6 / format_.Rate();
  if (lastMicroseconds_ >= 0) {
    const double gap = static_cast<double>(microseconds - lastMicroseconds_);
    if (gap > 1.5 * interval) counts_.dropped += std::llround(gap / interval) - 1;
  }
  lastMicroseconds_ = microseconds;
  // A frame of another size (a device changing its mind) cannot go into this file.
  const bool fits = frame.width == format_.width && frame.height == format_.height;
  if (fits && writer_->AddFrame({frame.pixels, frame.width, frame.height,
                                 static_cast<std::size_t>(3 * frame.width), PixelLayout::Rgb24})) {
    ++counts_.captured;
  } else if (fits) {
    writeFailed_ = true;
  } else {
    ++counts_.dropped;
  }
}

Result<void> CaptureEngine::StartCapture(const std::string& fileName,
                                         CaptureCompression compression, int jpegQuality) {
  if (!Connected()) return DeviceNotWorking();
  std::lock_guard lock(fileMutex_);
  AviFormat avi;
  avi.width = format_.width;
  avi.height = format_.height;
  avi.rate = format_.rateNumerator;
  avi.scale = format_.rateDenominator;
  avi.codec =
      compression == CaptureCompression::None ? AviCodec::Uncompressed : AviCodec::MotionJpeg;
  avi.jpegQuality = std::clamp(jpegQuality, kCaptureJpegQualityMin, 100);
  if (!writer_->Open(fileName, avi)) return WriteFailure(writer_->Error());
  writerOpen_ = true;
  writeFailed_ = false;
  counts_ = {};
  capturing_ = true;
  return {};
}

Result<void> CaptureEngine::StopCapture() {
  std::lock_guard lock(fileMutex_);
  capturing_ = false;
  if (writerOpen_) {
    writerOpen_ = false;
    if (!writer_->Finish()) return WriteFailure(writer_->Error());
  }
  if (writeFailed_) return WriteFailure(writer_->Error());
  return {};
}

CaptureCounts CaptureEngine::Counts() const {
  std::lock_guard lock(fileMutex_);
  return counts_;
}

bool CaptureEngine::NewestFrame(Bitmap& out, std::uint64_t& seen) const {
  std::lock_guard lock(frameMutex_);
  if (sequence_ == seen || newest_.width == 0) return false;
  out = newest_;
  seen = sequence_;
  return true;
}

}  // namespace kinovia
