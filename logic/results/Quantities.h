#pragma once
// The physical quantities of the results: their codes, symbols, units, descriptions and colours.
#include <cstdint>

#include "core/StringTable.h"

namespace kinovia {

// Codes as the rest of the program names column families; 9 and 10 are not used.
enum QuantityKind : int {
  kQuantityTime = 0,
  kQuantityX = 1,
  kQuantityY = 2,
  kQuantityVx = 3,
  kQuantityVy = 4,
  kQuantityV = 5,
  kQuantityAx = 6,
  kQuantityAy = 7,
  kQuantityA = 8,
  kQuantityAngle = 11,
  kQuantityRadius = 12,
  kQuantityAngularSpeed = 13,
};

// Families as sets of codes (bit k for code k).
inline constexpr std::uint32_t kFamilyPositions = 6;
inline constexpr std::uint32_t kFamilySpeeds = 56;
inline constexpr std::uint32_t kFamilyAccelerations = 448;
inline constexpr std::uint32_t kFamilyPolar = 14336;

struct QuantityInfo {
  TxtId symbol;
  TxtId unit;
  TxtId description;
  std::uint32_t colour;  // 0x00RRGGBB as the table paints it
};

// The description of a kind; nullptr for an unknown code.
const QuantityInfo* QuantityInfoOf(int kind);

}  // namespace kinovia
