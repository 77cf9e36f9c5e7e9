#include "gui/Modes.h"

#include <gtest/gtest.h>

#include "gui/ResultsCheck.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {
namespace {

TEST(ToolButtons, FollowTheModeAndTheTwoScalesOption) {
  using M = WorkingMode;
  struct Case {
    M mode;
    bool twoScales;
    ToolButtons expected;
  } cases[] = {
      // zoom pan ech echH echV mark depl eff orig sheet nom
      {M::FixedAxes, false, {true, true, true, false, false, true, true, true, true, false, true}},
      {M::FixedAxes, true, {true, true, false, true, true, true, true, true, true, false, true}},
      {M::Transparent,
       false,
       {true, true, true, false, false, false, true, true, false, true, true}},
      {M::Capture,
       false,
       {true, false, false, false, false, false, false, false, false, false, false}},
      {M::Tracking,
       true,
       {true, true, false, false, false, false, false, false, false, false, false}},
      {M::Montage,
       false,
       {true, true, false, false, false, false, false, false, false, false, false}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToolButtonsFor(c.mode, c.twoScales), c.expected) << int(c.mode) << c.twoScales;
}

TEST(ModeOffered, OptionalModesNeedTheirPermission) {
  ModePermissions none{false, false, false, false};
  for (auto mode :
       {WorkingMode::Montage, WorkingMode::Tracking, WorkingMode::Capture, WorkingMode::Studio})
    EXPECT_FALSE(ModeOffered(mode, none));
  EXPECT_TRUE(ModeOffered(WorkingMode::FixedAxes, none));
  EXPECT_TRUE(ModeOffered(WorkingMode::Transparent, none));
  EXPECT_TRUE(ModeOffered(WorkingMode::Studio, ModePermissions{}));
}

TEST(MenuState, ItemsFollowTheModeAndTheClip) {
  auto fixed = MenuStateFor({WorkingMode::FixedAxes, true, false, false});
  EXPECT_TRUE(fixed.angleVisible);
  EXPECT_FALSE(fixed.angleEnabled);  // no origin yet
  EXPECT_TRUE(fixed.scaleLength);
  EXPECT_FALSE(fixed.scaleLengthsHV);
  EXPECT_TRUE(fixed.objectMarks);
  auto capture = MenuStateFor({WorkingMode::Capture, false, false, false});
  EXPECT_FALSE(capture.guardarVisible);
  EXPECT_FALSE(capture.propertiesVisible);
  EXPECT_FALSE(capture.presentationEnabled);
  EXPECT_FALSE(capture.measuresEnabled);
  auto studio = MenuStateFor({WorkingMode::Studio, true, false, true});
  EXPECT_FALSE(studio.guardarVisible);
  EXPECT_TRUE(studio.contourVisible);
  EXPECT_FALSE(studio.zoneVisible);
  EXPECT_TRUE(studio.autoAdvance);
  EXPECT_FALSE(studio.marksPerFrame);
  auto sheet = MenuStateFor({WorkingMode::Transparent, true, true, true});
  EXPECT_FALSE(sheet.angleVisible);
  EXPECT_FALSE(sheet.objectMarks);
  EXPECT_TRUE(sheet.scaleLengthsHV);
  EXPECT_TRUE(sheet.hideImage);
  EXPECT_FALSE(MenuStateFor({WorkingMode::Tracking, false, true, false}).propertiesEnabled);
}

ResultsFacts Fixed(std::vector<int> counts, bool origin = true) {
  ResultsFacts f;
  f.scaleValid = true;
  f.marksPerObject = std::move(counts);
  f.originPlaced = origin;
  return f;
}

bool Says(const Message& m, const std::string& text) {
  for (const auto& line : m.lines)
    if (line.text == text) return true;
  return false;
}

TEST(ResultsChecks, StopOrAskInOrder) {
  struct Case {
    ResultsFacts facts;
    std::vector<ResultsStep> steps;
  } cases[] = {
      {Fixed({5, 5}), {}},
      {Fixed({4, 9}), {ResultsStep::AskContinue}},
      {Fixed({3}), {ResultsStep::AskContinue}},
      {Fixed({2}), {ResultsStep::Refuse}},
      {Fixed({9}, false), {ResultsStep::Refuse}},
      {Fixed({}), {ResultsStep::Refuse}},
      {ResultsFacts{}, {ResultsStep::Refuse}},  // no scale
      {[] {
         auto f = Fixed({5});
         f.adviseNaming = true;
         return f;
       }(),
       {ResultsStep::AdviseNaming}},
      {[] {
         auto f = Fixed({2});
         f.adviseNaming = true;
         return f;
       }(),
       {ResultsStep::Refuse}},
  };
  for (const auto& c : cases) {
    std::vector<ResultsStep> steps;
    for (const auto& check : ResultsChecks(c.facts)) steps.push_back(check.step);
    EXPECT_EQ(steps, c.steps);
  }
}

TEST(ResultsChecks, ThreeObjectsWithTooFewMarksAreNamedInTheRefusal) {
  const auto checks = ResultsChecks(Fixed({5, 2, 7}));
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_TRUE(
      Says(checks[0].message, "Ha elegido puntear simultáneamente las posiciones de 3 objetos."));
  EXPECT_TRUE(Says(checks[0].message, Txt(txt::ResultsNeedThreeMarks)));
  // One object: no line about several objects.
  const auto single = ResultsChecks(Fixed({1}));
  EXPECT_EQ(single[0].message.lines.front().text, Txt(txt::ResultsNeedThreeMarks));
}

TEST(ResultsChecks, TransparentCountsItsOwnMarks) {
  ResultsFacts f;
  f.mode = WorkingMode::Transparent;
  f.scaleValid = true;
  for (auto [marks, steps] : {std::pair{2, std::vector{ResultsStep::Refuse}},
                              std::pair{4, std::vector{ResultsStep::AskContinue}},
                              std::pair{5, std::vector<ResultsStep>{}}}) {
    f.transparentMarks = marks;
    std::vector<ResultsStep> got;
    for (const auto& check : ResultsChecks(f)) got.push_back(check.step);
    EXPECT_EQ(got, steps) << marks;
  }
}

TEST(ResultsChecks, QuestionOffersCancelFirst) {
  const auto checks = ResultsChecks(Fixed({4}));
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(checks[0].message.buttons, (std::vector{txt::ButtonCancelar, txt::ButtonContinuar}));
  EXPECT_EQ(PlainText(ResultsComputedMessage(12, 7)),
            Txt(txt::ResultsComputed) + "\nLa tabla de valores tiene 12 filas y 7 columnas.");
}

}  // namespace
}  // namespace kinovia
