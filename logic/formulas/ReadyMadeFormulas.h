#pragma once
// Definitions a pupil often needs, written for one object: its kinetic, potential and mechanical
// energy and its momentum, with the mass and g as constants to adjust.
#include <string>

#include "logic/formulas/FormulaSet.h"

namespace kinovia {

enum class ReadyMade { KineticEnergy, PotentialEnergy, MechanicalEnergy, Momentum };

// Adds the variable of `what` for the object whose table symbols end with `suffix` ("" when the
// table has one object, "2" for the second...), with the variables and constants it reads when
// the set lacks them; a name the set already has is kept as it is. `yUp`: the session's vertical
// axis points upwards, so that the potential energy grows with the height.
void AddReadyMade(FormulaSet& set, ReadyMade what, const std::string& suffix, bool yUp);

}  // namespace kinovia
