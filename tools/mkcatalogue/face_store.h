// The face store: beside the catalogue, what each face of the last build
// gave (FaceReading), keyed by its file, face index and foundry and stamped
// with the file's size and modification time, so that an update reads only
// the faces that are new or changed. The catalogue is written anew from it
// each time; the store alone is read back, checked in every size and
// offset, the list and each picture by their checksums.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "face_reading.h"
#include "font_sources.h"

namespace pellory::mkcatalogue {

inline constexpr std::string_view kFaceStoreName = "pelloryfont.faces";

// What tells whether a file changed.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since 1970
  bool operator==(const FileStamp&) const = default;
};

// The file's stamp; none when it cannot be read.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

struct StoredFace {
  FaceRef face;
  FileStamp stamp;
  FaceReading reading;  // its picture packed only
};

struct FaceStore {
  // Where the readings came from: the builder that made them (its build
  // and the libraries it drew with) and the inputs every face shares. A
  // store is used only when both are those of the build at hand.
  std::string builder, sharedInputs;
  std::vector<StoredFace> faces;
};

// The store as a file's bytes, written to `out`.
void WriteFaceStore(std::ostream& out, const FaceStore& store);

// The store from a file's bytes, or the reason they are none: a wrong
// header, a size or offset past the end, an unknown category, a failed
// checksum of the list. Pictures are checked when unpacked.
struct DecodedFaceStore {
  std::optional<FaceStore> store;
  std::string fault;
};
DecodedFaceStore DecodeFaceStore(std::string_view bytes);
// The same from the bytes `keep` holds, which the pictures go on using.
DecodedFaceStore DecodeFaceStore(std::shared_ptr<const char[]> keep, std::size_t size);
// The same from a file; the fault says so when it cannot be read.
DecodedFaceStore ReadFaceStore(const std::filesystem::path& file);

}  // namespace pellory::mkcatalogue
