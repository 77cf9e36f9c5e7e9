#include "logic/graphs/TimeQuantities.h"

#include "logic/results/Quantities.h"
#include "resources/TxtGraphs.h"
#include "resources/TxtTable.h"

namespace kinovia {
namespace {

constexpr AxisFraming kPlain{};
constexpr AxisFraming kZeroVisible{true, false};
constexpr AxisFraming kFromZero{false, true};

constexpr TimeQuantity kQuantities[] = {
    {txt::GraphSymbolX, QuantityKind::X, kPlain},
    {txt::GraphSymbolY, QuantityKind::Y, kPlain},
    {txt::SymbolSpeedX, QuantityKind::Vx, kPlain},
    {txt::SymbolSpeedY, QuantityKind::Vy, kPlain},
    {txt::SymbolSpeed, QuantityKind::V, kFromZero},
    {txt::SymbolAccelerationX, QuantityKind::Ax, kPlain},
    {txt::SymbolAccelerationY, QuantityKind::Ay, kPlain},
    {txt::SymbolAcceleration, QuantityKind::A, kFromZero},
    {txt::SymbolAngle, QuantityKind::Angle, kZeroVisible},
    {txt::SymbolRadius, QuantityKind::Radius, kFromZero},
    {txt::SymbolAngularSpeed, QuantityKind::AngularSpeed, kZeroVisible},
};

}  // namespace

std::span<const TimeQuantity> TimeQuantities() { return kQuantities; }

int TimeQuantityIndex(std::string_view symbol) {
  for (std::size_t i = 0; i < std::size(kQuantities); ++i)
    if (Txt(kQuantities[i].symbol) == symbol) return int(i);
  return -1;
}

}  // namespace kinovia
