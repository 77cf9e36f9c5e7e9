#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/Numbers.h"
#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"
#include "tests/session/SessionFakes.h"
#include "tests/settings/TestFolder.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

IniFile Written(const WorkFileContent& work) {
  IniFile ini;
  WriteWorkFile(ini, work);
  return ini;
}

WorkFileContent ReadBack(const IniFile& ini) {
  auto read = ReadWorkFile(ini, "/tmp/t.knv");
  if (!read) {
    ADD_FAILURE() << PlainText(read.Failure());
    return {};
  }
  return std::move(read).Value();
}

// A session as a pupil leaves it: two objects pointed on three frames, a scale, turned and
// inverted axes, a transparent carried over two frames with a mark on it.
struct PointedSession : test::SessionRig {
  PointedSession() {
    data.SetMarksNumberPerFrame(2);
    data.SetDuration(0.04);
    data.SetObjectName(1, "pelota");
    data.SetObjectColour(0, 0x0000FF);
    data.SetObjectVisibility(1, false);
    for (int frame = 0; frame < 3; ++frame) {
      video.frame = frame;
      data.PointMark({100 + 10 * frame, 200});
      data.PointMark({300, 100 + 20 * frame});
    }
    data.SetTool(PointingTool::Scale);
    Click(64, 432);   // (0.1, 0.9)
    Click(384, 432);  // (0.6, 0.9)
    data.SetScaleLength(Scale::kSingle, 1.5);
    data.SetXAxisAngle(0.3);
    data.InvertYAxis();
    CarrySheet();
  }

  // A smaller sheet dropped and pointed on frame 4, then dropped on frame 5, waiting for its mark.
  void CarrySheet() {
    video.mode = WorkingMode::Transparent;
    video.frame = 4;
    data.SetTool(PointingTool::Transparent);
    data.KeyResizeSheet(false);
    Drag({320, 240}, {160, 240});
    Click(192, 230);
    Drag({160, 240}, {224, 240});
    video.mode = WorkingMode::FixedAxes;
    data.SetTool(PointingTool::Mark);
  }
};

TEST(WorkFileEncoding, MontageRunsAndTimeShiftStretches) {
  Montage montage;
  montage.ResetMontage(6);
  WorkFileContent work;
  work.montage = CaptureMontage(montage);
  IniFile ini = Written(work);
  EXPECT_EQ(ini.Read("Montage", "VisibleScalesNumber"), "1");
  EXPECT_EQ(ini.Read("Montage", "VisibleScale_0"), "0");
  EXPECT_EQ(ini.Read("Montage", "VisibleImage_0"), "1");

  for (int frame : {2, 3, 4, 5}) ASSERT_TRUE(montage.ShiftFromCurrentFrame(frame, 1));
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(5, -1));  // shifts 0, 0, 1, 2, 3, 3
  work.montage = CaptureMontage(montage);
  ini = Written(work);
  EXPECT_EQ(ini.Read("Montage", "TimeShiftsNumber"), "6");
  EXPECT_EQ(ini.Read("Montage", "TimeShiftScalesNumber"), "3");
  const char* scales[] = {"1", "-3", "5"};
  const char* shifts[] = {"0", "1", "3"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ini.Read("Montage", "TimeShiftScale_" + std::to_string(i)), scales[i]);
    EXPECT_EQ(ini.Read("Montage", "TimeShift_" + std::to_string(i)), shifts[i]);
  }
}

TEST(WorkFileEncoding, SheetStageCodes) {
  struct Case {
    std::int32_t stage;
    const char* code;
  };
  for (const Case& c : {Case{0, "1"}, Case{1, "0"}, Case{2, "2"}}) {
    WorkFileContent work;
    work.layerStage = c.stage;
    const IniFile ini = Written(work);
    EXPECT_EQ(ini.Read("Data", "LayerStage"), c.code);
    EXPECT_EQ(ReadBack(ini).layerStage, c.stage);
  }
  IniFile ini;
  ini.Parse("[Main]\nVersion=351000\n[Data]\nRequiredDuration=0.04\n");
  EXPECT_EQ(ReadBack(ini).layerStage, 0);  // a missing key reads as stage 0
}

TEST(WorkFileEncoding, RealsFollowTheRegionalSeparatorAndReadUnderAnyLocale) {
  const char saved = DecimalSeparator();
  SetDecimalSeparator(',');
  WorkFileContent work;
  work.duration = 0.04;
  const IniFile ini = Written(work);
  EXPECT_EQ(ini.Read("Data", "RequiredDuration"), "0,04");
  SetDecimalSeparator('.');
  EXPECT_DOUBLE_EQ(ReadBack(ini).duration, 0.04);
  SetDecimalSeparator(saved);
}

