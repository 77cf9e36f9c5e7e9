#pragma once
// What the results computation reads from the session: its marks and its calibration.
#include <utility>

#include "results/UnitResGrid.h"
#include "results/UnitResultats.h"

namespace kinovia {

class TData;

// The marks and calibration of the session's active frame of reference.
std::pair<TMarksData, TCalibration> ResultsInputOf(const TData& data);

// Computes the session's table as the results show it: without the `hidden` families, and without
// the derived families when they cannot be derived. False, with nothing computed, when the scale
// is missing.
bool PrepareTable(const TData& data, std::uint32_t hidden, int derivationFlags, TCalcul& calcul,
                  TGrid& grid);

}  // namespace kinovia
