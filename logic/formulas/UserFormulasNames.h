#pragma once
// The checks of the names, units and indexes of the user's variables and constants.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logic/formulas/UserFormulas.h"

namespace kinovia {

// The text without its leading and trailing blanks and tabs.
std::string Trimmed(std::string_view text);

// A name as formulas read it, not a function's, not one of the table's symbols.
FormulaStatus CheckName(const std::string& name, const std::vector<std::string>& symbols);
FormulaStatus CheckUnit(const std::string& unit);
// The index typed for a constant: nullopt for none; refused when it is not a whole number.
struct ConstantIndex {
  FormulaStatus status;
  std::optional<int> index;
};
ConstantIndex ReadConstantIndex(const std::string& text);

// The statuses of the names of a set: every name checked, and the second of two definitions
// with one name (a constant with an index beside a variable of its name gives that variable its
// value on one row, and is no repetition).
struct NameStatuses {
  std::vector<FormulaStatus> variables, constants;
  std::vector<std::optional<int>> indexes;  // each constant's
};
NameStatuses CheckNames(const FormulaSet& set, const std::vector<std::string>& symbols);

}  // namespace kinovia
