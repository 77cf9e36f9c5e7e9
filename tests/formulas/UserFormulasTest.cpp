#include "logic/formulas/UserFormulas.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace kinovia {
namespace {

// Three rows of a results table with one object: time, position and speed.
const std::vector<std::string> kSymbols = {"t", "x", "y", "v"};
std::vector<FormulaColumn> Table(std::vector<double> x = {0.0, 0.1, 0.3}) {
  return {{"t", {0, 0.04, 0.08}}, {"x", std::move(x)}, {"y", {1, 0.5, -0.5}}, {"v", {2, 3, 4}}};
}

UserFormulas Evaluated(const FormulaSet& set, std::vector<FormulaColumn> columns = Table(),
                       FormulaSettings settings = {}) {
  UserFormulas formulas;
  formulas.Define(set, kSymbols, settings);
  formulas.Evaluate(columns);
  return formulas;
}

void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (std::isnan(expected[i])) {
      EXPECT_TRUE(std::isnan(actual[i])) << "row " << i;
    } else {
      EXPECT_NEAR(actual[i], expected[i], 1e-12) << "row " << i;
    }
  }
}

TEST(UserFormulas, VariablesAreEvaluatedAfterThoseTheyRead) {
  // Listed before the variables it reads, and reading them by another case.
  const FormulaSet set{{{"Em", "EC+ep", "", "J"},
                        {"Ec", "0,5*m*v^2", "energía cinética", "J"},
                        {"Ep", "m*g*y", "", "J"}},
                       {{"m", "", "0.5", "kg"}, {"g", "", "=2*4,905", "m/s²"}}};
  const UserFormulas f = Evaluated(set);
  ASSERT_TRUE(f.Variables()[0].status.Ok()) << f.Variables()[0].status.message;
  ExpectValues(f.Variables()[1].values, {1, 2.25, 4});
  ExpectValues(f.Variables()[2].values, {4.905, 2.4525, -2.4525});
  ExpectValues(f.Variables()[0].values, {5.905, 4.7025, 1.5475});
  EXPECT_DOUBLE_EQ(f.Constants()[1].value, 9.81);
}

TEST(UserFormulas, CirclesNotBrokenByAnIndexAreRefusedNamingTheirMembers) {
  const struct {
    FormulaSet set;
    std::vector<std::string> refused;  // the message's list, in each refused line
  } cases[] = {
      {{{{"a", "b+1", "", ""}, {"b", "2*a", "", ""}, {"c", "x", "", ""}}, {}},
       {"a, b", "a, b", ""}},
      {{{{"s", "s+1", "", ""}}, {}}, {"s"}},
      // A later row is no earlier value: x2 would need itself.
      {{{{"x2", "x2[i+1]", "", ""}}, {}}, {"x2"}},
  };
  for (const auto& c : cases) {
    const UserFormulas f = Evaluated(c.set);
    for (std::size_t j = 0; j < c.refused.size(); ++j) {
      const FormulaStatus& status = f.Variables()[j].status;
      if (c.refused[j].empty()) {
        EXPECT_TRUE(status.Ok()) << status.message;
        continue;
      }
      EXPECT_EQ(status.code, static_cast<int>(FormulaFault::kCycle));
      EXPECT_EQ(status.message,
                "Definición circular: cada una de estas variables o constantes "
                "necesita el valor de otra : " +
                    c.refused[j]);
      ExpectValues(f.Variables()[j].values, {kUndefined, kUndefined, kUndefined});
    }
  }
}

TEST(UserFormulas, IterativeVariablesStartFromTheirIndexedConstant) {
  // Speed integrated from a constant acceleration, u[i] = u[i-1] + g*(t[i]-t[i-1]), from u = 1
  // on the first row; and w reading u on the same row and on the row before.
  const FormulaSet set{{{"w", "u-u[i-1]", "", ""}, {"u", "u[i-1]+g*(t-t[i-1])", "", "m/s"}},
                       {{"g", "", "10", ""}, {"u", "1", "1", ""}}};
  const UserFormulas f = Evaluated(set);
  ASSERT_TRUE(f.Variables()[1].status.Ok()) << f.Variables()[1].status.message;
  ExpectValues(f.Variables()[1].values, {1, 1.4, 1.8});
  ExpectValues(f.Variables()[0].values, {kUndefined, 0.4, 0.4});

  // Rows numbered from 0: the same constant now fixes the second row.
  const UserFormulas fromZero = Evaluated(set, Table(), {false, 0});
  ExpectValues(fromZero.Variables()[1].values, {kUndefined, 1, 1.4});

  const UserFormulas unseeded = Evaluated({{{"u", "u[i-1]+1", "", ""}}, {}});
  EXPECT_EQ(unseeded.Variables()[0].status.code, 28);
  EXPECT_EQ(unseeded.Variables()[0].status.message,
            "Variable con valor desconocido : u. Verificar que el valor inicial (u[0] o u[1]) está "
            "definido en la tabla de las constantes.");
}

