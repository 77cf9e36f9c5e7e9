#pragma once
// What the results computation reads from the session: its marks and its calibration.
#include <utility>

#include "results/UnitResultats.h"

namespace kinovia {

class TData;

// The marks and calibration of the session's active frame of reference.
std::pair<TMarksData, TCalibration> ResultsInputOf(const TData& data);

}  // namespace kinovia
