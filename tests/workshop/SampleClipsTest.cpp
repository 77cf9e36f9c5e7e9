// The sample clips against their truth: the physics of the truth itself, the object where the
// truth says it is in the frames ffmpeg decodes, and the clips the program and the tool install.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <sstream>

#include "FfmpegProbe.h"
#include "media/samples/SampleClips.h"
#include "media/samples/SampleGenerator.h"

namespace kinovia {
namespace {

using test::CommandOutput;
using test::DecodeFrame;
using test::ProbeClip;
using test::ScratchFolder;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct TruthFile {
  std::map<std::string, std::vector<double>> header;  // "# key,values..." lines
  std::string columns;
  std::vector<std::vector<double>> rows;
};

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) fields.push_back(field);
  return fields;
}

// Read as a script would, with "." decimals whatever the locale.
TruthFile ParseTruth(const std::string& csv) {
  TruthFile truth;
  std::istringstream lines(csv);
  std::string line;
  while (std::getline(lines, line)) {
    const bool header = line.rfind("# ", 0) == 0;
    if (!header && truth.columns.empty()) {
      truth.columns = line;
      continue;
    }
    const auto fields = Split(header ? line.substr(2) : line);
    std::vector<double> values;
    for (std::size_t i = header ? 1 : 0; i < fields.size(); ++i)
      values.push_back(std::stod(fields[i]));
    if (header)
      truth.header[fields[0]] = values;
    else
      truth.rows.push_back(values);
  }
  return truth;
}

enum TruthColumn { kFrame, kT, kX, kY, kU, kV };

struct ClipCase {
  SampleClip clip;
  int frames;
  double rulerLength;
  double slopeDegrees;  // direction of the acceleration below the horizontal
  double acceleration;  // m/s^2
  bool (*isObject)(const std::uint8_t* rgb);
};

bool IsRedCylinder(const std::uint8_t* p) { return p[0] > 120 && p[0] - std::max(p[1], p[2]) > 80; }
bool IsBlueBall(const std::uint8_t* p) { return p[2] > 120 && p[2] - std::max(p[0], p[1]) > 70; }

const ClipCase kClipCases[] = {
    {SampleClip::Cylindre, 60, 1.0, 5.0, 2.0 / 3.0 * 9.81 * std::sin(5.0 * std::numbers::pi / 180),
     IsRedCylinder},
    {SampleClip::Parabole, 50, 2.0, 90.0, 9.81, IsBlueBall},
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << SampleClipName(c.clip); }

class SampleClipTest : public testing::TestWithParam<ClipCase> {};

TEST_P(SampleClipTest, TruthFollowsThePhysicsInTheRulersFrame) {
  const ClipCase& c = GetParam();
  const TruthFile truth = ParseTruth(SampleTruthCsv(c.clip));
  EXPECT_EQ(truth.columns, "frame,t,x_m,y_m,u,v");
  EXPECT_EQ(truth.header.at("frame_rate"), std::vector<double>{25});
  EXPECT_EQ(truth.header.at("picture_size"), (std::vector<double>{kWidth, kHeight}));
  EXPECT_EQ(truth.header.at("ruler_length_m"), std::vector<double>{c.rulerLength});
  const auto& ends = truth.header.at("ruler_ends");
  ASSERT_EQ(ends.size(), 4u);
  ASSERT_EQ(truth.rows.size(), static_cast<std::size_t>(c.frames));

  // The ruler alone calibrates the picture: its ends give the scale, the origin and the axis.
  const double pixelsPerMetre =
      std::hypot((ends[2] - ends[0]) * kWidth, (ends[3] - ends[1]) * kHeight) / c.rulerLength;
  const double dt = 1.0 / 25;
  for (std::size_t n = 0; n < truth.rows.size(); ++n) {
    const auto& r = truth.rows[n];
    EXPECT_EQ(r[kFrame], static_cast<double>(n));
    EXPECT_NEAR(r[kT], n * dt, 1e-12);
    EXPECT_NEAR(r[kX], (r[kU] - ends[0]) * kWidth / pixelsPerMetre, 1e-9) << n;
    EXPECT_NEAR(r[kY], (ends[1] - r[kV]) * kHeight / pixelsPerMetre, 1e-9) << n;
    EXPECT_GT(r[kU], 0.03) << n;
    EXPECT_LT(r[kU], 0.97) << n;
    EXPECT_GT(r[kV], 0.05) << n;
    EXPECT_LT(r[kV], 0.95) << n;
  }
  // Second differences of positions sampled from a uniformly accelerated motion are exact.
  const double slope = c.slopeDegrees * std::numbers::pi / 180;
  for (std::size_t n = 1; n + 1 < truth.rows.size(); ++n) {
    const auto second = [&](TruthColumn k) {
      return (truth.rows[n + 1][k] - 2 * truth.rows[n][k] + truth.rows[n - 1][k]) / (dt * dt);
    };
    EXPECT_NEAR(second(kX), c.acceleration * std::cos(slope), 1e-6) << n;
    EXPECT_NEAR(second(kY), -c.acceleration * std::sin(slope), 1e-6) << n;
  }
}

