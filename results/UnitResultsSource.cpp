#include "results/UnitResultsSource.h"

#include "session/UnitData.h"

namespace kinovia {

std::pair<TMarksData, TCalibration> ResultsInputOf(const TData& data) {
  TPointedData pointed = data.GetData();
  const TConversion conversion = data.Conversion();
  TMarksData marks{std::move(pointed.time), std::move(pointed.frame), std::move(pointed.x),
                   std::move(pointed.y)};
  const TCalibration calibration{conversion.factors.sx, conversion.factors.sy, conversion.theta,
                                 conversion.directX,    conversion.directY,    data.Duration()};
  return {std::move(marks), calibration};
}

bool PrepareTable(const TData& data, std::uint32_t hidden, int derivationFlags, TCalcul& calcul,
                  TGrid& grid) {
  const auto [marks, calibration] = ResultsInputOf(data);
  if (!calcul.Rebuild(marks, calibration)) return false;
  grid.SizeColumns(calcul.ObjectCount());
  if (calcul.ComputeDerivatives(derivationFlags) != 0)
    hidden |= kFamilySpeeds | kFamilyAccelerations | kFamilyPolar;
  grid.SetFamilyVisible(false, hidden, calcul.ObjectCount());
  grid.UpdateSize(calcul.RowCount());
  return true;
}

}  // namespace kinovia
