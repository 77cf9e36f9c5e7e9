#pragma once
// A connected capture device: frames read on a thread of their own, the newest kept for the
// preview, and while capturing each one written into an AVI file, with the frames captured and
// dropped counted. A device that disappears ends the capture and the file keeps what came.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/Result.h"
#include "logic/capture/CaptureSchedule.h"
#include "media/capture/FrameGrabber.h"

namespace kinovia {

class AviWriter;

class CaptureEngine {
 public:
  CaptureEngine();
  ~CaptureEngine();
  CaptureEngine(const CaptureEngine&) = delete;
  CaptureEngine& operator=(const CaptureEngine&) = delete;

  // Disconnects any device, then connects this one and starts its preview.
  Result<void> Connect(const CaptureDevice& device, const CaptureFormat& format);
  // The same with a device already connected, delivering frames of `format`.
  void Attach(std::unique_ptr<FrameGrabber> grabber, const CaptureFormat& format);
  // Stops a running capture (keeping its file) and releases the device.
  void Disconnect();
  // Connected and still delivering frames.
  bool Connected() const { return reader_.joinable() && !lost_; }
  // The device stopped delivering: pulled out, or its stream ended.
  bool Lost() const { return lost_; }
  const CaptureFormat& Format() const { return format_; }

  // Starts writing every new frame into `fileName`.
  Result<void> StartCapture(const std::string& fileName, CaptureCompression compression,
                            int jpegQuality = kCaptureJpegQualityDefault);
  // Finishes the file: what was written stays, even after the device was lost. Failure: the
  // file could not be completed.
  Result<void> StopCapture();
  // Writing: since StartCapture, until StopCapture or the device's loss.
  bool Capturing() const { return capturing_; }
  CaptureCounts Counts() const;

  // Copies the newest frame when it is newer than `seen`, which it then updates.
  bool NewestFrame(Bitmap& out, std::uint64_t& seen) const;

 private:
  void ReadFrames();
  void Record(const Bitmap& frame, std::int64_t microseconds);
  Result<void> FinishFile();

  std::unique_ptr<FrameGrabber> grabber_;
  std::thread reader_;
  CaptureFormat format_;
  std::atomic<bool> lost_{false};
  std::atomic<bool> capturing_{false};

  mutable std::mutex frameMutex_;
  Bitmap newest_;
  std::uint64_t sequence_ = 0;

  mutable std::mutex fileMutex_;
  std::unique_ptr<AviWriter> writer_;
  CaptureCounts counts_;
  std::int64_t lastMicroseconds_ = -1;
  bool writeFailed_ = false;
  bool writerOpen_ = false;
};

}  // namespace kinovia
