// The exact texts of whole tables, kept in golden files: the results of long sessions are computed
// along a faster path, and nothing a pupil reads or exports may change with it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TableFixtures.h"
#include "core/IniFile.h"
#include "core/Numbers.h"
#include "logic/results/ResultsTable.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;
using testing::MarksFrom;
using testing::Track;

constexpr double kT = 0.04;

// An object moving on its own curve, missing on the time indices its gap rule names.
Track Wandering(int object, int gapEvery) {
  return [object, gapEvery](int k) -> std::optional<std::pair<double, double>> {
    if (gapEvery > 0 && (k + object) % gapEvery == 0) return std::nullopt;
    const double t = k * kT;
    return std::pair{0.1 + 0.3 * std::cos(t + object) + 0.002 * std::sin(7.0 * k),
                     0.2 + 0.3 * std::sin(t + object) - 0.5 * t * t + 0.05 * object};
  };
}

// An object pointed on two frames only: its derivation fails, and the objects after it keep no
// derived values.
Track Glimpsed(int first) {
  return [first](int k) -> std::optional<std::pair<double, double>> {
    if (k != first && k != first + 1) return std::nullopt;
    return std::pair{0.01 * k, 0.02 * k};
  };
}

struct Scene {
  const char* file;
  std::vector<int> timeIndices;  // a missing index is a frame the montage hid
  std::vector<Track> tracks;
  Calibration calibration;
  DerivationFlags flags;
  TableOptions options;
  QuantitySet hidden;
};

std::vector<int> WithHiddenFrames(int count) {
  std::vector<int> k;
  for (int i = 0; i < count; ++i)
    if (i != 4 && i != 9) k.push_back(i);
  return k;
}

std::vector<Track> Objects(int count, int gapEvery) {
  std::vector<Track> tracks;
  for (int o = 0; o < count; ++o) tracks.push_back(Wandering(o, gapEvery));
  return tracks;
}

constexpr DerivationFlags kBoth{DerivationFlag::SmoothSpeed, DerivationFlag::SmoothAcceleration};
constexpr DerivationFlags kSpeedOnly{DerivationFlag::SmoothSpeed};
constexpr Calibration kTurnedAxes{2.0, 1.5, 0.3, false, true, kT};
constexpr Calibration kSheet{1.2, 0.9, 0, true, false, kT};

std::vector<Scene> Scenes() {
  std::vector<Track> mixed = Objects(3, 4);
  mixed.insert(mixed.begin() + 1, Glimpsed(5));
  return {
      {"one_object_plain.txt", testing::Range(16), Objects(1, 6), kTurnedAxes, {}, {}, {}},
      {"one_object_smoothed.txt",
       WithHiddenFrames(18),
       Objects(1, 0),
       kTurnedAxes,
       kBoth,
       {true, true, true},
       {}},
      {"ten_objects_gaps.txt", testing::Range(12), Objects(10, 5), kTurnedAxes, {}, {}, {}},
      {"ten_objects_smoothed.txt",
       WithHiddenFrames(14),
       Objects(10, 7),
       kTurnedAxes,
       kBoth,
       {false, true, true},
       kFamilyPolar},
      {"sheet_speed_smoothed.txt",
       testing::Range(15),
       Objects(3, 4),
       kSheet,
       kSpeedOnly,
       {false, false, true},
       {}},
      {"failed_derivation.txt", testing::Range(12), mixed, kSheet, kBoth, {}, {}},
  };
}

void DumpFacts(std::ostream& out, const FrameResults& results) {
  for (int o = 0; o < results.ObjectCount(); ++o) {
    const auto [first, last] = results.MarkedRowSpan(o);
    out << "object " << o << ": marks " << results.MarkCount(o) << ", rows " << first << ".."
        << last << ", points "
        << results.SeriesForGraph(Orientation::Picture, o, QuantityKind::X, QuantityKind::Vy, false)
               .size();
    for (QuantityKind kind : {QuantityKind::X, QuantityKind::V, QuantityKind::Ay}) {
      out << ", " << FullPrecisionText(results.ColumnMin(Orientation::User, o, kind)) << "/"
          << FullPrecisionText(results.ColumnMax(Orientation::Picture, o, kind));
    }
    out << '\n';
  }
  for (QuantityKind kind : {QuantityKind::Y, QuantityKind::AngularSpeed}) {
    out << "all: " << FullPrecisionText(results.ColumnMinAll(Orientation::User, kind)) << "/"
        << FullPrecisionText(results.ColumnMaxAll(Orientation::User, kind)) << '\n';
  }
}

// The text export, the table as shown (one column at a higher precision), and the facts the
// graphs ask for.
std::string TableText(const Scene& scene) {
  FrameResults results;
  results.Rebuild(MarksFrom(scene.timeIndices, kT, scene.tracks), scene.calibration);
  const DerivationStatus status = results.ComputeDerivatives(scene.flags);
  TableLayout layout;
  layout.SizeColumns(results.ObjectCount());
  layout.SetFamilyVisible(false, scene.hidden, results.ObjectCount());
  layout.UpdateSize(results.RowCount());
  layout.IncreasePrecision(3);
  std::vector<std::string> names;
  for (int o = 0; o < results.ObjectCount(); ++o) names.push_back("objeto " + std::to_string(o));
  std::ostringstream out;
  out << "status " << static_cast<int>(status) << '\n';
  for (const auto& line :
       ExportTextLines(layout, results, names, scene.options, "golden", "-", 0.3))
    out << line << '\n';
  for (const auto& row : ExportMatrixCells(layout, results, names, scene.options, 0.3)) {
    for (const auto& cell : row) out << cell << '|';
    out << '\n';
  }
  DumpFacts(out, results);
  return out.str();
}

fs::path GoldenPath(const Scene& scene) { return fs::path(KINOVIA_TABLE_GOLDEN_DIR) / scene.file; }

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Rewriting() {
  const char* update = std::getenv("KINOVIA_UPDATE_GOLDEN");
  return update != nullptr && std::string(update) == "1";
}

TEST(ResultsGolden, WholeTablesKeepTheirTexts) {
  const char separator = DecimalSeparator();
  SetDecimalSeparator('.');
  for (const Scene& scene : Scenes()) {
    SCOPED_TRACE(scene.file);
    const std::string text = TableText(scene);
    if (Rewriting()) {
      ASSERT_TRUE(ReplaceFileContents(GoldenPath(scene).string(), text));
      continue;
    }
    ASSERT_TRUE(fs::exists(GoldenPath(scene))) << "rewrite with KINOVIA_UPDATE_GOLDEN=1";
    EXPECT_EQ(text, FileText(GoldenPath(scene)));
  }
  SetDecimalSeparator(separator);
  if (Rewriting()) GTEST_SKIP() << "golden files rewritten in " << KINOVIA_TABLE_GOLDEN_DIR;
}

}  // namespace
}  // namespace kinovia
