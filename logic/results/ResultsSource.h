#pragma once
// What the results computation reads from the session: its marks and its calibration.
#include <utility>

#include "core/Result.h"
#include "logic/results/ResultsComputation.h"
#include "logic/results/ResultsTable.h"

namespace kinovia {

class Session;

// The marks and calibration of the session's active frame of reference.
std::pair<MarksData, Calibration> ResultsInputOf(const Session& data);

// A table ready to show or export: the computed frame of reference and its columns.
struct PreparedTable {
  FrameResults results;
  TableLayout layout;
};

// Computes the session's table as the results show it: without the `hidden` families, and without
// the derived families when they cannot be derived. Refused, with the message that asks for the
// scale, when the scale is missing.
Result<PreparedTable> PrepareTable(const Session& data, QuantitySet hidden, DerivationFlags flags);

}  // namespace kinovia
