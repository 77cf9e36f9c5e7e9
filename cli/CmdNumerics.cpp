#include "cli/CmdNumerics.h"

#include <ostream>

#include "core/Numbers.h"
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

ModelKind ModelKindOf(std::string_view name) {
  const std::pair<std::string_view, ModelKind> kinds[] = {
      {"constant", ModelKind::Constant},         {"affine", ModelKind::Affine},
      {"proportional", ModelKind::Proportional}, {"parabola", ModelKind::Parabola},
      {"exponential", ModelKind::Exponential},   {"sinus", ModelKind::Sinus},
      {"sinus-exp", ModelKind::SinusExp},        {"sinus-lin", ModelKind::SinusLin},
  };
  for (const auto& [known, kind] : kinds)
    if (name == known) return kind;
  return ModelKind::None;
}

void PrintModel(Model& model, const std::string& ordinate, const std::string& abscissa,
                std::ostream& out) {
  // Named as the graph names them beside its curve.
  for (const auto& line : model.GetParamTexts(ShortName(ordinate), ShortName(abscissa)))
    out << line << '\n';
  for (const auto& line : model.GetStatTexts()) out << line << '\n';
  out << "params";
  for (double p : model.Params()) out << '\t' << FullPrecisionText(p);
  out << '\n';
}

}  // namespace kinovia::cli
