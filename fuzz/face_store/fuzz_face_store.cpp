// The catalogue builder's face store read from file bytes: every store that
// reads is written again as it was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "face_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pellory::mkcatalogue;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const DecodedFaceStore decoded = DecodeFaceStore(bytes);
  if (!decoded.store) return 0;
  std::ostringstream again;
  WriteFaceStore(again, *decoded.store);
  if (again.str() != bytes) std::abort();
  return 0;
}
