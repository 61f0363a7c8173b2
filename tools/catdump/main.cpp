// catdump: prints a table's records as CSV, its record count or its schema.
#include <iostream>

#include "catdump_options.h"
#include "catdump_run.h"

int main(int argc, char** argv) {
  using namespace pellory::catdump;
  std::string error;
  const auto options = ParseOptions({argv + 1, argv + argc}, &error);
  if (!options) {
    std::cerr << "catdump: " << error << '\n' << kUsage;
    return kExitUsage;
  }
  if (options->help || options->version) {
    std::cout << (options->help ? HelpText() : VersionText());
    return kExitOk;
  }
  return Run(*options, std::cout, std::cerr);
}
