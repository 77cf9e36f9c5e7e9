#pragma once
// Input shared by the commands that work on a series of points (lsq, derive, fit).
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandRegistry.h"
#include "logic/models/Models.h"

namespace kinovia::cli {

struct PointColumns {
  std::vector<double> x, y;
};

// The first two values of every row of FILE as (x, y). nullopt, with the reason on `err`, when the
// file cannot be read, a value is not a number or a row holds fewer than two values.
std::optional<PointColumns> ReadPoints(const std::optional<std::string>& file, CliStreams streams);

// The model kind of its command-line name (constant, affine...), ModelKind::None for another name.
ModelKind ModelKindOf(std::string_view name);

// The model's parameter lines, then its statistics lines, then `params` and its parameters at full
// precision: the lines of `fit`, also printed by `graph`.
void PrintModel(Model& model, const std::string& ordinate, const std::string& abscissa,
                std::ostream& out);

}  // namespace kinovia::cli
