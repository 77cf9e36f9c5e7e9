#include "logic/results/ResultsSource.h"

#include "core/Numbers.h"
#include "logic/session/Session.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

std::pair<MarksData, Calibration> ResultsInputOf(const Session& data) {
  PointedData pointed = data.GetData();
  const MetricConversion conversion = data.Conversion();
  MarksData marks{std::move(pointed.time), std::move(pointed.frame), std::move(pointed.x),
                  std::move(pointed.y)};
  const Calibration calibration{conversion.factors.sx, conversion.factors.sy, conversion.theta,
                                conversion.directX,    conversion.directY,    data.Duration()};
  return {std::move(marks), calibration};
}

std::vector<FormulaColumn> FormulaColumnsOf(const FrameResults& results, bool derived) {
  const int objects = results.ObjectCount();
  const int rows = results.RowCount();
  std::vector<FormulaColumn> columns;
  for (int c = 0; c <= 11 * objects; ++c) {
    const ColumnInfo info = ColumnInfoFor(c, objects, {});
    FormulaColumn& column = columns.emplace_back();
    column.symbol = info.symbol;
    column.values.assign(static_cast<std::size_t>(rows), kUndefined);
    const bool known =
        info.kind == QuantityKind::Time || kFamilyPositions.Contains(info.kind) || derived;
    for (int i = 0; known && i < rows; ++i) {
      if (info.kind == QuantityKind::Time)
        column.values[static_cast<std::size_t>(i)] = results.TimeAt(i);
      else if (results.HasMark(info.object, i))
        column.values[static_cast<std::size_t>(i)] =
            results.CellValue(Orientation::User, info.object, info.kind, i);
    }
  }
  return columns;
}

namespace {

std::vector<UserColumn> EvaluateUserColumns(const Session& data, const FrameResults& results,
                                            bool derived, FormulaSettings settings,
                                            UserFormulas& formulas) {
  const std::vector<FormulaColumn> columns = FormulaColumnsOf(results, derived);
  std::vector<std::string> symbols;
  for (const auto& column : columns) symbols.push_back(column.symbol);
  if (!formulas.DefinedAs(data.Formulas(), symbols, settings))
    formulas.Define(data.Formulas(), symbols, settings);
  formulas.Evaluate(columns);
  std::vector<UserColumn> out;
  const auto& defined = data.Formulas().formulas;
  for (std::size_t j = 0; j < defined.size(); ++j)
    out.push_back({defined[j].identifier, defined[j].unit, defined[j].comment,
                   formulas.Variables()[j].values});
  return out;
}

}  // namespace

Result<PreparedTable> PrepareTable(const Session& data, QuantitySet hidden, DerivationFlags flags,
                                   FormulaSettings settings, UserFormulas& formulas) {
  const auto [marks, calibration] = ResultsInputOf(data);
  PreparedTable table;
  if (!table.results.Rebuild(marks, calibration)) {
    Message refusal{MessageIcon::Warning, {txt::ButtonOk}, {}};
    return refusal.Line(txt::ResultsNeedScale);
  }
  const int objects = table.results.ObjectCount();
  const bool derived = table.results.ComputeDerivatives(flags) == DerivationStatus::Ok;
  table.derived = derived;
  if (!derived) hidden |= kFamilySpeeds | kFamilyAccelerations | kFamilyPolar;
  table.results.SetUserColumns(
      EvaluateUserColumns(data, table.results, derived, settings, formulas));
  table.layout.SizeColumns(objects, static_cast<int>(data.Formulas().formulas.size()));
  table.layout.SetFamilyVisible(false, hidden, objects);
  table.layout.UpdateSize(table.results.RowCount());
  return table;
}

}  // namespace kinovia
