#include "cli/CmdNumerics.h"

#include <ostream>

#include "resources/TxtResults.h"

namespace kinovia::cli {

std::optional<PointColumns> ReadPoints(const std::optional<std::string>& file, CliStreams streams) {
  const auto rows = ReadNumberRows(file, streams);
  if (!rows) return std::nullopt;
  PointColumns points;
  for (const auto& row : *rows) {
    if (row.size() < 2) {
      streams.err << Txt(txt::PointsRowNeedsTwoValues) << '\n';
      return std::nullopt;
    }
    points.x.push_back(row[0]);
    points.y.push_back(row[1]);
  }
  return points;
}

}  // namespace kinovia::cli
