#include "freetype_handle.h"

#include <cstdio>
#include <stdexcept>

#include "font_variations.h"

namespace pellory::mkcatalogue {
namespace {

// FreeType's own texts for its error codes, from its error list: Debian's
// library is built without FT_Error_String's texts.
struct ErrorText {
  int code;
  const char* text;
};
// clang-format off
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST {
#define FT_ERROR_END_LIST {0, nullptr}};
constexpr ErrorText kErrorTexts[] =
#include FT_ERRORS_H
// clang-format on

}  // namespace

std::string FreeTypeErrorText(FT_Error code) {
  if (const char* text = FT_Error_String(code)) return text;
  for (const ErrorText& e : kErrorTexts)
    if (e.text && e.code == code) return e.text;
  char fallback[32];
  std::snprintf(fallback, sizeof fallback, "FreeType error 0x%02X", static_cast<unsigned>(code));
  return fallback;
}

FreeTypeLibrary OpenFreeType() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType cannot start");
  return FreeTypeLibrary(library);
}

FontFace OpenedFace(FT_Error code, FT_Face face, std::string* error) {
  if (code != 0) {
    if (error) *error = FreeTypeErrorText(code);
    return nullptr;
  }
  PlaceNamedInstance(face);
  return FontFace(face);
}

FontFace OpenFace(FT_Library library, const std::filesystem::path& file, int index,
                  std::string* error) {
  FT_Face face = nullptr;
  const FT_Error code = FT_New_Face(library, file.c_str(), index, &face);
  return OpenedFace(code, face, error);
}

}  // namespace pellory::mkcatalogue
