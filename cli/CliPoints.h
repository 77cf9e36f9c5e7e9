#pragma once
// Points given on kinovia-cli's command line as frame fractions.
#include <optional>
#include <string_view>
#include <vector>

#include "core/Geometry.h"

namespace kinovia::cli {

// "U1,V1;U2,V2;..." into frame fractions; nullopt on any malformed point. "." is the only decimal
// separator here: "," separates a point's two fractions.
std::optional<std::vector<PointD>> Polygon(std::string_view text);

}  // namespace kinovia::cli
