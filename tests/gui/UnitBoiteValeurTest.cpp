#include "app/UnitBoiteValeur.h"

#include <gtest/gtest.h>

#include "resources/TxtApp.h"
#include "resources/TxtNumbers.h"
#include "results/UnitMathUtils.h"

namespace kinovia {
namespace {

bool Says(const TMessage& m, TxtId id) {
  for (const auto& line : m.lines)
    if (line.text == Txt(id)) return true;
  return false;
}

enum class TOutcome { Accepted, NotANumber, OutOfRange };

TEST(BoiteValeur, AcceptsAndRefusesByKind) {
  SetDecimalSeparator(',');
  const TValeurContext context{50, 3, 4};
  struct Case {
    TSorteValeur kind;
    const char* typed;
    TOutcome outcome;
  } cases[] = {
      {TSorteValeur::tsAngle, "180", TOutcome::Accepted},
      {TSorteValeur::tsAngle, "-180", TOutcome::Accepted},
      {TSorteValeur::tsAngle, "181", TOutcome::OutOfRange},
      {TSorteValeur::tsAngle, "abc", TOutcome::NotANumber},
      {TSorteValeur::tsAngle, "12.5", TOutcome::Accepted},
      {TSorteValeur::tsLongueur, "0,001", TOutcome::OutOfRange},
      {TSorteValeur::tsLongueur, "0,0011", TOutcome::Accepted},
      {TSorteValeur::tsLongueur, "1.5e13", TOutcome::OutOfRange},
      {TSorteValeur::tsLongueur, "nan", TOutcome::NotANumber},
      {TSorteValeur::tsNbMqParImg, "33", TOutcome::OutOfRange},
      {TSorteValeur::tsNbMqParImg, "32", TOutcome::Accepted},
      {TSorteValeur::tsNbMqParImg, "2.5", TOutcome::NotANumber},
      {TSorteValeur::tsNbMqParImg, "0", TOutcome::OutOfRange},
      {TSorteValeur::tsNumImg, "50", TOutcome::Accepted},
      {TSorteValeur::tsNumImg, "51", TOutcome::OutOfRange},
      {TSorteValeur::tsNbImgStep, "49", TOutcome::Accepted},
      {TSorteValeur::tsNbImgStep, "50", TOutcome::OutOfRange},
      {TSorteValeur::tsNumOrdre, "4", TOutcome::OutOfRange},
      {TSorteValeur::tsLastImg, "5", TOutcome::OutOfRange},
      {TSorteValeur::tsLastImg, "6", TOutcome::Accepted},
      {TSorteValeur::tsDMax, "9", TOutcome::OutOfRange},
      {TSorteValeur::tsDMax, "100", TOutcome::Accepted},
      {TSorteValeur::tsCadence, "0,5", TOutcome::OutOfRange},
      {TSorteValeur::tsNbMqDrawn, "2147483647", TOutcome::Accepted},
      {TSorteValeur::tsNbMqDrawn, "99999999999", TOutcome::NotANumber},
  };
  for (const auto& c : cases) {
    const auto check = CheckValeur(MakeValeurField(c.kind, context), c.typed);
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(check.value.has_value(), c.outcome == TOutcome::Accepted);
    EXPECT_EQ(Says(check.refusal, txt::ValeurRangeRefused), c.outcome == TOutcome::OutOfRange);
    const bool notNumber = Says(check.refusal, txt::NumberRejectedInteger) ||
                           Says(check.refusal, txt::NumberRejectedReal);
    EXPECT_EQ(notNumber, c.outcome == TOutcome::NotANumber);
  }
  SetDecimalSeparator('.');
}

TEST(BoiteValeur, RangeRefusalQuotesTheTypedTextAndTheRange) {
  const auto field = MakeValeurField(TSorteValeur::tsNbMqParImg, {});
  const auto check = CheckValeur(field, "33");
  ASSERT_FALSE(check.value);
  EXPECT_EQ(check.refusal.icon, TMessageIcon::Information);
  EXPECT_EQ(PlainText(check.refusal), Txt(txt::NumberRejectedValue) + " 33\n\n" +
                                          Txt(txt::ValeurRangeRefused) + "\n\n1 <= número <= 32");
  EXPECT_EQ(field.prompt, Txt(txt::ValeurNbMqParImgPrompt) + " :");
}

TEST(BoiteValeur, RealKindsExplainTheNumberForm) {
  const auto check = CheckValeur(MakeValeurField(TSorteValeur::tsAngle, {}), "abc");
  EXPECT_EQ(check.refusal.icon, TMessageIcon::Warning);
  EXPECT_TRUE(Says(check.refusal, txt::NumberRejectedRealForm));
}

}  // namespace
}  // namespace kinovia
