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
    {txt::GraphSymbolX, kQuantityX, kPlain},
    {txt::GraphSymbolY, kQuantityY, kPlain},
    {txt::SymbolSpeedX, kQuantityVx, kPlain},
    {txt::SymbolSpeedY, kQuantityVy, kPlain},
    {txt::SymbolSpeed, kQuantityV, kFromZero},
    {txt::SymbolAccelerationX, kQuantityAx, kPlain},
    {txt::SymbolAccelerationY, kQuantityAy, kPlain},
    {txt::SymbolAcceleration, kQuantityA, kFromZero},
    {txt::SymbolAngle, kQuantityAngle, kZeroVisible},
    {txt::SymbolRadius, kQuantityRadius, kFromZero},
    {txt::SymbolAngularSpeed, kQuantityAngularSpeed, kZeroVisible},
};

}  // namespace

std::span<const TimeQuantity> TimeQuantities() { return kQuantities; }

int TimeQuantityIndex(std::string_view symbol) {
  for (std::size_t i = 0; i < std::size(kQuantities); ++i)
    if (Txt(kQuantities[i].symbol) == symbol) return int(i);
  return -1;
}

}  // namespace kinovia
