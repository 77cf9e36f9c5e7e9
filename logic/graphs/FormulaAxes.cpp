#include "logic/graphs/FormulaAxes.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "logic/results/ResultsSource.h"
#include "logic/results/ResultsTable.h"
#include "resources/TxtGraphs.h"

namespace kinovia {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char p, char q) {
    return std::tolower(static_cast<unsigned char>(p)) ==
           std::tolower(static_cast<unsigned char>(q));
  });
}

bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

std::string UnitText(const std::string& unit) {
  return unit.empty() ? Txt(txt::GraphNoUnit) : unit;
}

}  // namespace

std::vector<FormulaAxis> FormulaAxes(const FrameResults& results, bool derived,
                                     const std::vector<std::string>& names) {
  std::vector<FormulaAxis> axes;
  std::vector<FormulaColumn> columns = FormulaColumnsOf(results, derived);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const ColumnInfo info = ColumnInfoFor(int(c), results.ObjectCount(), names);
    const bool measured = info.kind == QuantityKind::Time || kFamilyPositions.Contains(info.kind);
    if (!measured && !derived) continue;
    axes.push_back({std::move(columns[c].symbol), info.unit, info.description, false,
                    info.kind == QuantityKind::Time, std::move(columns[c].values)});
  }
  for (const UserColumn& column : results.UserColumns())
    axes.push_back({column.symbol, column.unit, column.description, true, false, column.values});
  return axes;
}

int FormulaAxisIndex(const std::vector<FormulaAxis>& axes, std::string_view symbol) {
  for (std::size_t i = 0; i < axes.size(); ++i)
    if (axes[i].symbol == symbol) return int(i);
  for (std::size_t i = 0; i < axes.size(); ++i)
    if (SameIgnoringCase(axes[i].symbol, symbol)) return int(i);
  return -1;
}

std::vector<GraphPoint> FormulaSeries(const FormulaAxis& abscissa, const FormulaAxis& ordinate,
                                      bool numberFromZero) {
  std::vector<GraphPoint> points;
  const std::size_t rows = std::min(abscissa.values.size(), ordinate.values.size());
  for (std::size_t i = 0; i < rows; ++i)
    if (std::isfinite(abscissa.values[i]) && std::isfinite(ordinate.values[i]))
      points.push_back({abscissa.values[i], ordinate.values[i], int(i) + (numberFromZero ? 0 : 1)});
  return points;
}

FormulaTitles FormulaPageTitles(const std::vector<FormulaAxis>& axes,
                                const std::vector<int>& ordinates, int abscissa) {
  FormulaTitles titles;
  const auto described = [](const FormulaAxis& axis) {
    const std::string unit = "(" + UnitText(axis.unit) + ")";
    return axis.description.empty() ? unit : axis.description + " " + unit;
  };
  if (abscissa >= 0 && abscissa < int(axes.size())) {
    const FormulaAxis& x = axes[std::size_t(abscissa)];
    titles.x = {x.symbol, described(x)};
  }
  if (ordinates.size() == 1) {
    const FormulaAxis& y = axes[std::size_t(ordinates.front())];
    titles.y = {y.symbol, described(y)};
  } else if (ordinates.size() > 1) {
    const std::string& unit = axes[std::size_t(ordinates.front())].unit;
    const bool same = std::all_of(ordinates.begin(), ordinates.end(),
                                  [&](int o) { return axes[std::size_t(o)].unit == unit; });
    titles.y = {Txt(txt::GraphSeveralCurves),
                "(" + (same ? UnitText(unit) : Txt(txt::GraphUnitProblem)) + ")"};
  }
  return titles;
}

std::pair<AxisFraming, AxisFraming> FormulaFraming(bool abscissaIsTime, bool zeroOnAbscissa,
                                                   bool zeroOnOrdinate) {
  AxisFraming x;
  x.startAtZero = abscissaIsTime;
  x.zeroVisible = !abscissaIsTime && zeroOnAbscissa;
  AxisFraming y;
  y.zeroVisible = zeroOnOrdinate;
  return {x, y};
}

bool UserColumnsDiffer(const std::vector<UserColumn>& a, const std::vector<UserColumn>& b) {
  return !std::equal(
      a.begin(), a.end(), b.begin(), b.end(), [](const UserColumn& p, const UserColumn& q) {
        return p.symbol == q.symbol && p.unit == q.unit && p.description == q.description &&
               std::equal(p.values.begin(), p.values.end(), q.values.begin(), q.values.end(),
                          SameValue);
      });
}

}  // namespace kinovia
