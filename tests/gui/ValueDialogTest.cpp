#include "gui/ValueDialog.h"

#include <gtest/gtest.h>

#include "core/Numbers.h"
#include "resources/TxtApp.h"
#include "resources/TxtNumbers.h"

namespace kinovia {
namespace {

bool Says(const Message& m, TxtId id) {
  for (const auto& line : m.lines)
    if (line.text == Txt(id)) return true;
  return false;
}

enum class Outcome { Accepted, NotANumber, OutOfRange };

TEST(ValueDialog, AcceptsAndRefusesByKind) {
  SetDecimalSeparator(',');
  const ValueContext context{50, 3, 4};
  struct Case {
    ValueKind kind;
    const char* typed;
    Outcome outcome;
  } cases[] = {
      {ValueKind::Angle, "180", Outcome::Accepted},
      {ValueKind::Angle, "-180", Outcome::Accepted},
      {ValueKind::Angle, "181", Outcome::OutOfRange},
      {ValueKind::Angle, "abc", Outcome::NotANumber},
      {ValueKind::Angle, "12.5", Outcome::Accepted},
      {ValueKind::Length, "0,001", Outcome::OutOfRange},
      {ValueKind::Length, "0,0011", Outcome::Accepted},
      {ValueKind::Length, "1.5e13", Outcome::OutOfRange},
      {ValueKind::Length, "nan", Outcome::NotANumber},
      {ValueKind::MarksPerFrame, "33", Outcome::OutOfRange},
      {ValueKind::MarksPerFrame, "32", Outcome::Accepted},
      {ValueKind::MarksPerFrame, "2.5", Outcome::NotANumber},
      {ValueKind::MarksPerFrame, "0", Outcome::OutOfRange},
      {ValueKind::FrameNumber, "50", Outcome::Accepted},
      {ValueKind::FrameNumber, "51", Outcome::OutOfRange},
      {ValueKind::FramesBetweenMarks, "49", Outcome::Accepted},
      {ValueKind::FramesBetweenMarks, "50", Outcome::OutOfRange},
      {ValueKind::ObjectNumber, "4", Outcome::OutOfRange},
      {ValueKind::LastFrame, "5", Outcome::OutOfRange},
      {ValueKind::LastFrame, "6", Outcome::Accepted},
      {ValueKind::MaxDistance, "9", Outcome::OutOfRange},
      {ValueKind::MaxDistance, "100", Outcome::Accepted},
      {ValueKind::FrameRate, "0,5", Outcome::OutOfRange},
      {ValueKind::MarksDrawn, "2147483647", Outcome::Accepted},
      {ValueKind::MarksDrawn, "99999999999", Outcome::NotANumber},
  };
  for (const auto& c : cases) {
    const auto check = CheckValue(MakeValueField(c.kind, context), c.typed);
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(check.value.has_value(), c.outcome == Outcome::Accepted);
    EXPECT_EQ(Says(check.refusal, txt::ValeurRangeRefused), c.outcome == Outcome::OutOfRange);
    const bool notNumber = Says(check.refusal, txt::NumberRejectedInteger) ||
                           Says(check.refusal, txt::NumberRejectedReal);
    EXPECT_EQ(notNumber, c.outcome == Outcome::NotANumber);
  }
  SetDecimalSeparator('.');
}

TEST(ValueDialog, RangeRefusalQuotesTheTypedTextAndTheRange) {
  const auto field = MakeValueField(ValueKind::MarksPerFrame, {});
  const auto check = CheckValue(field, "33");
  ASSERT_FALSE(check.value);
  EXPECT_EQ(check.refusal.icon, MessageIcon::Information);
  EXPECT_EQ(PlainText(check.refusal), Txt(txt::NumberRejectedValue) + " 33\n\n" +
                                          Txt(txt::ValeurRangeRefused) + "\n\n1 <= número <= 32");
  EXPECT_EQ(field.prompt, Txt(txt::ValeurNbMqParImgPrompt) + " :");
}

TEST(ValueDialog, RealKindsExplainTheNumberForm) {
  const auto check = CheckValue(MakeValueField(ValueKind::Angle, {}), "abc");
  EXPECT_EQ(check.refusal.icon, MessageIcon::Warning);
  EXPECT_TRUE(Says(check.refusal, txt::NumberRejectedRealForm));
}

}  // namespace
}  // namespace kinovia
