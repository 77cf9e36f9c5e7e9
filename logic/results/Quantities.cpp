#include "logic/results/Quantities.h"

#include <array>

#include "resources/TxtTable.h"

namespace kinovia {

const QuantityInfo* QuantityInfoOf(QuantityKind kind) {
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
  const std::size_t code = Underlying(kind);
  if (code >= infos.size() || infos[code].symbol.name.empty()) return nullptr;
  return &infos[code];
}

}  // namespace kinovia
