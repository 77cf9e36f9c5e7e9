#include "cli/CliWork.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli/CliClip.h"
#include "core/Numbers.h"
#include "logic/results/ResultsSource.h"
#include "logic/session/WorkFile.h"
#include "logic/settings/OptionsViews.h"

namespace kinovia::cli {

PointD PictureMapping::ToFraction(PointI p) const {
  return {std::clamp(p.x / Width(), 0.0, 1.0), std::clamp(p.y / Height(), 0.0, 1.0)};
}

PointI PictureMapping::ToView(PointD f) const {
  return {RoundToInt(f.x * Width()), RoundToInt(f.y * Height())};
}

double PictureMapping::Width() const { return std::max(video_.PictureWidth(), 1); }
double PictureMapping::Height() const { return std::max(video_.PictureHeight(), 1); }

ExitStatus Fail(const Message& message, CliStreams streams) {
  streams.err << PlainText(message) << '\n';
  return ExitStatus::Failed;
}

std::unique_ptr<LoadedWork> LoadWork(const std::string& path, const Options& options,
                                     CliStreams streams) {
  auto opened = OpenWorkFile(path);
  if (!opened) {
    Fail(opened.Failure(), streams);
    return nullptr;
  }
  OpenedWork result = std::move(opened).Value();
  auto work = std::make_unique<LoadedWork>(options);
  if (!OpenClip(work->video, std::nullopt, result.clip, streams)) return nullptr;
  const ClipFacts clip{work->video.Source()->FrameCount(), work->video.Interval()};
  // What had to be left out is told on standard error; the work goes on with the rest.
  if (const auto repaired = FitWorkToClip(result.work, clip, path))
    streams.err << PlainText(*repaired) << '\n';
  work->transparentMode = result.work.transparentMode;
  work->video.SetWorkMode(work->transparentMode ? WorkingMode::Transparent
                                                : WorkingMode::FixedAxes);
  ApplyMontage(result.work.montage, work->video.Source()->FrameCount(), work->montage);
  work->session.Restore(result.work);
  work->clipName = std::filesystem::path(result.clip).filename().string();
  return work;
}

Result<ExportedTable> WorkTable(const LoadedWork& work, const Options& options, TableForms forms) {
  const Session& data = work.session;
  UserFormulas formulas;
  const auto table = PrepareTable(data, HiddenFamiliesOf(options), DerivationFlagsOf(options),
                                  FormulaSettingsOf(options), formulas);
  if (!table) return table.Failure();
  std::vector<std::string> names;
  for (int o = 0; o < table->results.ObjectCount(); ++o) names.push_back(data.ObjectName(o));
  return ExportedTableOf(table->layout, table->results, names, TableOptionsOf(options),
                         work.clipName, data.XAxisAngle(), forms);
}

}  // namespace kinovia::cli
