#include "installed_faces.h"

#include <algorithm>
#include <cctype>

#include "catalogue_faces.h"
#include "pellory/platform/installed_fonts.h"

namespace pellory::specimen {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

InstalledFaces::InstalledFaces() {
  // Every face of the machine's listing, each named instance of a variable
  // font a face of its own.
  for (const platform::InstalledFace& face : platform::InstalledFaces())
    Add({face.file, static_cast<int>(face.index), face.Family(), face.style, face.foundry});
}

InstalledFaces::InstalledFaces(const std::vector<InstalledFace>& faces) {
  for (const InstalledFace& face : faces) Add(face);
}

void InstalledFaces::Add(const InstalledFace& face) {
  faces_.push_back(face);
  byBaseName_.emplace(Lower(BaseName(face.path)), faces_.size() - 1);
}

std::optional<InstalledFace> InstalledFaces::Find(const std::string& fileName,
                                                  const std::string& description) const {
  if (const auto described = FileOfDescription(description)) {
    const std::string base = BaseName(described->path);
    // A named instance may be given by its name rather than in the index.
    const std::string instance = DescribedValue(description, "Instance");
    if (!instance.empty() && !(described->index >> 16))
      if (auto face = ByStyle(base, described->path, described->index, instance)) return face;
    if (auto face = ByName(base, described->path, described->index)) return face;
  }
  return ByName(fileName, "", 0);
}

// The named instance of that file and face whose style is `style`.
std::optional<InstalledFace> InstalledFaces::ByStyle(const std::string& baseName,
                                                     const std::string& path, int index,
                                                     const std::string& style) const {
  const auto [begin, end] = byBaseName_.equal_range(Lower(baseName));
  for (auto it = begin; it != end; ++it) {
    const InstalledFace& face = faces_[it->second];
    if ((face.index & 0xFFFF) == index && face.path == path && Lower(face.style) == Lower(style))
      return face;
  }
  return std::nullopt;
}

// Among the faces of that file name: the one at the same path and face
// number, else the first with the face number.
std::optional<InstalledFace> InstalledFaces::ByName(const std::string& baseName,
                                                    const std::string& path, int index) const {
  if (baseName.empty()) return std::nullopt;
  const auto [begin, end] = byBaseName_.equal_range(Lower(baseName));
  std::optional<InstalledFace> found;
  for (auto it = begin; it != end; ++it) {
    const InstalledFace& face = faces_[it->second];
    if (face.index != index) continue;
    if (face.path == path) return face;
    if (!found) found = face;
  }
  return found;
}

}  // namespace pellory::specimen
