// The builder's table columns, numbered as the table reader counts them.
#pragma once

#include <cstdint>

namespace pellory::mkcatalogue {

enum CatalogueColumn : std::uint16_t { kFontName = 1, kDescription, kFileName, kCategory, kSample };

}  // namespace pellory::mkcatalogue