TEST(UserFormulas, RowsWithAnUndefinedOperandStayUndefined) {
  const FormulaSet set{
      {{"dx", "x[i+1]-x", "", "m"}, {"r", "ln(x)", "", ""}, {"k", "2*x[2]", "", ""}}, {}};
  const UserFormulas f = Evaluated(set, Table({1, kUndefined, std::exp(1.0)}));
  ExpectValues(f.Variables()[0].values, {kUndefined, kUndefined, kUndefined});
  ExpectValues(f.Variables()[1].values, {0, kUndefined, 1});
  ExpectValues(f.Variables()[2].values, {kUndefined, kUndefined, kUndefined});

  // A row whose value cannot be computed is undefined alone, and its fault is kept.
  const UserFormulas g = Evaluated(set, Table({1, -1, 4}));
  ExpectValues(g.Variables()[0].values, {-2, 5, kUndefined});
  ExpectValues(g.Variables()[1].values, {0, kUndefined, std::log(4.0)});
  EXPECT_TRUE(g.Variables()[1].status.Ok());
  EXPECT_EQ(g.Variables()[1].rowFault, "Cálculo del logaritmo de un número negativo o nulo.");
  ExpectValues(g.Variables()[2].values, {-2, -2, -2});
}

TEST(UserFormulas, EveryCheckSpeaksInTheProgramsWords) {
  const struct {
    FormulaSet set;
    bool constant;
    int code;
    std::string message;
  } cases[] = {
      {{{{"", "1", "", ""}}, {}}, false, 40, "Falta el nombre de la variable o de la constante."},
      {{{{"2x", "1", "", ""}}, {}},
       false,
       41,
       "Nombre incorrecto : 2x. Un nombre empieza por una letra y solo contiene letras, cifras y "
       "el "
       "carácter _."},
      {{{{"pi", "1", "", ""}}, {}}, false, 41, ""},
      {{{{"E", "1", "", ""}}, {{"e", "", "1", ""}}},
       true,
       42,
       "Nombre ya utilizado (no se distingue entre mayúsculas y minúsculas). Variable o constante "
       "repetida : e"},
      {{{}, {{"k", "2", "1", ""}, {"K", "2", "3", ""}}}, true, 42, ""},
      {{{{"X", "1", "", ""}}, {}},
       false,
       43,
       "Nombre reservado a una columna de la tabla de valores : X"},
      {{{{"Sqrt", "1", "", ""}}, {}}, false, 44, "Nombre reservado a una función : Sqrt"},
      {{{{"E", "1", "", "m\ts"}}, {}}, false, 46, "Unidad incorrecta : m\\x09s"},
      {{{}, {{"m", "", "0,5,1", ""}}}, true, 47, "Valor incorrecto : 0,5,1"},
      {{{}, {{"m", "i", "1", ""}}},
       true,
       48,
       "Índice incorrecto : i. El índice de una constante es un número entero."},
      {{{{"E", "q*2", "", ""}}, {}},
       false,
       20,
       "La fórmula contiene una variable o una constante desconocida: q"},
      {{{}, {{"a1", "", "=a2", ""}, {"a2", "", "=a1*2", ""}}}, true, 45, ""},
      {{{}, {{"m", "", "=1/0", ""}}}, true, 14, "División por cero."},
  };
  for (const auto& c : cases) {
    const UserFormulas f = Evaluated(c.set);
    const FormulaStatus& status =
        c.constant ? f.Constants().back().status : f.Variables().back().status;
    EXPECT_EQ(status.code, c.code) << status.message;
    if (!c.message.empty()) {
      EXPECT_EQ(status.message, c.message);
    }
  }
  // The first of two definitions with one name keeps its value.
  const UserFormulas twice = Evaluated({{}, {{"k", "2", "1", ""}, {"K", "2", "3", ""}}});
  EXPECT_TRUE(twice.Constants()[0].status.Ok());
  EXPECT_EQ(twice.Constants()[0].value, 1);
}

