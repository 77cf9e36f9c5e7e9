// Any text a user may type, compiled and evaluated in both angle units against an owner whose
// variables take awkward values. Beyond the sanitizers it checks what must hold for every text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "logic/formulas/Parser.h"
#include "logic/formulas/ParserText.h"

namespace {

double ValueOf(std::string_view name) {
  constexpr double kValues[] = {0,
                                1,
                                -1,
                                0.5,
                                1e-200,
                                -1e300,
                                1e300,
                                std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(),
                                3.25};
  return kValues[name.size() % std::size(kValues)];
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string rewritten = kinovia::RewriteSigns(text);
  Check(kinovia::RewriteSigns(rewritten) == rewritten);

  kinovia::Parser parser;
  // Names beginning with "q" are unknown, so that both answers are explored.
  parser.SetOnVariable([](const kinovia::VariableQuery& q) {
    return kinovia::VariableAnswer{q.name.empty() || q.name[0] != 'q', ValueOf(q.name)};
  });
  parser.SetFormula(text);
  for (const bool radians : {true, false}) {
    parser.SetRadians(radians);
    const double value = parser.Evaluate();
    const std::string message = parser.ErrorMessage();
    const bool failed = parser.ErrorCode() != kinovia::ParserError::kNone;
    Check(!failed || std::isnan(value));
    Check(failed != message.empty());
  }
  return 0;
}
