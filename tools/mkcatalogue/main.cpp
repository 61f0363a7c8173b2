// pellory-mkcatalogue: writes the font catalogue table (see README.md).
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "build_options.h"
#include "catalogue_build.h"

int main(int argc, char** argv) {
  using namespace pellory::mkcatalogue;
  BuildOptions options;
  try {
    options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& e) {
    std::cerr << "pellory-mkcatalogue: " << e.what() << '\n' << UsageText();
    return kExitUsage;
  }
  if (options.help) {
    std::cout << UsageText();
    return kExitOk;
  }
  return BuildCatalogue(options, std::cerr, std::cout);
}
