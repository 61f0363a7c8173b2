#include "face_store.h"

#include <lz4.h>
#include <sys/stat.h>

#include <bit>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace pellory::mkcatalogue {
namespace {

constexpr std::string_view kStoreMagic = "Pellory face store 1\n";
// A list unpacks to at most this: far beyond any machine's fonts, well
// below what a damaged size field could ask for.
constexpr std::uint64_t kMaxListBytes = std::uint64_t{1} << 30;
// The header after the magic: the list's packed and unpacked sizes and the
// checksum of its packed bytes.
constexpr std::size_t kStoreHeaderBytes = 8 + 8 + 4;

// Little-endian values appended to a string.
class StoreWriter {
 public:
  void U8(std::uint8_t v) { out_ += static_cast<char>(v); }
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
  std::uint32_t U32() { return static_cast<std::uint32_t>(Little(4)); }
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
void WriteStoredFace(StoreWriter& w, const StoredFace& s, std::uint64_t& pictureAt) {
  w.Text(s.face.file.string());
  w.I32(s.face.index);
  w.U8(s.face.foundry ? 1 : 0);
  w.Text(s.face.foundry ? *s.face.foundry : "");
  w.U64(s.stamp.size);
  w.I64(s.stamp.modified);
  const FaceReading& reading = s.reading;
  w.U8(static_cast<std::uint8_t>(reading.state));
  w.Text(reading.error);
  if (reading.state == FaceReading::State::Unreadable) return;
  WriteStoredFacts(w, reading.facts);
  if (reading.state != FaceReading::State::Sound) return;
  w.U8(static_cast<std::uint8_t>(reading.category));
  w.Text(reading.rule);
  w.Text(reading.scripts);
  w.I32(reading.packed.width);
  w.I32(reading.packed.height);
  w.U32(reading.packed.checksum);
  w.U64(pictureAt);
  w.U64(reading.packed.bytes.size());
  pictureAt += reading.packed.bytes.size();
}

// Bytes a face takes at the least: a file name's length, the index, the
// foundry, the stamp, the state and an error's length.
constexpr std::size_t kStoredFaceBytes = 4 + 4 + 1 + 4 + 8 + 8 + 1 + 4;

bool ReadStoredFace(StoreReader& r, StoredFace& s, std::string_view pictures,
                    const std::shared_ptr<const char[]>& keep) {
  s.face.file = r.Text();
  s.face.index = r.I32();
  const bool hasFoundry = r.U8() != 0;
  std::string foundry = r.Text();
  if (hasFoundry) s.face.foundry = std::move(foundry);
  s.stamp.size = r.U64();
  s.stamp.modified = r.I64();
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
  reading.category = kAllCategories[category];
  reading.rule = r.Text();
  reading.scripts = r.Text();
  reading.packed.width = r.I32();
  reading.packed.height = r.I32();
  reading.packed.checksum = r.U32();
  const std::uint64_t offset = r.U64(), size = r.U64();
  if (!r.ok() || offset > pictures.size() || size > pictures.size() - offset) return false;
  reading.packed.bytes = pictures.substr(offset, size);
  reading.packed.keep = keep;
  return true;
}

std::string PackList(const std::string& list) {
  if (list.size() > kMaxListBytes) throw std::runtime_error("too many faces for a face store");
  std::string packed(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(list.size()))),
                     '\0');
  const int size = LZ4_compress_default(list.data(), packed.data(), static_cast<int>(list.size()),
                                        static_cast<int>(packed.size()));
  if (size <= 0) throw std::runtime_error("the list of faces does not pack");
  packed.resize(static_cast<std::size_t>(size));
  return packed;
}

