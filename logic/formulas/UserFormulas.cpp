#include "logic/formulas/UserFormulas.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "logic/formulas/UserFormulasNames.h"
#include "resources/TxtFormulas.h"

namespace kinovia {
namespace {

enum class Source : std::uint8_t { Constant, Column, Variable };
// How far a reference to another variable reaches: the same row, an earlier row only, or any
// row (a later one, or a row given by number).
enum class Reach : std::uint8_t { SameRow, EarlierRow, AnyRow };

struct Reference {
  Source source = Source::Constant;
  int target = 0;  // the column or the variable
  bool relative = true;
  int offset = 0;             // relative: rows after the current one; absolute: the row
  double value = kUndefined;  // a constant's
};

Reach ReachOf(const Reference& r) {
  if (!r.relative || r.offset > 0) return Reach::AnyRow;
  return r.offset == 0 ? Reach::SameRow : Reach::EarlierRow;
}

int FindIgnoringCase(const std::vector<std::string>& names, std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (EqualsIgnoringCase(names[i], name)) return static_cast<int>(i);
  return -1;
}

// The constant a formula names: the one without index for a plain name, the one of that index
// for "g[2]"; -1 when there is none.
int FindConstant(const FormulaSet& set, const std::vector<std::optional<int>>& indexes,
                 const VariableQuery& q) {
  const std::optional<int> wanted =
      q.hasIndex && q.absoluteIndex ? std::optional<int>(q.index) : std::nullopt;
  for (std::size_t k = 0; k < set.constants.size(); ++k)
    if (indexes[k] == wanted && EqualsIgnoringCase(set.constants[k].identifier, q.name))
      return static_cast<int>(k);
  return -1;
}

FormulaStatus ParserStatus(const Parser& parser) {
  return {static_cast<int>(parser.ErrorCode()), parser.ErrorMessage()};
}

std::string JoinedNames(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

// Values equal bit for bit: an undefined value equals itself here, as an unchanged input must.
bool SameValues(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

}  // namespace

FormulaStatus FormulaFaultStatus(FormulaFault fault, const std::string& quote) {
  static const std::pair<FormulaFault, TxtId> kTexts[] = {
      {FormulaFault::kMissingName, txt::FormulaMissingName},
      {FormulaFault::kBadName, txt::FormulaBadName},
      {FormulaFault::kRepeatedName, txt::FormulaRepeatedName},
      {FormulaFault::kTableName, txt::FormulaTableName},
      {FormulaFault::kFunctionName, txt::FormulaFunctionName},
      {FormulaFault::kCycle, txt::FormulaCycle},
      {FormulaFault::kBadUnit, txt::FormulaBadUnit},
      {FormulaFault::kBadValue, txt::FormulaBadValue},
      {FormulaFault::kBadIndex, txt::FormulaBadIndex},
  };
  for (const auto& [f, id] : kTexts) {
    if (f != fault) continue;
    std::string text = Txt(id);
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, quote);
    return {static_cast<int>(fault), std::move(text)};
  }
  return {};
}

struct UserFormulas::Compiled {
  struct Variable {
    Parser parser;
    std::vector<Reference> references;          // by token position
    std::vector<std::pair<int, double>> seeds;  // a row and the value a constant gives it there
  };
  FormulaSettings settings;
  std::vector<std::string> symbols;
  NameStatuses names;
  std::vector<Variable> variables;
  std::vector<std::vector<int>> groups;  // evaluation order; in a group, the order within a row
  std::vector<std::vector<double>> lastColumns;
  std::vector<std::vector<double>> scratch;  // shifted columns, kept for the next evaluation
  bool evaluated = false;
  bool compiling = false;  // the callbacks record references instead of reading values

  // The state of an evaluation, read by the parsers' callbacks.
  const std::vector<FormulaColumn>* columns = nullptr;
  std::vector<EvaluatedVariable>* results = nullptr;
  int row = 0;
  int rows = 0;

  double Read(const Reference& r) const {
    if (r.source == Source::Constant) return r.value;
    const int at = r.relative ? row + r.offset : r.offset;
    if (r.source == Source::Variable) {
      for (const auto& [seedRow, value] : variables[static_cast<std::size_t>(r.target)].seeds)
        if (seedRow == at) return value;
    }
    if (at < 0 || at >= rows) return kUndefined;
    const auto i = static_cast<std::size_t>(at);
    if (r.source == Source::Column) return (*columns)[static_cast<std::size_t>(r.target)].values[i];
    return (*results)[static_cast<std::size_t>(r.target)].values[i];
  }

