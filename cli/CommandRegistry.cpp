#include "cli/CommandRegistry.h"
#include "resources/TxtCli.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "core/Numbers.h"

namespace kinovia::cli {
namespace {

std::vector<CliCommand>& Registry() {
  static std::vector<CliCommand> commands;
  return commands;
}

std::optional<std::vector<double>> ParseRow(const std::string& line) {
  std::istringstream words(line);
  std::vector<double> row;
  std::string word;
  while (words >> word) {
    const auto value = TextToReal(NormalizeDecimalSeparator(word));
    if (!value) return std::nullopt;
    row.push_back(*value);
  }
  return row;
}

}  // namespace

bool RegisterCommand(CliCommand command) {
  Registry().push_back(command);
  return true;
}

const std::vector<CliCommand>& Commands() { return Registry(); }

ExitStatus UsageError(std::ostream& err) {
  err << Txt(txt::CliUsage);
  for (const auto& command : Commands()) err << "  kinovia-cli " << Txt(command.synopsis) << '\n';
  return ExitStatus::Usage;
}

ExitStatus RunCli(const std::vector<std::string>& args, CliStreams streams) {
  if (args.empty()) return UsageError(streams.err);
  for (const auto& command : Commands()) {
    if (command.name == args[0])
      return command.run(std::vector<std::string>(args.begin() + 1, args.end()), streams);
  }
  return UsageError(streams.err);
}

std::optional<std::vector<std::vector<double>>> ReadNumberRows(
    const std::optional<std::string>& file, CliStreams streams) {
  std::ifstream opened;
  std::istream* in = &streams.in;
  if (file && *file != "-") {
    opened.open(*file);
    if (!opened) {
      streams.err << Txt(txt::CliCannotRead) << ' ' << *file << '\n';
      return std::nullopt;
    }
    in = &opened;
  }
  std::vector<std::vector<double>> rows;
  std::string line;
  for (int number = 1; std::getline(*in, line); ++number) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    auto row = ParseRow(line);
    if (!row) {
      streams.err << Txt(txt::CliNotANumber) << ' ' << number << '\n';
      return std::nullopt;
    }
    rows.push_back(std::move(*row));
  }
  return rows;
}

}  // namespace kinovia::cli
