// The small types the layers share: sets of enumerators and the result that carries a refusal.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <variant>

#include "core/Enums.h"
#include "core/Result.h"
#include "logic/results/Derivation.h"
#include "logic/results/Quantities.h"

namespace kinovia {
namespace {

TEST(EnumSet, FamiliesKeepTheMasksOfTheirCodes) {
  const struct {
    const char* what;
    QuantitySet family;
    std::uint32_t bits;
  } cases[] = {
      {"positions", kFamilyPositions, 6},
      {"speeds", kFamilySpeeds, 56},
      {"accelerations", kFamilyAccelerations, 448},
      {"polar", kFamilyPolar, 14336},
      {"derived", kFamilySpeeds | kFamilyAccelerations | kFamilyPolar, 56 + 448 + 14336},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.family.Bits(), c.bits) << c.what;
    EXPECT_EQ(QuantitySet::FromBits(c.bits), c.family) << c.what;
  }
  EXPECT_TRUE(kFamilySpeeds.Contains(QuantityKind::V));
  EXPECT_FALSE(kFamilySpeeds.Contains(QuantityKind::Ax));
  EXPECT_FALSE(kFamilyPolar.Contains(QuantityKind::Time));
}

TEST(EnumSet, SettingAndClearingTouchOnlyTheirMember) {
  DerivationFlags flags;
  EXPECT_TRUE(flags.Empty());
  flags.Set(DerivationFlag::SmoothAcceleration);
  EXPECT_EQ(flags.Bits(), 2u);
  flags.Set(DerivationFlag::SmoothSpeed).Set(DerivationFlag::SmoothAcceleration, false);
  EXPECT_EQ(flags.Bits(), 1u);
  EXPECT_TRUE(flags.Contains(DerivationFlag::SmoothSpeed));
  EXPECT_FALSE(flags.Contains(DerivationFlag::SmoothAcceleration));
}

TEST(EnumSet, AnEnumeratorBeyondTheMaskBelongsToNoSet) {
  enum class Wide : unsigned { Low = 1, High = 40 };
  EnumSet<Wide> set{Wide::Low, Wide::High};
  EXPECT_EQ(set.Bits(), 2u);
  EXPECT_FALSE(set.Contains(Wide::High));
  set.Set(Wide::High, false);
  EXPECT_TRUE(set.Contains(Wide::Low));
}

Message Refusal(const char* text) {
  Message message{MessageIcon::Warning, {}, {}};
  return message.Line(text);
}

TEST(Result, HoldsEitherTheValueOrTheRefusal) {
  Result<int> value = 7;
  ASSERT_TRUE(value.Ok());
  EXPECT_EQ(value.Value(), 7);
  EXPECT_THROW((void)value.Failure(), std::bad_variant_access);

  const Result<int> refused = Refusal("no");
  ASSERT_FALSE(refused.Ok());
  EXPECT_EQ(PlainText(refused.Failure()), "no");
  EXPECT_EQ(refused.Failure().icon, MessageIcon::Warning);
  EXPECT_THROW((void)refused.Value(), std::bad_variant_access);
}

TEST(Result, AValueThatCannotBeCopiedIsMovedOut) {
  Result<std::unique_ptr<int>> made = std::make_unique<int>(3);
  ASSERT_TRUE(made);
  EXPECT_EQ(*made.Value(), 3);
  const std::unique_ptr<int> taken = std::move(made).Value();
  EXPECT_EQ(*taken, 3);
}

TEST(Result, AStepWithoutValueSucceedsUnlessRefused) {
  const Result<void> done;
  EXPECT_TRUE(done.Ok());
  EXPECT_THROW((void)done.Failure(), std::bad_optional_access);
  const Result<void> refused = Refusal("full disk");
  ASSERT_FALSE(refused);
  EXPECT_EQ(PlainText(refused.Failure()), "full disk");
}

}  // namespace
}  // namespace kinovia