  // What a relative reference reads on every row, as Read gives it row by row.
  void ReadShifted(const Reference& r, std::vector<double>& values) const {
    const auto target = static_cast<std::size_t>(r.target);
    const double* source = r.source == Source::Column ? (*columns)[target].values.data()
                                                      : (*results)[target].values.data();
    values.resize(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
      const int at = row + r.offset;
      values[static_cast<std::size_t>(row)] =
          at >= 0 && at < rows ? source[static_cast<std::size_t>(at)] : kUndefined;
    }
    if (r.source != Source::Variable) return;
    // Backwards, so that the first seed of a row is the one that stays, as Read finds it.
    const auto& seeds = variables[target].seeds;
    for (auto seed = seeds.rbegin(); seed != seeds.rend(); ++seed) {
      const int row = seed->first - r.offset;
      if (row >= 0 && row < rows) values[static_cast<std::size_t>(row)] = seed->second;
    }
  }
};

UserFormulas::UserFormulas() = default;
UserFormulas::~UserFormulas() = default;
UserFormulas::UserFormulas(UserFormulas&&) noexcept = default;
UserFormulas& UserFormulas::operator=(UserFormulas&&) noexcept = default;

namespace {

// The constants' values: numbers read at once, formulas of constants evaluated once those they
// read have their values. What is left when nothing more can be evaluated reads in a circle.
class ConstantSolver {
 public:
  ConstantSolver(const FormulaSet& set, const NameStatuses& names, bool radians,
                 std::vector<EvaluatedConstant>& out)
      : set_(set),
        names_(names),
        out_(out),
        parsers_(set.constants.size()),
        reads_(set.constants.size()) {
    out_.assign(set.constants.size(), {});
    for (std::size_t k = 0; k < out_.size(); ++k) {
      out_[k].status = names.constants[k];
      parsers_[k].SetRadians(radians);
    }
  }

  void Solve() {
    std::vector<std::size_t> pending;
    for (std::size_t k = 0; k < out_.size(); ++k)
      if (out_[k].status.Ok() && !ReadNumberOrCompile(k)) pending.push_back(k);
    std::vector<bool> done(out_.size(), true);
    for (const std::size_t k : pending) done[k] = false;
    for (bool progress = true; progress;) {
      progress = false;
      for (const std::size_t k : pending) {
        const bool ready =
            std::all_of(reads_[k].begin(), reads_[k].end(), [&](std::size_t c) { return done[c]; });
        if (done[k] || !ready) continue;
        EvaluateFormula(k);
        done[k] = progress = true;
      }
    }
    std::vector<std::string> circle;
    for (const std::size_t k : pending)
      if (!done[k]) circle.push_back(set_.constants[k].identifier);
    for (const std::size_t k : pending)
      if (!done[k]) out_[k].status = FormulaFaultStatus(FormulaFault::kCycle, JoinedNames(circle));
  }

 private:
  // False for a formula that compiled and waits for its evaluation.
  bool ReadNumberOrCompile(std::size_t k) {
    const std::string text = Trimmed(set_.constants[k].value);
    if (!text.starts_with('=')) {
      const auto value = TextToReal(NormalizeDecimalSeparator(text));
      if (value) out_[k].value = *value;
      if (!value) out_[k].status = FormulaFaultStatus(FormulaFault::kBadValue, text);
      return true;
    }
    Parser& parser = parsers_[k];
    parser.SetOnVariable([this, k](const VariableQuery& q) -> VariableAnswer {
      const int c = FindConstant(set_, names_.indexes, q);
      if (c < 0 || !names_.constants[static_cast<std::size_t>(c)].Ok()) return {};
      const auto target = static_cast<std::size_t>(c);
      if (std::find(reads_[k].begin(), reads_[k].end(), target) == reads_[k].end())
        reads_[k].push_back(target);
      return {true, out_[target].value};
    });
    parser.SetFormula(text.substr(1));
    if (parser.Compile()) return false;
    out_[k].status = ParserStatus(parser);
    return true;
  }

  void EvaluateFormula(std::size_t k) {
    out_[k].value = parsers_[k].Evaluate();
    if (parsers_[k].ErrorCode() != ParserError::kNone) out_[k].status = ParserStatus(parsers_[k]);
  }