TEST(WorkFileEncoding, ASessionWithoutMarksWritesNoContainers) {
  test::SessionRig rig;
  const IniFile ini = Written(CaptureSession(rig.data));
  EXPECT_EQ(ini.Read("Data", "MarksContainersNumber_Grid"), "0");
  EXPECT_EQ(ini.Read("Data", "MarksContainersNumber_Layer"), "0");
  EXPECT_EQ(ini.Read("Data", "MarksContainerFrameNumber_Grid_0"), std::nullopt);
  EXPECT_EQ(ini.Keys("Main"),
            (std::vector<std::string>{"Version", "VideoFileName", "VideoRelativeFileName"}));
}

TEST(WorkFileRoundTrip, ASessionComesBackEqual) {
  PointedSession session;
  WorkFileContent work = CaptureSession(session.data);
  ASSERT_EQ(work.fixedStore.containers.size(), 3u);
  ASSERT_EQ(work.positions.size(), 2u);
  work.videoFileName = "/home/ana/caida libre.avi";
  work.imageNumber = 2;
  Montage montage;
  montage.ResetMontage(12);
  ASSERT_TRUE(montage.SetFrameVisible(0, false));
  ASSERT_TRUE(montage.SetFrameVisible(7, false));
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(9, 2));
  work.montage = CaptureMontage(montage);
  work.formulas.formulas = {{"Ec", "0,5*m*v^2", "energía cinética", "J"}};
  work.formulas.constants = {{"m", "0", "0,058", "kg"}, {"g2", "1", "=2*9,81", "m/s²"}};

  const WorkFileContent back = ReadBack(Written(work));
  // Reals keep 15 significant digits: a second writing gives the same text.
  EXPECT_EQ(Written(back).Text(), Written(work).Text());
  EXPECT_EQ(back.montage, work.montage);
  EXPECT_EQ(back.formulas, work.formulas);

  test::SessionRig fresh;
  fresh.data.Restore(back);
  WorkFileContent again = CaptureSession(fresh.data);
  again.videoFileName = work.videoFileName;
  again.imageNumber = work.imageNumber;
  again.montage = work.montage;
  // The formulas live in the session: reopened, they are saved again as they were.
  EXPECT_EQ(again.formulas, work.formulas);
  EXPECT_EQ(Written(again).Text(), Written(work).Text());
  EXPECT_EQ(fresh.data.ObjectName(1), "pelota");
  EXPECT_FALSE(fresh.data.ObjectVisible(1));
  EXPECT_EQ(fresh.data.FixedStore().Marks().size(), 6u);
  EXPECT_FALSE(fresh.data.Undo());  // nothing of the reading can be undone

  Montage restored;
  ASSERT_TRUE(ApplyMontage(back.montage, 12, restored));
  for (int m = 0; m < 12; ++m) {
    EXPECT_EQ(restored.FrameTimeIndex(m), montage.FrameTimeIndex(m));
    EXPECT_EQ(restored.Visible(m), montage.Visible(m));
  }
  // The clip found again is not the one the montage was made on.
  EXPECT_FALSE(ApplyMontage(back.montage, 30, restored));
  EXPECT_EQ(restored.VisibleCount(), 30);
  EXPECT_EQ(restored.FrameTimeIndex(29), 29);
}

// The number of steps in each of the session's four undo histories, reached by mode and tool.
std::vector<std::size_t> HistorySizes(PointedSession& session) {
  const std::pair<WorkingMode, PointingTool> places[] = {
      {WorkingMode::FixedAxes, PointingTool::Mark},
      {WorkingMode::FixedAxes, PointingTool::Scale},
      {WorkingMode::FixedAxes, PointingTool::Axes},
      {WorkingMode::Transparent, PointingTool::Transparent},
  };
  std::vector<std::size_t> sizes;
  for (const auto& [mode, tool] : places) {
    session.video.mode = mode;
    session.data.SetTool(tool);
    sizes.push_back(session.data.CurrentHistory().Count());
  }
  session.video.mode = WorkingMode::FixedAxes;
  session.data.SetTool(PointingTool::Mark);
  return sizes;
}

