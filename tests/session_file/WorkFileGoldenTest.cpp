// Work files saved from sessions pointed the way a pupil points them, compared byte for byte with
// the files kept in golden/: any change of key, order or number writing shows at once. After a
// deliberate format change, rewrite them as golden/README.md says and review the difference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <variant>

#include "core/IniFile.h"
#include "core/Numbers.h"
#include "logic/montage/Montage.h"
#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"
#include "tests/session/SessionFakes.h"
#include "tests/settings/TestFolder.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

constexpr int kClipFrames = 12;

// The clip and the frame shown are the window's part of a save; fixed here so that no path of
// the machine running the test reaches the file.
WorkFileContent Saved(const test::SessionRig& rig, const Montage& montage) {
  WorkFileContent work = CaptureSession(rig.data);
  work.videoFileName = "/home/ana/clips/caida.avi";
  work.videoRelativeName = "clips/caida.avi";
  work.imageNumber = rig.video.frame;
  work.montage = CaptureMontage(montage);
  return work;
}

struct Clip : test::SessionRig {
  Montage montage;
  Clip() {
    video.frameCount = kClipFrames;
    montage.ResetMontage(kClipFrames);
    data.SetDuration(0.04);
  }
};

// A ball let fall: one object on five frames, a one-metre segment and the origin at its foot.
WorkFileContent OneObject() {
  Clip clip;
  clip.data.SetTool(PointingTool::Scale);
  clip.Click(64, 400);
  clip.Click(576, 400);
  clip.data.SetScaleLength(Scale::kSingle, 1.0);
  clip.data.SetTool(PointingTool::Axes);
  clip.Click(64, 400);
  clip.data.SetTool(PointingTool::Mark);
  for (int k = 0; k < 5; ++k) clip.Click(320, 48 + 24 * k * k);  // each click goes one frame on
  return Saved(clip, clip.montage);
}

// Three named objects, one hidden and one missing on a frame, every second frame pointed, drawing
// settings changed, the two-segment scale, and turned, inverted axes.
WorkFileContent SeveralObjects() {
  Clip clip;
  SessionOptions options;
  options.twoScales = true;
  clip.data.OptionsChanged(options);
  clip.data.SetMarksNumberPerFrame(3);
  clip.data.SetObjectName(0, "bola roja");
  clip.data.SetObjectName(1, "camión");
  clip.data.SetObjectColour(0, PaletteColour(10));
  clip.data.KeyDigit(2, true);  // object 1 one colour back
  clip.data.KeyDigit(0, true);  // the element colour one back
  clip.data.SetObjectVisibility(2, false);
  clip.data.SetElementSize(2);
  clip.data.SetFramesBetweenMarks(2);
  clip.data.SetAllDrawn(false);
  clip.data.SetMarksToDraw(3);
  clip.data.SetNumberPosition(1);
  struct Segment {
    Scale::SegmentKind kind;
    PointI a, b;
    double metres;
  };
  for (const Segment& s : {Segment{Scale::kHoriz, {32, 440}, {608, 440}, 2.0},
                           Segment{Scale::kVert, {32, 40}, {32, 440}, 1.5}}) {
    clip.data.SetScaleSelection(s.kind);
    clip.data.SetTool(PointingTool::Scale);
    clip.Click(s.a.x, s.a.y);
    clip.Click(s.b.x, s.b.y);
    clip.data.SetScaleLength(s.kind, s.metres);
  }
  clip.data.SetTool(PointingTool::Axes);
  clip.Click(320, 240);
  clip.data.SetXAxisAngle(0.5);
  clip.data.InvertXAxis();
  clip.data.SetTool(PointingTool::Mark);
  for (int k = 0; k < 3; ++k) {
    clip.Click(100 + 40 * k, 300);
    if (k == 1) clip.data.SetCurrentMarkOrderNumber(2);  // object 1 not seen on this frame
    if (k != 1) clip.Click(200, 300 - 40 * k);
    clip.Click(500, 120 + 16 * k);
  }
  return Saved(clip, clip.montage);
}

// The transparent carried along a train: a smaller sheet with its x axis inverted, dropped and
// pointed on three frames, then dropped on a fourth where it waits for its mark.
WorkFileContent TransparentSheetOrigins() {
  Clip clip;
  clip.video.mode = WorkingMode::Transparent;
  clip.data.SetObjectName(0, "tren");
  clip.data.SetTool(PointingTool::Transparent);
  clip.data.KeyResizeSheet(false);
  clip.data.KeyResizeSheet(false);
  clip.data.InvertXAxis();
  for (int k = 0; k < 3; ++k) {
    clip.Drag({320, 240}, {160 + 64 * k, 240});
    clip.Click(192 + 64 * k, 224);
  }
  clip.Drag({320, 240}, {352, 256});
  return Saved(clip, clip.montage);
}

