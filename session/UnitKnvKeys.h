#pragma once
// Sections and key composition of the work file, shared by its writer and its reader.
#include <string>
#include <string_view>

namespace kinovia::knv {

inline constexpr std::string_view kMain = "Main";
inline constexpr std::string_view kData = "Data";
inline constexpr std::string_view kVideo = "Video";
inline constexpr std::string_view kMontage = "Montage";
inline constexpr std::string_view kFormules = "Formules";
inline constexpr std::string_view kRecord = "Record";

inline constexpr std::string_view kGrid = "Grid";
inline constexpr std::string_view kLayer = "Layer";

inline constexpr int kVersion = 351000;

// base + "_" + suffix, and the same with a running index after it.
inline std::string Key(std::string_view base, std::string_view suffix) {
  return std::string(base) + "_" + std::string(suffix);
}
inline std::string Key(std::string_view base, std::string_view suffix, std::size_t i) {
  return Key(base, suffix) + "_" + std::to_string(i);
}
// base followed directly by a running index, as in "MarkColor_3".
inline std::string Indexed(std::string_view base, std::size_t i) {
  return std::string(base) + std::to_string(i);
}

}  // namespace kinovia::knv
