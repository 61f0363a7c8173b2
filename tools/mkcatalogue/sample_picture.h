// The sample picture of a face: its name and a short pangram drawn in the
// face, black on white, no larger than the program's picture box.
#pragma once

#include <string_view>

#include "bmp_image.h"
#include "freetype_handle.h"

namespace pellory::mkcatalogue {

inline constexpr int kPictureMaxWidth = 356;
inline constexpr int kPictureMaxHeight = 124;
inline constexpr char kPangram[] = "Sphinx of black quartz, judge my vow";

enum class SampleKind { Text, Symbols };

// name: UTF-8. plain: a face for text the sampled face cannot draw (the
// name of a symbol face), or null. The picture is never empty.
GreyImage DrawSample(FT_Face face, FT_Face plain, std::string_view name, SampleKind kind);

}  // namespace pellory::mkcatalogue
