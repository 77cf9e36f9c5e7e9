// Reading a formula text into tokens.
#include <algorithm>
#include <cctype>
#include <numbers>
#include <optional>

#include "core/Numbers.h"
#include "logic/formulas/Parser.h"
#include "logic/formulas/ParserText.h"

namespace kinovia {
namespace {

constexpr std::string_view kDivideSign = "\xC3\xB7";  // ÷
constexpr std::string_view kSquared = "\xC2\xB2";     // ²
constexpr std::string_view kCubed = "\xC2\xB3";       // ³

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Both marks are read whatever the regional settings, so that a formula saved on one computer
// still compiles on another.
bool IsDecimalMark(char c) { return c == '.' || c == ','; }
bool IsSign(char c) { return c == '+' || c == '-'; }

// The operators after which a "+" says nothing.
bool AbsorbsPlus(const std::string& out) {
  const char last = out.back();
  return last == ';' || last == '*' || last == '/' || last == '^' || out.ends_with(kDivideSign);
}

// Appends a sign, merging it with the signs and operator before it until nothing merges any more.
void AppendSign(std::string& out, char sign) {
  while (!out.empty()) {
    const char last = out.back();
    if (IsSign(last)) {
      out.pop_back();
      sign = last == sign ? '+' : '-';
      continue;
    }
    if (sign == '+' && AbsorbsPlus(out)) return;
    break;
  }
  out += sign;
}

struct FunctionName {
  std::string_view name;
  TokenKind kind;
};
constexpr FunctionName kFunctions[] = {
    {"SIN", TokenKind::kSin},       {"COS", TokenKind::kCos},       {"TAN", TokenKind::kTan},
    {"ARCSIN", TokenKind::kArcSin}, {"ARCCOS", TokenKind::kArcCos}, {"ARCTAN", TokenKind::kArcTan},
    {"LN", TokenKind::kLn},         {"LOG", TokenKind::kLog},       {"EXP", TokenKind::kExp},
    {"ABS", TokenKind::kAbs},       {"SQRT", TokenKind::kSqrt},
};

std::optional<TokenKind> FunctionKind(std::string_view letters) {
  for (const auto& f : kFunctions)
    if (EqualsIgnoringCase(letters, f.name)) return f.kind;
  return std::nullopt;
}

struct TokenError {
  ParserError code;
  std::string quote;
};
using ReadResult = std::optional<TokenError>;

ReadResult Error(ParserError code, std::string_view quote = {}) {
  return TokenError{code, std::string(quote)};
}

// Reads the tokens of a text whose signs have been rewritten, one at a time.
class TokenReader {
 public:
  explicit TokenReader(std::string_view text) : s_(text) {}
  bool AtEnd() const { return pos_ >= s_.size(); }
  int Depth() const { return depth_; }

  ReadResult Read(StackItem& token) {
    token.depth = depth_;
    const char c = s_[pos_];
    if (IsDigit(c) || IsDecimalMark(c)) return ReadNumber(token);
    if (NameCharLength(true) == 0) return ReadSymbol(token);
    return ReadName(token);
  }

