// The catalogue builder's face store read from file bytes: every store that
// reads is written again as it was read. The bytes are read twice: as they
// are, and with the header's length and checksum made to fit what follows,
// since a mutated list almost never passes its checksum and would otherwise
// leave the list's parser unexercised.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "face_store.h"

namespace {

using namespace pellory::mkcatalogue;

void ReadsBackAsWritten(std::string_view bytes) {
  const DecodedFaceStore decoded = DecodeFaceStore(bytes);
  if (!decoded.store) return;
  std::ostringstream again;
  WriteFaceStore(again, *decoded.store);
  if (again.str() != bytes) std::abort();
}

void PutLittle(std::string& bytes, std::size_t at, std::uint64_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The bytes with a header that fits the list after it.
std::string WithFittingHeader(std::string_view bytes) {
  std::string fitted(kFaceStoreMagic);
  fitted.append(kFaceStoreHeaderSize - kFaceStoreMagic.size(), '\0');
  const std::string_view list = bytes.substr(kFaceStoreHeaderSize);
  fitted.append(list);
  PutLittle(fitted, kFaceStoreMagic.size(), list.size(), 8);
  const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(list.data()),
                          static_cast<uInt>(list.size()));
  PutLittle(fitted, kFaceStoreMagic.size() + 8, crc, 4);
  return fitted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ReadsBackAsWritten(bytes);
  // libFuzzer's inputs stay far below the 4 GiB zlib counts in one call.
  if (size >= kFaceStoreHeaderSize && size - kFaceStoreHeaderSize <= 0xFFFFFFFFu)
    ReadsBackAsWritten(WithFittingHeader(bytes));
  return 0;
}
