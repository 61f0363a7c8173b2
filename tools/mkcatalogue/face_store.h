// The face store: beside the catalogue, what each face of the last build
// gave (FaceReading), keyed by its file, face index and foundry and stamped
// with the file's size and modification time, and, for the faces that made
// a record, where the blob file holds its picture and description. An
// update reads only the faces that are new or changed, writes the table
// anew and adds only new pictures to the blob file. The store is read back
// checked in every size and offset, its list by a checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "face_reading.h"
#include "font_sources.h"
#include "pellory/engine/table_schema.h"

namespace pellory::mkcatalogue {

inline constexpr std::string_view kFaceStoreName = "pelloryfont.faces";
// The file begins with this text, then the list's length (8 bytes) and its
// CRC-32 (4 bytes), little-endian, then the list.
inline constexpr std::string_view kFaceStoreMagic = "Pellory face store 1\n";
inline constexpr std::size_t kFaceStoreHeaderSize = kFaceStoreMagic.size() + 8 + 4;

// What tells whether a font file changed.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since 1970
  bool operator==(const FileStamp&) const = default;
};

// The file's stamp; none when it cannot be looked at.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

// Which blob file, as it was when a build finished with it: any write to
// it since, by anyone, changes its size or modification time.
struct BlobFileIdentity {
  std::uint64_t device = 0, inode = 0, links = 0;
  FileStamp stamp;
  bool operator==(const BlobFileIdentity&) const = default;
};

std::optional<BlobFileIdentity> IdentityOf(const std::filesystem::path& file);

// A face's record in the table the store was written with.
struct StoredRecord {
  std::string name;                 // UTF-8, the name its picture shows
  writer::BlobPointer picture;      // in the blob file
  writer::BlobPointer description;  // none when it fits the record
};

struct StoredFace {
  FaceRef face;
  FileStamp stamp;
  FaceReading reading;  // without its picture
  std::optional<StoredRecord> record;
};

struct FaceStore {
  // Where the readings came from: the builder that made them (its build
  // and the libraries it drew with) and the inputs every face shares. A
  // store is used only when both are those of the build at hand.
  std::string builder, sharedInputs;
  // The table's encryption value and its blob file, which the records
  // point into.
  std::uint32_t encryption = 0;
  BlobFileIdentity blobFile;
  std::vector<StoredFace> faces;
};

void WriteFaceStore(std::ostream& out, const FaceStore& store);

// The store from a file's bytes, or the reason they are none: a wrong
// header, a size or offset past the end, an unknown state or category, a
// failed checksum.
struct DecodedFaceStore {
  std::optional<FaceStore> store;
  std::string fault;
};
DecodedFaceStore DecodeFaceStore(std::string_view bytes);
// The same from a file; the fault says so when it cannot be read.
DecodedFaceStore ReadFaceStore(const std::filesystem::path& file);

}  // namespace pellory::mkcatalogue
