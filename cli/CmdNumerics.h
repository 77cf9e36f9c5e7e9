#pragma once
// Input shared by the commands that work on a series of points (lsq, derive, fit).
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandRegistry.h"

namespace kinovia::cli {

struct PointColumns {
  std::vector<double> x, y;
};

// The first two values of every row of FILE as (x, y). nullopt, with the reason on `err`, when the
// file cannot be read, a value is not a number or a row holds fewer than two values.
std::optional<PointColumns> ReadPoints(const std::optional<std::string>& file, CliStreams streams);

}  // namespace kinovia::cli
