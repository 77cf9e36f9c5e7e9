#pragma once
// The rules of the interval dialog: what the user may type as the time between two frames.
#include <string_view>

#include "core/Result.h"

namespace kinovia {

// Bounds of T, both excluded: 1 µs and 1 Gs.
inline constexpr double kMinInterval = 1e-6;
inline constexpr double kMaxInterval = 1e9;

// The accepted interval in seconds, or the message that refuses the text (the dialog then
// selects its field again and stays open). Both "," and "." are decimal separators.
Result<double> ParseIntervalText(std::string_view text);

}  // namespace kinovia
