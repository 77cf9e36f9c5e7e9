#pragma once
// Writes an AVI file (one video stream) of uncompressed 24-bit DIB frames or Motion-JPEG
// frames: AVI 1.0 with its idx1 index up to 1 GiB, then OpenDML "AVIX" parts found through the
// OpenDML indexes. The file is built beside the target under a temporary name and renamed
// over the target only by Finish, so a failed or abandoned recording never leaves a half file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kinovia {

enum class AviCodec { Uncompressed, MotionJpeg };

// The numbers follow the recorder's error numbers, so a recorder can pass them on unchanged.
enum class AviError {
  None = 0,
  NotInitialised = 2,  // a frame without an open file, or a second Finish
  FrameDamaged = 3,    // pixels that do not match the declared size
  CompressFailed = 5,
  FormatRefused = 6,  // size, rate or scale out of range
  CannotReplace = 7,  // the temporary file cannot be made or renamed over the target
  CannotSave = 8,     // a write to disk failed
  TooLarge = 11,      // the file would need more parts than its headers can index
};

// The recorder's text for an error (empty for None).
const std::string& AviErrorText(AviError error);

// Writes a whole file through a temporary file renamed over the target; false when it could not
// be written whole, the target then left as it was.
bool WriteFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// Largest RIFF part: readers of plain AVI 1.0 stop at 1 GiB, so frames beyond it go into the
// next OpenDML part; a file holds up to 256 parts.
inline constexpr std::uint64_t kAviSegmentBytes = std::uint64_t{1} << 30;

namespace avi {
struct RiffSegment;
}

struct AviFormat {
  std::int32_t width = 0;  // 1 ... kAviMaxSide
  std::int32_t height = 0;
  // Frames per second = rate / scale; both > 0.
  std::uint32_t rate = 25;
  std::uint32_t scale = 1;
  AviCodec codec = AviCodec::MotionJpeg;
  int jpegQuality = 85;  // 1 ... 100, Motion-JPEG only
  std::string comment;   // stored as the file's INFO comment when not empty
  std::uint64_t segmentBytes = kAviSegmentBytes;  // may only be lowered
};

inline constexpr std::int32_t kAviMaxSide = 16384;

// Byte order of one pixel of the frames handed to AddFrame; rows go top down.
enum class PixelLayout { Rgb24, Bgr24, Bgrx32 };

struct FrameView {
  std::span<const std::uint8_t> pixels;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::size_t stride = 0;  // bytes from one row to the next
  PixelLayout layout = PixelLayout::Rgb24;
};

class AviWriter {
 public:
  AviWriter();
  ~AviWriter();  // an unfinished file is discarded
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // Starts a new file (discarding any unfinished one); false with Error() set on failure.
  bool Open(const std::filesystem::path& target, const AviFormat& format);
  // Appends one key frame of the open file's size.
  bool AddFrame(const FrameView& frame);
  // Completes the headers and the index and renames the file over the target.
  bool Finish();
  // Drops the unfinished file; the target is left as it was.
  void Discard();

  bool IsOpen() const { return file_ != nullptr; }
  std::uint32_t FrameCount() const { return frameCount_; }
  AviError Error() const { return error_; }

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const;
  };
  class JpegEncoder;

  bool Fail(AviError error);
  bool EncodeFrame(const FrameView& frame);
  void EncodeDib(const FrameView& frame);
  bool Fits(std::uint64_t chunkBytes) const;
  bool MakeRoom(std::uint64_t chunkBytes);
  bool CloseSegment();
  bool StartSegment();
  bool WriteBytes(std::span<const std::uint8_t> bytes);
  bool PatchSize(std::uint64_t at, std::uint64_t size);

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::unique_ptr<JpegEncoder> jpeg_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  AviFormat format_;
  std::vector<avi::RiffSegment> segments_;
  std::vector<std::uint8_t> frameBytes_;
  std::uint64_t fileOffset_ = 0;
  std::uint32_t frameCount_ = 0;
  std::uint32_t largestFrame_ = 0;
  AviError error_ = AviError::None;
};

}  // namespace kinovia