struct Centroid {
  double x = 0, y = 0;
  int count = 0;
};

Centroid ObjectCentroid(const std::vector<std::uint8_t>& rgb,
                        bool (*isObject)(const std::uint8_t*)) {
  Centroid c;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (!isObject(&rgb[3 * (static_cast<std::size_t>(y) * kWidth + x)])) continue;
      c.x += x + 0.5;
      c.y += y + 0.5;
      ++c.count;
    }
  }
  if (c.count > 0) {
    c.x /= c.count;
    c.y /= c.count;
  }
  return c;
}

TEST_P(SampleClipTest, InstalledClipShowsTheObjectWhereTheTruthSays) {
  const ClipCase& c = GetParam();
  ScratchFolder folder(std::string("installed-") + std::string(SampleClipName(c.clip)));
  ASSERT_TRUE(WriteSampleClips(folder.Path()));
  EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"Cylindre.avi", "Parabole.avi"}));
  const auto clip = folder.Path() / (std::string(SampleClipName(c.clip)) + ".avi");
  auto probe = ProbeClip(clip);
  EXPECT_EQ(probe["codec_name"], "mjpeg");
  EXPECT_EQ(probe["width"], "640");
  EXPECT_EQ(probe["height"], "480");
  EXPECT_EQ(probe["r_frame_rate"], "25/1");
  EXPECT_EQ(probe["nb_read_frames"], std::to_string(c.frames));

  const TruthFile truth = ParseTruth(SampleTruthCsv(c.clip));
  for (const int n : {0, c.frames / 2, c.frames - 1}) {
    const auto rgb = DecodeFrame(clip, n);
    ASSERT_EQ(rgb.size(), std::size_t{3} * kWidth * kHeight) << n;
    const Centroid centroid = ObjectCentroid(rgb, c.isObject);
    ASSERT_GT(centroid.count, 100) << "frame " << n;
    EXPECT_NEAR(centroid.x, truth.rows[n][kU] * kWidth, 1.0) << "frame " << n;
    EXPECT_NEAR(centroid.y, truth.rows[n][kV] * kHeight, 1.0) << "frame " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(Clips, SampleClipTest, testing::ValuesIn(kClipCases),
                         [](const auto& info) {
                           return std::string(SampleClipName(info.param.clip));
                         });

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

int CliStatus(const std::string& arguments) {
  const std::string command = "LC_ALL=es_ES.UTF-8 " KINOVIA_BINARY_DIR "/kinovia-cli " + arguments +
                              " >/dev/null 2>&1; echo $?";
  return std::stoi(CommandOutput(command));
}

TEST(SampleClips, ToolWritesTheInstalledClipsAndTheirTruth) {
  ScratchFolder folder("cli-samples");
  const auto target = folder.Path() / "new";
  ASSERT_EQ(CliStatus("samples '" + target.string() + "'"), 0);
  for (const SampleClip clip : kSampleClips) {
    const std::string name(SampleClipName(clip));
    const auto bytes = SampleClipBytes(clip);
    EXPECT_EQ(FileText(target / (name + ".avi")),
              std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
        << name << ": rendering must be deterministic";
    EXPECT_EQ(FileText(target / (name + ".csv")), SampleTruthCsv(clip)) << name;
  }
}

TEST(SampleClips, RefusesFoldersItCannotWrite) {
  ScratchFolder folder("cli-samples-refused");
  const auto blocker = folder.Path() / "file";
  std::ofstream(blocker) << "not a folder";
  EXPECT_EQ(CliStatus("samples '" + (blocker / "inside").string() + "'"), 1);
  EXPECT_EQ(CliStatus("samples"), 2);
  EXPECT_FALSE(WriteSampleClips(blocker));
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"file"});
}

}  // namespace
}  // namespace kinovia