  const FormulaSet& set_;
  const NameStatuses& names_;
  std::vector<EvaluatedConstant>& out_;
  std::vector<Parser> parsers_;
  std::vector<std::vector<std::size_t>> reads_;  // the constants each formula reads
};

}  // namespace

void UserFormulas::Define(const FormulaSet& set, const std::vector<std::string>& symbols,
                          FormulaSettings settings) {
  set_ = set;
  compiled_ = std::make_unique<Compiled>();
  Compiled& c = *compiled_;
  c.settings = settings;
  c.symbols = symbols;
  c.names = CheckNames(set_, symbols);
  ConstantSolver(set_, c.names, settings.radians, constants_).Solve();
  variables_.assign(set_.formulas.size(), {});
  c.variables.resize(set_.formulas.size());
  for (std::size_t j = 0; j < set_.formulas.size(); ++j) {
    variables_[j].status = c.names.variables[j];
    if (variables_[j].status.Ok()) CompileVariable(j);
  }
  OrderVariables();
}

bool UserFormulas::DefinedAs(const FormulaSet& set, const std::vector<std::string>& symbols,
                             FormulaSettings settings) const {
  return compiled_ && set == set_ && symbols == compiled_->symbols &&
         settings == compiled_->settings;
}

void UserFormulas::CompileVariable(std::size_t j) {
  Compiled& c = *compiled_;
  Compiled::Variable& v = c.variables[j];
  const std::string& name = set_.formulas[j].identifier;
  for (std::size_t k = 0; k < set_.constants.size(); ++k) {
    const auto& index = c.names.indexes[k];
    if (index && constants_[k].status.Ok() &&
        EqualsIgnoringCase(set_.constants[k].identifier, name))
      v.seeds.emplace_back(*index - c.settings.firstRowNumber, constants_[k].value);
  }
  v.parser.SetRadians(c.settings.radians);
  v.parser.SetOnVariable([this, j](const VariableQuery& q) { return Resolve(j, q); });
  v.parser.SetFormula(set_.formulas[j].phrase);
  c.compiling = true;
  const bool compiled = v.parser.Compile();
  c.compiling = false;
  if (!compiled) {
    variables_[j].status = ParserStatus(v.parser);
    return;
  }
  // An iterative variable starts from the value a constant gives one of its rows.
  const bool readsEarlierSelf =
      std::any_of(v.references.begin(), v.references.end(), [&](const Reference& r) {
        return r.source == Source::Variable && static_cast<std::size_t>(r.target) == j &&
               ReachOf(r) == Reach::EarlierRow;
      });
  if (readsEarlierSelf && v.seeds.empty())
    variables_[j].status = {
        static_cast<int>(ParserError::kUndefinedVariable),
        ParserErrorMessage(ParserError::kUndefinedVariable, {name, name + "[0]", name + "[1]"})};
}

VariableAnswer UserFormulas::Resolve(std::size_t j, const VariableQuery& q) {
  Compiled& c = *compiled_;
  Compiled::Variable& v = c.variables[j];
  if (!c.compiling) return {true, c.Read(v.references[static_cast<std::size_t>(q.token)])};
  Reference r;
  r.relative = !q.hasIndex || !q.absoluteIndex;
  r.offset = r.relative ? q.index : q.index - c.settings.firstRowNumber;
  const int variable = UsableVariable(q.name);
  const int column = FindIgnoringCase(c.symbols, q.name);
  if (variable >= 0) {
    r.source = Source::Variable;
    r.target = variable;
  } else if (column >= 0) {
    r.source = Source::Column;
    r.target = column;
  } else {
    const int k = FindConstant(set_, c.names.indexes, q);
    if (k < 0 || !c.names.constants[static_cast<std::size_t>(k)].Ok()) return {};
    r.source = Source::Constant;
    r.value = constants_[static_cast<std::size_t>(k)].value;
  }
  const auto token = static_cast<std::size_t>(q.token);
  if (v.references.size() <= token) v.references.resize(token + 1);
  v.references[token] = r;
  return {true, 0};
}

int UserFormulas::UsableVariable(std::string_view name) const {
  for (std::size_t j = 0; j < set_.formulas.size(); ++j)
    if (compiled_->names.variables[j].Ok() && EqualsIgnoringCase(set_.formulas[j].identifier, name))
      return static_cast<int>(j);
  return -1;
}

namespace {

// Groups of variables that read each other (strongly connected), each after the groups it
// reads: the order in which Tarjan's search completes them.
class GroupFinder {
 public:
  explicit GroupFinder(const std::vector<std::vector<int>>& reads)
      : reads_(reads),
        index_(reads.size(), -1),
        low_(reads.size(), 0),
        onStack_(reads.size(), false) {}

  std::vector<std::vector<int>> Find() {
    for (int v = 0; v < static_cast<int>(reads_.size()); ++v)
      if (index_[static_cast<std::size_t>(v)] < 0) Visit(v);
    return std::move(groups_);
  }