TEST(UserFormulas, ConstantsAreReadByNameAndIndex) {
  const FormulaSet set{{{"z", "c[2]*x+c", "", ""}},
                       {{"c", "2", "10", ""}, {"c", "", "=c[2]/2", ""}}};
  const UserFormulas f = Evaluated(set);
  ExpectValues(f.Variables()[0].values, {5, 6, 8});
  const CalculatorResult sum = EvaluateWithConstants("c+c[2]+sin(90)", f, false);
  EXPECT_TRUE(sum.status.Ok());
  EXPECT_DOUBLE_EQ(sum.value, 16);
  EXPECT_EQ(EvaluateWithConstants("x", f, false).status.code, 20);
}

TEST(UserFormulas, AChangedColumnReevaluatesOnlyWhatReadsIt) {
  const FormulaSet set{{{"a2", "x*2", "", ""}, {"b2", "y*2", "", ""}, {"c2", "a2+1", "", ""}}, {}};
  UserFormulas f;
  f.Define(set, kSymbols, {});
  f.Evaluate(Table());
  EXPECT_EQ(f.LastEvaluatedCount(), 3);
  f.Evaluate(Table());
  EXPECT_EQ(f.LastEvaluatedCount(), 0);
  f.Evaluate(Table({5, 6, 7}));
  EXPECT_EQ(f.LastEvaluatedCount(), 2);
  ExpectValues(f.Variables()[2].values, {11, 13, 15});
  ExpectValues(f.Variables()[1].values, {2, 1, -1});
}

// Rows spanning several of the evaluation's blocks, with undefined cells, zeros, negative values
// and a repeated time, so that every operator meets its faults somewhere.
std::vector<FormulaColumn> AwkwardTable(int rows) {
  std::vector<FormulaColumn> columns = {{"t", {}}, {"x", {}}, {"y", {}}, {"v", {}}};
  for (int i = 0; i < rows; ++i) {
    const double t = (i == 300 ? 299 : i) * 0.04;
    columns[0].values.push_back(t);
    columns[1].values.push_back(i % 97 == 5   ? kUndefined
                                : i % 50 == 0 ? 0
                                              : 3 * std::sin(i * 0.37));
    columns[2].values.push_back(std::cos(i * 0.11) - 0.2);
    columns[3].values.push_back(i % 61 == 7 ? kUndefined : i * 0.5 - 40);
  }
  return columns;
}

std::uint64_t Fingerprint(const UserFormulas& formulas) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&](std::uint64_t word) { hash = (hash ^ word) * 1099511628211ull; };
  for (const EvaluatedVariable& v : formulas.Variables()) {
    mix(static_cast<std::uint64_t>(v.status.code));
    for (const double value : v.values) mix(std::bit_cast<std::uint64_t>(value));
    for (const char ch : v.rowFault) mix(static_cast<unsigned char>(ch));
  }
  return hash;
}

// Recorded from the evaluation one row at a time: a faster evaluation must give every value, bit
// for bit, and every row's fault as it did.
TEST(UserFormulas, WholeColumnsGiveWhatRowByRowEvaluationGave) {
  const FormulaSet set{
      {{"v2", "x^2+y^2", "", ""},
       {"r", "sqrt(v2)", "", ""},
       {"lr", "ln(x)+log(y)", "", ""},
       {"q", "x/(y-0.2)", "", ""},
       {"p", "(-x)^(v/40)+y^-1", "", ""},
       {"th", "ArcTan(y;x)-ArcSin(y)+ArcCos(-y)", "", ""},
       {"dx", "x[i+1]-x[i-1]", "", ""},
       {"dt", "t[i+1]-t[i-1]", "", ""},
       {"w", "dx/(t-t[i-1])", "", ""},
       {"s", "s[i-1]+abs(dx)", "", ""},
       {"ds", "s-s[i-1]+s[2]", "", ""},
       {"u", "u[i-1]*0.5+exp(v*3)", "", ""},
       {"k", "-m*g*y+tan(th)*cos(x)*sin(y)+u[i-2]", "", ""}},
      {{"m", "", "0,25", ""}, {"g", "", "=2*m", ""}, {"s", "1", "2", ""}, {"u", "0", "1", ""}}};
  for (const bool radians : {false, true}) {
    UserFormulas formulas;
    formulas.Define(set, kSymbols, {radians, 1});
    formulas.Evaluate(AwkwardTable(700));
    for (const auto& v : formulas.Variables()) EXPECT_TRUE(v.status.Ok()) << v.status.message;
    EXPECT_EQ(Fingerprint(formulas), radians ? 2810904687278399721u : 2288776564560547461u);
  }
}

}  // namespace
}  // namespace kinovia
