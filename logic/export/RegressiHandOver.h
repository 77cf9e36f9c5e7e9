#pragma once
// The rules of handing the table to Regressi: where the program is, what is asked about values
// it may misread, and how it is started. The window asks the questions and starts the program.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kinovia {

// Older Regressi versions mix up the columns beyond this many variables.
inline constexpr int kRegressiMaxVariables = 16;

// The program's file: "Regressi.exe" (a Windows program, run through wine) or, for a native
// build, "regressi"; either in any case.
bool IsRegressiProgram(const std::string& path);
// The stored path when it names an existing Regressi program, else nothing.
std::optional<std::string> UsableRegressiPath(const std::string& stored);

// A data line holds an undefined value when one of its cells is empty.
bool HasUndefinedValue(const std::string& line);
std::string UndefinedAsZeros(const std::string& line);

enum class UndefinedChoice { Continue, Replace };
// Scans the data lines in order and asks at each one holding an undefined value; "Replace" puts
// zeros in that line and every later one and ends the scan. Answers how many times it asked.
int ResolveUndefinedValues(std::vector<std::string>& lines,
                           const std::function<UndefinedChoice()>& ask);

// A program and its arguments, started without a shell.
struct ProgramCall {
  std::string program;
  std::vector<std::string> arguments;
};
ProgramCall RegressiCall(const std::string& path);

}  // namespace kinovia
