// Runs the built kinovia-cli eval as scripts do: its output, its errors and its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TRun {
  std::string out;
  std::string err;
  int status;
};

std::string Quoted(const std::string& arg) {
  std::string out = "'";
  for (const char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

TRun Eval(const std::vector<std::string>& args, const std::string& environment = "LC_ALL=C") {
  // One file a process: ctest runs the tests of this file side by side.
  const std::string errFile =
      ::testing::TempDir() + "kinovia_eval_err_" + std::to_string(getpid()) + ".txt";
  std::string command = environment + " " KINOVIA_BINARY_DIR "/kinovia-cli eval";
  for (const auto& arg : args) command += " " + Quoted(arg);
  command += " 2>" + errFile;
  TRun run{"", "", -1};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 256> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe)) run.out += buffer.data();
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile);
  std::stringstream text;
  text << err.rdbuf();
  run.err = text.str();
  std::remove(errFile.c_str());
  return run;
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
    const TRun run = Eval(c.args);
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
    const TRun run = Eval(c.args);
    EXPECT_EQ(run.err, c.err) << c.args[0];
    EXPECT_EQ(run.out, "") << c.args[0];
    EXPECT_EQ(run.status, 1) << c.args[0];
  }
  const TRun rejected = Eval({"x", "x=abc"});
  EXPECT_EQ(rejected.status, 1);
  EXPECT_NE(rejected.err.find("abc"), std::string::npos);
}

TEST(CliEval, MisuseIsAUsageError) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{}, {"--degrees"}, {"x", "x"}, {"x", "=3"}}) {
    const TRun run = Eval(args);
    EXPECT_EQ(run.status, 2) << args.size();
    EXPECT_NE(run.err.find("eval [--degrees]"), std::string::npos);
  }
}

}  // namespace
