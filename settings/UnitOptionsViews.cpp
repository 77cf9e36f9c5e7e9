#include "settings/UnitOptionsViews.h"

namespace kinovia {

TSessionOptions SessionOptionsOf(const TOptions& o) {
  TSessionOptions s;
  s.penSize = static_cast<std::uint8_t>(o.Value(TIntPref::PenSize));
  s.numbering = static_cast<std::uint8_t>(o.Value(TIntPref::Numerotation));
  s.numberingTsp = static_cast<std::uint8_t>(o.Value(TIntPref::NumerotationTsp));
  s.twoScales = o.Flag(TPref::HorizAndVertScale);
  s.startByZero = o.Flag(TPref::StartByZero);
  return s;
}

TTableOptions TableOptionsOf(const TOptions& o) {
  return {o.Flag(TPref::StartByZero), o.Flag(TPref::HideEdgeSpeed),
          o.Flag(TPref::HideEdgeAcceleration)};
}

int DerivationFlagsOf(const TOptions& o) {
  return (o.Flag(TPref::SmoothSpeed) ? 1 : 0) | (o.Flag(TPref::SmoothAcceleration) ? 2 : 0);
}

std::uint32_t HiddenFamiliesOf(const TOptions& o) {
  std::uint32_t hidden = 0;
  if (!o.Flag(TPref::GridShowCoordinates)) hidden |= kFamilyPositions;
  if (!o.Flag(TPref::Speed) || !o.Flag(TPref::GridShowSpeed)) hidden |= kFamilySpeeds;
  if (!o.Flag(TPref::Acceleration) || !o.Flag(TPref::GridShowAcceleration))
    hidden |= kFamilyAccelerations;
  if (!o.Flag(TPref::PolarQuantities) || !o.Flag(TPref::GridShowPolarQuantities))
    hidden |= kFamilyPolar;
  return hidden;
}

}  // namespace kinovia
