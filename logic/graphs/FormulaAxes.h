#pragma once
// What the formula page plots: any column of the results table or user variable against another,
// with titles made of their names and units.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "logic/graphs/GraphFraming.h"
#include "logic/results/ResultsComputation.h"

namespace kinovia {

// One entry of the page's choice lists: a column of the table or a user variable.
struct FormulaAxis {
  std::string symbol, unit, description;
  bool user = false;
  bool time = false;
  std::vector<double> values;  // one a row, the undefined value where it has none
};

// The table's time and positions, its derived quantities when they could be derived, then the
// user's variables; `names` are the objects' names the descriptions use.
std::vector<FormulaAxis> FormulaAxes(const FrameResults& results, bool derived,
                                     const std::vector<std::string>& names);

// The entry of this symbol: the exact spelling first, else the first that matches without
// regard to case; -1 when none.
int FormulaAxisIndex(const std::vector<FormulaAxis>& axes, std::string_view symbol);

// The rows where both the abscissa and the ordinate have a value, numbered as the table numbers
// its rows.
std::vector<GraphPoint> FormulaSeries(const FormulaAxis& abscissa, const FormulaAxis& ordinate,
                                      bool numberFromZero);

// The two lines of each axis title. One ordinate: its symbol, then its description and unit;
// several: a fixed title and their common unit, or the unit problem when they differ.
struct FormulaTitles {
  std::pair<std::string, std::string> x, y;
};
FormulaTitles FormulaPageTitles(const std::vector<FormulaAxis>& axes,
                                const std::vector<int>& ordinates, int abscissa);

// How the page frames its axes: time starts at zero; another abscissa, and the ordinate, show
// zero when the display asks for it.
std::pair<AxisFraming, AxisFraming> FormulaFraming(bool abscissaIsTime, bool zeroOnAbscissa,
                                                   bool zeroOnOrdinate);

// Whether the user's columns of two tables differ (names, units or values), undefined values
// being equal to one another.
bool UserColumnsDiffer(const std::vector<UserColumn>& a, const std::vector<UserColumn>& b);

}  // namespace kinovia
