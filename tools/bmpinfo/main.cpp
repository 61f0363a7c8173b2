// bmpinfo [--] FILE...: decodes each file as a stored picture and prints
// "FILE: WIDTH HEIGHT SHA256" or "FILE: MESSAGE"; exits 1 if any file failed.
// Options are read the GNU way (getopt_long), so "--" lets a file's name
// begin with a dash.
#include <getopt.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "picture_summary.h"

namespace {

constexpr int kExitUsage = 2;
constexpr const char* kUsage = "usage: bmpinfo [--] FILE...\n";

enum OptionId : int { kHelp = 1000, kVersion };

const option kLongOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

bool ReadFile(const char* path, std::vector<std::uint8_t>& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

void PrintHelp() {
  std::cout << kUsage
            << "Decodes each FILE with the bitmap decoder of Pellory Fonts and prints\n"
               "\"FILE: WIDTH HEIGHT SHA256\" (the digest of the decoded pixels) or\n"
               "\"FILE: MESSAGE\" for a file that cannot be decoded.\n"
               "  --help       this text\n"
               "  --version    the version\n";
}

// What getopt_long refused, as one line: `argument` is the argument it
// stopped in.
std::string Refusal(const std::string& argument) {
  const std::string name = argument.substr(0, argument.find('='));
  if (optopt >= kHelp) return "option '" + name + "' takes no value";
  if (optopt != 0) return std::string("unknown option '-") + char(optopt) + "'";
  return "unknown option '" + name + "'";
}

// Summarises each file; false when any failed.
bool SummariseFiles(char** first, char** last) {
  bool allDecoded = true;
  for (char** file = first; file != last; ++file) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(*file, bytes)) {
      std::cout << *file << ": cannot read the file: " << std::strerror(errno) << '\n';
      allDecoded = false;
      continue;
    }
    const auto summary = pellory::tools::Summarise(bytes);
    std::cout << *file << ": " << summary.text << '\n';
    allDecoded = allDecoded && summary.decoded;
  }
  return allDecoded;
}

}  // namespace

int main(int argc, char** argv) {
  opterr = 0;  // the refusal is ours
  for (int answer; (answer = getopt_long(argc, argv, "", kLongOptions, nullptr)) != -1;) {
    if (answer == kHelp) {
      PrintHelp();
      return 0;
    }
    if (answer == kVersion) {
      std::cout << "bmpinfo (Pellory Fonts) " PELLORY_VERSION "\n";
      return 0;
    }
    std::cerr << "bmpinfo: " << Refusal(argv[optind - 1]) << '\n' << kUsage;
    return kExitUsage;
  }
  if (optind >= argc) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  return SummariseFiles(argv + optind, argv + argc) ? 0 : 1;
}