// Marks on eight frames, then frames 3 and 6 hidden (their marks go) and the time shifted from
// frame 8; the work also carries a user formula and constant.
WorkFileContent MontageAndFormulas() {
  Clip clip;
  clip.montage.onDeleteMarks = [&clip](std::int32_t frame) { clip.data.FrameHidden(frame); };
  for (int k = 0; k < 8; ++k) clip.Click(40 + 64 * k, 240);
  EXPECT_TRUE(clip.montage.SetFrameVisible(3, false));
  EXPECT_TRUE(clip.montage.SetFrameVisible(6, false));
  EXPECT_TRUE(clip.montage.ShiftFromCurrentFrame(8, 2));
  WorkFileContent work = Saved(clip, clip.montage);
  work.formulas.formulas = {{"Ec", "0,5*m*v^2", "energía cinética", "J"}};
  work.formulas.constants = {{"m", "0", "0,058", "kg"}};
  return work;
}

struct Golden {
  const char* file;
  WorkFileContent (*build)();
};
const Golden kGoldens[] = {
    {"one_object.knv", OneObject},
    {"several_objects.knv", SeveralObjects},
    {"transparent_sheet.knv", TransparentSheetOrigins},
    {"montage_formulas.knv", MontageAndFormulas},
};

fs::path GoldenPath(const Golden& golden) { return fs::path(KINOVIA_GOLDEN_DIR) / golden.file; }

bool Rewriting() {
  const char* update = std::getenv("KINOVIA_UPDATE_GOLDEN");
  return update != nullptr && std::string(update) == "1";
}

// The bytes the save puts on disk, through the work file object as the save command uses it.
std::string SavedBytes(const WorkFileContent& work, const fs::path& path) {
  WorkFile knv;
  EXPECT_TRUE(knv.Open(path.string()));
  if (knv.Ini() != nullptr) WriteWorkFile(*knv.Ini(), work);
  EXPECT_TRUE(knv.Close());
  return FileText(path);
}

// What opening the work file in the window leads to: the session restored in its working mode,
// the montage given back to a clip of the same length, the rest kept as read.
WorkFileContent Reopened(const WorkFileContent& read) {
  test::SessionRig rig;
  rig.video.mode = read.transparentMode ? WorkingMode::Transparent : WorkingMode::FixedAxes;
  rig.data.Restore(read);
  WorkFileContent again = CaptureSession(rig.data);
  again.videoFileName = read.videoFileName;
  again.videoRelativeName = read.videoRelativeName;
  again.imageNumber = read.imageNumber;
  Montage montage;
  EXPECT_TRUE(ApplyMontage(read.montage, read.montage.frameCount, montage));
  again.montage = CaptureMontage(montage);
  return again;
}

// The number texts follow the decimal separator of the user's region: the files hold points.
class WorkFileGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    separator_ = DecimalSeparator();
    SetDecimalSeparator('.');
  }
  void TearDown() override { SetDecimalSeparator(separator_); }

 private:
  char separator_ = '.';
};

TEST_F(WorkFileGolden, ASavedSessionMatchesItsGoldenFile) {
  const fs::path folder = FreshTestFolder("test_work_golden");
  for (const Golden& golden : kGoldens) {
    SCOPED_TRACE(golden.file);
    const std::string saved = SavedBytes(golden.build(), folder / golden.file);
    if (Rewriting()) {
      ASSERT_TRUE(ReplaceFileContents(GoldenPath(golden).string(), saved));
      continue;
    }
    ASSERT_TRUE(fs::exists(GoldenPath(golden))) << "rewrite with KINOVIA_UPDATE_GOLDEN=1";
    EXPECT_EQ(saved, FileText(GoldenPath(golden)));
  }
  if (Rewriting()) GTEST_SKIP() << "golden files rewritten in " << KINOVIA_GOLDEN_DIR;
}

TEST_F(WorkFileGolden, AReopenedGoldenFileSavesTheSameBytes) {
  if (Rewriting()) GTEST_SKIP() << "the golden files are being rewritten";
  const fs::path folder = FreshTestFolder("test_work_golden");
  for (const Golden& golden : kGoldens) {
    SCOPED_TRACE(golden.file);
    // Read without looking for the clip: the golden files name one that is not on this machine.
    IniFile ini;
    ASSERT_EQ(ini.Load(GoldenPath(golden).string()), IniLoad::Loaded);
    const auto read = ReadWorkFile(ini, GoldenPath(golden).string());
    ASSERT_TRUE(read);
    EXPECT_EQ(SavedBytes(Reopened(read.Value()), folder / golden.file),
              FileText(GoldenPath(golden)));
  }
}

}  // namespace
}  // namespace kinovia
