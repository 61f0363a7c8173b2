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
  for (const platform::InstalledFace& face : platform::InstalledFaces()) {
    if (face.namedInstance) continue;
    Add({face.file, static_cast<int>(face.index), face.Family(), face.style, face.foundry});
  }
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
  if (const auto described = FileOfDescription(description))
    if (auto face = ByName(BaseName(described->path), described->path, described->index))
      return face;
  return ByName(fileName, "", 0);
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
