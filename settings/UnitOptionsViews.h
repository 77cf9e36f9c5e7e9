#pragma once
// What the session and the results table read of the options, in their own terms.
#include "results/UnitResGrid.h"
#include "session/UnitData.h"
#include "settings/UnitOptions.h"

namespace kinovia {

TSessionOptions SessionOptionsOf(const TOptions& options);
TTableOptions TableOptionsOf(const TOptions& options);
// Bit 0: smoothed speeds, bit 1: smoothed accelerations.
int DerivationFlagsOf(const TOptions& options);
// The families of columns the options keep out of the results table.
std::uint32_t HiddenFamiliesOf(const TOptions& options);

}  // namespace kinovia