 private:
  bool At(std::size_t i, std::string_view what) const { return s_.substr(i).starts_with(what); }
  char CharAt(std::size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

  // The length in bytes of the name character at the current position, 0 when there is none.
  std::size_t NameCharLength(bool first) const {
    const char c = s_[pos_];
    if (IsLetter(c) || c == '_' || (!first && IsDigit(c))) return 1;
    if (At(pos_, kSquared) || At(pos_, kCubed)) return 2;
    return 0;
  }

  std::size_t SkipDigits(std::size_t i) const {
    while (i < s_.size() && IsDigit(s_[i])) ++i;
    return i;
  }

  ReadResult ReadNumber(StackItem& token) {
    const std::size_t start = pos_;
    pos_ = SkipDigits(pos_);
    if (IsDecimalMark(CharAt(pos_))) {
      pos_ = SkipDigits(pos_ + 1);
      if (IsDecimalMark(CharAt(pos_))) return Error(ParserError::kBadNumber, Since(start, 1));
    }
    if (CharAt(pos_) == 'E' || CharAt(pos_) == 'e') {
      ++pos_;
      if (IsSign(CharAt(pos_))) ++pos_;
      const std::size_t digits = pos_;
      pos_ = SkipDigits(pos_);
      if (pos_ == digits) return Error(ParserError::kBadNumber, Since(start));
    }
    token.kind = TokenKind::kNumber;
    token.text = Since(start);
    const auto value = TextToReal(NormalizeDecimalSeparator(token.text));
    if (!value) return Error(ParserError::kBadNumber, token.text);
    token.value = *value;
    return std::nullopt;
  }

  ReadResult ReadSymbol(StackItem& token) {
    std::size_t length = 1;
    switch (s_[pos_]) {
      case ';':
        token.kind = TokenKind::kSeparator;
        break;
      case '+':
        token.kind = TokenKind::kPlus;
        break;
      case '-':
        token.kind = TokenKind::kMinus;
        break;
      case '/':
        token.kind = TokenKind::kDivide;
        break;
      case '*':
        token.kind = TokenKind::kTimes;
        break;
      case '^':
        token.kind = TokenKind::kPower;
        break;
      case '(':
        token.kind = TokenKind::kOpen;
        break;
      case ')':
        token.kind = TokenKind::kClose;
        break;
      default:
        if (!At(pos_, kDivideSign))
          return Error(ParserError::kBadCharacter, QuotedCharacter(s_, pos_));
        token.kind = TokenKind::kDivide;
        length = kDivideSign.size();
    }
    token.text = std::string(s_.substr(pos_, length));
    pos_ += length;
    if (token.kind == TokenKind::kOpen) token.depth = ++depth_;
    // Caught at once: a later "(" would otherwise balance the count and hide the fault.
    if (token.kind == TokenKind::kClose && --depth_ < 0)
      return Error(ParserError::kUnopenedParenthesis);
    const bool takesSign = token.kind == TokenKind::kSeparator ||
                           token.kind == TokenKind::kDivide || token.kind == TokenKind::kTimes ||
                           token.kind == TokenKind::kPower;
    if (takesSign && CharAt(pos_) == '-') {
      token.negateRightOperand = true;
      ++pos_;
    }
    return std::nullopt;
  }

  ReadResult ReadName(StackItem& token) {
    const std::size_t start = pos_;
    std::size_t lettersEnd = pos_;
    while (IsLetter(CharAt(lettersEnd))) ++lettersEnd;
    const std::string_view letters = s_.substr(start, lettersEnd - start);
    if (EqualsIgnoringCase(letters, "pi")) {
      pos_ = lettersEnd;
      token.kind = TokenKind::kNumber;
      token.text = std::string(letters);
      token.value = std::numbers::pi;
      return std::nullopt;
    }
    const auto function = FunctionKind(letters);
    if (function && CharAt(lettersEnd) == '(') {
      pos_ = lettersEnd;
      token.kind = *function;
      token.text = std::string(letters);
      return std::nullopt;
    }
    while (!AtEnd() && NameCharLength(false) > 0) pos_ += NameCharLength(false);
    token.kind = TokenKind::kVariable;
    token.text = Since(start);
    return CharAt(pos_) == '[' ? ReadIndex(token) : std::nullopt;
  }

  // "[i]", "[i+1]", "[I-2]": relative to the row; "[0]", "[-3]": absolute.
  ReadResult ReadIndex(StackItem& token) {
    ++pos_;
    const bool relative = CharAt(pos_) == 'i' || CharAt(pos_) == 'I';
    if (relative) ++pos_;
    const std::size_t numberStart = pos_;
    if (IsSign(CharAt(pos_))) ++pos_;
    const std::size_t digitsStart = pos_;
    pos_ = SkipDigits(pos_);
    const bool hasNumber = pos_ > numberStart;
    if ((hasNumber || !relative) && pos_ == digitsStart)
      return Error(ParserError::kBadIndex, token.text);
    if (hasNumber) {
      const auto index = TextToInteger(s_.substr(numberStart, pos_ - numberStart));
      if (!index) return Error(ParserError::kBadIndex, token.text);
      token.index = *index;
    }
    if (CharAt(pos_) != ']') return Error(ParserError::kMissingBracket, token.text);
    ++pos_;
    token.hasIndex = true;
    token.absoluteIndex = !relative;
    return std::nullopt;
  }

  std::string Since(std::size_t start, std::size_t more = 0) const {
    return std::string(s_.substr(start, pos_ - start + more));
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsFunctionName(std::string_view name) { return FunctionKind(name).has_value(); }

std::string QuotedCharacter(std::string_view text, std::size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (c >= 0x20 && c < 0x7F) return std::string(1, text[i]);
  const std::size_t length = c >= 0xC2 && c < 0xE0   ? 2
                             : c >= 0xE0 && c < 0xF0 ? 3
                             : c >= 0xF0 && c < 0xF5 ? 4
                                                     : 0;
  bool whole = length > 0 && i + length <= text.size();
  for (std::size_t k = 1; whole && k < length; ++k)
    whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
  if (whole) return std::string(text.substr(i, length));
  constexpr char kHex[] = "0123456789ABCDEF";
  return std::string{'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
}

std::string RewriteSigns(std::string_view text) {
  std::string merged;
  merged.reserve(text.size());
  for (const char c : text) {
    if (IsSign(c))
      AppendSign(merged, c);
    else
      merged += c;
  }
  // A leading sign: "+x" is x, "-x" is 0-x, and so inside parentheses.
  std::string out;
  out.reserve(merged.size() + merged.size() / 2 + 1);
  for (std::size_t i = 0; i < merged.size(); ++i) {
    const bool opening = i == 0 || merged[i - 1] == '(';
    if (opening && merged[i] == '+') continue;
    if (opening && merged[i] == '-') out += '0';
    out += merged[i];
  }
  return out;
}

bool Parser::Tokenise() {
  // Started afresh: an owner's callback that threw may have left a previous attempt half done.
  tokens_.clear();
  variableNames_.clear();
  if (formula_.size() > kMaxFormulaLength)
    return Fail(ParserError::kFormulaTooLong, std::to_string(kMaxFormulaLength));
  const std::string text = RewriteSigns(formula_);
  TokenReader reader(text);
  while (!reader.AtEnd()) {
    StackItem token;
    if (auto error = reader.Read(token)) return Fail(error->code, std::move(error->quote));
    tokens_.push_back(std::move(token));
  }
  // Names are offered once the whole text reads, so that "SIN (30)" is refused for its blank
  // rather than for an unknown "SIN".
  for (StackItem& token : tokens_)
    if (token.kind == TokenKind::kVariable && !OfferVariable(token)) return false;
  if (reader.Depth() > 0) return Fail(ParserError::kUnclosedParenthesis);
  if (tokens_.empty()) return Fail(ParserError::kEmptyFormula);
  MatchParentheses();
  return true;
}

bool Parser::OfferVariable(StackItem& token) {
  const VariableAnswer answer = AskOwner(token);
  if (!answer.found) return Fail(ParserError::kUnknownVariable, token.text);
  token.value = answer.value;
  const bool known =
      std::any_of(variableNames_.begin(), variableNames_.end(),
                  [&](const std::string& n) { return EqualsIgnoringCase(n, token.text); });
  if (!known) variableNames_.push_back(token.text);
  return true;
}

void Parser::MatchParentheses() {
  partner_.assign(tokens_.size(), ExpressionNode::kNone);
  std::vector<int> open;
  for (int i = 0; i < static_cast<int>(tokens_.size()); ++i) {
    if (tokens_[i].kind == TokenKind::kOpen) open.push_back(i);
    if (tokens_[i].kind == TokenKind::kClose) {
      partner_[i] = open.back();
      partner_[open.back()] = i;
      open.pop_back();
    }
  }
}

}  // namespace kinovia
