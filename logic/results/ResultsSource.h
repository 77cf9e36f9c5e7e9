#pragma once
// What the results computation reads from the session: its marks and its calibration.
#include <utility>

#include "logic/results/ResultsComputation.h"
#include "logic/results/ResultsTable.h"

namespace kinovia {

class Session;

// The marks and calibration of the session's active frame of reference.
std::pair<MarksData, Calibration> ResultsInputOf(const Session& data);

// Computes the session's table as the results show it: without the `hidden` families, and without
// the derived families when they cannot be derived. False, with nothing computed, when the scale
// is missing.
bool PrepareTable(const Session& data, QuantitySet hidden, DerivationFlags derivationFlags,
                  FrameResults& frameResults, TableLayout& grid);

}  // namespace kinovia
