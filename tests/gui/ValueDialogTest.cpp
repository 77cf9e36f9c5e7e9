#include "gui/ValueDialog.h"

#include <gtest/gtest.h>

#include "resources/TxtApp.h"
#include "resources/TxtNumbers.h"
#include "core/Numbers.h"

namespace kinovia {
namespace {

bool Says(const Message& m, TxtId id) {
  for (const auto& line : m.lines)
    if (line.text == Txt(id)) return true;
  return false;
}

enum class Outcome { Accepted, NotANumber, OutOfRange };

TEST(BoiteValeur, AcceptsAndRefusesByKind) {
  SetDecimalSeparator(',');
  const ValueContext context{50, 3, 4};
  struct Case {
    ValueKind kind;
    const char* typed;
    Outcome outcome;
  } cases[] = {
      {ValueKind::tsAngle, "180", Outcome::Accepted},
      {ValueKind::tsAngle, "-180", Outcome::Accepted},
      {ValueKind::tsAngle, "181", Outcome::OutOfRange},
      {ValueKind::tsAngle, "abc", Outcome::NotANumber},
      {ValueKind::tsAngle, "12.5", Outcome::Accepted},
      {ValueKind::tsLongueur, "0,001", Outcome::OutOfRange},
      {ValueKind::tsLongueur, "0,0011", Outcome::Accepted},
      {ValueKind::tsLongueur, "1.5e13", Outcome::OutOfRange},
      {ValueKind::tsLongueur, "nan", Outcome::NotANumber},
      {ValueKind::tsNbMqParImg, "33", Outcome::OutOfRange},
      {ValueKind::tsNbMqParImg, "32", Outcome::Accepted},
      {ValueKind::tsNbMqParImg, "2.5", Outcome::NotANumber},
      {ValueKind::tsNbMqParImg, "0", Outcome::OutOfRange},
      {ValueKind::tsNumImg, "50", Outcome::Accepted},
      {ValueKind::tsNumImg, "51", Outcome::OutOfRange},
      {ValueKind::tsNbImgStep, "49", Outcome::Accepted},
      {ValueKind::tsNbImgStep, "50", Outcome::OutOfRange},
      {ValueKind::tsNumOrdre, "4", Outcome::OutOfRange},
      {ValueKind::tsLastImg, "5", Outcome::OutOfRange},
      {ValueKind::tsLastImg, "6", Outcome::Accepted},
      {ValueKind::tsDMax, "9", Outcome::OutOfRange},
      {ValueKind::tsDMax, "100", Outcome::Accepted},
      {ValueKind::tsCadence, "0,5", Outcome::OutOfRange},
      {ValueKind::tsNbMqDrawn, "2147483647", Outcome::Accepted},
      {ValueKind::tsNbMqDrawn, "99999999999", Outcome::NotANumber},
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

TEST(BoiteValeur, RangeRefusalQuotesTheTypedTextAndTheRange) {
  const auto field = MakeValueField(ValueKind::tsNbMqParImg, {});
  const auto check = CheckValue(field, "33");
  ASSERT_FALSE(check.value);
  EXPECT_EQ(check.refusal.icon, MessageIcon::Information);
  EXPECT_EQ(PlainText(check.refusal), Txt(txt::NumberRejectedValue) + " 33\n\n" +
                                          Txt(txt::ValeurRangeRefused) + "\n\n1 <= número <= 32");
  EXPECT_EQ(field.prompt, Txt(txt::ValeurNbMqParImgPrompt) + " :");
}

TEST(BoiteValeur, RealKindsExplainTheNumberForm) {
  const auto check = CheckValue(MakeValueField(ValueKind::tsAngle, {}), "abc");
  EXPECT_EQ(check.refusal.icon, MessageIcon::Warning);
  EXPECT_TRUE(Says(check.refusal, txt::NumberRejectedRealForm));
}

}  // namespace
}  // namespace kinovia
