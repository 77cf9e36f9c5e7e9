#pragma once
// The user's variables and constants: their names checked, their formulas compiled against the
// symbols of the results table, put in the order their dependencies ask for and evaluated on
// every row of the table.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Numbers.h"
#include "logic/formulas/FormulaSet.h"
#include "logic/formulas/Parser.h"

namespace kinovia {

// A column of the results table as the formulas read it: its symbol and its value on each row,
// the undefined value where it has none.
struct FormulaColumn {
  std::string symbol;
  std::vector<double> values;
};

// Why a variable or a constant cannot be used. Codes 1 to 31 are the parser's (ParserError).
enum class FormulaFault : int {
  kNone = 0,
  kMissingName = 40,
  kBadName = 41,
  kRepeatedName = 42,
  kTableName = 43,
  kFunctionName = 44,
  kCycle = 45,
  kBadUnit = 46,
  kBadValue = 47,
  kBadIndex = 48,
};

struct FormulaStatus {
  int code = 0;  // a FormulaFault or a ParserError, by number
  std::string message;
  bool Ok() const { return code == 0; }
};

struct EvaluatedVariable {
  FormulaStatus status;
  std::vector<double> values;  // one a row of the table
  // The first fault met on a row (a division by zero...): that row is undefined, the others are
  // not; empty when no row failed.
  std::string rowFault;
};

struct EvaluatedConstant {
  FormulaStatus status;
  double value = kUndefined;
};

// How the formulas read the table.
struct FormulaSettings {
  bool radians = false;    // the angle unit of sin, cos, tan and the arcs
  int firstRowNumber = 1;  // the number the table shows on its first row: x[1] is that row
  bool operator==(const FormulaSettings&) const = default;
};

class UserFormulas {
 public:
  UserFormulas();
  ~UserFormulas();
  UserFormulas(UserFormulas&&) noexcept;
  UserFormulas& operator=(UserFormulas&&) noexcept;

  // Checks and compiles the definitions; `symbols` are the columns the formulas may read, in the
  // order Evaluate will give them. The constants get their values at once.
  void Define(const FormulaSet& set, const std::vector<std::string>& symbols,
              FormulaSettings settings);
  // Evaluates the variables on every row. Columns must come as Define was told; a variable whose
  // inputs are what they were at the previous evaluation keeps its values.
  void Evaluate(const std::vector<FormulaColumn>& columns);

  const FormulaSet& Definitions() const { return set_; }
  // True when Define was last given these: the compiled formulas can be kept.
  bool DefinedAs(const FormulaSet& set, const std::vector<std::string>& symbols,
                 FormulaSettings settings) const;
  const std::vector<EvaluatedVariable>& Variables() const { return variables_; }
  const std::vector<EvaluatedConstant>& Constants() const { return constants_; }
  // How many variables the last Evaluate computed again, the others being unchanged.
  int LastEvaluatedCount() const { return lastEvaluated_; }

 private:
  struct Compiled;
  void CompileVariable(std::size_t j);
  VariableAnswer Resolve(std::size_t j, const VariableQuery& q);
  int UsableVariable(std::string_view name) const;
  void OrderVariables();
  bool OrderWithinRow(std::vector<int>& group) const;
  void EvaluateGroup(const std::vector<int>& group);
  void EvaluateWhole(std::size_t j);

  FormulaSet set_;
  std::vector<EvaluatedVariable> variables_;
  std::vector<EvaluatedConstant> constants_;
  std::unique_ptr<Compiled> compiled_;
  int lastEvaluated_ = 0;
};

// The message and code of a fault, its text quoting `quote`.
FormulaStatus FormulaFaultStatus(FormulaFault fault, const std::string& quote);

// A formula made only of constants, as the calculator evaluates it.
struct CalculatorResult {
  FormulaStatus status;
  double value = kUndefined;
};
CalculatorResult EvaluateWithConstants(const std::string& formula, const UserFormulas& formulas,
                                       bool radians);

}  // namespace kinovia
