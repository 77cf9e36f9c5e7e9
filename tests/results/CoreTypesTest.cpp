// The small types the layers share: sets of enumerators.
#include <gtest/gtest.h>

#include "core/Enums.h"
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

}  // namespace
}  // namespace kinovia
