// Owning handles for FreeType's library and faces.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <memory>
#include <string>

namespace pellory::mkcatalogue {

struct LibraryCloser {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FreeTypeLibrary = std::unique_ptr<FT_LibraryRec_, LibraryCloser>;
using FontFace = std::unique_ptr<FT_FaceRec_, FaceCloser>;

// Throws std::runtime_error when FreeType cannot start.
FreeTypeLibrary OpenFreeType();

// FreeType's text for an error code ("invalid table"); "FreeType error
// 0xNN" for a code it does not know.
std::string FreeTypeErrorText(FT_Error code);

// The face FreeType opened with `code`, placed at its named instance, or
// null with the reason in *error.
FontFace OpenedFace(FT_Error code, FT_Face face, std::string* error);

// The face, or null with the reason in *error.
FontFace OpenFace(FT_Library library, const std::filesystem::path& file, int index,
                  std::string* error);

}  // namespace pellory::mkcatalogue
