#include "logic/formulas/UserFormulasNames.h"

#include <algorithm>

#include "core/Numbers.h"
#include "logic/formulas/ParserText.h"
#include "resources/TxtFormulas.h"

namespace kinovia {
namespace {

// Long enough for "kg.m²/s²" and its like, short enough for a column's header.
constexpr std::size_t kMaxUnitLength = 24;

// True when the text compiles to exactly one variable token without an index: the tokeniser
// decides what a name is, so that every name accepted here reads back as itself in a formula.
bool ReadsAsOneName(const std::string& name) {
  Parser parser;
  parser.SetOnVariable([](const VariableQuery&) { return VariableAnswer{true, 0}; });
  parser.SetFormula(name);
  if (!parser.Compile() || parser.Tokens().size() != 1) return false;
  const StackItem& token = parser.Tokens().front();
  return token.kind == TokenKind::kVariable && !token.hasIndex && token.text == name;
}

struct NamedKey {
  std::string name;
  std::optional<int> index;
};

bool SameKey(const NamedKey& a, const NamedKey& b) {
  return a.index == b.index && EqualsIgnoringCase(a.name, b.name);
}

// Refuses a key already taken; the key is taken in any case, so that a third one is refused too.
FormulaStatus Claim(std::vector<NamedKey>& taken, NamedKey key) {
  const bool repeated =
      std::any_of(taken.begin(), taken.end(), [&](const NamedKey& k) { return SameKey(k, key); });
  FormulaStatus status;
  if (repeated) status = FormulaFaultStatus(FormulaFault::kRepeatedName, key.name);
  taken.push_back(std::move(key));
  return status;
}

}  // namespace

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

FormulaStatus CheckName(const std::string& name, const std::vector<std::string>& symbols) {
  if (name.empty()) return FormulaFaultStatus(FormulaFault::kMissingName, {});
  if (!ReadsAsOneName(name)) return FormulaFaultStatus(FormulaFault::kBadName, name);
  if (IsFunctionName(name)) return FormulaFaultStatus(FormulaFault::kFunctionName, name);
  const bool inTable = std::any_of(symbols.begin(), symbols.end(), [&](const std::string& s) {
    return EqualsIgnoringCase(s, name);
  });
  if (inTable) return FormulaFaultStatus(FormulaFault::kTableName, name);
  return {};
}

FormulaStatus CheckUnit(const std::string& unit) {
  const bool control = std::any_of(unit.begin(), unit.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
  if (control || unit.size() > kMaxUnitLength) {
    std::string quote;
    for (std::size_t i = 0; i < unit.size() && quote.size() < kMaxUnitLength; ++i)
      quote += QuotedCharacter(unit, i);
    return FormulaFaultStatus(FormulaFault::kBadUnit, quote);
  }
  return {};
}

ConstantIndex ReadConstantIndex(const std::string& text) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty()) return {};
  const auto index = TextToInteger(trimmed);
  if (!index) return {FormulaFaultStatus(FormulaFault::kBadIndex, text), std::nullopt};
  return {{}, *index};
}

NameStatuses CheckNames(const FormulaSet& set, const std::vector<std::string>& symbols) {
  NameStatuses out;
  std::vector<NamedKey> taken;
  for (const UserFormula& f : set.formulas) {
    FormulaStatus status = CheckName(f.identifier, symbols);
    if (status.Ok()) status = Claim(taken, {f.identifier, std::nullopt});
    if (status.Ok()) status = CheckUnit(f.unit);
    out.variables.push_back(std::move(status));
  }
  for (const UserConstant& c : set.constants) {
    ConstantIndex index = ReadConstantIndex(c.index);
    FormulaStatus status = CheckName(c.identifier, symbols);
    if (status.Ok()) status = std::move(index.status);
    if (status.Ok()) status = Claim(taken, {c.identifier, index.index});
    if (status.Ok()) status = CheckUnit(c.unit);
    out.constants.push_back(std::move(status));
    out.indexes.push_back(index.index);
  }
  return out;
}

}  // namespace kinovia
