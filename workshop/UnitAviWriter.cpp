#include "workshop/UnitAviWriter.h"

#include <fcntl.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

constexpr std::uint32_t kAvifHasIndex = 0x10;
constexpr std::uint32_t kAviifKeyFrame = 0x10;
constexpr std::size_t kMainHeaderBytes = 56;
constexpr std::size_t kStreamHeaderBytes = 56;
constexpr std::size_t kBitmapInfoBytes = 40;

// Little-endian RIFF serialisation; a list's size is patched when it is closed.
class TRiffBytes {
 public:
  void U16(std::uint16_t v) {
    for (int i = 0; i < 2; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Tag(std::string_view fourcc) { bytes_.insert(bytes_.end(), fourcc.begin(), fourcc.end()); }
  void Chunk(std::string_view fourcc, std::uint32_t size) {
    Tag(fourcc);
    U32(size);
  }
  // Opens "LIST"/"RIFF" with its type; returns the position of its size field.
  std::size_t OpenList(std::string_view kind, std::string_view type) {
    Tag(kind);
    const std::size_t at = bytes_.size();
    U32(0);
    Tag(type);
    return at;
  }
  void CloseList(std::size_t at, std::uint64_t extraBytes = 0) {
    const auto size = static_cast<std::uint32_t>(bytes_.size() - at - 4 + extraBytes);
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(size >> (8 * i));
  }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::string_view ChunkId(TAviCodec codec) {
  return codec == TAviCodec::MotionJpeg ? "00dc" : "00db";
}

std::size_t BytesPerPixel(TPixelLayout layout) { return layout == TPixelLayout::Bgrx32 ? 4 : 3; }

std::size_t DibRowBytes(std::int32_t width) {
  return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

bool FrameIsWhole(const TFrameView& frame) {
  if (frame.width <= 0 || frame.height <= 0) return false;
  const std::size_t row = static_cast<std::size_t>(frame.width) * BytesPerPixel(frame.layout);
  if (frame.stride < row) return false;
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
  index_.clear();
  largestFrame_ = 0;
  moviBytes_ = 4;
  if (!FormatIsValid(format)) return Fail(TAviError::FormatRefused);
  format_ = format;
  format_.jpegQuality = std::clamp(format.jpegQuality, 1, 100);
  format_.maxFileBytes = std::min(format.maxFileBytes, kAviMaxFileBytes);
  target_ = target;
  if (format_.codec == TAviCodec::MotionJpeg) {
    jpeg_ = std::make_unique<TJpegEncoder>();
    if (!jpeg_->IsReady()) return Fail(TAviError::CompressFailed);
  }
  file_.reset(CreateTemporary(target_, temporary_));
  if (!file_) return Fail(TAviError::CannotReplace);
  // Room for the headers; they are written again with the final counts by Finish.
  const auto headers = Headers();
  headerBytes_ = headers.size();
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
  // The "movi" tag ends the headers and starts moviBytes_.
  const std::uint64_t total = headerBytes_ - 4 + moviBytes_ + chunkBytes + 8 +
                              16 * (static_cast<std::uint64_t>(index_.size()) + 1);
  if (total > format_.maxFileBytes) return Fail(TAviError::TooLarge);
  TRiffBytes header;
  header.Chunk(ChunkId(format_.codec), size);
  if (!WriteBytes(header.Bytes()) || !WriteBytes(frameBytes_)) return false;
  if ((size & 1) && !WriteBytes(std::vector<std::uint8_t>{0})) return false;
  index_.push_back({static_cast<std::uint32_t>(moviBytes_), size});
  moviBytes_ += chunkBytes;
  largestFrame_ = std::max(largestFrame_, size);
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
  const std::size_t rowBytes = DibRowBytes(frame.width);
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
  return true;
}

std::vector<std::uint8_t> TAviWriter::IndexChunk() const {
  TRiffBytes idx;
  idx.Chunk("idx1", static_cast<std::uint32_t>(16 * index_.size()));
  for (const auto& entry : index_) {
    idx.Tag(ChunkId(format_.codec));
    idx.U32(kAviifKeyFrame);
    idx.U32(entry.offset);
    idx.U32(entry.size);
  }
  return std::move(idx.Bytes());
}

std::vector<std::uint8_t> TAviWriter::Headers() const {
  const auto frames = static_cast<std::uint32_t>(index_.size());
  const bool mjpeg = format_.codec == TAviCodec::MotionJpeg;
  const std::uint32_t frameSize =
      mjpeg ? largestFrame_
            : static_cast<std::uint32_t>(DibRowBytes(format_.width) *
                                         static_cast<std::size_t>(format_.height));
  const std::uint64_t tail = moviBytes_ + 8 + 16 * static_cast<std::uint64_t>(frames);
  TRiffBytes h;
  const std::size_t riff = h.OpenList("RIFF", "AVI ");
  const std::size_t hdrl = h.OpenList("LIST", "hdrl");
  h.Chunk("avih", kMainHeaderBytes);
  h.U32(static_cast<std::uint32_t>(1000000.0 * format_.scale / format_.rate + 0.5));
  h.U32(static_cast<std::uint32_t>(std::min<std::uint64_t>(
      0xFFFFFFFF, std::uint64_t{frameSize} * format_.rate / format_.scale)));
  h.U32(0);
  h.U32(kAvifHasIndex);
  h.U32(frames);
  h.U32(0);
  h.U32(1);
  h.U32(frameSize);
  h.I32(format_.width);
  h.I32(format_.height);
  for (int i = 0; i < 4; ++i) h.U32(0);
  const std::size_t strl = h.OpenList("LIST", "strl");
  h.Chunk("strh", kStreamHeaderBytes);
  h.Tag("vids");
  h.Tag(mjpeg ? "MJPG" : "DIB ");
  h.U32(0);  // flags
  h.U32(0);  // priority and language
  h.U32(0);  // initial frames
  h.U32(format_.scale);
  h.U32(format_.rate);
  h.U32(0);  // start
  h.U32(frames);
  h.U32(frameSize);
  h.U32(mjpeg ? static_cast<std::uint32_t>(format_.jpegQuality * 100) : 0xFFFFFFFF);
  h.U32(0);  // sample size: varies per frame
  h.U16(0);
  h.U16(0);
  h.U16(static_cast<std::uint16_t>(format_.width));
  h.U16(static_cast<std::uint16_t>(format_.height));
  h.Chunk("strf", kBitmapInfoBytes);
  h.U32(kBitmapInfoBytes);
  h.I32(format_.width);
  h.I32(format_.height);  // positive: rows stored bottom up
  h.U16(1);
  h.U16(24);
  if (mjpeg)
    h.Tag("MJPG");
  else
    h.U32(0);
  h.U32(frameSize);
  for (int i = 0; i < 4; ++i) h.U32(0);
  h.CloseList(strl);
  h.CloseList(hdrl);
  if (!format_.comment.empty()) {
    const std::size_t info = h.OpenList("LIST", "INFO");
    const auto length = static_cast<std::uint32_t>(format_.comment.size() + 1);
    h.Chunk("ICMT", length);
    h.Tag(format_.comment);
    h.Bytes().push_back(0);
    if (length & 1) h.Bytes().push_back(0);
    h.CloseList(info);
  }
  h.Tag("LIST");
  h.U32(static_cast<std::uint32_t>(moviBytes_));
  h.Tag("movi");
  h.CloseList(riff, tail - 4);
  return std::move(h.Bytes());
}

bool TAviWriter::Finish() {
  if (!file_) {
    error_ = TAviError::NotInitialised;
    return false;
  }
  if (!WriteBytes(IndexChunk())) return false;
  if (std::fseek(file_.get(), 0, SEEK_SET) != 0) return Fail(TAviError::CannotSave);
  if (!WriteBytes(Headers())) return false;
  error_ = Commit(file_.release(), temporary_, target_);
  return error_ == TAviError::None;
}

}  // namespace kinovia
