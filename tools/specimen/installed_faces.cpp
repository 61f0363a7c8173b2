#include "installed_faces.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "catalogue_faces.h"

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

std::string Text(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

}  // namespace

InstalledFaces::InstalledFaces() {
  if (!FcInit()) return;
  std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                  FcPatternDestroy);
  std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_STYLE, FC_FOUNDRY, FC_VARIABLE, nullptr),
      FcObjectSetDestroy);
  std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(
      FcFontList(nullptr, pattern.get(), objects.get()), FcFontSetDestroy);
  if (!set) return;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    // A variable font is listed once whole (all its axes, no style) and once
    // per named instance (the instance in the index's high bits): only the
    // instances are faces.
    FcBool variable = FcFalse;
    FcPatternGetBool(font, FC_VARIABLE, 0, &variable);
    if (variable) continue;
    InstalledFace face{Text(font, FC_FILE), index, Text(font, FC_FAMILY), Text(font, FC_STYLE),
                       Text(font, FC_FOUNDRY)};
    if (!face.path.empty()) Add(face);
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
