#pragma once
// A connected device delivering frames one after the other, whichever framework reaches it.
#include <cstdint>
#include <memory>

#include "core/Result.h"
#include "media/capture/CaptureDevices.h"
#include "media/video/FrameSource.h"

namespace kinovia {

class FrameGrabber {
 public:
  virtual ~FrameGrabber() = default;
  FrameGrabber() = default;
  FrameGrabber(const FrameGrabber&) = delete;
  FrameGrabber& operator=(const FrameGrabber&) = delete;

  // Waits for the next frame and its time in microseconds; false when the device has gone, the
  // stream has ended or Interrupt was called.
  virtual bool Read(Bitmap& frame, std::int64_t& microseconds) = 0;
  // Makes a waiting or later Read give up; safe from another thread.
  virtual void Interrupt() = 0;
};

// Connects the device with the format through the device's framework; the failure is the
// program's message for a device that does not work.
Result<std::unique_ptr<FrameGrabber>> ConnectGrabber(const CaptureDevice& device,
                                                     const CaptureFormat& format);

// Each framework's own connection.
Result<std::unique_ptr<FrameGrabber>> ConnectLibavGrabber(const CaptureDevice& device,
                                                          const CaptureFormat& format);
Result<std::unique_ptr<FrameGrabber>> ConnectGStreamerGrabber(const CaptureDevice& device,
                                                              const CaptureFormat& format);

Message DeviceNotWorking();

}  // namespace kinovia
