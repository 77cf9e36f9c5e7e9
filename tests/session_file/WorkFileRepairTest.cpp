// Small damaged work files reopened with their clip: what the clip or the program cannot take is
// left out and said in one warning, and everything else opens as it was saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic/session/Session.h"
#include "logic/session/WorkFile.h"
#include "tests/session/SessionFakes.h"

namespace kinovia {
namespace {

constexpr ClipFacts kClip{20, 0.04};

// A work file of `objects` objects, each with its name, colour and visibility; one container a
// frame listed, holding a mark of each object given for it.
std::string WorkText(int objects, const std::vector<std::pair<int, std::vector<int>>>& frames,
                     const std::string& extraData = "RequiredDuration=0.04\n") {
  std::string text = "[Main]\nVersion=351000\n[Data]\n" + extraData;
  text += "MarkColorsNumber=" + std::to_string(objects) + "\n";
  for (int o = 0; o < objects; ++o) text += "MarkColor_" + std::to_string(o) + "=255\n";
  text += "MarkVisibiltiesNumber=" + std::to_string(objects) + "\n";
  for (int o = 0; o < objects; ++o) text += "MarkVisibility_" + std::to_string(o) + "=1\n";
  text += "MarksNumberPerFrame_Grid=" + std::to_string(objects) + "\n";
  text += "SystemNamesNumber_Grid=" + std::to_string(objects) + "\n";
  for (int o = 0; o < objects; ++o)
    text += "SystemName_Grid_" + std::to_string(o) + "=objeto" + std::to_string(o) + "\n";
  text += "MarksContainersNumber_Grid=" + std::to_string(frames.size()) + "\n";
  for (std::size_t c = 0; c < frames.size(); ++c) {
    const std::string suffix = "_Grid_" + std::to_string(c);
    text += "MarksContainerFrameNumber" + suffix + "=" + std::to_string(frames[c].first) + "\n";
    text +=
        "MarksContainerMarksNumber" + suffix + "=" + std::to_string(frames[c].second.size()) + "\n";
    for (std::size_t m = 0; m < frames[c].second.size(); ++m) {
      const std::string mark = suffix + "_" + std::to_string(m);
      text += "MarkOrderNumber" + mark + "=" + std::to_string(frames[c].second[m]) + "\n";
      text += "MarkXCoordinate" + mark + "=0.25\nMarkYCoordinate" + mark + "=0.75\n";
    }
  }
  return text;
}

WorkFileContent Read(const std::string& text) {
  IniFile ini;
  EXPECT_TRUE(ini.Parse(text));
  auto read = ReadWorkFile(ini, "/tmp/trabajo.knv");
  if (!read) {
    ADD_FAILURE() << PlainText(read.Failure());
    return {};
  }
  return std::move(read).Value();
}

std::vector<std::string> NoteLines(const std::optional<Message>& warning) {
  std::vector<std::string> lines;
  if (!warning) return lines;
  EXPECT_EQ(warning->icon, MessageIcon::Warning);
  EXPECT_EQ(warning->lines.at(0).text,
            "Se ha abierto el trabajo, pero una parte del archivo no se ha podido conservar :");
  EXPECT_EQ(warning->lines.at(1).text, "/tmp/trabajo.knv");
  for (std::size_t i = 3; i < warning->lines.size(); ++i) lines.push_back(warning->lines[i].text);
  return lines;
}

int MarkCount(const SavedStore& store) {
  int count = 0;
  for (const auto& container : store.containers) count += static_cast<int>(container.marks.size());
  return count;
}

TEST(WorkFileRepair, ObjectsPastTheMostAreDroppedAndSaid) {
  struct Case {
    int objects;
    std::vector<std::pair<int, std::vector<int>>> frames;
    int keptMarks;
    std::string note;  // empty: nothing to say
  };
  const Case cases[] = {
      {32, {{0, {0, 31}}}, 2, ""},
      {33,
       {{0, {0, 31, 32}}, {1, {32}}},
       2,
       "El archivo tiene 33 objetos y un trabajo admite 32 como máximo: se descartan los objetos "
       "siguientes (marcas descartadas: 2)."},
      {500,
       {{0, {499, 3, 100}}, {2, {40}}, {3, {7}}},
       2,
       "El archivo tiene 500 objetos y un trabajo admite 32 como máximo: se descartan los objetos "
       "siguientes (marcas descartadas: 3)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.objects);
    WorkFileContent work = Read(WorkText(c.objects, c.frames));
    const auto lines = NoteLines(FitWorkToClip(work, kClip, "/tmp/trabajo.knv"));
    EXPECT_EQ(lines, c.note.empty() ? std::vector<std::string>{} : std::vector{c.note});
    EXPECT_EQ(work.fixedStore.perFrame, std::min(c.objects, 32));
    EXPECT_EQ(work.fixedStore.names.size(), std::min<std::size_t>(c.objects, 32));
    EXPECT_EQ(work.colours.size(), std::min<std::size_t>(c.objects, 32));
    EXPECT_EQ(work.visibilities.size(), std::min<std::size_t>(c.objects, 32));
    EXPECT_EQ(MarkCount(work.fixedStore), c.keptMarks);
    // A frame whose every mark went is gone; the others keep their kept marks.
    for (const auto& container : work.fixedStore.containers) EXPECT_FALSE(container.marks.empty());
    test::SessionRig rig;
    rig.data.Restore(work);
    EXPECT_EQ(rig.data.FixedStore().MarksPerFrame(), std::min(c.objects, 32));
    EXPECT_EQ(rig.data.MarksCount(), c.keptMarks);
  }
}

TEST(WorkFileRepair, MarksAndSheetPositionsPastTheClipsEndAreDroppedAndSaid) {
  std::string text =
      WorkText(2, {{3, {0, 1}}, {19, {1}}, {20, {0, 1}}, {400, {0}}, {7, {}}, {30, {}}});
  text +=
      "OriginePositionsNumber_Layer=3\nOrigineImageNumber_Layer_0=2\n"
      "OrigineImageNumber_Layer_1=25\nOrigineImageNumber_Layer_2=19\n";
  WorkFileContent work = Read(text);
  const auto lines = NoteLines(FitWorkToClip(work, kClip, "/tmp/trabajo.knv"));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Marcas descartadas por estar después de la última imagen del vídeo (20 "
                       "imágenes): 3.",
                       "Posiciones del transparente descartadas por estar después de la última "
                       "imagen del vídeo: 1."}));
  std::vector<int> frames;
  for (const auto& container : work.fixedStore.containers) frames.push_back(container.frame);
  // The frame saved without marks stays: it was not emptied by the repair; past the end it goes.
  EXPECT_EQ(frames, (std::vector<int>{3, 19, 7}));
  ASSERT_EQ(work.positions.size(), 2u);
  EXPECT_EQ(work.positions[1].frame, 19);

