#include "logic/results/Quantities.h"

#include <array>

#include "resources/TxtTable.h"

namespace kinovia {

const QuantityInfo* QuantityInfoOf(int kind) {
  static const std::array<QuantityInfo, 14> infos = {{
      {txt::SymbolTime, txt::UnitSecond, txt::QuantityTime, 0xFFFFFF},
      {txt::SymbolAbscissa, txt::UnitMetre, txt::QuantityAbscissa, 0xF8F8FF},
      {txt::SymbolOrdinate, txt::UnitMetre, txt::QuantityOrdinate, 0xF8F8FF},
      {txt::SymbolSpeedX, txt::UnitMetrePerSecond, txt::QuantitySpeedX, 0xFFFAFA},
      {txt::SymbolSpeedY, txt::UnitMetrePerSecond, txt::QuantitySpeedY, 0xFFFAFA},
      {txt::SymbolSpeed, txt::UnitMetrePerSecond, txt::QuantitySpeed, 0xFFFAFA},
      {txt::SymbolAccelerationX, txt::UnitMetrePerSecondSquared, txt::QuantityAccelerationX,
       0xFFFAF0},
      {txt::SymbolAccelerationY, txt::UnitMetrePerSecondSquared, txt::QuantityAccelerationY,
       0xFFFAF0},
      {txt::SymbolAcceleration, txt::UnitMetrePerSecondSquared, txt::QuantityAcceleration,
       0xFFFAF0},
      {},
      {},
      {txt::SymbolAngle, txt::UnitRadian, txt::QuantityAngle, 0xF5F5F5},
      {txt::SymbolRadius, txt::UnitMetre, txt::QuantityRadius, 0xF5F5F5},
      {txt::SymbolAngularSpeed, txt::UnitRadianPerSecond, txt::QuantityAngularSpeed, 0xF5F5F5},
  }};
  if (kind < 0 || kind >= static_cast<int>(infos.size()) || kind == 9 || kind == 10) return nullptr;
  return &infos[static_cast<std::size_t>(kind)];
}

}  // namespace kinovia
