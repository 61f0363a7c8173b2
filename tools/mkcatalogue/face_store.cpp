#include "face_store.h"

#include <sys/stat.h>
#include <zlib.h>

#include <bit>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace pellory::mkcatalogue {
namespace {

// Little-endian values appended to a string.
class StoreWriter {
 public:
  void U8(std::uint8_t v) { out_ += static_cast<char>(v); }
  void U16(std::uint16_t v) { Little(v, 2); }
  void U32(std::uint32_t v) { Little(v, 4); }
  void U64(std::uint64_t v) { Little(v, 8); }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void I64(std::int64_t v) { U64(static_cast<std::uint64_t>(v)); }
  void F64(double v) { U64(std::bit_cast<std::uint64_t>(v)); }
  void Text(std::string_view s) {
    U32(static_cast<std::uint32_t>(s.size()));
    out_.append(s);
  }
  std::string& bytes() { return out_; }

 private:
  void Little(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out_ += static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  std::string out_;
};

// The same read back; past the end it answers zeros and remembers that it
// failed.
class StoreReader {
 public:
  explicit StoreReader(std::string_view bytes) : in_(bytes) {}
  std::uint8_t U8() { return static_cast<std::uint8_t>(Little(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Little(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
  // A yes or no written as 1 or 0; anything else fails.
  bool Flag() {
    const std::uint8_t v = U8();
    if (v > 1) Fail();
    return v == 1;
  }
  std::uint64_t U64() { return Little(8); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::int64_t I64() { return static_cast<std::int64_t>(U64()); }
  double F64() { return std::bit_cast<double>(U64()); }
  std::string Text() {
    const std::uint32_t size = U32();
    if (size > left()) return Fail();
    std::string text(in_.substr(at_, size));
    at_ += size;
    return text;
  }
  std::size_t left() const { return in_.size() - at_; }
  bool ok() const { return ok_; }
  std::string Fail() {
    ok_ = false;
    at_ = in_.size();
    return {};
  }

 private:
  std::uint64_t Little(std::size_t n) {
    if (n > left()) {
      Fail();
      return 0;
    }
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
      v |= std::uint64_t{static_cast<unsigned char>(in_[at_ + i])} << (8 * i);
    at_ += n;
    return v;
  }
  std::string_view in_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

void WriteStoredFacts(StoreWriter& w, const FontFacts& f) {
  for (const std::string* text :
       {&f.family, &f.style, &f.foundry, &f.version, &f.format, &f.licence})
    w.Text(*text);
  w.U32(f.glyphs);
  w.U32(static_cast<std::uint32_t>(f.variations.axes.size()));
  for (const VariationAxis& axis : f.variations.axes) {
    w.Text(axis.tag);
    for (double value : {axis.minimum, axis.defaultValue, axis.maximum, axis.value}) w.F64(value);
  }
  w.I32(f.variations.instance);
}

// Bytes an axis takes at the least: a tag's length and four values.
constexpr std::size_t kStoredAxisBytes = 4 + 4 * 8;

void ReadStoredFacts(StoreReader& r, FontFacts& f) {
  for (std::string* text : {&f.family, &f.style, &f.foundry, &f.version, &f.format, &f.licence})
    *text = r.Text();
  f.glyphs = r.U32();
  const std::uint32_t axes = r.U32();
  if (axes > r.left() / kStoredAxisBytes) {
    r.Fail();
    return;
  }
  f.variations.axes.resize(axes);
  for (VariationAxis& axis : f.variations.axes) {
    axis.tag = r.Text();
    axis.minimum = r.F64();
    axis.defaultValue = r.F64();
    axis.maximum = r.F64();
    axis.value = r.F64();
  }
  f.variations.instance = r.I32();
}

// `pictureAt`: where the face's picture goes among the pictures.
void WriteStoredPointer(StoreWriter& w, const writer::BlobPointer& p) {
  w.U32(p.pointer);
  w.U32(p.length);
  w.U16(p.modification);
}

writer::BlobPointer ReadStoredPointer(StoreReader& r) {
  writer::BlobPointer p;
  p.pointer = r.U32();
  p.length = r.U32();
  p.modification = r.U16();
  return p;
}

void WriteStamp(StoreWriter& w, const FileStamp& stamp) {
  w.U64(stamp.size);
  w.I64(stamp.modified);
}

FileStamp ReadStamp(StoreReader& r) {
  FileStamp stamp;
  stamp.size = r.U64();
  stamp.modified = r.I64();
  return stamp;
}

void WriteStoredFace(StoreWriter& w, const StoredFace& s) {
  w.Text(s.face.file.string());
  w.I32(s.face.index);
  w.U8(s.face.foundry ? 1 : 0);
  w.Text(s.face.foundry ? *s.face.foundry : "");
  WriteStamp(w, s.stamp);
  const FaceReading& reading = s.reading;
  w.U8(static_cast<std::uint8_t>(reading.state));
  w.Text(reading.error);
  if (reading.state == FaceReading::State::Unreadable) return;
  WriteStoredFacts(w, reading.facts);
  if (reading.state != FaceReading::State::Sound) return;
  w.U8(static_cast<std::uint8_t>(reading.category));
  w.Text(reading.rule);
  w.Text(reading.scripts);
  w.U8(s.record ? 1 : 0);
  if (!s.record) return;
  w.Text(s.record->name);
  WriteStoredPointer(w, s.record->picture);
  WriteStoredPointer(w, s.record->description);
}

// Bytes a face takes at the least: a file name's length, the index, the
// foundry, the stamp, the state and an error's length.
constexpr std::size_t kStoredFaceBytes = 4 + 4 + 1 + 4 + 8 + 8 + 1 + 4;

bool ReadStoredFace(StoreReader& r, StoredFace& s) {
  s.face.file = r.Text();
  s.face.index = r.I32();
  const bool hasFoundry = r.Flag();
  std::string foundry = r.Text();
  if (hasFoundry)
    s.face.foundry = std::move(foundry);
  else if (!foundry.empty())
    return false;
  s.stamp = ReadStamp(r);
  FaceReading& reading = s.reading;
  const std::uint8_t state = r.U8();
  if (state > static_cast<std::uint8_t>(FaceReading::State::Sound)) return false;
  reading.state = static_cast<FaceReading::State>(state);
  reading.error = r.Text();
  if (reading.state == FaceReading::State::Unreadable) return r.ok();
  reading.facts.path = s.face.file;
  reading.facts.faceIndex = s.face.index;
  ReadStoredFacts(r, reading.facts);
  if (reading.state != FaceReading::State::Sound) return r.ok();
  const std::uint8_t category = r.U8();
  if (category >= kAllCategories.size()) return false;
  reading.category = static_cast<Category>(category);
  reading.rule = r.Text();
  reading.scripts = r.Text();
  if (r.Flag()) {
    StoredRecord record;
    record.name = r.Text();
    record.picture = ReadStoredPointer(r);
    record.description = ReadStoredPointer(r);
    s.record = std::move(record);
  }
  return r.ok();
}

std::uint32_t Checksum(std::string_view bytes) {
  uLong crc = crc32(0, nullptr, 0);
  // zlib counts in uInt: a large list goes in parts.
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t part = std::min<std::size_t>(bytes.size() - at, 1u << 30);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(part));
    at += part;
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return std::nullopt;
  return FileStamp{static_cast<std::uint64_t>(st.st_size),
                   std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::optional<BlobFileIdentity> IdentityOf(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return std::nullopt;
  return BlobFileIdentity{static_cast<std::uint64_t>(st.st_dev),
                          static_cast<std::uint64_t>(st.st_ino),
                          static_cast<std::uint64_t>(st.st_nlink),
                          {static_cast<std::uint64_t>(st.st_size),
                           std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec}};
}

void WriteFaceStore(std::ostream& out, const FaceStore& store) {
  StoreWriter list;
  list.bytes().reserve(512 * store.faces.size());
  list.Text(store.builder);
  list.Text(store.sharedInputs);
  list.U32(store.encryption);
  const BlobFileIdentity& blobs = store.blobFile;
  list.U64(blobs.device);
  list.U64(blobs.inode);
  list.U64(blobs.links);
  WriteStamp(list, blobs.stamp);
  list.U32(static_cast<std::uint32_t>(store.faces.size()));
  for (const StoredFace& face : store.faces) WriteStoredFace(list, face);
  StoreWriter header;
  header.bytes() = kFaceStoreMagic;
  header.U64(list.bytes().size());
  header.U32(Checksum(list.bytes()));
  out.write(header.bytes().data(), static_cast<std::streamsize>(header.bytes().size()));
  out.write(list.bytes().data(), static_cast<std::streamsize>(list.bytes().size()));
}

DecodedFaceStore DecodeFaceStore(std::string_view bytes) {
  if (bytes.substr(0, kFaceStoreMagic.size()) != kFaceStoreMagic)
    return {std::nullopt, "it is no face store of this kind"};
  StoreReader header(
      bytes.substr(kFaceStoreMagic.size(), kFaceStoreHeaderSize - kFaceStoreMagic.size()));
  const std::uint64_t size = header.U64();
  const std::uint32_t checksum = header.U32();
  const std::size_t start = kFaceStoreHeaderSize;
  if (!header.ok() || size != bytes.size() - start)
    return {std::nullopt, "it is not as long as its header says"};
  const std::string_view list = bytes.substr(start);
  if (Checksum(list) != checksum) return {std::nullopt, "its list of faces fails its checksum"};
  StoreReader r(list);
  FaceStore store;
  store.builder = r.Text();
  store.sharedInputs = r.Text();
  store.encryption = r.U32();
  store.blobFile.device = r.U64();
  store.blobFile.inode = r.U64();
  store.blobFile.links = r.U64();
  store.blobFile.stamp = ReadStamp(r);
  const std::uint32_t count = r.U32();
  if (!r.ok() || count > r.left() / kStoredFaceBytes)
    return {std::nullopt, "its list of faces is cut short"};
  store.faces.resize(count);
  for (StoredFace& face : store.faces)
    if (!ReadStoredFace(r, face)) return {std::nullopt, "its list of faces does not parse"};
  if (r.left() != 0) return {std::nullopt, "its list of faces does not parse"};
  return {std::move(store), {}};
}

DecodedFaceStore ReadFaceStore(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return {std::nullopt, "cannot open it"};
  const std::streamoff size = in.tellg();
  if (size < 0) return {std::nullopt, "cannot read it"};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), size)) return {std::nullopt, "cannot read it"};
  return DecodeFaceStore(bytes);
}

}  // namespace pellory::mkcatalogue
