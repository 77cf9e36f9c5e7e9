#include <iostream>

#include "cli/CommandRegistry.h"
#include "core/Enums.h"
#include "core/MemoryReuse.h"
#include "core/Numbers.h"
#include "resources/TxtCli.h"

int main(int argc, char** argv) {
  kinovia::KeepFreedMemoryForReuse();
  kinovia::ReadDecimalSeparatorFromEnvironment();
  std::vector<std::string> args(argv + 1, argv + argc);
  return kinovia::Underlying(kinovia::cli::RunCli(args, {std::cin, std::cout, std::cerr}));
}
