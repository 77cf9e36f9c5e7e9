#include "tools/UnitSampleGenerator.h"

#include <algorithm>
#include <system_error>

#include "results/UnitMathUtils.h"
#include "tools/UnitSampleScenes.h"

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

std::filesystem::path SampleFile(const std::filesystem::path& folder, TSampleClip clip,
                                 const char* extension) {
  return folder / (std::string(SampleClipName(clip)) + extension);
}

TMessage SampleFailure(const std::filesystem::path& file, TAviError error) {
  TMessage message;
  message.icon = TMessageIcon::Warning;
  message.FileName(file.string()).Blank().Line(AviErrorText(error));
  return message;
}

}  // namespace

std::vector<TSampleTruthRow> SampleTruth(TSampleClip clip) {
  const TSampleGeometry& g = SampleGeometry(clip);
  std::vector<TSampleTruthRow> rows;
  for (int n = 0; n < g.frameCount; ++n) {
    const double t = static_cast<double>(n) / kSampleFramesPerSecond;
    const TPointD c = SampleCentre(clip, t);
    rows.push_back({n, t, (c.x - g.rulerStart.x) / g.pixelsPerMetre,
                    (g.rulerStart.y - c.y) / g.pixelsPerMetre, c.x / kSampleWidth,
                    c.y / kSampleHeight});
  }
  return rows;
}

std::string SampleTruthCsv(TSampleClip clip) {
  const TSampleGeometry& g = SampleGeometry(clip);
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

TAviError WriteSampleClip(TSampleClip clip, const std::filesystem::path& file) {
  TAviFormat format;
  format.width = kSampleWidth;
  format.height = kSampleHeight;
  format.rate = kSampleFramesPerSecond;
  format.scale = 1;
  format.codec = TAviCodec::MotionJpeg;
  format.jpegQuality = kJpegQuality;
  TAviWriter writer;
  if (!writer.Open(file, format)) return writer.Error();
  const TSampleRaster background = SampleBackground(clip);
  const auto seed = static_cast<std::uint32_t>(clip) * 1000u;
  for (int n = 0; n < SampleGeometry(clip).frameCount; ++n) {
    const auto pixels = SampleFrame(clip, background, n)
                            .ToRgb24(seed + static_cast<std::uint32_t>(n), kSensorNoise);
    const TFrameView view{pixels, kSampleWidth, kSampleHeight, std::size_t{kSampleWidth} * 3,
                          TPixelLayout::Rgb24};
    if (!writer.AddFrame(view)) return writer.Error();
  }
  return writer.Finish() ? TAviError::None : writer.Error();
}

std::optional<TMessage> WriteSampleSet(const std::filesystem::path& folder) {
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  if (!std::filesystem::is_directory(folder, failed))
    return SampleFailure(folder, TAviError::CannotSave);
  for (const TSampleClip clip : kSampleClips) {
    const auto avi = SampleFile(folder, clip, ".avi");
    const TAviError error = WriteSampleClip(clip, avi);
    if (error != TAviError::None) return SampleFailure(avi, error);
    const auto csv = SampleFile(folder, clip, ".csv");
    const std::string text = SampleTruthCsv(clip);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!WriteFileReplacing(csv, {bytes, text.size()}))
      return SampleFailure(csv, TAviError::CannotSave);
  }
  return std::nullopt;
}

}  // namespace kinovia
