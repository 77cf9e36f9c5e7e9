#pragma once
// The names of a clip split into pictures and of pictures joined into a clip: the zero-padded
// suffixes of the split, and the stand-in names pictures take for the join when theirs do not
// run as one numbering.
#include <cstdint>
#include <string>
#include <vector>

namespace kinovia {

// The index, zero-padded to the number of digits of `count` (150 pictures give 000 ... 149).
std::string PictureSuffix(std::int64_t index, std::int64_t count);

// base + "_" + the suffix + ".bmp".
std::string SeriesPictureName(const std::string& base, std::int64_t index, std::int64_t count);

// The name without its extension, as the base of a split.
std::string WithoutExtension(const std::string& name);

// True when the names, in the given order, differ only in a final number of one width that grows
// by one from each to the next (img7, img8, img9 do; img7, img9 and img9, img10 do not).
bool FormsOneNumbering(const std::vector<std::string>& sorted);

// What each picture is called while the clip is built: its folder + "~" + its index zero-padded
// to the digits of the count + its own extension.
std::vector<std::string> StandInNames(const std::vector<std::string>& sorted);

}  // namespace kinovia