TEST(SessionRestore, EmptiesEveryHistoryAndAnnouncesEachEventOnceWhenComplete) {
  const WorkFileContent work = CaptureSession(PointedSession().data);
  PointedSession session;
  session.data.SetTool(PointingTool::Axes);
  session.Click(320, 240);
  for (const std::size_t size : HistorySizes(session)) ASSERT_GT(size, 0u);

  std::array<int, kSessionEventCount> heard{};
  int heardIncomplete = 0;
  for (std::size_t event = 0; event < kSessionEventCount; ++event) {
    session.data.Subscribe(static_cast<SessionEvent>(event), [&, event](const Session& data) {
      ++heard[event];
      if (data.FixedStore().Marks().size() != 6u || data.Transparent().Origins().size() != 2u) {
        ++heardIncomplete;
      }
    });
  }
  session.data.Restore(work);
  for (const int times : heard) EXPECT_EQ(times, 1);
  EXPECT_EQ(heardIncomplete, 0);
  for (const std::size_t size : HistorySizes(session)) EXPECT_EQ(size, 0u);
}

TEST(WorkFileRoundTrip, SavingFewerMarksKeepsTheOlderLinesAndTrustsTheNewCounts) {
  PointedSession session;
  IniFile ini = Written(CaptureSession(session.data));
  test::SessionRig smaller;
  smaller.data.PointMark({100, 100});
  WriteWorkFile(ini, CaptureSession(smaller.data));
  EXPECT_EQ(ini.Read("Data", "MarksContainersNumber_Grid"), "1");
  EXPECT_TRUE(ini.Read("Data", "MarkXCoordinate_Grid_2_1").has_value());
  EXPECT_EQ(ReadBack(ini).fixedStore.containers.size(), 1u);
}

TEST(WorkFileReading, DamagedFilesOpenWithDefaultsOrAreRefused) {
  struct Case {
    const char* name;
    const char* text;
    const char* refusal;  // nullptr: opens
  };
  const Case cases[] = {
      {"only the headers", "[Main]\n[Data]\n", nullptr},
      {"negative counts", "[Main]\n[Data]\nMarksContainersNumber_Grid=-5\nMarkColorsNumber=-1\n",
       nullptr},
      {"absurd container count", "[Main]\n[Data]\nMarksContainersNumber_Grid=2000000000\n",
       "El archivo anuncia más elementos de los que contiene (clave MarksContainersNumber_Grid)."},
      {"absurd object count", "[Main]\n[Data]\nMarksNumberPerFrame_Grid=2000000000\n",
       "El archivo anuncia más elementos de los que contiene (clave MarksNumberPerFrame_Grid)."},
      {"absurd formula count", "[Main]\n[Data]\n[Formules]\nFormulesNumber=2000000000\n",
       "El archivo anuncia más elementos de los que contiene (clave FormulesNumber)."},
      {"unconvertible real", "[Main]\n[Data]\nRequiredDuration=0.0x4\n",
       "Un número del archivo no se puede leer (clave RequiredDuration)."},
      {"negative frame",
       "[Main]\n[Data]\nMarksContainersNumber_Grid=1\nMarksContainerFrameNumber_Grid_0=-3\n",
       "Un número de imagen o de objeto del archivo es incorrecto (clave "
       "MarksContainerFrameNumber_Grid_0)."},
      {"negative object",
       "[Main]\n[Data]\nMarksContainersNumber_Grid=1\nMarksContainerMarksNumber_Grid_0=1\n"
       "MarkOrderNumber_Grid_0_0=-1\n",
       "Un número de imagen o de objeto del archivo es incorrecto (clave "
       "MarkOrderNumber_Grid_0_0)."},
      {"not a work file", "[Options]\nPassword=x\n",
       "Este archivo no es un trabajo guardado por Kinovia."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IniFile ini;
    ini.Parse(c.text);
    const auto read = ReadWorkFile(ini, "/tmp/trabajo.knv");
    if (!c.refusal) {
      ASSERT_TRUE(read.Ok());
      const WorkFileContent& work = read.Value();
      EXPECT_TRUE(work.fixedStore.containers.empty());
      EXPECT_TRUE(work.colours.empty());
      EXPECT_EQ(work.fixedAxes.origin, (PointD{0.5, 0.5}));
      EXPECT_NEAR(work.yAxisAngle, std::acos(0.0), 1e-12);
      test::SessionRig rig;
      rig.data.Restore(work);
      EXPECT_EQ(rig.data.MarksCount(), 0);
      continue;
    }
    ASSERT_FALSE(read.Ok());
    const Message& message = read.Failure();
    EXPECT_EQ(message.icon, MessageIcon::Error);
    EXPECT_EQ(message.lines.back().text, c.refusal);
  }
}

TEST(WorkFileReading, ATruncatedFileStillOpensOrIsRefused) {
  PointedSession session;
  const std::string text = Written(CaptureSession(session.data)).Text();
  for (std::size_t cut = 0; cut < text.size(); cut += 7) {
    IniFile ini;
    ini.Parse(text.substr(0, cut));
    const auto read = ReadWorkFile(ini, "/tmp/t.knv");
    if (read) {
      test::SessionRig rig;
      rig.data.Restore(read.Value());
      EXPECT_LE(rig.data.FixedStore().Marks().size(), 6u);
    }
  }
}

class ScriptedUi : public SaveCommandUi {
 public:
  std::optional<std::string> name;
  int answer = 1;
  std::vector<Message> shown;
  std::string folder;

  std::optional<std::string> AskSaveName() override { return name; }
  int ShowMessage(const Message& message) override {
    shown.push_back(message);
    return answer;
  }
  void RememberFolder(const std::string& f) override { folder = f; }
};

TEST(WorkFileSaveCommand, FlowAndMessages) {
  const fs::path folder = FreshTestFolder("test_work_file");
  WorkFileContent work;
  work.videoFileName = (folder / "clips" / "caida.avi").string();
  ScriptedUi ui;
  ui.name = (folder / "trabajo.txt").string();

  EXPECT_EQ(SaveWorkCommand(false, work, ui), std::nullopt);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(PlainText(ui.shown[0]), "Abrir desde un archivo de vídeo.");
  EXPECT_FALSE(fs::exists(folder / "trabajo.knv"));

  ui.shown.clear();
  const auto saved = SaveWorkCommand(true, work, ui);
  ASSERT_EQ(saved, (folder / "trabajo.knv").string());
  EXPECT_EQ(ui.folder, folder.string());
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].lines[0].text, "El archivo ha sido guardado con éxito :");
  EXPECT_EQ(ui.shown[0].lines[2].colour, kColourBlue);
  EXPECT_EQ(IniFile().Load(*saved), IniLoad::Loaded);
  const std::string first = FileText(*saved);
  EXPECT_NE(first.find("VideoRelativeFileName=clips/caida.avi"), std::string::npos);

  // Replacing: "Cancelar" leaves the file as it was.
  ui.shown.clear();
  ui.answer = 0;
  work.duration = 0.5;
  EXPECT_EQ(SaveWorkCommand(true, work, ui), std::nullopt);
  EXPECT_EQ(PlainText(ui.shown[0]),
            *saved + "\n\nYa existe un archivo con el mismo nombre ¿ Desea reemplazarlo ?");
  EXPECT_EQ(FileText(*saved), first);

  // A name that cannot be written: a folder stands where the file should be.
  ui.shown.clear();
  ui.answer = 1;
  fs::create_directories(folder / "ocupado.knv");
  ui.name = (folder / "ocupado.knv").string();
  EXPECT_EQ(SaveWorkCommand(true, work, ui), std::nullopt);
  EXPECT_EQ(PlainText(ui.shown.back()),
            "Guardar el archivo ha fracasado.\nVerifique que el disco no está protegido contra "
            "escritura.");

  ui.shown.clear();
  ui.name = (folder / "no existe" / "t.knv").string();
  EXPECT_EQ(SaveWorkCommand(true, work, ui), std::nullopt);
  EXPECT_EQ(PlainText(ui.shown.back()), "El archivo no se ha guardado.");
}

