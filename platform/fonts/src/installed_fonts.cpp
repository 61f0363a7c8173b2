#include "pellory/platform/installed_fonts.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <unordered_set>

namespace pellory::platform {
namespace {

struct PatternCloser {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetCloser {
  void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetCloser {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct ConfigCloser {
  void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};

// Starts fontconfig once; its caches are released when the process ends.
bool StartFontconfig() {
  static const bool started = [] {
    if (!FcInit()) return false;
    std::atexit(FcFini);
    return true;
  }();
  return started;
}

std::string Text(FcPattern* pattern, const char* object, int n = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

template <typename T>
T Integer(FcPattern* pattern, const char* object, T fallback) {
  int value = 0;
  return FcPatternGetInteger(pattern, object, 0, &value) == FcResultMatch ? static_cast<T>(value)
                                                                          : fallback;
}

// Weight and width are doubles since fontconfig 2.12; older caches hold
// integers, which FcPatternGetDouble converts.
double Number(FcPattern* pattern, const char* object, double fallback) {
  double value = 0;
  return FcPatternGetDouble(pattern, object, 0, &value) == FcResultMatch ? value : fallback;
}

bool Flag(FcPattern* pattern, const char* object) {
  FcBool value = FcFalse;
  return FcPatternGetBool(pattern, object, 0, &value) == FcResultMatch && value;
}

InstalledFace FaceOf(FcPattern* font) {
  InstalledFace face;
  face.file = Text(font, FC_FILE);
  int index = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  face.index = index;
  for (int i = 0;; ++i) {
    std::string name = Text(font, FC_FAMILY, i);
    if (name.empty()) break;
    face.families.push_back({std::move(name), Text(font, FC_FAMILYLANG, i)});
  }
  face.style = Text(font, FC_STYLE);
  face.fullName = Text(font, FC_FULLNAME);
  face.foundry = Text(font, FC_FOUNDRY);
  face.postscriptName = Text(font, FC_POSTSCRIPT_NAME);
  face.format = Text(font, FC_FONTFORMAT);
  face.namedInstance = (index >> 16) != 0;
  face.weight = Number(font, FC_WEIGHT, face.weight);
  face.slant = Integer(font, FC_SLANT, face.slant);
  face.width = Number(font, FC_WIDTH, face.width);
  face.spacing = Integer(font, FC_SPACING, face.spacing);
  face.color = Flag(font, FC_COLOR);
  return face;
}

std::vector<InstalledFace> List(FcConfig* config) {
  const std::unique_ptr<FcPattern, PatternCloser> all(FcPatternCreate());
  const std::unique_ptr<FcObjectSet, ObjectSetCloser> objects(
      FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_FULLNAME,
                       FC_FOUNDRY, FC_POSTSCRIPT_NAME, FC_FONTFORMAT, FC_WEIGHT, FC_SLANT, FC_WIDTH,
                       FC_SPACING, FC_VARIABLE, FC_COLOR, nullptr));
  const std::unique_ptr<FcFontSet, FontSetCloser> set(FcFontList(config, all.get(), objects.get()));
  if (!set) throw std::runtime_error("fontconfig lists no fonts");
  std::vector<InstalledFace> faces;
  faces.reserve(static_cast<std::size_t>(set->nfont));
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    // A variable font as a whole: its default instance is listed apart.
    if (Flag(font, FC_VARIABLE)) continue;
    InstalledFace face = FaceOf(font);
    if (!face.file.empty()) faces.push_back(std::move(face));
  }
  return faces;
}

}  // namespace

const std::string& InstalledFace::Family() const {
  static const std::string none;
  return families.empty() ? none : families.front().name;
}

std::vector<InstalledFace> ListInstalledFaces() {
  if (!StartFontconfig()) throw std::runtime_error("fontconfig cannot start");
  return List(nullptr);
}

std::vector<InstalledFace> ListInstalledFaces(const std::filesystem::path& configFile) {
  const std::unique_ptr<FcConfig, ConfigCloser> config(FcConfigCreate());
  if (!config ||
      !FcConfigParseAndLoad(config.get(), reinterpret_cast<const FcChar8*>(configFile.c_str()),
                            FcTrue) ||
      !FcConfigBuildFonts(config.get()))
    throw std::runtime_error("fontconfig cannot read " + configFile.string());
  return List(config.get());
}

const std::vector<InstalledFace>& InstalledFaces() {
  static const std::vector<InstalledFace> faces = [] {
    try {
      return ListInstalledFaces();
    } catch (const std::runtime_error&) {
      return std::vector<InstalledFace>{};
    }
  }();
  return faces;
}

std::vector<std::string> FamilyNames(const std::vector<InstalledFace>& faces) {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  for (const InstalledFace& face : faces)
    for (const FamilyName& family : face.families)
      if (seen.insert(family.name).second) names.push_back(family.name);
  return names;
}

}  // namespace pellory::platform
