// Runs the built kinovia-cli eval as scripts do: its output, its errors and its exit status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CliRun.h"

namespace {

std::string Quoted(const std::string& arg) {
  std::string out = "'";
  for (const char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

kinovia::test::CliResult Eval(const std::vector<std::string>& args,
                              const std::string& environment = "LC_ALL=C") {
  std::string arguments = "eval";
  for (const auto& arg : args) arguments += " " + Quoted(arg);
  return kinovia::test::RunKinoviaCli(arguments, environment);
}

TEST(CliEval, PrintsTheValueAtFullPrecision) {
  const struct {
    std::vector<std::string> args;
    const char* out;
  } cases[] = {
      {{"2*x+1", "x=3"}, "7\n"},
      {{"a/b*c", "A=8", "b=2", "c=2"}, "2\n"},
      {{"--degrees", "sin(30)"}, "0.5\n"},
      {{"ArcTan(1;1)"}, "0.785398163397448\n"},
      {{"-2^2"}, "-4\n"},
      {{"v*t", "v=2,5", "t=1.5e-1"}, "0.375\n"},
      {{"n+1", "n=1e-400"}, "1\n"},
  };
  for (const auto& c : cases) {
    const auto run = Eval(c.args);
    EXPECT_EQ(run.out, c.out) << c.args[0] << " " << run.err;
    EXPECT_EQ(run.status, 0) << c.args[0];
  }
  EXPECT_EQ(Eval({"1/4"}, "LC_ALL=es_ES.UTF-8").out, "0,25\n");
}

TEST(CliEval, ReportsFaultsWithCodeAndMessage) {
  const struct {
    std::vector<std::string> args;
    const char* err;
  } cases[] = {
      {{"1/0"}, "error 14: División por cero.\n"},
      {{"y+1"}, "error 20: La fórmula contiene una variable o una constante desconocida: y\n"},
      {{"x[i+1]", "x=2"},
       "error 20: La fórmula contiene una variable o una constante desconocida: x\n"},
      {{"2.5.1"}, "error 4: Número incorrecto : 2.5.\n"},
      {{"(1"}, "error 1: Un paréntesis abierto no se ha cerrado.\n"},
  };
  for (const auto& c : cases) {
    const auto run = Eval(c.args);
    EXPECT_EQ(run.err, c.err) << c.args[0];
    EXPECT_EQ(run.out, "") << c.args[0];
    EXPECT_EQ(run.status, 1) << c.args[0];
  }
  const auto rejected = Eval({"x", "x=abc"});
  EXPECT_EQ(rejected.status, 1);
  EXPECT_NE(rejected.err.find("abc"), std::string::npos);
}

TEST(CliEval, MisuseIsAUsageError) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{}, {"--degrees"}, {"x", "x"}, {"x", "=3"}}) {
    const auto run = Eval(args);
    EXPECT_EQ(run.status, 2) << args.size();
    EXPECT_NE(run.err.find("eval [--degrees]"), std::string::npos);
  }
}

}  // namespace
