// Our own AVI writer as a recorder: uncompressed frames or Motion-JPEG at the chosen quality.
#include <cmath>
#include <numeric>

#include "media/recording/AviWriter.h"
#include "media/recording/RecorderBackends.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

// The frame rate as the AVI header's rate / scale, in thousandths of an image per second.
void SetRate(double framesPerSecond, AviFormat& format) {
  std::uint32_t rate = std::uint32_t(std::lround(framesPerSecond * 1000));
  std::uint32_t scale = 1000;
  const std::uint32_t common = std::gcd(rate, scale);
  format.rate = rate / common;
  format.scale = scale / common;
}

class AviRecorder : public Recorder {
 public:
  std::vector<std::string> Codecs() const override {
    return {Txt(txt::RecordNoCompression), Txt(txt::RecordMotionJpeg)};
  }

  bool Open(const std::filesystem::path& target, const RecorderFormat& f) override {
    ClearError();
    AviFormat format;
    format.width = f.width;
    format.height = f.height;
    SetRate(f.framesPerSecond, format);
    if (f.codec.empty() || f.codec == Txt(txt::RecordNoCompression))
      format.codec = AviCodec::Uncompressed;
    else if (f.codec == Txt(txt::RecordMotionJpeg))
      format.codec = AviCodec::MotionJpeg;
    else
      return Fail(Txt(txt::RecordCodecMissing));
    // The dialog's 10 ... 100 spans JPEG's useful 55 ... 100: below that blocks show.
    format.jpegQuality = 50 + f.quality / 2;
    format.comment = f.comment;
    if (!writer_.Open(target, format)) return Fail(AviErrorText(writer_.Error()));
    return true;
  }

  bool AddFrame(const Bitmap& picture) override {
    const FrameView view{picture.pixels, picture.width, picture.height,
                         std::size_t(picture.width) * 3, PixelLayout::Rgb24};
    return writer_.AddFrame(view) || Fail(AviErrorText(writer_.Error()));
  }

  bool Finish() override { return writer_.Finish() || Fail(AviErrorText(writer_.Error())); }
  void Discard() override { writer_.Discard(); }

 private:
  AviWriter writer_;
};

}  // namespace

std::unique_ptr<Recorder> MakeAviRecorder() { return std::make_unique<AviRecorder>(); }

}  // namespace kinovia
