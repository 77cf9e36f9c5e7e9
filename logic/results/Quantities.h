#pragma once
// The physical quantities of the results: their codes, symbols, units, descriptions and colours.
#include <cstdint>

#include "core/Enums.h"
#include "core/StringTable.h"

namespace kinovia {

// The quantities by the codes the rest of the program names column families with; 9 and 10 are
// not used.
enum class QuantityKind : std::uint8_t {
  Time = 0,
  X = 1,
  Y = 2,
  Vx = 3,
  Vy = 4,
  V = 5,
  Ax = 6,
  Ay = 7,
  A = 8,
  Angle = 11,
  Radius = 12,
  AngularSpeed = 13,
};

// A set of quantities; its Bits() are the families' old masks (bit k for code k).
using QuantitySet = EnumSet<QuantityKind>;

inline constexpr QuantitySet kFamilyPositions{QuantityKind::X, QuantityKind::Y};
inline constexpr QuantitySet kFamilySpeeds{QuantityKind::Vx, QuantityKind::Vy, QuantityKind::V};
inline constexpr QuantitySet kFamilyAccelerations{QuantityKind::Ax, QuantityKind::Ay,
                                                  QuantityKind::A};
inline constexpr QuantitySet kFamilyPolar{QuantityKind::Angle, QuantityKind::Radius,
                                          QuantityKind::AngularSpeed};

struct QuantityInfo {
  TxtId symbol;
  TxtId unit;
  TxtId description;
  std::uint32_t colour;  // 0x00RRGGBB as the table paints it
};

// The description of a kind; nullptr for a code no quantity has.
const QuantityInfo* QuantityInfoOf(QuantityKind kind);

}  // namespace kinovia
