// kinovia-cli record and codecs, run as a script runs them, on a work file with a montage.
#include <gtest/gtest.h>

#include "FfmpegProbe.h"
#include "core/IniFile.h"
#include "logic/session/WorkFile.h"
#include "media/recording/AviWriter.h"
#include "tests/support/CliRun.h"

namespace kinovia {
namespace {

using test::ProbeClip;
using test::RunKinoviaCli;

class CliRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AviWriter writer;
    AviFormat format;
    format.width = 64;
    format.height = 48;
    format.rate = 5;
    ASSERT_TRUE(writer.Open(clip_, format));
    std::vector<std::uint8_t> pixels(64 * 48 * 3);
    for (int n = 0; n < 5; ++n) {
      std::fill(pixels.begin(), pixels.end(), std::uint8_t(40 * n));
      ASSERT_TRUE(writer.AddFrame({pixels, 64, 48, 64 * 3, PixelLayout::Rgb24}));
    }
    ASSERT_TRUE(writer.Finish());
    // Time indices 0, 1, 3, 4 and 7: three missing frames.
    Montage montage;
    montage.ResetMontage(5);
    ASSERT_TRUE(montage.ShiftFromCurrentFrame(2, +1));
    ASSERT_TRUE(montage.ShiftFromCurrentFrame(4, +2));
    WorkFileContent content;
    content.videoFileName = clip_.string();
    content.duration = 0.2;
    content.montage = CaptureMontage(montage);
    IniFile ini;
    WriteWorkFile(ini, content);
    ASSERT_TRUE(ini.Save(work_.string()));
  }

  std::string Paths(const std::string& out) const {
    return "'" + work_.string() + "' '" + (folder_.Path() / out).string() + "'";
  }

  test::ScratchFolder folder_{"cli_record"};
  std::filesystem::path clip_ = folder_.Path() / "clip.avi";
  std::filesystem::path work_ = folder_.Path() / "work.knv";
};

TEST_F(CliRecordTest, RecordsTheSavedMontageThroughEachFramework) {
  const struct {
    const char* options;
    const char* frames;
    const char* rate;
    const char* width;
  } cases[] = {
      {"--blanks --rate 10", "8", "10/1", "64"},
      {"--framework ffmpeg --quality 80 --keyframes 3 --blanks", "8", "5/1", "64"},
      {"--framework gstreamer --codec jpegenc --resize 32x32", "5", "5/1", "32"},
      {"--framework avi --codec Motion-JPEG --crop 2,2,4,4", "5", "5/1", "56"},
  };
  for (const auto& c : cases) {
    const auto run = RunKinoviaCli(std::string("record ") + c.options + " " + Paths("out.avi"));
    ASSERT_EQ(run.status, 0) << c.options << ": " << run.err;
    EXPECT_EQ(run.out, std::string("frames\t") + c.frames + "\n") << c.options;
    EXPECT_EQ(run.err, "") << "no progress when standard error is not a terminal";
    auto probed = ProbeClip(folder_.Path() / "out.avi");
    EXPECT_EQ(probed["nb_read_frames"], c.frames) << c.options;
    EXPECT_EQ(probed["r_frame_rate"], c.rate) << c.options;
    EXPECT_EQ(probed["width"], c.width) << c.options;
  }
}

TEST_F(CliRecordTest, RefusesBadSettingsWithTheProgramsWordsAndBadLinesWithTheUsage) {
  const struct {
    const char* options;
    int status;
    const char* error;
  } cases[] = {
      {"--crop 20,20,0,0", 1, "Los márgenes de reencuadre dejan una imagen demasiado pequeña."},
      {"--quality 5", 1,
       "La calidad de compresión o el intervalo entre imágenes clave es incorrecto."},
      {"--codec DIVX", 1, "El códec no existe o no está disponible"},
      {"--resize 10x10 --crop 1,1,1,1", 2, "uso: kinovia-cli"},
      {"--framework vfw", 2, "uso: kinovia-cli"},
      {"--resize 10", 2, "uso: kinovia-cli"},
  };
  for (const auto& c : cases) {
    const auto run = RunKinoviaCli(std::string("record ") + c.options + " " + Paths("bad.avi"));
    EXPECT_EQ(run.status, c.status) << c.options;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << c.options << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "bad.avi")) << c.options;
  }
}

TEST(CliCodecs, ListsEachFrameworksCodecs) {
  const auto run = RunKinoviaCli("codecs");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("avi\tsin compresión\navi\tMotion-JPEG\n", 0), 0u) << run.out;
  for (const char* line : {"gstreamer\tjpegenc\n", "gstreamer\tavenc_mpeg4\n",
                           "ffmpeg\tFFMpeg internal MPEG4 codec\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace kinovia
