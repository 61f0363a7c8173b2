// Literal bytes of typed constants, in the engine's value format.
#pragma once

#include <cstdint>
#include <vector>

#include "filter_tree.h"

namespace pellory::data::filter {

// The literal of a constant whose type is not String; throws
// "Constant is not correct type %s" or "Constant out of range".
std::vector<std::uint8_t> EncodeTypedConstant(const Expr& constant);

// The name of a data kind in messages.
const char* KindName(FilterDataKind kind);

}  // namespace pellory::data::filter
