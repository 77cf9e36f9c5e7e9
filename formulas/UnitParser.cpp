#include "formulas/UnitParser.h"

#include <cmath>
#include <numbers>

#include "resources/TxtFormulas.h"
#include "results/UnitMathUtils.h"

namespace kinovia {
namespace {

const TxtId* ErrorText(int code) {
  switch (static_cast<TParserError>(code)) {
    case TParserError::kUnclosedParenthesis:
      return &txt::ParserUnclosedParenthesis;
    case TParserError::kUnopenedParenthesis:
      return &txt::ParserUnopenedParenthesis;
    case TParserError::kEmptyParentheses:
      return &txt::ParserEmptyParentheses;
    case TParserError::kBadNumber:
      return &txt::ParserBadNumber;
    case TParserError::kCosine:
      return &txt::ParserCosineFailed;
    case TParserError::kSine:
      return &txt::ParserSineFailed;
    case TParserError::kTangent:
      return &txt::ParserTangentFailed;
    case TParserError::kArcCosine:
      return &txt::ParserArcCosineFailed;
    case TParserError::kArcSine:
      return &txt::ParserArcSineFailed;
    case TParserError::kArcTangent:
      return &txt::ParserArcTangentFailed;
    case TParserError::kLogarithm:
      return &txt::ParserLogarithmOfNonPositive;
    case TParserError::kSquareRoot:
      return &txt::ParserSquareRootOfNegative;
    case TParserError::kDivisionByZero:
      return &txt::ParserDivisionByZero;
    case TParserError::kNegativeBasePower:
      return &txt::ParserNegativeBasePower;
    case TParserError::kExponential:
      return &txt::ParserExponentialFailed;
    case TParserError::kPower:
      return &txt::ParserPowerFailed;
    case TParserError::kEmptyString:
      return &txt::ParserEmptyString;
    case TParserError::kOverflow:
      return &txt::ParserOverflow;
    case TParserError::kUnknownVariable:
      return &txt::ParserUnknownVariable;
    case TParserError::kBadCharacter:
      return &txt::ParserBadCharacter;
    case TParserError::kBadIndex:
      return &txt::ParserBadIndex;
    case TParserError::kFunctionWithoutArgument:
      return &txt::ParserFunctionWithoutArgument;
    case TParserError::kOperatorWithoutOperand:
      return &txt::ParserOperatorWithoutOperand;
    case TParserError::kOperandWithoutOperator:
      return &txt::ParserOperandWithoutOperator;
    case TParserError::kEmptyFormula:
      return &txt::ParserEmptyFormula;
    case TParserError::kUndefinedVariable:
      return &txt::ParserUndefinedVariable;
    case TParserError::kMissingBracket:
      return &txt::ParserMissingBracket;
    case TParserError::kMisplacedSeparator:
      return &txt::ParserMisplacedSeparator;
    case TParserError::kFormulaTooLong:
      return &txt::ParserFormulaTooLong;
    case TParserError::kNone:
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

std::string ParserErrorMessage(int code, const std::vector<std::string>& quotes) {
  if (code == 0) return {};
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

void TParser::SetFormula(std::string_view text) {
  formula_ = text;
  tokens_.clear();
  partner_.clear();
  variableNames_.clear();
  nodes_.clear();
  functions_.clear();
  evaluationOrder_.clear();
  nodeValues_.clear();
  compiled_ = treeBuilt_ = broken_ = false;
  error_ = TParserError::kNone;
  errorQuote_.clear();
}

bool TParser::Compile() {
  if (broken_) return false;
  if (!compiled_) compiled_ = Tokenise();
  if (compiled_ && !treeBuilt_) treeBuilt_ = BuildTree();
  broken_ = !treeBuilt_;
  return treeBuilt_;
}

double TParser::Evaluate() {
  // A text that cannot be compiled keeps reporting why, evaluation after evaluation.
  if (!broken_) {
    error_ = TParserError::kNone;
    errorQuote_.clear();
  }
  lastValue_ = kUndefined;
  if (!Compile()) return lastValue_;
  for (const int node : evaluationOrder_)
    if (!EvaluateNode(node)) return lastValue_;
  lastValue_ = nodeValues_[0];
  return lastValue_;
}

std::string TParser::ErrorMessage() const {
  if (error_ == TParserError::kUndefinedVariable)
    return ParserErrorMessage(ErrorCode(), {errorQuote_, errorQuote_ + "[0]", errorQuote_ + "[1]"});
  return ParserErrorMessage(ErrorCode(), {errorQuote_});
}

bool TParser::Fail(TParserError error, std::string quote) {
  error_ = error;
  errorQuote_ = std::move(quote);
  return false;
}

TVariableAnswer TParser::AskOwner(const TElemPile& token) const {
  if (!onVariable_) return {};
  return onVariable_({token.text, token.hasIndex, token.absoluteIndex, token.index});
}

bool TParser::EvaluateNode(int index) {
  const TNoeud& node = nodes_[index];
  double value = 0;
  if (node.IsLeaf()) {
    TElemPile& token = tokens_[node.token];
    if (token.kind == TTokenKind::kVariable) {
      const TVariableAnswer answer = AskOwner(token);
      if (!answer.found) return Fail(TParserError::kUndefinedVariable, token.text);
      token.value = answer.value;
    }
    value = token.value;
  } else if (!Operate(node, value)) {
    return false;
  }
  // The two-argument arctangent has already consumed the innermost function.
  int end = node.functionsEnd;
  if (!node.IsLeaf() && tokens_[node.token].kind == TTokenKind::kSeparator) --end;
  for (int f = end - 1; f >= node.functionsBegin; --f)
    if (!ApplyFunction(tokens_[functions_[f]].kind, value)) return false;
  nodeValues_[index] = value;
  return true;
}

bool TParser::Operate(const TNoeud& node, double& value) {
  const TElemPile& op = tokens_[node.token];
  const double a = nodeValues_[node.left];
  const double b = op.negateRightOperand ? -nodeValues_[node.right] : nodeValues_[node.right];
  // An undefined operand leaves the result undefined; it is not a fault of the formula.
  if (std::isnan(a) || std::isnan(b)) {
    value = kUndefined;
    return true;
  }
  TParserError overflow = TParserError::kOverflow;
  switch (op.kind) {
    case TTokenKind::kSeparator:
      if (IsZero(a) && IsZero(b)) return Fail(TParserError::kArcTangent);
      value = TwoArgumentArcTan(a, b) * (radians_ ? 1 : 180 / std::numbers::pi);
      return true;
    case TTokenKind::kPlus:
      value = a + b;
      break;
    case TTokenKind::kMinus:
      value = a - b;
      break;
    case TTokenKind::kTimes:
      value = a * b;
      break;
    case TTokenKind::kDivide:
      if (IsZero(b)) return Fail(TParserError::kDivisionByZero);
      value = a / b;
      break;
    default:
      overflow = TParserError::kPower;
      if (b == 0) {
        value = 1;
      } else if (a > 0) {
        value = std::pow(a, b);
      } else if (a == 0) {
        // A negative power of zero divides by zero.
        if (b < 0) return Fail(TParserError::kPower);
        value = 0;
      } else {
        if (!IsZero(b - std::trunc(b))) return Fail(TParserError::kNegativeBasePower);
        value = std::pow(a, std::trunc(b));
      }
  }
  return std::isfinite(value) || Fail(overflow);
}

bool TParser::ApplyFunction(TTokenKind function, double& v) {
  if (std::isnan(v)) return true;
  const double toRadians = radians_ ? 1 : std::numbers::pi / 180;
  const double fromRadians = 1 / toRadians;
  switch (function) {
    case TTokenKind::kSin:
      if (!std::isfinite(v)) return Fail(TParserError::kSine);
      v = std::sin(v * toRadians);
      return true;
    case TTokenKind::kCos:
      if (!std::isfinite(v)) return Fail(TParserError::kCosine);
      v = std::cos(v * toRadians);
      return true;
    case TTokenKind::kTan:
      if (!std::isfinite(v)) return Fail(TParserError::kTangent);
      v = std::tan(v * toRadians);
      return true;
    case TTokenKind::kArcSin:
      if (!(std::fabs(v) <= 1)) return Fail(TParserError::kArcSine);
      v = std::asin(v) * fromRadians;
      return true;
    case TTokenKind::kArcCos:
      if (!(std::fabs(v) <= 1)) return Fail(TParserError::kArcCosine);
      v = std::acos(v) * fromRadians;
      return true;
    case TTokenKind::kArcTan:
      v = std::atan(v) * fromRadians;
      return true;
    case TTokenKind::kLn:
    case TTokenKind::kLog:
      if (v <= 0) return Fail(TParserError::kLogarithm);
      v = function == TTokenKind::kLn ? std::log(v) : std::log10(v);
      return true;
    case TTokenKind::kExp:
      v = std::exp(v);
      return std::isfinite(v) || Fail(TParserError::kExponential);
    case TTokenKind::kAbs:
      v = std::fabs(v);
      return true;
    case TTokenKind::kSqrt:
      if (v < 0) return Fail(TParserError::kSquareRoot);
      v = std::sqrt(v);
      return true;
    default:
      return true;
  }
}

}  // namespace kinovia
