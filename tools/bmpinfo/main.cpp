// bmpinfo FILE...: decodes each file as a stored picture and prints
// "FILE: WIDTH HEIGHT SHA256" or "FILE: MESSAGE"; exits 1 if any file failed.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "picture_summary.h"

namespace {

bool ReadFile(const char* path, std::vector<std::uint8_t>& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: bmpinfo FILE...\n";
    return 2;
  }
  bool allDecoded = true;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(argv[i], bytes)) {
      std::cout << argv[i] << ": cannot read the file: " << std::strerror(errno) << '\n';
      allDecoded = false;
      continue;
    }
    const auto summary = pellory::tools::Summarise(bytes);
    std::cout << argv[i] << ": " << summary.text << '\n';
    allDecoded = allDecoded && summary.decoded;
  }
  return allDecoded ? 0 : 1;
}
