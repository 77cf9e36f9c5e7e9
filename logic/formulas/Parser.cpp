#include "logic/formulas/Parser.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Numbers.h"
#include "resources/TxtFormulas.h"

namespace kinovia {
namespace {

const TxtId* ErrorText(ParserError code) {
  switch (code) {
    case ParserError::kUnclosedParenthesis:
      return &txt::ParserUnclosedParenthesis;
    case ParserError::kUnopenedParenthesis:
      return &txt::ParserUnopenedParenthesis;
    case ParserError::kEmptyParentheses:
      return &txt::ParserEmptyParentheses;
    case ParserError::kBadNumber:
      return &txt::ParserBadNumber;
    case ParserError::kCosine:
      return &txt::ParserCosineFailed;
    case ParserError::kSine:
      return &txt::ParserSineFailed;
    case ParserError::kTangent:
      return &txt::ParserTangentFailed;
    case ParserError::kArcCosine:
      return &txt::ParserArcCosineFailed;
    case ParserError::kArcSine:
      return &txt::ParserArcSineFailed;
    case ParserError::kArcTangent:
      return &txt::ParserArcTangentFailed;
    case ParserError::kLogarithm:
      return &txt::ParserLogarithmOfNonPositive;
    case ParserError::kSquareRoot:
      return &txt::ParserSquareRootOfNegative;
    case ParserError::kDivisionByZero:
      return &txt::ParserDivisionByZero;
    case ParserError::kNegativeBasePower:
      return &txt::ParserNegativeBasePower;
    case ParserError::kExponential:
      return &txt::ParserExponentialFailed;
    case ParserError::kPower:
      return &txt::ParserPowerFailed;
    case ParserError::kEmptyString:
      return &txt::ParserEmptyString;
    case ParserError::kOverflow:
      return &txt::ParserOverflow;
    case ParserError::kUnknownVariable:
      return &txt::ParserUnknownVariable;
    case ParserError::kBadCharacter:
      return &txt::ParserBadCharacter;
    case ParserError::kBadIndex:
      return &txt::ParserBadIndex;
    case ParserError::kFunctionWithoutArgument:
      return &txt::ParserFunctionWithoutArgument;
    case ParserError::kOperatorWithoutOperand:
      return &txt::ParserOperatorWithoutOperand;
    case ParserError::kOperandWithoutOperator:
      return &txt::ParserOperandWithoutOperator;
    case ParserError::kEmptyFormula:
      return &txt::ParserEmptyFormula;
    case ParserError::kUndefinedVariable:
      return &txt::ParserUndefinedVariable;
    case ParserError::kMissingBracket:
      return &txt::ParserMissingBracket;
    case ParserError::kMisplacedSeparator:
      return &txt::ParserMisplacedSeparator;
    case ParserError::kFormulaTooLong:
      return &txt::ParserFormulaTooLong;
    case ParserError::kNone:
      break;
  }
  return nullptr;
}

// The one angle of (-pi, pi] whose sine side is y and cosine side x.
double TwoArgumentArcTan(double y, double x) {
  const double angle = std::atan2(y, x);
  return angle == -std::numbers::pi ? std::numbers::pi : angle;
}

}  // namespace

std::string ParserErrorMessage(ParserError code, const std::vector<std::string>& quotes) {
  if (code == ParserError::kNone) return {};
  const TxtId* id = ErrorText(code);
  const std::string& pattern = Txt(id ? *id : txt::ParserUnknownError);
  // Built in one pass over the pattern, so that a quoted "%s" is never replaced in its turn.
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern.compare(i, 2, "%s") == 0) {
      if (next < quotes.size()) out += quotes[next++];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

void Parser::SetFormula(std::string_view text) {
  formula_ = text;
  tokens_.clear();
  partner_.clear();
  variableNames_.clear();
  nodes_.clear();
  functions_.clear();
  evaluationOrder_.clear();
  nodeValues_.clear();
  compiled_ = treeBuilt_ = broken_ = false;
  error_ = ParserError::kNone;
  errorQuote_.clear();
}

bool Parser::Compile() {
  if (broken_) return false;
  if (!compiled_) compiled_ = Tokenise();
  if (compiled_ && !treeBuilt_) treeBuilt_ = BuildTree();
  broken_ = !treeBuilt_;
  return treeBuilt_;
}

double Parser::Evaluate() {
  // A text that cannot be compiled keeps reporting why, evaluation after evaluation.
  if (!broken_) {
    error_ = ParserError::kNone;
    errorQuote_.clear();
  }
  lastValue_ = kUndefined;
  if (!Compile()) return lastValue_;
  for (const int node : evaluationOrder_)
    if (!EvaluateNode(node)) return lastValue_;
  lastValue_ = nodeValues_[0];
  return lastValue_;
}

std::string Parser::ErrorMessage() const {
  if (error_ == ParserError::kUndefinedVariable)
    return ParserErrorMessage(ErrorCode(), {errorQuote_, errorQuote_ + "[0]", errorQuote_ + "[1]"});
  return ParserErrorMessage(ErrorCode(), {errorQuote_});
}

bool Parser::Fail(ParserError error, std::string quote) {
  error_ = error;
  errorQuote_ = std::move(quote);
  return false;
}

VariableAnswer Parser::AskOwner(const StackItem& token) const {
  if (!onVariable_) return {};
  const auto position = static_cast<int>(&token - tokens_.data());
  return onVariable_({token.text, token.hasIndex, token.absoluteIndex, token.index, position});
}

bool Parser::EvaluateNode(int index) {
  const ExpressionNode& node = nodes_[index];
  double value = 0;
  if (node.IsLeaf()) {
    StackItem& token = tokens_[node.token];
    if (token.kind == TokenKind::kVariable) {
      const VariableAnswer answer = AskOwner(token);
      if (!answer.found) return Fail(ParserError::kUndefinedVariable, token.text);
      token.value = answer.value;
    }
    value = token.value;
  } else if (!Operate(node, nodeValues_[node.left], nodeValues_[node.right], value)) {
    return false;
  }
  if (!ApplyFunctions(node, value)) return false;
  nodeValues_[index] = value;
  return true;
}

bool Parser::ApplyFunctions(const ExpressionNode& node, double& value) {
  // The two-argument arctangent has already consumed the innermost function.
  int end = node.functionsEnd;
  if (!node.IsLeaf() && tokens_[node.token].kind == TokenKind::kSeparator) --end;
  for (int f = end - 1; f >= node.functionsBegin; --f)
    if (!ApplyFunction(tokens_[functions_[f]].kind, value)) return false;
  return true;
}

bool Parser::EvaluateColumn(std::size_t rows, const ColumnLookup& column,
                            std::vector<double>& out) {
  if (!broken_) {
    error_ = ParserError::kNone;
    errorQuote_.clear();
  }
  out.assign(rows, kUndefined);
  if (!Compile()) return false;
  std::vector<const double*> sources(nodes_.size(), nullptr);
  for (std::size_t n = 0; n < nodes_.size(); ++n) {
    if (!nodes_[n].IsLeaf()) continue;
    StackItem& token = tokens_[nodes_[n].token];
    if (token.kind != TokenKind::kVariable) continue;
    sources[n] = column(nodes_[n].token);
    if (sources[n] != nullptr) continue;
    const VariableAnswer answer = AskOwner(token);
    if (!answer.found) {
      if (rows > 0) Fail(ParserError::kUndefinedVariable, token.text);
      return true;
    }
    token.value = answer.value;
  }
  // Rows go through in blocks small enough for every node's values to stay in the cache.
  constexpr std::size_t kBlock = 256;
  columnValues_.resize(nodes_.size());
  for (auto& values : columnValues_) values.resize(kBlock);
  std::vector<const double*> views(nodes_.size(), nullptr);
  RowFault first;
  for (std::size_t start = 0; start < rows; start += kBlock) {
    const std::size_t count = std::min(kBlock, rows - start);
    // The root writes straight into the result; the other nodes into their block of values.
    double* const result = out.data() + start;
    for (const int index : evaluationOrder_) {
      const ExpressionNode& node = nodes_[index];
      double* values = index == 0 ? result : columnValues_[static_cast<std::size_t>(index)].data();
      const double* source = sources[static_cast<std::size_t>(index)];
      RowFault fault;
      if (!node.IsLeaf()) {
        OperateColumn(node, views[node.left], views[node.right], values, count, fault);
      } else if (source == nullptr) {
        std::fill_n(values, count, tokens_[node.token].value);
      } else if (node.functionsBegin == node.functionsEnd) {
        views[index] = source + start;  // read where it lies: nothing to apply
        continue;
      } else {
        std::copy_n(source + start, count, values);
      }
      ApplyFunctionsColumn(node, values, count, fault);
      views[index] = values;
      if (first.error == ParserError::kNone) first = std::move(fault);
    }
    if (views[0] != result) std::copy_n(views[0], count, result);
  }
  error_ = first.error;
  errorQuote_ = std::move(first.quote);
  return true;
}

void Parser::KeepFault(std::size_t row, RowFault& fault) const {
  if (fault.error != ParserError::kNone && fault.row <= row) return;
  fault.row = row;
  fault.error = error_;
  fault.quote = errorQuote_;
}

// The operator is chosen once for the block; only the rows the quick arithmetic cannot vouch for
// (an undefined operand, a result out of range, a divisor too small) take the careful path, which
// gives them the value and the fault a row-by-row evaluation would.
void Parser::OperateColumn(const ExpressionNode& node, const double* left, const double* right,
                           double* out, std::size_t count, RowFault& fault) {
  const StackItem& op = tokens_[node.token];
  const bool negate = op.negateRightOperand;
  const auto careful = [&](std::size_t r) {
    double value = 0;
    const bool ok = Operate(node, left[r], right[r], value);
    out[r] = ok ? value : kUndefined;
    if (!ok) KeepFault(r, fault);
  };
  const auto quick = [&](auto operation, bool divides = false) {
    for (std::size_t r = 0; r < count; ++r)
      out[r] = operation(left[r], negate ? -right[r] : right[r]);
    for (std::size_t r = 0; r < count; ++r)
      if (!std::isfinite(out[r]) || (divides && IsZero(right[r]))) careful(r);
  };
  switch (op.kind) {
    case TokenKind::kPlus:
      return quick([](double a, double b) { return a + b; });
    case TokenKind::kMinus:
      return quick([](double a, double b) { return a - b; });
    case TokenKind::kTimes:
      return quick([](double a, double b) { return a * b; });
    case TokenKind::kDivide:
      return quick([](double a, double b) { return a / b; }, true);
    case TokenKind::kPower:
      // Exactly the rows where the careful path would call pow with these operands as they are.
      for (std::size_t r = 0; r < count; ++r) {
        const double a = left[r];
        const double b = negate ? -right[r] : right[r];
        const bool plain = a > 0 ? !std::isnan(b) : a < 0 && std::isfinite(b) && b == std::trunc(b);
        out[r] = plain ? std::pow(a, b) : kUndefined;
        if (!plain || !std::isfinite(out[r])) careful(r);
      }
      return;
    default:
      for (std::size_t r = 0; r < count; ++r) careful(r);
  }
}

void Parser::ApplyFunctionsColumn(const ExpressionNode& node, double* values, std::size_t count,
                                  RowFault& fault) {
  // The two-argument arctangent has already consumed the innermost function.
  int end = node.functionsEnd;
  if (!node.IsLeaf() && tokens_[node.token].kind == TokenKind::kSeparator) --end;
  for (int f = end - 1; f >= node.functionsBegin; --f) {
    const TokenKind function = tokens_[functions_[f]].kind;
    for (std::size_t r = 0; r < count; ++r) {
      if (ApplyFunction(function, values[r])) continue;
      values[r] = kUndefined;
      KeepFault(r, fault);
    }
  }
}

bool Parser::Operate(const ExpressionNode& node, double left, double right, double& value) {
  const StackItem& op = tokens_[node.token];
  const double a = left;
  const double b = op.negateRightOperand ? -right : right;
  // An undefined operand leaves the result undefined; it is not a fault of the formula.
  if (std::isnan(a) || std::isnan(b)) {
    value = kUndefined;
    return true;
  }
  ParserError overflow = ParserError::kOverflow;
  switch (op.kind) {
    case TokenKind::kSeparator:
      if (IsZero(a) && IsZero(b)) return Fail(ParserError::kArcTangent);
      value = TwoArgumentArcTan(a, b) * (radians_ ? 1 : 180 / std::numbers::pi);
      return true;
    case TokenKind::kPlus:
      value = a + b;
      break;
    case TokenKind::kMinus:
      value = a - b;
      break;
    case TokenKind::kTimes:
      value = a * b;
      break;
    case TokenKind::kDivide:
      if (IsZero(b)) return Fail(ParserError::kDivisionByZero);
      value = a / b;
      break;
    default:
      overflow = ParserError::kPower;
      if (b == 0) {
        value = 1;
      } else if (a > 0) {
        value = std::pow(a, b);
      } else if (a == 0) {
        // A negative power of zero divides by zero.
        if (b < 0) return Fail(ParserError::kPower);
        value = 0;
      } else {
        if (!IsZero(b - std::trunc(b))) return Fail(ParserError::kNegativeBasePower);
        value = std::pow(a, std::trunc(b));
      }
  }
  return std::isfinite(value) || Fail(overflow);
}

bool Parser::ApplyFunction(TokenKind function, double& v) {
  if (std::isnan(v)) return true;
  const double toRadians = radians_ ? 1 : std::numbers::pi / 180;
  const double fromRadians = 1 / toRadians;
  switch (function) {
    case TokenKind::kSin:
      if (!std::isfinite(v)) return Fail(ParserError::kSine);
      v = std::sin(v * toRadians);
      return true;
    case TokenKind::kCos:
      if (!std::isfinite(v)) return Fail(ParserError::kCosine);
      v = std::cos(v * toRadians);
      return true;
    case TokenKind::kTan:
      if (!std::isfinite(v)) return Fail(ParserError::kTangent);
      v = std::tan(v * toRadians);
      return true;
    case TokenKind::kArcSin:
      if (!(std::fabs(v) <= 1)) return Fail(ParserError::kArcSine);
      v = std::asin(v) * fromRadians;
      return true;
    case TokenKind::kArcCos:
      if (!(std::fabs(v) <= 1)) return Fail(ParserError::kArcCosine);
      v = std::acos(v) * fromRadians;
      return true;
    case TokenKind::kArcTan:
      v = std::atan(v) * fromRadians;
      return true;
    case TokenKind::kLn:
    case TokenKind::kLog:
      if (v <= 0) return Fail(ParserError::kLogarithm);
      v = function == TokenKind::kLn ? std::log(v) : std::log10(v);
      return true;
    case TokenKind::kExp:
      v = std::exp(v);
      return std::isfinite(v) || Fail(ParserError::kExponential);
    case TokenKind::kAbs:
      v = std::fabs(v);
      return true;
    case TokenKind::kSqrt:
      if (v < 0) return Fail(ParserError::kSquareRoot);
      v = std::sqrt(v);
      return true;
    default:
      return true;
  }
}

}  // namespace kinovia
