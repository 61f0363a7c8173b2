// The file an output path names: symbolic links followed to the file they
// point at, which must be a regular file or not exist yet (a device node,
// directory or pipe is never replaced), and the name of the hidden partial
// file beside it, short enough for the file system.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace pellory::specimen {

struct OutputTarget {
  std::string path;  // where the book goes, links followed
  bool exists = false;
  mode_t mode = 0;  // of the existing file: permission bits
  uid_t owner = 0;
  gid_t group = 0;
  std::string error;  // empty when the path can take the book
};

OutputTarget ResolveOutputTarget(const std::string& given);

// ".NAME.partial-XXXXXX" beside `path`, NAME cut (at a character's start)
// where the whole would pass `nameMax` bytes.
std::string PartialPattern(const std::string& path, std::size_t nameMax);

}  // namespace pellory::specimen