// The list unpacked, or none when its bytes are damaged.
std::optional<std::string> UnpackList(std::string_view packed, std::uint64_t size,
                                      std::uint32_t checksum) {
  if (size > kMaxListBytes || packed.size() > kMaxListBytes || Checksum(packed) != checksum)
    return std::nullopt;
  std::string list(static_cast<std::size_t>(size), '\0');
  if (LZ4_decompress_safe(packed.data(), list.data(), static_cast<int>(packed.size()),
                          static_cast<int>(list.size())) != static_cast<int>(list.size()))
    return std::nullopt;
  return list;
}

}  // namespace

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return std::nullopt;
  return FileStamp{static_cast<std::uint64_t>(st.st_size),
                   std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
}

void WriteFaceStore(std::ostream& out, const FaceStore& store) {
  StoreWriter list;
  list.bytes().reserve(512 * store.faces.size());
  list.Text(store.builder);
  list.Text(store.sharedInputs);
  list.U32(static_cast<std::uint32_t>(store.faces.size()));
  std::uint64_t pictureAt = 0;
  for (const StoredFace& face : store.faces) WriteStoredFace(list, face, pictureAt);
  const std::string packed = PackList(list.bytes());
  StoreWriter header;
  header.bytes() = kStoreMagic;
  header.U64(packed.size());
  header.U64(list.bytes().size());
  header.U32(Checksum(packed));
  out.write(header.bytes().data(), static_cast<std::streamsize>(header.bytes().size()));
  out.write(packed.data(), static_cast<std::streamsize>(packed.size()));
  for (const StoredFace& face : store.faces) {
    const std::string_view picture = face.reading.packed.bytes;
    if (face.reading.state == FaceReading::State::Sound)
      out.write(picture.data(), static_cast<std::streamsize>(picture.size()));
  }
}

DecodedFaceStore DecodeFaceStore(std::shared_ptr<const char[]> keep, std::size_t size) {
  const std::string_view bytes(keep.get(), size);
  if (bytes.substr(0, kStoreMagic.size()) != kStoreMagic)
    return {std::nullopt, "it is no face store of this kind"};
  StoreReader header(bytes.substr(kStoreMagic.size(), kStoreHeaderBytes));
  const std::uint64_t packedSize = header.U64(), listSize = header.U64();
  const std::uint32_t checksum = header.U32();
  const std::size_t listStart = kStoreMagic.size() + kStoreHeaderBytes;
  if (!header.ok() || packedSize > bytes.size() - listStart)
    return {std::nullopt, "it is cut short"};
  const std::optional<std::string> list =
      UnpackList(bytes.substr(listStart, packedSize), listSize, checksum);
  if (!list) return {std::nullopt, "its list of faces fails its checksum"};
  const std::string_view pictures = bytes.substr(listStart + packedSize);
  StoreReader r(*list);
  FaceStore store;
  store.builder = r.Text();
  store.sharedInputs = r.Text();
  const std::uint32_t count = r.U32();
  if (!r.ok() || count > r.left() / kStoredFaceBytes)
    return {std::nullopt, "its list of faces is cut short"};
  store.faces.resize(count);
  for (StoredFace& face : store.faces)
    if (!ReadStoredFace(r, face, pictures, keep))
      return {std::nullopt, "its list of faces does not parse"};
  if (r.left() != 0) return {std::nullopt, "its list of faces does not parse"};
  return {std::move(store), {}};
}

DecodedFaceStore DecodeFaceStore(std::string_view bytes) {
  std::shared_ptr<char[]> copy(new char[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), copy.get());
  return DecodeFaceStore(std::move(copy), bytes.size());
}

DecodedFaceStore ReadFaceStore(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return {std::nullopt, "cannot open it"};
  const std::streamoff size = in.tellg();
  if (size < 0) return {std::nullopt, "cannot read it"};
  // Not filled with zeros first: it is read over at once.
  std::shared_ptr<char[]> bytes(new char[static_cast<std::size_t>(size)]);
  in.seekg(0);
  if (!in.read(bytes.get(), size)) return {std::nullopt, "cannot read it"};
  return DecodeFaceStore(std::move(bytes), static_cast<std::size_t>(size));
}

}  // namespace pellory::mkcatalogue
