#include "workshop/UnitAviWriter.h"

#include <fcntl.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <limits>
#include <string_view>
#include <utility>

#include "resources/TxtWorkshop.h"
#include "workshop/UnitAviWriterChunks.h"

namespace kinovia {
namespace {

std::size_t BytesPerPixel(TPixelLayout layout) { return layout == TPixelLayout::Bgrx32 ? 4 : 3; }

bool FrameIsWhole(const TFrameView& frame) {
  if (frame.width <= 0 || frame.height <= 0) return false;
  const std::size_t row = static_cast<std::size_t>(frame.width) * BytesPerPixel(frame.layout);
  // Bounded first, so the product below cannot wrap (the height matches the file's already).
  if (frame.stride < row || frame.stride > std::numeric_limits<int>::max()) return false;
  const std::size_t needed = frame.stride * static_cast<std::size_t>(frame.height - 1) + row;
  return frame.pixels.size() >= needed;
}

bool FormatIsValid(const TAviFormat& f) {
  return f.width > 0 && f.height > 0 && f.width <= kAviMaxSide && f.height <= kAviMaxSide &&
         f.rate > 0 && f.scale > 0;
}

// A new file beside the target that no other writer can be using; rw-rw-rw- less the umask,
// like any file the user saves.
std::FILE* CreateTemporary(const std::filesystem::path& target, std::filesystem::path& made) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    made = target;
    made += ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      std::FILE* file = ::fdopen(fd, "wb");
      if (!file) ::close(fd);
      return file;
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

void RemoveQuietly(const std::filesystem::path& file) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
}

// Flushes the file to disk, closes it and renames it over the target; on any failure the
// temporary file is removed and the target left as it was.
TAviError Commit(std::FILE* file, const std::filesystem::path& temporary,
                 const std::filesystem::path& target) {
  const bool flushed = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  std::error_code failed;
  if (flushed && closed) std::filesystem::rename(temporary, target, failed);
  if (flushed && closed && !failed) return TAviError::None;
  RemoveQuietly(temporary);
  return flushed && closed ? TAviError::CannotReplace : TAviError::CannotSave;
}

}  // namespace

bool WriteFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  std::filesystem::path temporary;
  std::FILE* file = CreateTemporary(target, temporary);
  if (!file) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::fclose(file);
    RemoveQuietly(temporary);
    return false;
  }
  return Commit(file, temporary, target) == TAviError::None;
}

class TAviWriter::TJpegEncoder {
 public:
  TJpegEncoder() : handle_(tjInitCompress()) {}
  ~TJpegEncoder() {
    if (handle_) tjDestroy(handle_);
  }
  TJpegEncoder(const TJpegEncoder&) = delete;
  TJpegEncoder& operator=(const TJpegEncoder&) = delete;

  bool IsReady() const { return handle_ != nullptr; }

  bool Encode(const TFrameView& frame, int quality, std::vector<std::uint8_t>& out) {
    out.resize(tjBufSize(frame.width, frame.height, TJSAMP_422));
    unsigned long size = out.size();
    unsigned char* buffer = out.data();
    const int pixelFormat = frame.layout == TPixelLayout::Rgb24   ? TJPF_RGB
                            : frame.layout == TPixelLayout::Bgr24 ? TJPF_BGR
                                                                  : TJPF_BGRX;
    const int result = tjCompress2(handle_, frame.pixels.data(), frame.width,
                                   static_cast<int>(frame.stride), frame.height, pixelFormat,
                                   &buffer, &size, TJSAMP_422, quality, TJFLAG_NOREALLOC);
    if (result != 0) return false;
    out.resize(size);
    return true;
  }

 private:
  tjhandle handle_;
};

void TAviWriter::TFileCloser::operator()(std::FILE* file) const { std::fclose(file); }

const std::string& AviErrorText(TAviError error) {
  static const std::string none;
  static const std::pair<TAviError, TxtId> texts[] = {
      {TAviError::NotInitialised, txt::AviWriterNotInitialised},
      {TAviError::FrameDamaged, txt::AviWriterFrameDamaged},
      {TAviError::CompressFailed, txt::AviWriterCompressFailed},
      {TAviError::FormatRefused, txt::AviWriterFormatRefused},
      {TAviError::CannotReplace, txt::AviWriterCannotReplace},
      {TAviError::CannotSave, txt::AviWriterCannotSave},
      {TAviError::TooLarge, txt::AviWriterTooLarge},
  };
  for (const auto& [code, text] : texts)
    if (code == error) return Txt(text);
  return none;
}

TAviWriter::TAviWriter() = default;

TAviWriter::~TAviWriter() { Discard(); }

void TAviWriter::Discard() {
  if (!file_) return;
  file_.reset();
  RemoveQuietly(temporary_);
}

bool TAviWriter::Fail(TAviError error) {
  error_ = error;
  Discard();
  return false;
}

bool TAviWriter::Open(const std::filesystem::path& target, const TAviFormat& format) {
  Discard();
  error_ = TAviError::None;
  frameCount_ = 0;
  largestFrame_ = 0;
  fileOffset_ = 0;
  segments_.assign(1, avi::TSegment{});
  if (!FormatIsValid(format)) return Fail(TAviError::FormatRefused);
  format_ = format;
  format_.jpegQuality = std::clamp(format.jpegQuality, 1, 100);
  format_.segmentBytes = std::min(format.segmentBytes, kAviSegmentBytes);
  target_ = target;
  if (format_.codec == TAviCodec::MotionJpeg) {
    jpeg_ = std::make_unique<TJpegEncoder>();
    if (!jpeg_->IsReady()) return Fail(TAviError::CompressFailed);
  }
  file_.reset(CreateTemporary(target_, temporary_));
  if (!file_) return Fail(TAviError::CannotReplace);
  // Room for the headers; they are written again with the final counts by Finish.
  const auto headers = avi::FileHeaders(format_, segments_, 0);
  segments_.front().moviTag = headers.size() - 4;
  return WriteBytes(headers);
}

