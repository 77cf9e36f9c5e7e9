#include "media/samples/SampleGenerator.h"

#include <algorithm>
#include <system_error>

#include "core/Numbers.h"
#include "media/samples/SampleScenes.h"

namespace kinovia {
namespace {

// Mild enough to leave the object crisp, strong enough that tracking meets real grain.
constexpr double kSensorNoise = 7;
constexpr int kJpegQuality = 80;

std::string CsvNumber(double x) {
  std::string text = FullPrecisionText(x);
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

std::string CsvRow(std::initializer_list<double> values) {
  std::string row;
  for (double v : values) {
    if (!row.empty()) row += ',';
    row += CsvNumber(v);
  }
  return row + '\n';
}

std::filesystem::path SampleFile(const std::filesystem::path& folder, SampleClip clip,
                                 const char* extension) {
  return folder / (std::string(SampleClipName(clip)) + extension);
}

Message SampleFailure(const std::filesystem::path& file, AviError error) {
  Message message;
  message.icon = MessageIcon::Warning;
  message.FileName(file.string()).Blank().Line(AviErrorText(error));
  return message;
}

}  // namespace

std::vector<SampleTruthRow> SampleTruth(SampleClip clip) {
  const SampleGeometry& g = GeometryOf(clip);
  std::vector<SampleTruthRow> rows;
  for (int n = 0; n < g.frameCount; ++n) {
    const double t = static_cast<double>(n) / kSampleFramesPerSecond;
    const PointD c = SampleCentre(clip, t);
    rows.push_back({n, t, (c.x - g.rulerStart.x) / g.pixelsPerMetre,
                    (g.rulerStart.y - c.y) / g.pixelsPerMetre, c.x / kSampleWidth,
                    c.y / kSampleHeight});
  }
  return rows;
}

std::string SampleTruthCsv(SampleClip clip) {
  const SampleGeometry& g = GeometryOf(clip);
  const double endX = g.rulerStart.x + g.rulerLength * g.pixelsPerMetre;
  std::string csv = "# frame_rate," + CsvNumber(kSampleFramesPerSecond) + '\n';
  csv += "# picture_size," + CsvRow({kSampleWidth, kSampleHeight});
  csv += "# ruler_ends," + CsvRow({g.rulerStart.x / kSampleWidth, g.rulerStart.y / kSampleHeight,
                                   endX / kSampleWidth, g.rulerStart.y / kSampleHeight});
  csv += "# ruler_length_m," + CsvNumber(g.rulerLength) + '\n';
  csv += "frame,t,x_m,y_m,u,v\n";
  for (const auto& r : SampleTruth(clip)) csv += CsvRow({double(r.frame), r.t, r.x, r.y, r.u, r.v});
  return csv;
}

AviError WriteSampleClip(SampleClip clip, const std::filesystem::path& file) {
  AviFormat format;
  format.width = kSampleWidth;
  format.height = kSampleHeight;
  format.rate = kSampleFramesPerSecond;
  format.scale = 1;
  format.codec = AviCodec::MotionJpeg;
  format.jpegQuality = kJpegQuality;
  AviWriter writer;
  if (!writer.Open(file, format)) return writer.Error();
  const SampleRaster background = SampleBackground(clip);
  const auto seed = static_cast<std::uint32_t>(clip) * 1000u;
  for (int n = 0; n < GeometryOf(clip).frameCount; ++n) {
    const auto pixels = SampleFrame(clip, background, n)
                            .ToRgb24(seed + static_cast<std::uint32_t>(n), kSensorNoise);
    const FrameView view{pixels, kSampleWidth, kSampleHeight, std::size_t{kSampleWidth} * 3,
                         PixelLayout::Rgb24};
    if (!writer.AddFrame(view)) return writer.Error();
  }
  return writer.Finish() ? AviError::None : writer.Error();
}

Result<void> WriteSampleSet(const std::filesystem::path& folder) {
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  if (!std::filesystem::is_directory(folder, failed))
    return SampleFailure(folder, AviError::CannotSave);
  for (const SampleClip clip : kSampleClips) {
    const auto avi = SampleFile(folder, clip, ".avi");
    const AviError error = WriteSampleClip(clip, avi);
    if (error != AviError::None) return SampleFailure(avi, error);
    const auto csv = SampleFile(folder, clip, ".csv");
    const std::string text = SampleTruthCsv(clip);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!WriteFileReplacing(csv, {bytes, text.size()}))
      return SampleFailure(csv, AviError::CannotSave);
  }
  return {};
}

}  // namespace kinovia
