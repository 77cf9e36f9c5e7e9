#include "logic/results/ResultsSource.h"

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

Result<PreparedTable> PrepareTable(const Session& data, QuantitySet hidden, DerivationFlags flags) {
  const auto [marks, calibration] = ResultsInputOf(data);
  PreparedTable table;
  if (!table.results.Rebuild(marks, calibration)) {
    Message refusal{MessageIcon::Warning, {txt::ButtonOk}, {}};
    return refusal.Line(txt::ResultsNeedScale);
  }
  const int objects = table.results.ObjectCount();
  table.layout.SizeColumns(objects);
  if (table.results.ComputeDerivatives(flags) != DerivationStatus::Ok)
    hidden |= kFamilySpeeds | kFamilyAccelerations | kFamilyPolar;
  table.layout.SetFamilyVisible(false, hidden, objects);
  table.layout.UpdateSize(table.results.RowCount());
  return table;
}

}  // namespace kinovia