bool TAviWriter::AddFrame(const TFrameView& frame) {
  if (!file_) {
    error_ = TAviError::NotInitialised;
    return false;
  }
  if (frame.width != format_.width || frame.height != format_.height || !FrameIsWhole(frame))
    return Fail(TAviError::FrameDamaged);
  if (!EncodeFrame(frame)) return Fail(TAviError::CompressFailed);
  const auto size = static_cast<std::uint32_t>(frameBytes_.size());
  const std::uint64_t chunkBytes = 8 + size + (size & 1);
  if (!MakeRoom(chunkBytes)) return false;
  const std::uint64_t dataOffset = fileOffset_ + 8;
  if (!WriteBytes(avi::ChunkHeader(avi::ChunkId(format_.codec), size)) || !WriteBytes(frameBytes_))
    return false;
  if ((size & 1) && !WriteBytes(std::vector<std::uint8_t>{0})) return false;
  segments_.back().chunks.push_back({dataOffset, size});
  ++frameCount_;
  largestFrame_ = std::max(largestFrame_, size);
  return true;
}

// Whether the chunk and the indexes that will close the current part stay within one part.
bool TAviWriter::Fits(std::uint64_t chunkBytes) const {
  const avi::TSegment& s = segments_.back();
  const std::size_t entries = s.chunks.size() + 1;
  const std::uint64_t legacy = segments_.size() == 1 ? avi::LegacyIndexBytes(entries) : 0;
  return fileOffset_ + chunkBytes - s.riffStart + avi::StandardIndexBytes(entries) + legacy <=
         format_.segmentBytes;
}

bool TAviWriter::MakeRoom(std::uint64_t chunkBytes) {
  if (Fits(chunkBytes)) return true;
  if (segments_.back().chunks.empty() || segments_.size() == avi::kMaxSegments)
    return Fail(TAviError::TooLarge);
  if (!CloseSegment() || !StartSegment()) return false;
  return Fits(chunkBytes) || Fail(TAviError::TooLarge);
}

// Ends the part's "movi" list with its standard index; the first part also gets idx1.
bool TAviWriter::CloseSegment() {
  avi::TSegment& s = segments_.back();
  const bool first = segments_.size() == 1;
  s.ixOffset = fileOffset_;
  if (!WriteBytes(avi::StandardIndex(s, avi::ChunkId(format_.codec)))) return false;
  s.moviEnd = fileOffset_;
  if (first && !WriteBytes(avi::LegacyIndex(s, avi::ChunkId(format_.codec)))) return false;
  s.riffEnd = fileOffset_;
  // The first part's sizes live in the headers, which Finish rewrites.
  return first || (PatchSize(s.riffStart + 4, s.riffEnd - s.riffStart - 8) &&
                   PatchSize(s.moviTag - 4, s.moviEnd - s.moviTag));
}

bool TAviWriter::StartSegment() {
  avi::TSegment next;
  next.riffStart = fileOffset_;
  next.moviTag = fileOffset_ + 20;  // after "RIFF" size "AVIX" "LIST" size
  segments_.push_back(next);
  return WriteBytes(avi::SegmentStart());
}

bool TAviWriter::PatchSize(std::uint64_t at, std::uint64_t size) {
  const auto bytes = avi::Le32(static_cast<std::uint32_t>(size));
  if (::fseeko(file_.get(), static_cast<off_t>(at), SEEK_SET) != 0 ||
      std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size() ||
      ::fseeko(file_.get(), 0, SEEK_END) != 0)
    return Fail(TAviError::CannotSave);
  return true;
}

bool TAviWriter::EncodeFrame(const TFrameView& frame) {
  if (format_.codec == TAviCodec::MotionJpeg)
    return jpeg_ && jpeg_->Encode(frame, format_.jpegQuality, frameBytes_);
  EncodeDib(frame);
  return true;
}

// Bottom-up BGR rows padded to four bytes, as a DIB stores them.
void TAviWriter::EncodeDib(const TFrameView& frame) {
  const std::size_t rowBytes = avi::DibRowBytes(frame.width);
  const std::size_t step = BytesPerPixel(frame.layout);
  const bool rgb = frame.layout == TPixelLayout::Rgb24;
  frameBytes_.assign(rowBytes * static_cast<std::size_t>(frame.height), 0);
  for (std::int32_t y = 0; y < frame.height; ++y) {
    const std::uint8_t* in = frame.pixels.data() + frame.stride * static_cast<std::size_t>(y);
    std::uint8_t* out =
        frameBytes_.data() + rowBytes * static_cast<std::size_t>(frame.height - 1 - y);
    for (std::int32_t x = 0; x < frame.width; ++x, in += step, out += 3) {
      out[0] = rgb ? in[2] : in[0];
      out[1] = in[1];
      out[2] = rgb ? in[0] : in[2];
    }
  }
}

bool TAviWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size())
    return Fail(TAviError::CannotSave);
  fileOffset_ += bytes.size();
  return true;
}

bool TAviWriter::Finish() {
  if (!file_) {
    error_ = TAviError::NotInitialised;
    return false;
  }
  if (!CloseSegment()) return false;
  if (::fseeko(file_.get(), 0, SEEK_SET) != 0) return Fail(TAviError::CannotSave);
  if (!WriteBytes(avi::FileHeaders(format_, segments_, largestFrame_))) return false;
  error_ = Commit(file_.release(), temporary_, target_);
  return error_ == TAviError::None;
}

}  // namespace kinovia
