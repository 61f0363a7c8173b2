#include "font_sources.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <memory>

#include "pellory/platform/installed_fonts.h"

#include FT_MULTIPLE_MASTERS_H

namespace pellory::mkcatalogue {
namespace {

struct PatternCloser {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};

bool FontExtension(const std::filesystem::path& file) {
  static constexpr std::array kExtensions = {".ttf", ".otf", ".ttc", ".otc",  ".pfb",  ".pfa",
                                             ".t1",  ".pcf", ".bdf", ".woff", ".woff2"};
  std::string ext = file.extension().string();
  if (ext == ".gz") ext = file.stem().extension().string();  // foo.pcf.gz
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

// Starts fontconfig once; its caches are released when the process ends.
bool StartFontconfig() {
  static const bool started = [] {
    if (!FcInit()) return false;
    std::atexit(FcFini);
    return true;
  }();
  return started;
}

// The first named instance at the axes' defaults, which fontconfig lists as
// the face itself; 0 when none is.
long DefaultInstance(FT_Face face) {
  FT_MM_Var* master = nullptr;
  if (FT_Get_MM_Var(face, &master) != 0) return 0;
  long found = 0;
  for (FT_UInt k = 0; k < master->num_namedstyles && found == 0; ++k) {
    bool atDefaults = true;
    for (FT_UInt a = 0; a < master->num_axis; ++a)
      atDefaults = atDefaults && master->namedstyle[k].coords[a] == master->axis[a].def;
    if (atDefaults) found = static_cast<long>(k) + 1;
  }
  FT_Done_MM_Var(face->glyph->library, master);
  return found;
}

}  // namespace

std::vector<FaceRef> FontconfigFaces() {
  std::vector<FaceRef> faces;
  for (const platform::InstalledFace& face : platform::ListInstalledFaces())
    faces.push_back({face.file, static_cast<int>(face.index), face.foundry});
  std::sort(faces.begin(), faces.end());
  faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
  return faces;
}

std::vector<FaceRef> DirectoryFaces(FT_Library library, const std::filesystem::path& directory) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(
           directory, std::filesystem::directory_options::skip_permission_denied))
    if (entry.is_regular_file() && FontExtension(entry.path())) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<FaceRef> faces;
  for (const auto& file : files) {
    FT_Face face = nullptr;
    // Face index -1 only counts the faces of the file.
    const long count = FT_New_Face(library, file.c_str(), -1, &face) == 0 ? face->num_faces : 1;
    if (face) FT_Done_Face(face);
    for (long i = 0; i < std::clamp(count, 1L, 0xFFFFL); ++i)
      for (int index : FaceIndices(library, file, static_cast<int>(i)))
        faces.push_back({file, index, std::nullopt});
  }
  return faces;
}

std::vector<int> FaceIndices(FT_Library library, const std::filesystem::path& file, int face) {
  std::vector<int> indices{face};
  FT_Face opened = nullptr;
  if (FT_New_Face(library, file.c_str(), face, &opened) != 0) return indices;
  // Bits 16 to 30 of the style flags count the named instances.
  const long instances = std::min<long>((opened->style_flags >> 16) & 0x7FFF, kMaxInstances);
  const long defaultInstance = instances > 0 ? DefaultInstance(opened) : 0;
  FT_Done_Face(opened);
  for (long k = 1; k <= instances; ++k)
    if (k != defaultInstance) indices.push_back(static_cast<int>((k << 16) | face));
  return indices;
}

std::filesystem::path PlainFaceFile() {
  if (!StartFontconfig()) return {};
  std::unique_ptr<FcPattern, PatternCloser> pattern(
      FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans:style=Book")));
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcPattern, PatternCloser> match(FcFontMatch(nullptr, pattern.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(file);
}

std::set<std::string> CursiveFamilies() {
  std::set<std::string> families;
  if (!StartFontconfig()) return families;
  constexpr char kGeneric[] = "cursive";
  std::unique_ptr<FcPattern, PatternCloser> pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(kGeneric));
  // An <alias><family>cursive</family><prefer> rule puts its families before
  // the generic name; the fallbacks that follow it are no statement.
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    std::string name = reinterpret_cast<const char*>(family);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == kGeneric) return families;
    families.insert(name);
  }
  return {};  // the generic name was rewritten: nothing tells which came before it
}

}  // namespace pellory::mkcatalogue