TEST(WorkFileOpening, TheClipIsFoundWhereTheWorkWent) {
  const fs::path folder = FreshTestFolder("test_work_open");
  fs::create_directories(folder / "tp" / "clips");
  std::ofstream(folder / "tp" / "clips" / "caida.avi") << "clip";
  ScriptedUi ui;
  ui.name = (folder / "tp" / "trabajo.knv").string();
  WorkFileContent work;
  work.videoFileName = (folder / "tp" / "clips" / "caida.avi").string();
  ASSERT_TRUE(SaveWorkCommand(true, work, ui));

  auto opened = OpenWorkFile(ui.name.value());
  ASSERT_TRUE(opened.Ok());
  EXPECT_EQ(opened->clip, work.videoFileName);

  // The whole folder moved, to a memory stick for instance.
  fs::rename(folder / "tp", folder / "usb");
  opened = OpenWorkFile((folder / "usb" / "trabajo.knv").string());
  ASSERT_TRUE(opened.Ok());
  EXPECT_EQ(opened->clip, (folder / "usb" / "clips" / "caida.avi").string());

  fs::remove(folder / "usb" / "clips" / "caida.avi");
  opened = OpenWorkFile((folder / "usb" / "trabajo.knv").string());
  ASSERT_FALSE(opened.Ok());
  EXPECT_EQ(opened.Failure().lines[0].text, "No se encuentra el vídeo de este trabajo :");

  const auto refused = OpenWorkFile((folder / "nada.knv").string());
  ASSERT_FALSE(refused.Ok());
}

}  // namespace
}  // namespace kinovia
