#pragma once
// The quantities the time page plots against time: the axis symbol, the column of the results and
// how the ordinate is framed.
#include <span>
#include <string_view>

#include "core/StringTable.h"
#include "logic/graphs/GraphFraming.h"
#include "logic/results/Quantities.h"

namespace kinovia {

struct TimeQuantity {
  TxtId symbol;
  QuantityKind kind;
  AxisFraming framing;
};

// In the order of the page's list.
std::span<const TimeQuantity> TimeQuantities();
// The index of the quantity whose symbol this is, -1 when none.
int TimeQuantityIndex(std::string_view symbol);

}  // namespace kinovia
