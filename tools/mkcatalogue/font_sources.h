// Where the faces come from: fontconfig's list, or the font files under a
// directory. Both lists come sorted, so reruns see the same order.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "freetype_handle.h"

namespace pellory::mkcatalogue {

struct FaceRef {
  std::filesystem::path file;
  int index = 0;
  auto operator<=>(const FaceRef&) const = default;
};

// Every face fontconfig lists (named instances of variable fonts left
// out: they share their file's outlines). Throws when fontconfig fails.
std::vector<FaceRef> FontconfigFaces();

// Every face of the font files under directory (recursively). A file that
// FreeType cannot open is listed as face 0, to be reported when read.
std::vector<FaceRef> DirectoryFaces(FT_Library library, const std::filesystem::path& directory);

// The file of a plain text face for names that a face cannot draw:
// fontconfig's match for "DejaVu Sans"; empty when there is none.
std::filesystem::path PlainFaceFile();

// The families that fontconfig's configuration puts first for the generic
// family "cursive" (those it prefers before the word itself: Z003, Comic
// Sans MS, ...), in lower case; empty when fontconfig cannot start.
std::set<std::string> CursiveFamilies();

}  // namespace pellory::mkcatalogue