  // A clip of unknown length refuses no frame.
  WorkFileContent unknown = Read(text);
  EXPECT_FALSE(FitWorkToClip(unknown, {0, 0.04}, "/tmp/trabajo.knv"));
  EXPECT_EQ(unknown.fixedStore.containers.size(), 6u);
}

TEST(WorkFileRepair, AnIntervalOutsideItsBoundsTakesTheClipsOwn) {
  struct Case {
    const char* key;  // the file's line, or empty for none
    double clipInterval;
    double kept;
    const char* note;
  };
  const Case cases[] = {
      {"RequiredDuration=0.1\n", 0.04, 0.1, nullptr},
      {"RequiredDuration=0\n", 0.04, 0.04,
       "El intervalo entre dos imágenes del archivo (0 s) no es válido: se usa el del vídeo "
       "(0.04 s)."},
      {"RequiredDuration=-0.04\n", 1.0 / 30, 1.0 / 30,
       "El intervalo entre dos imágenes del archivo (-0.04 s) no es válido: se usa el del vídeo "
       "(0.0333333333333333 s)."},
      {"RequiredDuration=1e-9\n", 0.04, 0.04,
       "El intervalo entre dos imágenes del archivo (1E-9 s) no es válido: se usa el del vídeo "
       "(0.04 s)."},
      {"", 0.04, 0.04,
       "El intervalo entre dos imágenes del archivo (0 s) no es válido: se usa el del vídeo "
       "(0.04 s)."},
      // A clip without a usable interval of its own leaves the file's as it was.
      {"RequiredDuration=0\n", 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    WorkFileContent work = Read(WorkText(1, {{0, {0}}}, c.key));
    const auto lines = NoteLines(FitWorkToClip(work, {20, c.clipInterval}, "/tmp/trabajo.knv"));
    EXPECT_EQ(lines, c.note ? std::vector<std::string>{c.note} : std::vector<std::string>{});
    EXPECT_DOUBLE_EQ(work.duration, c.kept);
    EXPECT_EQ(MarkCount(work.fixedStore), 1);
  }
}

TEST(WorkFileRepair, EverythingToRepairIsSaidInOneWarning) {
  std::string text = WorkText(40, {{0, {0, 35}}, {30, {1}}}, "RequiredDuration=-1\n") +
                     "MarksNumberPerFrame_Layer=2\nMarksContainersNumber_Layer=1\n"
                     "MarksContainerFrameNumber_Layer_0=1\nMarksContainerMarksNumber_Layer_0=2\n"
                     "MarkOrderNumber_Layer_0_0=0\nMarkOrderNumber_Layer_0_1=1\n";
  WorkFileContent work = Read(text);
  const auto warning = FitWorkToClip(work, kClip, "/tmp/trabajo.knv");
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->buttons.size(), 1u);
  EXPECT_EQ(NoteLines(warning).size(), 4u);
  EXPECT_EQ(NoteLines(warning)[1],
            "El transparente del archivo lleva 2 objetos y solo admite uno: se descartan los "
            "demás (marcas descartadas: 1).");
  EXPECT_EQ(MarkCount(work.fixedStore), 1);
  EXPECT_EQ(MarkCount(work.layerStore), 1);
  // Repaired once, there is nothing more to say.
  EXPECT_FALSE(FitWorkToClip(work, kClip, "/tmp/trabajo.knv"));
}

}  // namespace
}  // namespace kinovia
