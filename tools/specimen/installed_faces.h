// The faces installed on this machine, as the machine's font listing
// (platform/fonts/, from fontconfig) has them, found by
// the file name a catalogue record gives.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pellory::specimen {

struct InstalledFace {
  std::string path;
  int index = 0;       // the face inside a collection; a named instance + 1 in bits 16 and up
  std::string family;  // fontconfig's first family and style, as Qt knows the face
  std::string style;
  std::string foundry;
};

class InstalledFaces {
 public:
  // Every face of the machine's listing, each named instance of a variable
  // font a face of its own.
  InstalledFaces();
  // For tests: faces given outright.
  explicit InstalledFaces(const std::vector<InstalledFace>& faces);

  // The installed face a record names. The full path and face number of its
  // description's "File:" line come first (a named instance either in the
  // number or by its name on an "Instance:" line); then the file name alone
  // (the record's Filename may be an 8.3 short name, which matches only
  // when the file really is called so), compared without regard to case.
  std::optional<InstalledFace> Find(const std::string& fileName,
                                    const std::string& description) const;

 private:
  void Add(const InstalledFace& face);
  std::optional<InstalledFace> ByName(const std::string& baseName, const std::string& path,
                                      int index) const;
  std::optional<InstalledFace> ByStyle(const std::string& baseName, const std::string& path,
                                       int index, const std::string& style) const;

  std::vector<InstalledFace> faces_;
  std::multimap<std::string, std::size_t> byBaseName_;  // lower case
};

}  // namespace pellory::specimen
