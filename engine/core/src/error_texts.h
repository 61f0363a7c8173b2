// The engine's texts for its result codes.
#pragma once

#include <cstdint>

namespace pellory::engine {

// The text of a code; "" for a code without text.
const char* ErrorTextFor(std::uint16_t code);

}  // namespace pellory::engine
