#include "media/recording/AviWriter.h"

#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

#include "media/recording/AviWriterChunks.h"
#include "media/recording/TemporaryFile.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

std::size_t BytesPerPixel(PixelLayout layout) { return layout == PixelLayout::Bgrx32 ? 4 : 3; }

bool FrameIsWhole(const FrameView& frame) {
  if (frame.width <= 0 || frame.height <= 0) return false;
  const std::size_t row = static_cast<std::size_t>(frame.width) * BytesPerPixel(frame.layout);
  // Bounded first, so the product below cannot wrap (the height matches the file's already).
  if (frame.stride < row || frame.stride > std::numeric_limits<int>::max()) return false;
  const std::size_t needed = frame.stride * static_cast<std::size_t>(frame.height - 1) + row;
  return frame.pixels.size() >= needed;
}

bool FormatIsValid(const AviFormat& f) {
  return f.width > 0 && f.height > 0 && f.width <= kAviMaxSide && f.height <= kAviMaxSide &&
         f.rate > 0 && f.scale > 0;
}

// Flushes the file to disk, closes it and renames it over the target; on any failure the
// temporary file is removed and the target left as it was.
AviError Commit(std::FILE* file, const std::filesystem::path& temporary,
                const std::filesystem::path& target) {
  const bool flushed = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  std::error_code failed;
  if (flushed && closed) std::filesystem::rename(temporary, target, failed);
  if (flushed && closed && !failed) return AviError::None;
  RemoveQuietly(temporary);
  return flushed && closed ? AviError::CannotReplace : AviError::CannotSave;
}

}  // namespace

bool WriteFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  std::filesystem::path temporary;
  std::FILE* file = CreateTemporaryBeside(target, temporary);
  if (!file) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::fclose(file);
    RemoveQuietly(temporary);
    return false;
  }
  return Commit(file, temporary, target) == AviError::None;
}

class AviWriter::JpegEncoder {
 public:
  JpegEncoder() : handle_(tjInitCompress()) {}
  ~JpegEncoder() {
    if (handle_) tjDestroy(handle_);
  }
  JpegEncoder(const JpegEncoder&) = delete;
  JpegEncoder& operator=(const JpegEncoder&) = delete;

  bool IsReady() const { return handle_ != nullptr; }

