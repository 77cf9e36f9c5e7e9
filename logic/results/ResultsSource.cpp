#include "logic/results/ResultsSource.h"

#include "logic/session/Session.h"

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

bool PrepareTable(const Session& data, QuantitySet hidden, DerivationFlags derivationFlags,
                  FrameResults& frameResults, TableLayout& grid) {
  const auto [marks, calibration] = ResultsInputOf(data);
  if (!frameResults.Rebuild(marks, calibration)) return false;
  grid.SizeColumns(frameResults.ObjectCount());
  if (frameResults.ComputeDerivatives(derivationFlags) != DerivationStatus::Ok)
    hidden |= kFamilySpeeds | kFamilyAccelerations | kFamilyPolar;
  grid.SetFamilyVisible(false, hidden, frameResults.ObjectCount());
  grid.UpdateSize(frameResults.RowCount());
  return true;
}

}  // namespace kinovia
