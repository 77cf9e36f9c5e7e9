#pragma once
// The user's variables and constants as they are typed and saved: plain texts.
#include <string>
#include <vector>

namespace kinovia {

// A variable: a name, the formula that gives its value on each row, a comment and a unit.
struct UserFormula {
  std::string identifier, phrase, comment, unit;
  bool operator==(const UserFormula&) const = default;
};
// A constant: a name, an optional index (the row an iterative variable starts from), a value or
// "=" followed by a formula of other constants, and a unit.
struct UserConstant {
  std::string identifier, index, value, unit;  // value: "=" and a formula, or a number's text
  bool operator==(const UserConstant&) const = default;
};
struct FormulaSet {
  std::vector<UserFormula> formulas;
  std::vector<UserConstant> constants;
  bool operator==(const FormulaSet&) const = default;
};

}  // namespace kinovia
