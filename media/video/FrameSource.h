#pragma once
// The contract every frame source meets (our AVI reader, GStreamer, FFmpeg), and the plain
// picture buffer they draw into, so that the media layer needs no toolkit.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "media/video/PictureLimits.h"

namespace kinovia {

// A 24-bit picture, rows top-down, each pixel R, G, B, rows packed (stride = 3 * width).
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  void Resize(int w, int h);
  std::uint8_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * 3 * width; }
  const std::uint8_t* Row(int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * 3 * width;
  }
};

// A rectangle of picture pixels, right and bottom excluded.
struct PictureRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PictureRect&) const = default;
};

// How a frame is copied: hidden frames of the montage are shown inverted.
enum class RasterOperation { Copy, Invert };

// Copies `source` of `picture`, stretched, into the whole of `target` (its size is kept).
void StretchInto(const Bitmap& picture, PictureRect source, RasterOperation op, Bitmap& target);

// Turns `picture` clockwise by 90, 180 or 270 degrees into `turned` (resized to fit).
void TurnClockwise(const Bitmap& picture, int degrees, Bitmap& turned);

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  FrameSource() = default;
  FrameSource(const FrameSource&) = delete;
  FrameSource& operator=(const FrameSource&) = delete;

  // Called after each successful opening.
  std::function<void()> onOpened;
  // Called now and then while a clip is listed at opening, with the part of the file read so far
  // (0 to 1); answering false cancels the opening, which then fails and leaves nothing open.
  std::function<bool(double)> onOpeningProgress;

  // Closes any open clip, then opens the file; succeeds only when the first frame can be drawn.
  bool Open(const std::string& fileName);
  // The same without drawing the first frame, for a reading that serves frames at the sizes
  // another source asks for (onOpened is not called).
  bool OpenUndrawn(const std::string& fileName);
  void Close();
  // Clamped to the clip; ignored while no clip is open. Safe from the playback timer's thread.
  void SetPosition(std::int32_t n);
  // The given rectangle of the current frame, stretched into the whole bitmap; false when busy,
  // not open, or when the frame cannot be decoded.
  bool Draw(Bitmap& target, PictureRect source);
  // The current frame at its own size.
  bool DrawWhole(Bitmap& target);

  bool IsOpen() const { return open_; }
  std::int32_t FrameCount() const { return frameCount_; }
  // The picture as shown: upright, after the clip's display rotation.
  int Width() const { return rotation_ % 180 == 0 ? width_ : height_; }
  int Height() const { return rotation_ % 180 == 0 ? height_ : width_; }
  // The pictures as stored in the file, before the rotation.
  int StoredWidth() const { return width_; }
  int StoredHeight() const { return height_; }
  // Degrees (0, 90, 180 or 270) the stored pictures are turned clockwise to be shown, as the
  // camera asked in the file: a phone filming upright stores its pictures lying.
  int Rotation() const { return rotation_; }
  std::int32_t CurrentFrame() const { return current_.load(); }
  double Interval() const { return 1.0 / framesPerSecond_; }
  double FramesPerSecond() const { return framesPerSecond_; }
  // The playback timer's period: 1000 T rounded, at most 65535.
  int DurationMs() const;
  RasterOperation RasterOp() const { return rasterOp_; }
  void SetRasterOp(RasterOperation op) { rasterOp_ = op; }
  bool Busy() const { return busy_.load(); }
  // True when the last opening failed because onOpeningProgress cancelled it.
  bool OpeningCancelled() const { return openingCancelled_; }
  const std::string& FileName() const { return fileName_; }

 protected:
  struct StreamFacts {
    std::int32_t frameCount = 0;
    int width = 0;
    int height = 0;
    double framesPerSecond = 0;
    int rotation = 0;  // clockwise degrees, 0, 90, 180 or 270
  };
  // The back-end's part: nullopt when the file cannot be served.
  virtual std::optional<StreamFacts> OpenFile(const std::string& fileName) = 0;
  virtual void CloseFile() = 0;
  // Frame n (inside the clip), its stored picture turned `turn` degrees clockwise (0 or the
  // clip's rotation), into `frame`, already at the turned size.
  virtual bool DecodeFrame(std::int32_t n, int turn, Bitmap& frame) = 0;
  // For OpenFile: tells how far it has read; false when the user cancelled.
  bool OpeningGoesOn(double fraction);

 private:
  bool DecodeCurrent();
  // Gives `target` the picture of the frame decoded last, which is then no longer kept.
  void HandOverPicture(Bitmap& target);
  // True when the current frame was decoded whole, its picture now the target's.
  bool TakeDecodedPicture(Bitmap& target);
  // Frame n, turned as the clip asks, into `upright` (resized to fit).
  bool DecodeUpright(std::int32_t n, Bitmap& upright);
  void ClearFacts();

  bool open_ = false;
  bool openingCancelled_ = false;
  std::int32_t frameCount_ = 0;
  int width_ = 0;
  int height_ = 0;  // width_ and height_ are those of the stored pictures
  int rotation_ = 0;
  double framesPerSecond_ = 0;
  std::atomic<std::int32_t> current_{0};
  std::atomic<bool> busy_{false};
  RasterOperation rasterOp_ = RasterOperation::Copy;
  std::string fileName_;
  Bitmap picture_;
  std::int32_t pictureFrame_ = -1;  // which frame picture_ holds
};

}  // namespace kinovia
