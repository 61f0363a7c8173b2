// Feeds arbitrary stored picture values to the decoder: it must either make
// a consistent image or fail with its own error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pellory/data/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto image = pellory::data::DecodeStoredPicture({data, size});
    const auto pixels =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    const std::size_t kept = image.IsIndexed() ? image.indices.size() : image.pixels.size();
    if (kept != pixels || image.palette.size() != image.colourTable.size()) std::abort();
    // Every index must have a colour: drawing reads the palette by index.
    for (const std::uint8_t index : image.indices) {
      if (index >= image.palette.size()) std::abort();
    }
  } catch (const pellory::data::BitmapError&) {
  }
  return 0;
}
