// Encoding a parsed filter into the engine's binary format version 2.
#pragma once

#include <cstdint>
#include <vector>

#include "filter_tree.h"

namespace pellory::data::filter {

// Throws FilterCompileError for fields and constants that cannot be encoded.
std::vector<std::uint8_t> EncodeFilter(const Expr& root, const FilterCompileOptions& options,
                                       const FilterContext& context);

}  // namespace pellory::data::filter
