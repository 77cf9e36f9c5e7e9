#pragma once
// What the session and the results table read of the options, in their own terms.
#include "logic/formulas/UserFormulas.h"
#include "logic/results/ResultsTable.h"
#include "logic/session/Session.h"
#include "logic/settings/Options.h"

namespace kinovia {

SessionOptions SessionOptionsOf(const Options& options);
TableOptions TableOptionsOf(const Options& options);
// The angle unit of the user formulas and the number of the table's first row.
FormulaSettings FormulaSettingsOf(const Options& options);
DerivationFlags DerivationFlagsOf(const Options& options);
// The families of columns the options keep out of the results table.
QuantitySet HiddenFamiliesOf(const Options& options);
// Whether the tool bars offer a results page; `button` counts in the order of the results
// buttons: table, time, trajectory, vectors, formulas.
bool ResultsPageOffered(const Options& options, int button);

}  // namespace kinovia
