#include "freetype_handle.h"

#include <cstdio>
#include <stdexcept>

namespace pellory::mkcatalogue {

FreeTypeLibrary OpenFreeType() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType cannot start");
  return FreeTypeLibrary(library);
}

FontFace OpenFace(FT_Library library, const std::filesystem::path& file, int index,
                  std::string* error) {
  FT_Face face = nullptr;
  const FT_Error code = FT_New_Face(library, file.c_str(), index, &face);
  if (code != 0) {
    const char* text = FT_Error_String(code);
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "FreeType error 0x%02X", static_cast<unsigned>(code));
    if (error) *error = text ? text : fallback;
    return nullptr;
  }
  return FontFace(face);
}

}  // namespace pellory::mkcatalogue
