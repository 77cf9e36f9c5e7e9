#pragma once
// Texts of the string table that carry numbers as "%d" or "%u", or texts as "%s".
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "core/StringTable.h"

namespace kinovia {

// The text with its placeholders replaced, in order, by the fillers.
inline std::string FillTexts(TxtId pattern, std::span<const std::string> fillers) {
  std::string text = Txt(pattern);
  std::size_t from = 0;
  for (const std::string& filler : fillers) {
    const auto at = text.find('%', from);
    if (at == std::string::npos || at + 1 >= text.size()) break;
    text.replace(at, 2, filler);
    from = at + filler.size();
  }
  return text;
}

inline std::string FillTexts(TxtId pattern, std::initializer_list<std::string> fillers) {
  return FillTexts(pattern, std::span<const std::string>(fillers.begin(), fillers.size()));
}

// The text with its placeholders replaced, in order, by the numbers.
inline std::string FillNumbers(TxtId pattern, std::initializer_list<long long> numbers) {
  std::vector<std::string> digits;
  for (long long n : numbers) digits.push_back(std::to_string(n));
  return FillTexts(pattern, digits);
}

}  // namespace kinovia
