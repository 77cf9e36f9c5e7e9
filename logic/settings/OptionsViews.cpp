#include "logic/settings/OptionsViews.h"

#include <iterator>

namespace kinovia {

SessionOptions SessionOptionsOf(const Options& o) {
  SessionOptions s;
  s.penSize = static_cast<std::uint8_t>(o.Value(IntOption::PenSize));
  s.numbering = static_cast<std::uint8_t>(o.Value(IntOption::Numerotation));
  s.numberingSheet = static_cast<std::uint8_t>(o.Value(IntOption::NumerotationTsp));
  s.twoScales = o.Flag(BoolOption::HorizAndVertScale);
  s.startByZero = o.Flag(BoolOption::StartByZero);
  return s;
}

TableOptions TableOptionsOf(const Options& o) {
  return {o.Flag(BoolOption::StartByZero), o.Flag(BoolOption::HideEdgeSpeed),
          o.Flag(BoolOption::HideEdgeAcceleration)};
}

FormulaSettings FormulaSettingsOf(const Options& o) {
  return {o.Flag(BoolOption::AngleRadian), o.Flag(BoolOption::StartByZero) ? 0 : 1};
}

DerivationFlags DerivationFlagsOf(const Options& o) {
  return DerivationFlags()
      .Set(DerivationFlag::SmoothSpeed, o.Flag(BoolOption::SmoothSpeed))
      .Set(DerivationFlag::SmoothAcceleration, o.Flag(BoolOption::SmoothAcceleration));
}

QuantitySet HiddenFamiliesOf(const Options& o) {
  QuantitySet hidden;
  if (!o.Flag(BoolOption::GridShowCoordinates)) hidden |= kFamilyPositions;
  if (!o.Flag(BoolOption::Speed) || !o.Flag(BoolOption::GridShowSpeed)) hidden |= kFamilySpeeds;
  if (!o.Flag(BoolOption::Acceleration) || !o.Flag(BoolOption::GridShowAcceleration))
    hidden |= kFamilyAccelerations;
  if (!o.Flag(BoolOption::PolarQuantities) || !o.Flag(BoolOption::GridShowPolarQuantities))
    hidden |= kFamilyPolar;
  return hidden;
}

bool ResultsPageOffered(const Options& o, int button) {
  constexpr BoolOption kShown[] = {BoolOption::GridShowItem, BoolOption::TimeShowItem,
                                   BoolOption::TrajectoryShowItem, BoolOption::VectorShowItem,
                                   BoolOption::FormulaShowItem};
  return button < 0 || button >= int(std::size(kShown)) || o.Flag(kShown[button]);
}

}  // namespace kinovia
