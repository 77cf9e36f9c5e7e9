#pragma once
// The expression language of the user's variables and constants: a formula text is compiled once
// into a tree, then evaluated as often as needed, every name being resolved by the owner.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kinovia {

// The kind of a token; the numbers are those the rest of the program knows them by.
enum class TokenKind : std::uint8_t {
  kSeparator = 1,  // ";" between the two arguments of ArcTan
  kPlus = 2,
  kMinus = 3,
  kDivide = 4,  // "/" or "÷"
  kTimes = 5,
  kPower = 6,
  kSin = 7,
  kCos = 8,
  kLn = 9,
  kLog = 10,
  kExp = 11,
  kAbs = 12,
  kTan = 13,
  kSqrt = 14,
  kArcSin = 15,
  kArcCos = 16,
  kArcTan = 17,
  kNumber = 18,  // also "pi"
  kVariable = 19,
  kOpen = 20,
  kClose = 21,
};

bool IsOperatorKind(TokenKind kind);
// Names are told apart without regard to case, in formulas as in the tables of names.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// SIN, ArcTan... whatever the case.
bool IsFunctionName(std::string_view name);  // ";" "+" "-" "/" "*" "^"
bool IsFunctionKind(TokenKind kind);

// The codes ErrorCode gives, by the numbers the user reads them as; kNone is no error.
enum class ParserError : int {
  kNone = 0,
  kUnclosedParenthesis = 1,
  kUnopenedParenthesis = 2,
  kEmptyParentheses = 3,
  kBadNumber = 4,
  kCosine = 5,
  kSine = 6,
  kTangent = 7,
  kArcCosine = 8,
  kArcSine = 9,
  kArcTangent = 10,
  kLogarithm = 11,
  kSquareRoot = 13,
  kDivisionByZero = 14,
  kNegativeBasePower = 15,
  kExponential = 16,
  kPower = 17,
  kEmptyString = 18,
  kOverflow = 19,
  kUnknownVariable = 20,
  kBadCharacter = 21,
  kBadIndex = 22,
  kFunctionWithoutArgument = 23,
  kOperatorWithoutOperand = 24,
  kOperandWithoutOperator = 25,
  kEmptyFormula = 26,
  kUndefinedVariable = 28,
  kMissingBracket = 29,
  kMisplacedSeparator = 30,
  kFormulaTooLong = 31,
};

// Texts longer than this are refused before any work, so that no typed or stored text can make
// compiling or evaluating slow.
inline constexpr std::size_t kMaxFormulaLength = 10000;

// The message of an error code, each "%s" of its text replaced by the next of `quotes`; empty
// for kNone.
std::string ParserErrorMessage(ParserError code, const std::vector<std::string>& quotes);

// One token of a compiled formula.
struct StackItem {
  TokenKind kind = TokenKind::kNumber;
  int depth = 0;  // an opening parenthesis carries the depth inside it, a closing one the same
  std::string text;
  double value = 0;            // the number, or the value the owner last gave for the variable
  int index = 0;               // written between brackets after a variable
  bool absoluteIndex = false;  // "[2]" rather than "[i+2]"
  bool hasIndex = false;
  bool negateRightOperand = false;  // an operator written directly before a minus sign
};

// One node of the tree: a slice of the formula's tokens. Nodes live in one array owned by the
// parser and point at each other by position, so that no formula, however deep, makes building,
// evaluating or freeing the tree recurse.
struct ExpressionNode {
  static constexpr int kNone = -1;
  int first = 0;  // the token slice [first, last)
  int last = 0;
  int token = kNone;  // the operator splitting the slice, or the leaf's number or variable
  int left = kNone;   // children, kNone for a leaf
  int right = kNone;
  int functionsBegin = 0;  // the chain of functions applied to the value, outermost first,
  int functionsEnd = 0;    // as positions in the parser's function list

  bool IsLeaf() const { return left == kNone; }
};

// What the owner is asked about a variable, at compilation and at each evaluation.
struct VariableQuery {
  std::string_view name;
  bool hasIndex = false;
  bool absoluteIndex = false;
  int index = 0;
  int token = -1;  // the variable's position in Tokens(), for owners that resolve it once
};
struct VariableAnswer {
  bool found = false;
  double value = 0;
};
using VariableLookup = std::function<VariableAnswer(const VariableQuery&)>;

// Compiles one formula text into a tree and evaluates it to a real.
class Parser {
 public:
  void SetFormula(std::string_view text);
  const std::string& Formula() const { return formula_; }

  void SetRadians(bool radians) { radians_ = radians; }
  bool IsRadians() const { return radians_; }

  void SetOnVariable(VariableLookup callback) { onVariable_ = std::move(callback); }

  // Compiles and builds the tree when not done yet; true when the formula can be evaluated.
  bool Compile();
  // The value of the formula, kept as the last value; the undefined value after an error.
  double Evaluate();
  double LastValue() const { return lastValue_; }
  // The formula on `rows` rows at once: each variable gives its whole column, one value a row,
  // through `column` called with its position in Tokens(), or nullptr when it is the same on every
  // row: its value is then asked of the owner once. A row whose evaluation fails is undefined
  // alone, and the first failure is kept as the error. False when the formula cannot be
  // evaluated at all.
  using ColumnLookup = std::function<const double*(int token)>;
  bool EvaluateColumn(std::size_t rows, const ColumnLookup& column, std::vector<double>& out);

  ParserError ErrorCode() const { return error_; }
  std::string ErrorMessage() const;

  // The names met while compiling, in order of appearance, each once whatever its case.
  const std::vector<std::string>& VariableNames() const { return variableNames_; }

  const std::vector<StackItem>& Tokens() const { return tokens_; }

 private:
  bool Tokenise();
  bool OfferVariable(StackItem& token);
  VariableAnswer AskOwner(const StackItem& token) const;
  void MatchParentheses();
  bool BuildTree();
  bool StripEnclosing(ExpressionNode& node);
  bool SplitNode(int node);
  void OrderForEvaluation();
  bool EvaluateNode(int node);
  bool Operate(const ExpressionNode& node, double left, double right, double& value);
  bool ApplyFunctions(const ExpressionNode& node, double& value);
  bool ApplyFunction(TokenKind function, double& value);
  // The first fault met in a block's node, by row.
  struct RowFault {
    std::size_t row = 0;
    ParserError error = ParserError::kNone;
    std::string quote;
  };
  void KeepFault(std::size_t row, RowFault& fault) const;
  void OperateColumn(const ExpressionNode& node, const double* left, const double* right,
                     double* out, std::size_t count, RowFault& fault);
  void ApplyFunctionsColumn(const ExpressionNode& node, double* values, std::size_t count,
                            RowFault& fault);
  bool Fail(ParserError error, std::string quote = {});

  std::string formula_;
  bool radians_ = true;
  VariableLookup onVariable_;

  std::vector<StackItem> tokens_;
  std::vector<int> partner_;  // for each parenthesis, the one that matches it
  std::vector<std::string> variableNames_;
  std::vector<ExpressionNode> nodes_;
  std::vector<int> functions_;        // token positions of every node's function chain
  std::vector<int> evaluationOrder_;  // children before parents, left before right
  std::vector<double> nodeValues_;
  std::vector<std::vector<double>> columnValues_;  // each node's values on every row

  bool compiled_ = false;
  bool treeBuilt_ = false;
  // A formula that failed to compile or to build keeps its error until the text changes.
  bool broken_ = false;
  ParserError error_ = ParserError::kNone;
  std::string errorQuote_;
  double lastValue_ = 0;
};

}  // namespace kinovia