 private:
  void Visit(int v) {
    const auto u = static_cast<std::size_t>(v);
    index_[u] = low_[u] = next_++;
    stack_.push_back(v);
    onStack_[u] = true;
    for (const int w : reads_[u]) {
      const auto x = static_cast<std::size_t>(w);
      if (index_[x] < 0) {
        Visit(w);
        low_[u] = std::min(low_[u], low_[x]);
      } else if (onStack_[x]) {
        low_[u] = std::min(low_[u], index_[x]);
      }
    }
    if (low_[u] != index_[u]) return;
    std::vector<int>& group = groups_.emplace_back();
    for (int w = -1; w != v;) {
      w = stack_.back();
      stack_.pop_back();
      onStack_[static_cast<std::size_t>(w)] = false;
      group.push_back(w);
    }
    std::sort(group.begin(), group.end());
  }

  const std::vector<std::vector<int>>& reads_;
  std::vector<int> index_, low_;
  std::vector<bool> onStack_;
  std::vector<int> stack_;
  std::vector<std::vector<int>> groups_;
  int next_ = 0;
};

}  // namespace

void UserFormulas::OrderVariables() {
  Compiled& c = *compiled_;
  const std::size_t n = set_.formulas.size();
  std::vector<std::vector<int>> reads(n);
  for (std::size_t j = 0; j < n; ++j) {
    if (!variables_[j].status.Ok()) continue;
    for (const Reference& r : c.variables[j].references)
      if (r.source == Source::Variable &&
          variables_[static_cast<std::size_t>(r.target)].status.Ok())
        reads[j].push_back(r.target);
  }
  for (std::vector<int>& group : GroupFinder(reads).Find()) {
    if (!variables_[static_cast<std::size_t>(group.front())].status.Ok()) continue;
    if (OrderWithinRow(group)) {
      c.groups.push_back(std::move(group));
      continue;
    }
    std::vector<std::string> names;
    for (const int j : group)
      names.push_back(set_.formulas[static_cast<std::size_t>(j)].identifier);
    for (const int j : group)
      variables_[static_cast<std::size_t>(j)].status =
          FormulaFaultStatus(FormulaFault::kCycle, JoinedNames(names));
  }
}

// Within a group, each variable reads the others only on earlier rows, or on its own row when
// they come before it; false when no such order exists (a circle).
bool UserFormulas::OrderWithinRow(std::vector<int>& group) const {
  const Compiled& c = *compiled_;
  const auto inGroup = [&](int j) {
    return std::find(group.begin(), group.end(), j) != group.end();
  };
  std::vector<int> ordered;
  std::vector<int> left = group;
  while (!left.empty()) {
    const auto next = std::find_if(left.begin(), left.end(), [&](int j) {
      const auto& refs = c.variables[static_cast<std::size_t>(j)].references;
      return std::none_of(refs.begin(), refs.end(), [&](const Reference& r) {
        if (r.source != Source::Variable || !inGroup(r.target)) return false;
        const Reach reach = ReachOf(r);
        if (reach == Reach::AnyRow) return true;
        return reach == Reach::SameRow &&
               std::find(ordered.begin(), ordered.end(), r.target) == ordered.end();
      });
    });
    if (next == left.end()) return false;
    ordered.push_back(*next);
    left.erase(next);
  }
  group = std::move(ordered);
  return true;
}

void UserFormulas::Evaluate(const std::vector<FormulaColumn>& columns) {
  Compiled& c = *compiled_;
  c.columns = &columns;
  c.results = &variables_;
  c.rows = columns.empty() ? 0 : static_cast<int>(columns.front().values.size());
  std::vector<bool> changedColumn(columns.size(), true);
  const bool sameShape = c.evaluated && c.lastColumns.size() == columns.size();
  for (std::size_t s = 0; sameShape && s < columns.size(); ++s)
    changedColumn[s] = !SameValues(c.lastColumns[s], columns[s].values);
  std::vector<bool> changed(variables_.size(), false);
  lastEvaluated_ = 0;
  for (std::size_t j = 0; j < variables_.size(); ++j)
    if (!variables_[j].status.Ok())
      variables_[j].values.assign(static_cast<std::size_t>(c.rows), kUndefined);
  for (const std::vector<int>& group : c.groups) {
    const bool stale = std::any_of(group.begin(), group.end(), [&](int j) {
      const auto& refs = c.variables[static_cast<std::size_t>(j)].references;
      return !c.evaluated ||
             std::any_of(refs.begin(), refs.end(),
                         [&](const Reference& r) {
                           const auto t = static_cast<std::size_t>(r.target);
                           return (r.source == Source::Column && changedColumn[t]) ||
                                  (r.source == Source::Variable && changed[t]);
                         }) ||
             variables_[static_cast<std::size_t>(j)].values.size() !=
                 static_cast<std::size_t>(c.rows);
    });
    if (!stale) continue;
    EvaluateGroup(group);
    for (const int j : group) changed[static_cast<std::size_t>(j)] = true;
    lastEvaluated_ += static_cast<int>(group.size());
  }
  // Copied into the buffers of the previous evaluation, which are already the right size.
  c.lastColumns.resize(columns.size());
  for (std::size_t s = 0; s < columns.size(); ++s) c.lastColumns[s] = columns[s].values;
  c.evaluated = true;
}

void UserFormulas::EvaluateGroup(const std::vector<int>& group) {
  Compiled& c = *compiled_;
  const auto& references = c.variables[static_cast<std::size_t>(group.front())].references;
  const bool readsItself =
      std::any_of(references.begin(), references.end(), [&](const Reference& r) {
        return r.source == Source::Variable && r.target == group.front();
      });
  if (group.size() == 1 && !readsItself) {
    EvaluateWhole(static_cast<std::size_t>(group.front()));
    return;
  }
  for (const int j : group) {
    EvaluatedVariable& out = variables_[static_cast<std::size_t>(j)];
    out.values.assign(static_cast<std::size_t>(c.rows), kUndefined);
    out.rowFault.clear();
  }
  for (c.row = 0; c.row < c.rows; ++c.row) {
    for (const int j : group) {
      const auto u = static_cast<std::size_t>(j);
      Compiled::Variable& v = c.variables[u];
      EvaluatedVariable& out = variables_[u];
      const auto seed = std::find_if(v.seeds.begin(), v.seeds.end(),
                                     [&](const auto& s) { return s.first == c.row; });
      double value = seed != v.seeds.end() ? seed->second : v.parser.Evaluate();
      if (seed == v.seeds.end() && v.parser.ErrorCode() != ParserError::kNone) {
        if (out.rowFault.empty()) out.rowFault = v.parser.ErrorMessage();
        value = kUndefined;
      }
      out.values[static_cast<std::size_t>(c.row)] = value;
    }
  }
}

// A variable that needs no earlier row of its own is evaluated a whole column at a time.
void UserFormulas::EvaluateWhole(std::size_t j) {
  Compiled& c = *compiled_;
  Compiled::Variable& v = c.variables[j];
  const auto rows = static_cast<std::size_t>(c.rows);
  std::size_t scratchUsed = 0;
  const auto column = [&](int token) -> const double* {
    const Reference& r = v.references[static_cast<std::size_t>(token)];
    // A constant, or a row given by number, is the same on every row: the parser asks it once.
    if (r.source == Source::Constant || !r.relative) return nullptr;
    const auto target = static_cast<std::size_t>(r.target);
    // A column read on its own row needs no copy.
    if (r.offset == 0 && r.source == Source::Column) return (*c.columns)[target].values.data();
    if (r.offset == 0 && r.source == Source::Variable && c.variables[target].seeds.empty())
      return variables_[target].values.data();
    if (scratchUsed == c.scratch.size()) c.scratch.emplace_back();
    std::vector<double>& values = c.scratch[scratchUsed++];
    c.ReadShifted(r, values);
    return values.data();
  };
  EvaluatedVariable& out = variables_[j];
  out.rowFault.clear();
  v.parser.EvaluateColumn(rows, column, out.values);
  if (v.parser.ErrorCode() != ParserError::kNone) out.rowFault = v.parser.ErrorMessage();
  for (const auto& [row, value] : v.seeds)
    if (row >= 0 && row < c.rows) out.values[static_cast<std::size_t>(row)] = value;
}

CalculatorResult EvaluateWithConstants(const std::string& formula, const UserFormulas& formulas,
                                       bool radians) {
  const NameStatuses names = CheckNames(formulas.Definitions(), {});
  Parser parser;
  parser.SetRadians(radians);
  parser.SetOnVariable([&](const VariableQuery& q) -> VariableAnswer {
    const int k = FindConstant(formulas.Definitions(), names.indexes, q);
    if (k < 0 || static_cast<std::size_t>(k) >= formulas.Constants().size()) return {};
    return {true, formulas.Constants()[static_cast<std::size_t>(k)].value};
  });
  parser.SetFormula(formula);
  CalculatorResult result;
  result.value = parser.Evaluate();
  if (parser.ErrorCode() != ParserError::kNone) result.status = ParserStatus(parser);
  return result;
}

}  // namespace kinovia