  bool Encode(const FrameView& frame, int quality, std::vector<std::uint8_t>& out) {
    out.resize(tjBufSize(frame.width, frame.height, TJSAMP_422));
    unsigned long size = out.size();
    unsigned char* buffer = out.data();
    const int pixelFormat = frame.layout == PixelLayout::Rgb24   ? TJPF_RGB
                            : frame.layout == PixelLayout::Bgr24 ? TJPF_BGR
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

void AviWriter::FileCloser::operator()(std::FILE* file) const { std::fclose(file); }

const std::string& AviErrorText(AviError error) {
  static const std::string none;
  static const std::pair<AviError, TxtId> texts[] = {
      {AviError::NotInitialised, txt::AviWriterNotInitialised},
      {AviError::FrameDamaged, txt::AviWriterFrameDamaged},
      {AviError::CompressFailed, txt::AviWriterCompressFailed},
      {AviError::FormatRefused, txt::AviWriterFormatRefused},
      {AviError::CannotReplace, txt::AviWriterCannotReplace},
      {AviError::CannotSave, txt::AviWriterCannotSave},
      {AviError::TooLarge, txt::AviWriterTooLarge},
  };
  for (const auto& [code, text] : texts)
    if (code == error) return Txt(text);
  return none;
}

AviWriter::AviWriter() = default;

AviWriter::~AviWriter() { Discard(); }

void AviWriter::Discard() {
  if (!file_) return;
  file_.reset();
  RemoveQuietly(temporary_);
}

bool AviWriter::Fail(AviError error) {
  error_ = error;
  Discard();
  return false;
}

bool AviWriter::Open(const std::filesystem::path& target, const AviFormat& format) {
  Discard();
  error_ = AviError::None;
  frameCount_ = 0;
  largestFrame_ = 0;
  fileOffset_ = 0;
  segments_.assign(1, avi::RiffSegment{});
  if (!FormatIsValid(format)) return Fail(AviError::FormatRefused);
  format_ = format;
  format_.jpegQuality = std::clamp(format.jpegQuality, 1, 100);
  format_.segmentBytes = std::min(format.segmentBytes, kAviSegmentBytes);
  target_ = target;
  if (format_.codec == AviCodec::MotionJpeg) {
    jpeg_ = std::make_unique<JpegEncoder>();
    if (!jpeg_->IsReady()) return Fail(AviError::CompressFailed);
  }
  file_.reset(CreateTemporaryBeside(target_, temporary_));
  if (!file_) return Fail(AviError::CannotReplace);
  // Room for the headers; they are written again with the final counts by Finish.
  const auto headers = avi::FileHeaders(format_, segments_, 0);
  segments_.front().moviTag = headers.size() - 4;
  return WriteBytes(headers);
}

bool AviWriter::AddFrame(const FrameView& frame) {
  if (!file_) {
    error_ = AviError::NotInitialised;
    return false;
  }
  if (frame.width != format_.width || frame.height != format_.height || !FrameIsWhole(frame))
    return Fail(AviError::FrameDamaged);
  if (!EncodeFrame(frame)) return Fail(AviError::CompressFailed);
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
bool AviWriter::Fits(std::uint64_t chunkBytes) const {
  const avi::RiffSegment& s = segments_.back();
  const std::size_t entries = s.chunks.size() + 1;
  const std::uint64_t legacy = segments_.size() == 1 ? avi::LegacyIndexBytes(entries) : 0;
  return fileOffset_ + chunkBytes - s.riffStart + avi::StandardIndexBytes(entries) + legacy <=
         format_.segmentBytes;
}

bool AviWriter::MakeRoom(std::uint64_t chunkBytes) {
  if (Fits(chunkBytes)) return true;
  if (segments_.back().chunks.empty() || segments_.size() == avi::kMaxSegments)
    return Fail(AviError::TooLarge);
  if (!CloseSegment() || !StartSegment()) return false;
  return Fits(chunkBytes) || Fail(AviError::TooLarge);
}

// Ends the part's "movi" list with its standard index; the first part also gets idx1.
bool AviWriter::CloseSegment() {
  avi::RiffSegment& s = segments_.back();
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

bool AviWriter::StartSegment() {
  avi::RiffSegment next;
  next.riffStart = fileOffset_;
  next.moviTag = fileOffset_ + 20;  // after "RIFF" size "AVIX" "LIST" size
  segments_.push_back(next);
  return WriteBytes(avi::SegmentStart());
}

bool AviWriter::PatchSize(std::uint64_t at, std::uint64_t size) {
  const auto bytes = avi::Le32(static_cast<std::uint32_t>(size));
  if (::fseeko(file_.get(), static_cast<off_t>(at), SEEK_SET) != 0 ||
      std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size() ||
      ::fseeko(file_.get(), 0, SEEK_END) != 0)
    return Fail(AviError::CannotSave);
  return true;
}

bool AviWriter::EncodeFrame(const FrameView& frame) {
  if (format_.codec == AviCodec::MotionJpeg)
    return jpeg_ && jpeg_->Encode(frame, format_.jpegQuality, frameBytes_);
  EncodeDib(frame);
  return true;
}

// Bottom-up BGR rows padded to four bytes, as a DIB stores them.
void AviWriter::EncodeDib(const FrameView& frame) {
  const std::size_t rowBytes = avi::DibRowBytes(frame.width);
  const std::size_t step = BytesPerPixel(frame.layout);
  const bool rgb = frame.layout == PixelLayout::Rgb24;
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

bool AviWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size())
    return Fail(AviError::CannotSave);
  fileOffset_ += bytes.size();
  return true;
}

bool AviWriter::Finish() {
  if (!file_) {
    error_ = AviError::NotInitialised;
    return false;
  }
  if (!CloseSegment()) return false;
  if (::fseeko(file_.get(), 0, SEEK_SET) != 0) return Fail(AviError::CannotSave);
  if (!WriteBytes(avi::FileHeaders(format_, segments_, largestFrame_))) return false;
  error_ = Commit(file_.release(), temporary_, target_);
  return error_ == AviError::None;
}

}  // namespace kinovia
