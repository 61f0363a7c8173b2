// Names for the Filename column: the font file's own name when it fits 13
// characters, otherwise an 8.3 short name; each unique in the catalogue.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace pellory::mkcatalogue {

inline constexpr std::size_t kFileNameChars = 13;

class FileNameAllocator {
 public:
  // The name for the next record whose file is called `fileName` (UTF-8).
  // Names are compared without regard to case, as file systems of the
  // time did.
  std::string Assign(std::string_view fileName);

 private:
  bool Take(const std::string& name);

  std::set<std::string> used_;  // upper case
  // Where to look for the next free number of each short name's stem and
  // extension: every number below it is taken, and names are never freed.
  std::map<std::string, unsigned> firstFree_;
};

}  // namespace pellory::mkcatalogue
