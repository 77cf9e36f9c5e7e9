#pragma once
// What the results computation reads from the session: its marks and its calibration.
#include <utility>

#include "core/Result.h"
#include "logic/formulas/UserFormulas.h"
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
  bool derived = false;  // speeds, accelerations and polar quantities could be computed
};

// The columns of a computed table as the user's formulas read them, each under its symbol; a
// derived quantity is undefined everywhere when `derived` is false.
std::vector<FormulaColumn> FormulaColumnsOf(const FrameResults& results, bool derived);

// Computes the session's table as the results show it: without the `hidden` families, and without
// the derived families when they cannot be derived; the user's variables follow, evaluated by
// `formulas` (kept from one table to the next, so that only what changed is evaluated again).
// Refused, with the message that asks for the scale, when the scale is missing.
Result<PreparedTable> PrepareTable(const Session& data, QuantitySet hidden, DerivationFlags flags,
                                   FormulaSettings settings, UserFormulas& formulas);

}  // namespace kinovia
