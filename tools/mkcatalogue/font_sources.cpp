#include "font_sources.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <memory>

#include "pellory/platform/installed_fonts.h"

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

}  // namespace

std::vector<FaceRef> FontconfigFaces() {
  std::vector<FaceRef> faces;
  for (const platform::InstalledFace& face : platform::ListInstalledFaces())
    if (!face.namedInstance) faces.push_back({face.file, static_cast<int>(face.index)});
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
    for (long i = 0; i < std::max(1L, count); ++i) faces.push_back({file, static_cast<int>(i)});
  }
  return faces;
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
