#pragma once
// Texts of the string table that carry numbers as "%d" or "%u".
#include <initializer_list>
#include <string>

#include "core/StringTable.h"

namespace kinovia {

// The text with its placeholders replaced, in order, by the numbers.
inline std::string FillNumbers(TxtId pattern, std::initializer_list<long long> numbers) {
  std::string text = Txt(pattern);
  std::size_t from = 0;
  for (long long n : numbers) {
    const auto at = text.find('%', from);
    if (at == std::string::npos || at + 1 >= text.size()) break;
    const std::string digits = std::to_string(n);
    text.replace(at, 2, digits);
    from = at + digits.size();
  }
  return text;
}

}  // namespace kinovia
