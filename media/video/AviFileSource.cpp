#include "media/video/AviFileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>

#include "media/video/PictureConversion.h"

namespace kinovia {
namespace {

// An open file read at any offset without moving a shared position.
class FileBytes : public ByteSource {
 public:
  explicit FileBytes(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  ~FileBytes() override { ::close(fd_); }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  static std::unique_ptr<FileBytes> Open(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<FileBytes>(fd, static_cast<std::uint64_t>(info.st_size));
  }

  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
    if (offset > size_ || out.size() > size_ - offset) return false;
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t got =
          ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  std::uint64_t size_;
};

struct JpegHandleFree {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using JpegHandle = std::unique_ptr<void, JpegHandleFree>;

// The planes a JPEG of this subsampling decodes into, as FFmpeg's decoder lays them out.
AVPixelFormat JpegPlanesLayout(int subsampling) {
  switch (subsampling) {
    case TJSAMP_444:
      return AV_PIX_FMT_YUVJ444P;
    case TJSAMP_422:
      return AV_PIX_FMT_YUVJ422P;
    case TJSAMP_420:
      return AV_PIX_FMT_YUVJ420P;
    case TJSAMP_440:
      return AV_PIX_FMT_YUVJ440P;
    case TJSAMP_411:
      return AV_PIX_FMT_YUVJ411P;
    case TJSAMP_GRAY:
      return AV_PIX_FMT_GRAY8;
    default:
      return AV_PIX_FMT_NONE;
  }
}

// Motion-JPEG pictures decoded into their planes, then made RGB by the conversion FFmpeg's
// pictures go through: libjpeg's own conversion interpolates chroma where the ffmpeg tool does
// not, and sharp colour edges came out up to 150 levels away from what ffmpeg shows.
class JpegPictureDecoder {
 public:
  bool Decode(const std::vector<std::uint8_t>& data, Bitmap& frame) {
    auto* bytes = const_cast<unsigned char*>(data.data());
    const auto size = static_cast<unsigned long>(data.size());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (!handle_ ||
        tjDecompressHeader3(handle_.get(), bytes, size, &width, &height, &subsampling,
                            &colourspace) != 0 ||
        width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
      return false;
    const bool planar = colourspace == TJCS_YCbCr || colourspace == TJCS_GRAY;
    const AVPixelFormat layout = planar ? JpegPlanesLayout(subsampling) : AV_PIX_FMT_NONE;
    if (layout == AV_PIX_FMT_NONE) return DecodeRgb(bytes, size, width, height, frame);
    const std::uint8_t* planes[4] = {};
    int lines[4] = {};
    for (int i = 0; i < (subsampling == TJSAMP_GRAY ? 1 : 3); ++i) {
      lines[i] = tjPlaneWidth(i, width, subsampling);
      planes_[i].resize(static_cast<std::size_t>(lines[i]) *
                        static_cast<std::size_t>(tjPlaneHeight(i, height, subsampling)));
      planes[i] = planes_[i].data();
    }
    unsigned char* out[3] = {planes_[0].data(), planes_[1].data(), planes_[2].data()};
    return tjDecompressToYUVPlanes(handle_.get(), bytes, size, out, width, lines, height,
                                   TJFLAG_ACCURATEDCT) == 0 &&
           converter_.Convert({planes, lines, layout, width, height}, {AVCOL_SPC_UNSPECIFIED, true},
                              frame);
  }

 private:
  // A JPEG stored as RGB or CMYK, which FFmpeg's conversion has no planes for.
  bool DecodeRgb(unsigned char* bytes, unsigned long size, int width, int height, Bitmap& frame) {
    Bitmap own;
    Bitmap& target = width == frame.width && height == frame.height ? frame : own;
    target.Resize(width, height);
    if (tjDecompress2(handle_.get(), bytes, size, target.pixels.data(), width, 3 * width, height,
                      TJPF_RGB, TJFLAG_ACCURATEDCT) != 0)
      return false;
    // A picture of another size than the stream declares is fitted to the declared size.
    if (&target == &own) StretchInto(own, {0, 0, width, height}, RasterOperation::Copy, frame);
    return true;
  }

  JpegHandle handle_{tjInitDecompress()};
  std::vector<std::uint8_t> planes_[3];
  RgbConverter converter_;
};

std::size_t DibStride(const AviLayout& layout) {
  const int bytesPerPixel = layout.codec == AviStreamCodec::Rgb32 ? 4 : 3;
  return (static_cast<std::size_t>(layout.width) * bytesPerPixel + 3) & ~std::size_t{3};
}

// An uncompressed clip's first frame must hold the whole picture its header claims: a header
// claiming more than the file carries is refused before a picture of that size is allocated.
bool FirstFrameHoldsThePicture(const AviLayout& layout) {
  return layout.codec == AviStreamCodec::Mjpeg ||
         layout.frames.front().size >= DibStride(layout) * layout.height;
}

bool DecodeDib(const AviLayout& layout, const std::vector<std::uint8_t>& data, Bitmap& frame) {
  const int bytesPerPixel = layout.codec == AviStreamCodec::Rgb32 ? 4 : 3;
  const std::size_t stride = DibStride(layout);
  if (data.size() < stride * layout.height) return false;
  for (int y = 0; y < layout.height; ++y) {
    const int row = layout.bottomUp ? layout.height - 1 - y : y;
    const std::uint8_t* in = data.data() + stride * row;
    std::uint8_t* out = frame.Row(y);
    for (int x = 0; x < layout.width; ++x, in += bytesPerPixel, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return true;
}

}  // namespace

bool DecodeAviFrame(const AviLayout& layout, const std::vector<std::uint8_t>& data, Bitmap& frame) {
  if (layout.codec == AviStreamCodec::Mjpeg) {
    // One decoder per thread: creating one per frame would cost more than some decodes.
    thread_local JpegPictureDecoder decoder;
    return decoder.Decode(data, frame);
  }
  return DecodeDib(layout, data, frame);
}

AviFileSource::AviFileSource() = default;
AviFileSource::~AviFileSource() { Close(); }

std::optional<FrameSource::StreamFacts> AviFileSource::OpenFile(const std::string& fileName) {
  file_ = FileBytes::Open(fileName);
  auto layout = file_ ? ReadAviLayout(*file_) : std::nullopt;
  if (!layout || layout->frames.size() > static_cast<std::size_t>(INT32_MAX) ||
      !FirstFrameHoldsThePicture(*layout)) {
    file_.reset();
    return std::nullopt;
  }
  layout_ = std::move(*layout);
  return StreamFacts{static_cast<std::int32_t>(layout_.frames.size()), layout_.width,
                     layout_.height, static_cast<double>(layout_.rate) / layout_.scale};
}

void AviFileSource::CloseFile() {
  file_.reset();
  layout_ = AviLayout();
  chunk_.clear();
}

bool AviFileSource::DecodeFrame(std::int32_t n, int /*turn*/, Bitmap& frame) {
  const AviChunk& where = layout_.frames[static_cast<std::size_t>(n)];
  chunk_.resize(where.size);
  return file_->Read(where.offset, chunk_) && DecodeAviFrame(layout_, chunk_, frame);
}

}  // namespace kinovia
