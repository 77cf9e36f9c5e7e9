#pragma once
// Sections and key composition of the work file, shared by its writer and its reader.
#include <array>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>

#include "logic/session/WorkFile.h"

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
// base + "_" + suffix + "_" + index rebuilt in the same string for each item of a long list, so
// that the marks of a long session cost no fresh string apiece.
class KeyBuffer {
 public:
  const std::string& Of(std::string_view base, std::string_view suffix, std::size_t i) {
    text_.assign(base).append(1, '_').append(suffix).append(1, '_');
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, i).ptr;
    text_.append(digits, end);
    return text_;
  }

 private:
  std::string text_;
};

// base followed directly by a running index, as in "MarkColor_3".
inline std::string Indexed(std::string_view base, std::size_t i) {
  return std::string(base) + std::to_string(i);
}

// The keys of a formula record and of a constant record, each followed by "_" and the index.
template <class T>
using RecordFields = std::array<std::pair<std::string_view, std::string T::*>, 4>;
inline constexpr RecordFields<UserFormula> kFormulaFields{{
    {"RecordFormuleIdentifier", &UserFormula::identifier},
    {"RecordFormulePhrase", &UserFormula::phrase},
    {"RecordFormuleComment", &UserFormula::comment},
    {"RecordFormuleUnit", &UserFormula::unit},
}};
inline constexpr RecordFields<UserConstant> kConstantFields{{
    {"RecordConstIdentifier", &UserConstant::identifier},
    {"RecordConstIndex", &UserConstant::index},
    {"RecordConstValue", &UserConstant::value},
    {"RecordConstUnit", &UserConstant::unit},
}};

}  // namespace kinovia::knv
