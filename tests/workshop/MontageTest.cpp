#include <gtest/gtest.h>

#include <vector>

#include "logic/montage/Montage.h"
#include "logic/montage/MontageSelection.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

std::vector<std::int32_t> TimeIndices(const Montage& montage) {
  std::vector<std::int32_t> out;
  for (std::int32_t k = 0; k < montage.VisibleCount(); ++k) {
    out.push_back(montage.FrameTimeIndex(montage.VisibleToSource(k)));
  }
  return out;
}

std::vector<std::int32_t> Shifts(const Montage& montage) {
  std::vector<std::int32_t> out;
  for (std::int32_t m = 0; m < montage.FrameCount(); ++m) out.push_back(montage.TimeShift(m));
  return out;
}

TEST(Montage, HidingTheFirstFramesStartsTheTimeAtTheFirstVisibleOne) {
  Montage montage;
  montage.ResetMontage(10);
  std::vector<std::int32_t> deleted;
  int staleCount = 0;
  montage.onDeleteMarks = [&](std::int32_t m) { deleted.push_back(m); };
  montage.onResultsStale = [&] { ++staleCount; };
  for (std::int32_t m : {0, 1, 2}) EXPECT_TRUE(montage.SetFrameVisible(m, false));
  EXPECT_EQ(montage.VisibleCount(), 7);
  EXPECT_EQ(montage.FrameTimeIndex(3), 0);
  EXPECT_EQ(montage.VisibleToSource(0), 3);
  EXPECT_EQ(montage.SourceToVisible(3), 0);
  EXPECT_EQ(montage.SourceToVisible(1), -1);
  EXPECT_EQ(montage.VisibleToSource(7), -1);
  EXPECT_EQ(deleted, (std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_EQ(staleCount, 3);
  EXPECT_EQ(TimeIndices(montage), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(Montage, HidingThenShowingRestoresEveryShift) {
  Montage montage;
  montage.ResetMontage(8);
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(5, 2));
  const auto before = Shifts(montage);
  ASSERT_TRUE(montage.SetFrameVisible(3, false));
  EXPECT_NE(Shifts(montage), before);
  ASSERT_TRUE(montage.SetFrameVisible(3, true));
  EXPECT_EQ(Shifts(montage), before);
  EXPECT_EQ(montage.VisibleCount(), 8);
}

TEST(Montage, TheLastVisibleFrameCannotBeHidden) {
  Montage montage;
  montage.ResetMontage(2);
  ASSERT_TRUE(montage.SetFrameVisible(0, false));
  bool deleted = false;
  montage.onDeleteMarks = [&](std::int32_t) { deleted = true; };
  Message refusal;
  EXPECT_FALSE(montage.SetFrameVisible(1, false, &refusal));
  EXPECT_FALSE(deleted);
  EXPECT_EQ(montage.VisibleCount(), 1);
  EXPECT_EQ(PlainText(refusal), Txt(txt::MontageLastVisibleFrame));
  EXPECT_EQ(refusal.icon, MessageIcon::Warning);
}

TEST(Montage, OutsideTheClipNothingChangesAndQueriesAnswerNeutrally) {
  Montage montage;
  EXPECT_FALSE(montage.SetFrameVisible(0, false));
  EXPECT_FALSE(montage.ShiftFromCurrentFrame(0, 1));
  EXPECT_EQ(montage.NeighbourTime(Neighbour::Current, 0, 0.04), -1);
  montage.ResetMontage(3);
  EXPECT_FALSE(montage.SetFrameVisible(3, false));
  EXPECT_FALSE(montage.SetFrameVisible(-1, false));
  EXPECT_TRUE(montage.Visible(-1));
  EXPECT_EQ(montage.TimeShift(7), 0);
  EXPECT_EQ(montage.FrameTimeIndex(7), 7);
  EXPECT_EQ(montage.SourceToVisible(3), -1);
}

TEST(Montage, AShiftMustKeepTheFrameAfterThePreviousVisibleOne) {
  Montage montage;
  montage.ResetMontage(6);
  EXPECT_FALSE(montage.ShiftFromCurrentFrame(2, -1));  // would equal frame 1's time index
  EXPECT_FALSE(montage.ShiftFromCurrentFrame(0, -1));  // the first frame would come before 0
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(2, 1));
  EXPECT_EQ(Shifts(montage), (std::vector<std::int32_t>{0, 0, 1, 1, 1, 1}));
  EXPECT_TRUE(montage.ShiftFromCurrentFrame(2, -1));
  // A hidden frame is not the one the dialog moves, and hidden frames do not count as previous.
  ASSERT_TRUE(montage.SetFrameVisible(1, false));
  EXPECT_FALSE(montage.ShiftFromCurrentFrame(1, 1));
  EXPECT_EQ(montage.FrameTimeIndex(2), 1);
  EXPECT_FALSE(montage.ShiftFromCurrentFrame(2, -1));
  EXPECT_TRUE(montage.ShiftFromCurrentFrame(2, 1));
}

TEST(Montage, NeighbourTimesAndMissingFrames) {
  // Visible frames with time indices 0, 1, 3, 4, 7.
  Montage montage;
  montage.ResetMontage(5);
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(2, 1));
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(4, 2));
  ASSERT_EQ(TimeIndices(montage), (std::vector<std::int32_t>{0, 1, 3, 4, 7}));
  EXPECT_EQ(montage.MissingFrameCount(), 3);
  const double t = 0.5;
  EXPECT_DOUBLE_EQ(montage.NeighbourTime(Neighbour::Previous, 2, t), 0.5);
  EXPECT_DOUBLE_EQ(montage.NeighbourTime(Neighbour::Current, 2, t), 1.5);
  EXPECT_DOUBLE_EQ(montage.NeighbourTime(Neighbour::Next, 2, t), 2.0);
  EXPECT_EQ(montage.NeighbourTime(Neighbour::Previous, 0, t), -1);
  EXPECT_EQ(montage.NeighbourTime(Neighbour::Next, 4, t), -1);
  // Hidden neighbours are skipped.
  ASSERT_TRUE(montage.SetFrameVisible(3, false));
  EXPECT_DOUBLE_EQ(montage.NeighbourTime(Neighbour::Next, 2, t), 3.0);
}

