#pragma once
// Runs the built kinovia-cli as a script does: a shell command line, its standard output, its
// standard error and its exit status.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kinovia::test {

struct CliResult {
  std::string out;
  std::string err;
  int status = -1;
};

// `arguments` is shell text after "kinovia-cli"; `input`, when given, is its standard input.
inline CliResult RunKinoviaCli(const std::string& arguments,
                               const std::string& environment = "LC_ALL=C",
                               const std::optional<std::string>& input = std::nullopt) {
  // Files of this process only: ctest runs tests side by side.
  const auto stem =
      std::filesystem::temp_directory_path() / ("kinovia_cli_" + std::to_string(getpid()));
  const std::string errFile = stem.string() + ".err", inFile = stem.string() + ".in";
  std::string command = environment + " " KINOVIA_BINARY_DIR "/kinovia-cli " + arguments;
  if (input) {
    std::ofstream(inFile) << *input;
    command += " < " + inFile;
  }
  command += " 2>" + errFile;
  CliResult run;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) run.out += buffer.data();
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::stringstream err;
  err << std::ifstream(errFile).rdbuf();
  run.err = err.str();
  std::filesystem::remove(errFile);
  std::filesystem::remove(inFile);
  return run;
}

// The lines of a tab-separated output, each split into its cells.
inline std::vector<std::vector<std::string>> TabRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream split(line);
    for (std::string cell; std::getline(split, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

}  // namespace kinovia::test
