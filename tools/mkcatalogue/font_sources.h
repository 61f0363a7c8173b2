// Where the faces come from: fontconfig's list, or the font files under a
// directory. Both lists come sorted, so reruns see the same order.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "freetype_handle.h"

namespace pellory::mkcatalogue {

struct FaceRef {
  std::filesystem::path file;
  int index = 0;
  // The foundry fontconfig gave the face; none for a file it did not list.
  std::optional<std::string> foundry;
  auto operator<=>(const FaceRef&) const = default;
};

// Every face fontconfig lists, each named instance of a variable font a
// face of its own (index: FreeType's face_index, the instance in bits 16
// and up). Throws when fontconfig fails.
std::vector<FaceRef> FontconfigFaces();

// Every face of the font files under directory (recursively), named
// instances as fontconfig lists them. A file that FreeType cannot open is
// listed as face 0, to be reported when read.
std::vector<FaceRef> DirectoryFaces(FT_Library library, const std::filesystem::path& directory);

// More named instances than this in one face are not listed: fonts with
// thousands are damaged or made to exhaust their readers.
inline constexpr long kMaxInstances = 1000;

// Face `face` of the file and its named instances but the default one,
// which is the face itself (as fontconfig lists them).
std::vector<int> FaceIndices(FT_Library library, const std::filesystem::path& file, int face);

// The file of a plain text face for names that a face cannot draw:
// fontconfig's match for "DejaVu Sans"; empty when there is none.
std::filesystem::path PlainFaceFile();

// The families that fontconfig's configuration puts first for the generic
// family "cursive" (those it prefers before the word itself: Z003, Comic
// Sans MS, ...), in lower case; empty when fontconfig cannot start.
std::set<std::string> CursiveFamilies();

}  // namespace pellory::mkcatalogue