TEST(Montage, LeavingTheMontageModeLandsOnAVisibleFrame) {
  Montage montage;
  montage.ResetMontage(6);
  for (std::int32_t m : {2, 3, 5}) ASSERT_TRUE(montage.SetFrameVisible(m, false));
  EXPECT_EQ(montage.FrameAfterMontageMode(1), 1);
  EXPECT_EQ(montage.FrameAfterMontageMode(2), 4);
  EXPECT_EQ(montage.FrameAfterMontageMode(5), 4);
}

TEST(MontageRecords, ChangePointsAreStoredAsStretches) {
  Montage montage;
  montage.ResetMontage(6);  // shifts 0, 0, 1, 2, 3, 3
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(2, 1));
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(3, 1));
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(4, 1));
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(5, 1));
  ASSERT_TRUE(montage.ShiftFromCurrentFrame(5, -1));
  ASSERT_EQ(Shifts(montage), (std::vector<std::int32_t>{0, 0, 1, 2, 3, 3}));
  EXPECT_EQ(montage.TimeShiftEntries(), (std::vector<TimeShiftEntry>{{1, 0}, {-3, 1}, {5, 3}}));
}

TEST(MontageRecords, WhatIsStoredGivesTheSameMontageBack) {
  struct Case {
    const char* name;
    std::vector<std::int32_t> hidden;
    std::vector<std::pair<std::int32_t, std::int32_t>> shifts;  // frame, d
  };
  const Case cases[] = {
      {"untouched", {}, {}},
      {"first frames hidden", {0, 1, 2}, {}},
      {"hidden runs and shifts", {1, 4, 5, 9}, {{6, 3}, {7, 1}}},
      // Consecutive change points whose shifts do not step evenly.
      {"uneven stretch", {3}, {{4, 2}, {5, 2}, {6, 5}, {7, 1}}},
      {"last frame hidden", {11}, {{2, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Montage montage;
    montage.ResetMontage(12);
    for (std::int32_t m : c.hidden) ASSERT_TRUE(montage.SetFrameVisible(m, false));
    for (auto [m, d] : c.shifts) ASSERT_TRUE(montage.ShiftFromCurrentFrame(m, d));
    Montage back;
    ASSERT_TRUE(back.Restore(12, montage.VisibilityRuns(), montage.TimeShiftEntries()));
    EXPECT_EQ(Shifts(back), Shifts(montage));
    EXPECT_EQ(back.VisibleCount(), montage.VisibleCount());
    for (std::int32_t m = 0; m < 12; ++m) EXPECT_EQ(back.Visible(m), montage.Visible(m));
    EXPECT_EQ(back.VisibleToSource(0), montage.VisibleToSource(0));
  }
}

TEST(MontageRecords, ContradictoryRecordsLeaveTheDefaultMontage) {
  using R = std::vector<VisibilityRun>;
  using E = std::vector<TimeShiftEntry>;
  struct Case {
    const char* name;
    std::int32_t frameCount;
    R runs;
    E entries;
  };
  const Case cases[] = {
      {"absurd frame count", 2'000'000'000, {}, {}},
      {"negative frame count", -4, {}, {}},
      {"first run not at 0", 10, {{3, true}}, {}},
      {"runs out of order", 10, {{0, true}, {6, false}, {4, true}}, {}},
      {"run past the clip", 10, {{0, true}, {10, false}}, {}},
      {"no visible frame", 10, {{0, false}}, {}},
      {"first change not frame 1", 10, {}, {{3, 1}}},
      {"change past the clip", 10, {}, {{1, 0}, {11, 1}}},
      {"stretch never closed", 10, {}, {{1, 0}, {-3, 1}}},
      {"stretch closed backwards", 10, {}, {{1, 0}, {-5, 1}, {4, 2}}},
      {"huge shift", 10, {}, {{1, 2'000'000'000}}},
      {"frame 0", 10, {}, {{0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Montage montage;
    EXPECT_FALSE(montage.Restore(c.frameCount, c.runs, c.entries));
    EXPECT_EQ(montage.VisibleCount(), montage.FrameCount());
    EXPECT_EQ(montage.MissingFrameCount(), 0);
  }
}

TEST(MontageSelection, TypedGroupsSelectUserNumbers) {
  struct Case {
    const char* typed;
    std::vector<std::int32_t> expected;  // user numbers
  };
  const Case cases[] = {
      {"1-55 ; 58 ; 73-165", {}},
      {"5 - 2", {2, 3, 4, 5}},
      {"7;;9--10;-", {7, 9, 10}},
      {" 200 ", {200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    auto result = ParseFrameSelection(SelectionSource::Typed, c.typed, 200, MontageAction::Hide);
    ASSERT_TRUE(result.Ok());
    const FrameSelection& selection = result.Value();
    std::vector<std::int32_t> chosen;
    for (std::size_t m = 0; m < selection.size(); ++m) {
      if (selection[m]) chosen.push_back(static_cast<std::int32_t>(m + 1));
    }
    std::vector<std::int32_t> expected = c.expected;
    if (expected.empty()) {  // the example of the dialog's prompt
      for (std::int32_t u = 1; u <= 55; ++u) expected.push_back(u);
      expected.push_back(58);
      for (std::int32_t u = 73; u <= 165; ++u) expected.push_back(u);
    }
    EXPECT_EQ(chosen, expected);
  }
}

TEST(MontageSelection, ABadGroupNamesTheAction) {
  struct Case {
    const char* typed;
    MontageAction action;
    const char* message;
  };
  const Case cases[] = {
      {"0", MontageAction::Hide, "El grupo de imágenes a ocultar es incorrecto"},
      {"201", MontageAction::Show, "El grupo de imágenes a mostrar es incorrecto"},
      {"3-201", MontageAction::Hide, "El grupo de imágenes a ocultar es incorrecto"},
      {"4 ; 1-2-3", MontageAction::Hide, "El grupo de imágenes a ocultar es incorrecto"},
      {"12a", MontageAction::Hide, "El grupo de imágenes a ocultar es incorrecto"},
      {"", MontageAction::Hide, "El grupo de imágenes a ocultar es incorrecto"},
      {"99999999999999999999", MontageAction::Hide, "El grupo de imágenes a ocultar es incorrecto"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    auto result = ParseFrameSelection(SelectionSource::Typed, c.typed, 200, c.action);
    ASSERT_FALSE(result.Ok());
    EXPECT_EQ(PlainText(result.Failure()), c.message);
  }
}

TEST(MontageSelection, ListItemsAndApplyingStopAtTheLastVisibleFrame) {
  auto even = ParseFrameSelection(SelectionSource::EvenFrames, "", 5, MontageAction::Hide).Value();
  EXPECT_EQ(even, (FrameSelection{false, true, false, true, false}));
  auto odd = ParseFrameSelection(SelectionSource::OddFrames, "", 5, MontageAction::Hide).Value();
  EXPECT_EQ(odd, (FrameSelection{true, false, true, false, true}));

  Montage montage;
  montage.ResetMontage(5);
  EXPECT_TRUE(ApplyFrameSelection(montage, even, MontageAction::Hide).Ok());
  EXPECT_EQ(montage.VisibleCount(), 3);
  const auto refused = ApplyFrameSelection(montage, odd, MontageAction::Hide);
  ASSERT_FALSE(refused.Ok());
  EXPECT_EQ(PlainText(refused.Failure()), Txt(txt::MontageLastVisibleFrame));
  EXPECT_EQ(montage.VisibleCount(), 1);
  EXPECT_TRUE(montage.Visible(4));
}

TEST(MontageToggle, TheInformationAsksFirstAndCanBeSilenced) {
  Montage montage;
  montage.ResetMontage(4);
  std::vector<Message> asked;
  ToggleAnswer answer{1, false};
  auto ask = [&](const Message& m) {
    asked.push_back(m);
    return answer;
  };
  // Cancelled: nothing changes, and the box keeps coming.
  EXPECT_FALSE(ToggleFrameCommand(montage, 2, true, true, ask));
  EXPECT_TRUE(montage.Visible(2));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].buttons.size(), 2u);
  EXPECT_EQ(PlainText(asked[0]),
            "Esta imagen no será visible en el vídeo cuando se termine el montaje.\n\nUna imagen "
            "ocultada aparece en negativo.\n\nLa marcas sobre esta imagen serán borradas.");
  // Ok with the box checked: hidden, and never asked again.
  answer = {0, true};
  EXPECT_TRUE(ToggleFrameCommand(montage, 2, true, true, ask));
  EXPECT_FALSE(montage.Visible(2));
  EXPECT_FALSE(montage.ShowInformation());
  EXPECT_TRUE(ToggleFrameCommand(montage, 2, true, false, ask));
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_TRUE(montage.Visible(2));

  EXPECT_EQ(PlainText(ToggleFrameMessage(false, true)),
            "Esta imagen será de nuevo visible en el vídeo cuando se termine el montaje.");
  EXPECT_EQ(ToggleFrameMessage(true, false).buttons.size(), 1u);
  // Without the option, no question at all.
  montage.SetShowInformation(true);
  EXPECT_TRUE(ToggleFrameCommand(montage, 1, false, true, ask));
  EXPECT_EQ(asked.size(), 2u);
}

}  // namespace
}  // namespace kinovia
