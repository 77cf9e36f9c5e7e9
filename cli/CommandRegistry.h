#pragma once
// kinovia-cli's commands: each registers itself with its name, its synopsis and its entry point.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/StringTable.h"

namespace kinovia::cli {

// The process's exit status: the work failed (the reason on standard error), or the command line
// could not be understood (the usage on standard error).
enum class ExitStatus : int { Ok = 0, Failed = 1, Usage = 2 };

struct CliStreams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

using CommandHandler = ExitStatus (*)(const std::vector<std::string>& args, CliStreams streams);

struct CliCommand {
  std::string_view name;
  TxtId synopsis;  // the command's line in the usage text, without "kinovia-cli "
  CommandHandler run;
};

// Called from a namespace-scope initialiser in each command's file.
bool RegisterCommand(CliCommand command);
const std::vector<CliCommand>& Commands();

// Runs a whole command line (without the program name); returns the exit status.
ExitStatus RunCli(const std::vector<std::string>& args, CliStreams streams);

// Prints the usage text to `err` and returns ExitStatus::Usage.
ExitStatus UsageError(std::ostream& err);

// Rows of numbers from FILE ("-" or none: standard input): blanks or tabs between values, "," or
// "." as the decimal separator, empty lines and "#" lines skipped. nullopt, with the reason on
// `err`, when the file cannot be read or a value is not a number.
std::optional<std::vector<std::vector<double>>> ReadNumberRows(
    const std::optional<std::string>& file, CliStreams streams);

}  // namespace kinovia::cli
