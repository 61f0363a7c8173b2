#include "catalogue_faults.h"

#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>

#include "field_codec.h"
#include "pellory/engine/table_writer.h"
#include "table_cipher.h"
#include "table_header.h"

namespace pellory::testkit {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kBlock = 1024;  // the catalogue's data block size
constexpr std::uint64_t kBlobUnit = 4096;

Bytes Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

// An 8-bit grey BMP of a diagonal pattern, behind the graphic header.
std::string Picture(int width, int height) {
  const int stride = (width + 3) / 4 * 4;
  std::string bmp = "BM";
  Put(bmp, 54 + 1024 + stride * height, 4);
  Put(bmp, 0, 4);
  Put(bmp, 54 + 1024, 4);
  Put(bmp, 40, 4), Put(bmp, width, 4), Put(bmp, height, 4), Put(bmp, 1, 2), Put(bmp, 8, 2);
  Put(bmp, 0, 4), Put(bmp, stride * height, 4), Put(bmp, 2835, 4), Put(bmp, 2835, 4);
  Put(bmp, 256, 4), Put(bmp, 0, 4);
  for (int i = 0; i < 256; ++i) Put(bmp, i * 0x010101u, 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < stride; ++x) bmp += static_cast<char>(x < width ? (x + y) * 7 : 0);
  std::string out;
  Put(out, 1, 2), Put(out, 0x0100, 2), Put(out, static_cast<std::uint32_t>(bmp.size()), 4);
  return out + bmp;
}

writer::Value DescriptionOf(std::uint32_t k) {
  switch (k % 4) {
    case 0:
      return "Short note " + std::to_string(k);  // fits the 40-byte leader
    case 1:
      return std::string(100 + 11 * k, static_cast<char>('a' + k % 26));  // a shared block
    case 2:
      return std::string(3000 + k, static_cast<char>('A' + k % 26));  // a block of its own
    default:
      return writer::Blank{};
  }
}

writer::Value PictureOf(std::uint32_t k) {
  if (k % 3 == 0) return writer::Blank{};
  return k % 3 == 1 ? Picture(16, 12) : Picture(64, 40);  // a shared block, one of its own
}

// Where the files' parts lie, read from the undamaged catalogue.
struct Layout {
  engine::TableHeader header;
  std::uint32_t blocks = 0;
  std::size_t namesStart = 0, namesEnd = 0;  // the field names in the header
  std::uint64_t dbSize = 0, mbSize = 0;
  Bytes records;  // every record decrypted, in order
  struct Blob {
    std::uint32_t record;
    std::uint64_t block;  // offset of its blob file block
    std::uint32_t index;  // 0xFF: a block of its own
    std::uint64_t blockEnd;
    std::uint64_t data;  // offset of its first byte
    std::uint32_t length;
  };
  std::vector<Blob> blobs;  // the blobs that lie in the blob file
};

Bytes BlobUnits(const Bytes& mb, std::uint64_t at, std::size_t count, std::uint32_t encryption) {
  const std::uint64_t first = at / 256 * 256;
  const std::uint64_t end = (at + count + 255) / 256 * 256;
  Bytes units(mb.begin() + static_cast<std::ptrdiff_t>(first),
              mb.begin() + static_cast<std::ptrdiff_t>(end));
  engine::DecryptBlobUnits(units, encryption);
  return Bytes(units.begin() + static_cast<std::ptrdiff_t>(at - first),
               units.begin() + static_cast<std::ptrdiff_t>(at - first + count));
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Layout ReadLayout(const fs::path& dir) {
  Layout l;
  const Bytes db = Read(dir / "pelloryfont.DB");
  const Bytes mb = Read(dir / "pelloryfont.MB");
  l.header = engine::ParseTableHeader(db, "pelloryfont.DB");
  const auto& h = l.header;
  l.dbSize = db.size();
  l.mbSize = mb.size();
  l.blocks = static_cast<std::uint32_t>((db.size() - h.headerSize) / h.blockSize);
  const std::size_t n = h.columns.size();
  l.namesStart = 0x78 + 2 * n + 4 + 4 * n + 261;
  l.namesEnd = l.namesStart;
  for (std::size_t names = 0; names < n; ++l.namesEnd) names += db[l.namesEnd] == 0;
  const std::uint32_t perBlock = (h.blockSize - 6) / h.recordSize;
  for (std::uint32_t b = 1; b <= l.blocks; ++b) {
    Bytes block(db.begin() + h.headerSize + (b - 1) * h.blockSize,
                db.begin() + h.headerSize + b * h.blockSize);
    engine::DecryptDataBlock(block, h.encryption, b);
    const auto area = static_cast<std::int16_t>(block[4] | block[5] << 8);
    const std::uint32_t records = area < 0 ? 0 : area / h.recordSize + 1u;
    if (records > perBlock) throw std::runtime_error("the fault catalogue's block is unsound");
    l.records.insert(l.records.end(), block.begin() + 6,
                     block.begin() + 6 + records * h.recordSize);
  }
  for (std::uint32_t r = 0; r * h.recordSize < l.records.size(); ++r)
    for (const auto& column : h.columns) {
      if (column.type != 0x0C && column.type != 0x10) continue;
      const auto ref = engine::ReadBlobRef(column, l.records.data() + r * h.recordSize);
      if (ref.length <= ref.leaderSize) continue;
      Layout::Blob blob{r, ref.pointer & 0xFFFFFF00u, ref.pointer & 0xFF, 0, 0, ref.length};
      const Bytes head = BlobUnits(mb, blob.block, 3, h.encryption);
      blob.blockEnd = blob.block + (head[1] | head[2] << 8) * kBlobUnit;
      if (blob.index == 0xFF) {
        blob.data = blob.block + 9;
      } else {
        const Bytes slot = BlobUnits(mb, blob.block + 12 + 5 * blob.index, 5, h.encryption);
        blob.data = blob.block + 16u * slot[0];
      }
      l.blobs.push_back(blob);
    }
  return l;
}

// Edits the decrypted bytes of data block `number` and encrypts them again.
void EditBlock(const fs::path& dir, const Layout& l, std::uint32_t number,
               const std::function<void(Bytes&)>& edit) {
  const fs::path file = dir / "pelloryfont.DB";
  Bytes db = Read(file);
  const std::size_t at = l.header.headerSize + (number - 1) * l.header.blockSize;
  Bytes block(db.begin() + static_cast<std::ptrdiff_t>(at),
              db.begin() + static_cast<std::ptrdiff_t>(at + l.header.blockSize));
  engine::DecryptDataBlock(block, l.header.encryption, number);
  edit(block);
  const auto k = l.header.encryption;
  for (std::uint32_t u = 0; u < l.header.blockSize / 256; ++u)
    engine::EncryptUnit(&block[u * 256],
                        {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(k >> 8),
                         static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(number)});
  std::copy(block.begin(), block.end(), db.begin() + static_cast<std::ptrdiff_t>(at));
  Write(file, db);
}

// Changes one decrypted byte of the blob file.
void EditBlobByte(const fs::path& dir, const Layout& l, std::uint64_t at,
                  const std::function<std::uint8_t(std::uint8_t)>& edit) {
  const fs::path file = dir / "pelloryfont.MB";
  Bytes mb = Read(file);
  const std::uint64_t first = at / 256 * 256;
  Bytes unit(mb.begin() + static_cast<std::ptrdiff_t>(first),
             mb.begin() + static_cast<std::ptrdiff_t>(first + 256));
  const auto k = l.header.encryption;
  engine::DecryptBlobUnits(unit, k);
  unit[at - first] = edit(unit[at - first]);
  engine::EncryptUnit(unit.data(),
                      {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(k >> 8),
                       static_cast<std::uint8_t>(k + 1), static_cast<std::uint8_t>((k >> 8) + 1)});
  std::copy(unit.begin(), unit.end(), mb.begin() + static_cast<std::ptrdiff_t>(first));
  Write(file, mb);
}

void EditFileByte(const fs::path& file, std::size_t at, std::uint8_t mask) {
  Bytes bytes = Read(file);
  bytes[at] ^= mask;
  Write(file, bytes);
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

class FaultList {
 public:
  // The faults keep the layout they edit by: they outlive this list.
  explicit FaultList(const fs::path& pristine)
      : layout_(std::make_shared<const Layout>(ReadLayout(pristine))),
        l_(*layout_),
        keyAt5C_(U32(Read(pristine / "pelloryfont.DB"), 0x25) == 0xFF00FF00u) {}

  std::vector<Fault> Make() {
    HeaderFaults();
    ChainFaults();
    RecordFaults();
    DbTruncations();
    BlobFileFaults();
    BlobFileTruncations();
    return std::move(faults_);
  }

 private:
  Fault& Add(const std::string& region, const std::string& name,
             std::function<void(const fs::path&)> apply) {
    Fault& fault = faults_.emplace_back();
    fault.region = region;
    fault.name = name;
    fault.apply = std::move(apply);
    return fault;
  }

  // The fixed part of the header: which bytes the reader looks at.
  enum class Use { Ignored, SameIfRead, Anything };
  Use HeaderUse(std::size_t at) const {
    if (at <= 0x05 || (at >= 0x0C && at <= 0x0F) || at == 0x21 || at == 0x22 ||
        (at >= 0x25 && at <= 0x28) || at == 0x39 || (keyAt5C_ && at >= 0x5C && at <= 0x5F))
      return Use::Anything;
    // The key field count is checked against the fields; the code page
    // changes no stored byte.
    if (at == 0x23 || at == 0x24 || at == 0x6A || at == 0x6B) return Use::SameIfRead;
    return Use::Ignored;
  }

  void HeaderByte(const std::string& region, std::size_t at, std::uint8_t mask, Use use) {
    Fault& f = Add(region, "byte " + Hex(at) + " ^ " + Hex(mask),
                   [at, mask](const fs::path& d) { EditFileByte(d / "pelloryfont.DB", at, mask); });
    f.errorAllowed = use != Use::Ignored;
    f.anyRecords = f.anyBlobs = use == Use::Anything;
  }

  void HeaderFaults() {
    for (std::size_t at = 0; at < 0x78; ++at)
      for (const std::uint8_t mask : {0xFF, 0x01}) HeaderByte("db-header", at, mask, HeaderUse(at));
    const std::size_t descriptors = 0x78, n = l_.header.columns.size();
    for (std::size_t at = descriptors; at < descriptors + 2 * n; ++at)
      for (const std::uint8_t mask : {0xFF, 0x01, 0x10})
        HeaderByte("db-descriptors", at, mask, Use::Anything);
    // A changed name, or two names run together, leaves the stored bytes.
    for (std::size_t at = l_.namesStart; at < l_.namesEnd; ++at)
      HeaderByte("db-names", at, 0xFF, Use::SameIfRead);
    for (const std::size_t at : {l_.namesStart - 200, l_.namesEnd + 3, std::size_t{0x7FF}})
      HeaderByte("db-names", at, 0x5A, Use::Ignored);
  }

  void BlockHead(std::uint32_t number, std::size_t at, std::uint16_t value, Fault expect) {
    Fault& f =
        Add("db-chain",
            "block " + std::to_string(number) + " byte " + std::to_string(at) + " = " + Hex(value),
            [l = layout_, number, at, value](const fs::path& d) {
              EditBlock(d, *l, number, [&](Bytes& b) {
                b[at] = static_cast<std::uint8_t>(value);
                b[at + 1] = static_cast<std::uint8_t>(value >> 8);
              });
            });
    expect.region = f.region, expect.name = f.name, expect.apply = f.apply;
    f = expect;
  }

  void ChainFaults() {
    const std::uint32_t b = l_.blocks;
    const auto rs = l_.header.recordSize;
    const auto capacity = static_cast<std::uint16_t>((l_.header.blockSize - 6) / rs);
    Fault prefix;
    prefix.fewerRecords = true;
    Fault any;
    any.anyRecords = any.anyBlobs = true;
    Fault same;
    same.errorAllowed = false;
    for (const std::uint32_t n : {1u, b / 2, b}) {
      BlockHead(n, 0, 0, prefix);  // the chain ends here
      BlockHead(n, 0, static_cast<std::uint16_t>(n), prefix);
      BlockHead(n, 0, 1, prefix);
      BlockHead(n, 0, static_cast<std::uint16_t>(b + 1), prefix);
      BlockHead(n, 0, 0xFFFF, prefix);
      if (n + 2 <= b) BlockHead(n, 0, static_cast<std::uint16_t>(n + 2), any);  // one skipped
      BlockHead(n, 2, 0x7777, same);                          // the previous block is never read
      BlockHead(n, 4, static_cast<std::uint16_t>(-rs), any);  // an empty block
      for (const std::uint16_t area : {static_cast<std::uint16_t>(capacity * rs), std::uint16_t{1},
                                       std::uint16_t{0x7FFF}, std::uint16_t{0x8000}})
        BlockHead(n, 4, area, prefix);
    }
    // The last block holding fewer records than it does.
    BlockHead(b, 4, static_cast<std::uint16_t>((capacity - 3) * rs), prefix);
  }

  void RecordFaults() {
    const auto& h = l_.header;
    const std::uint32_t perBlock = (h.blockSize - 6) / h.recordSize;
    const std::uint32_t total = static_cast<std::uint32_t>(l_.records.size() / h.recordSize);
    for (std::uint32_t r = 0; r < total; r += 7) {
      const std::uint32_t block = r / perBlock + 1;
      const std::size_t offset = 6 + (r % perBlock) * h.recordSize;
      for (const auto& column : h.columns) {
        std::vector<std::size_t> spots = {column.offset, column.offset + column.width - 1u};
        if (column.type == 0x0C || column.type == 0x10)
          for (std::size_t i = column.width - 10u; i < column.width; ++i)
            spots.push_back(column.offset + i);  // the blob descriptor
        for (const std::size_t spot : spots) {
          Fault& f = Add("db-records", "record " + std::to_string(r) + " byte " + Hex(spot),
                         [l = layout_, block, at = offset + spot](const fs::path& d) {
                           EditBlock(d, *l, block, [at](Bytes& b) { b[at] ^= 0x5A; });
                         });
          f.errorAllowed = false;
          f.changedRecords = f.changedBlobs = {r};
        }
      }
    }
    // Bytes after a block's records are never read.
    for (const std::uint32_t n : {1u, l_.blocks}) {
      const std::uint32_t used = 6 + perBlock * h.recordSize;
      Fault& f = Add("db-records", "block " + std::to_string(n) + " unused bytes",
                     [l = layout_, n, used](const fs::path& d) {
                       EditBlock(d, *l, n, [used](Bytes& b) {
                         for (std::size_t i = used; i < b.size(); ++i) b[i] ^= 0xA5;
                       });
                     });
      f.errorAllowed = false;
    }
  }

  void Truncate(const std::string& region, const std::string& file, std::uint64_t size,
                Fault expect) {
    Fault& f = Add(region, "cut to " + std::to_string(size),
                   [file, size](const fs::path& d) { fs::resize_file(d / file, size); });
    expect.region = f.region, expect.name = f.name, expect.apply = f.apply;
    f = expect;
  }

  void DbTruncations() {
    const std::uint64_t hs = l_.header.headerSize, bs = l_.header.blockSize;
    Fault header;
    header.anyRecords = header.anyBlobs = true;
    for (const std::uint64_t size :
         {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{0x20}, std::uint64_t{0x57},
          std::uint64_t{0x58}, std::uint64_t{0x77}, std::uint64_t{0x7B},
          std::uint64_t{l_.namesStart + 3}, std::uint64_t{l_.namesEnd - 1}, hs - 1})
      Truncate("db-truncated", "pelloryfont.DB", size, header);
    Fault prefix;
    prefix.fewerRecords = true;
    for (const std::uint64_t size : {hs, hs + 1, hs + 6, hs + bs / 2, hs + bs - 1, hs + bs,
                                     hs + bs * (l_.blocks / 2) + 300, l_.dbSize - 1})
      Truncate("db-truncated", "pelloryfont.DB", size, prefix);
  }

  std::set<std::uint32_t> RecordsWithBlobsIn(std::uint64_t from, std::uint64_t to) const {
    std::set<std::uint32_t> records;
    for (const auto& blob : l_.blobs)
      if (blob.block < to && blob.blockEnd > from) records.insert(blob.record);
    return records;
  }

  void BlobByte(const std::string& name, std::uint64_t at,
                std::function<std::uint8_t(std::uint8_t)> edit, std::set<std::uint32_t> changed) {
    Fault& f = Add("mb-bytes", name + " (byte " + Hex(at) + ")",
                   [l = layout_, at, edit](const fs::path& d) { EditBlobByte(d, *l, at, edit); });
    f.errorAllowed = false;
    f.changedBlobs = std::move(changed);
  }

  void BlobFileFaults() {
    // The header block is never read.
    for (const std::uint64_t at : {0, 1, 3, 5, 0x0B, 0x10, 0x13, 0x29, 0x100, 0xFFF})
      BlobByte("header block", at, [](std::uint8_t v) { return v ^ 0xFF; }, {});
    std::map<std::uint64_t, std::uint32_t> blocks;  // offset, index of one blob in it
    for (const auto& blob : l_.blobs) blocks.emplace(blob.block, blob.index);
    for (const auto& [block, index] : blocks) {
      const auto inBlock = RecordsWithBlobsIn(block, block + 1);
      BlobByte(
          "block type", block, [](std::uint8_t v) { return v ^ 0xFF; }, inBlock);
      BlobByte(
          "block length", block + 1, [](std::uint8_t) { return 0; }, inBlock);
      BlobByte(
          "block length high", block + 2, [](std::uint8_t) { return 0xFF; }, inBlock);
      if (index == 0xFF) {
        BlobByte(
            "blob length", block + 3, [](std::uint8_t v) { return v ^ 1; }, inBlock);
        BlobByte(
            "blob length high", block + 6, [](std::uint8_t v) { return v ^ 0x80; }, inBlock);
        BlobByte("modification number", block + 7, [](std::uint8_t v) { return v ^ 0xFF; }, {});
      } else {
        BlobByte("unused slot", block + 12, [](std::uint8_t v) { return v ^ 0xFF; }, {});
      }
    }
    for (const auto& blob : l_.blobs) {
      const std::string who = "record " + std::to_string(blob.record) + "'s ";
      if (blob.index != 0xFF) {
        const std::uint64_t slot = blob.block + 12 + 5 * blob.index;
        for (const auto& [at, what] :
             {std::pair{0, "slot offset"}, std::pair{1, "slot length"}, std::pair{4, "last bytes"}})
          for (const std::uint8_t mask : {0xFF, 0x01})
            BlobByte(
                who + what, slot + at, [mask](std::uint8_t v) { return v ^ mask; },
                RecordsWithBlobsIn(blob.block, blob.block + 1));
        BlobByte(who + "slot modification number", slot + 2,
                 [](std::uint8_t v) { return v ^ 0xFF; }, {});
      }
      for (const std::uint64_t at :
           {blob.data, blob.data + blob.length / 2, blob.data + blob.length - 1})
        BlobByte(who + "bytes", at, [](std::uint8_t v) { return v ^ 0x20; }, {blob.record});
    }
    Fault& missing =
        Add("mb-file", "missing", [](const fs::path& d) { fs::remove(d / "pelloryfont.MB"); });
    missing.errorAllowed = false;
    missing.changedBlobs = RecordsWithBlobsIn(0, l_.mbSize);
    // A directory in the file's place: unreadable even for the superuser.
    Fault& directory = Add("mb-file", "a directory in its place", [](const fs::path& d) {
      fs::remove(d / "pelloryfont.MB");
      fs::create_directory(d / "pelloryfont.MB");
    });
    directory.errorAllowed = false;
    directory.changedBlobs = missing.changedBlobs;
  }

  void BlobFileTruncations() {
    std::set<std::uint64_t> sizes = {0, 1, 4095, 4096, 4097, l_.mbSize - 1};
    for (const auto& blob : l_.blobs) {
      sizes.insert(blob.block + 1);
      sizes.insert(blob.blockEnd - 1);
      sizes.insert(blob.blockEnd);
    }
    for (const std::uint64_t size : sizes) {
      if (size >= l_.mbSize) continue;
      Fault expect;
      expect.errorAllowed = false;
      expect.changedBlobs = RecordsWithBlobsIn(size, l_.mbSize);
      Truncate("mb-truncated", "pelloryfont.MB", size, expect);
    }
  }

  std::shared_ptr<const Layout> layout_;
  const Layout& l_;
  bool keyAt5C_;  // the header's first key field says "look at 5C"
  std::vector<Fault> faults_;
};

}  // namespace

void WriteFaultCatalogue(const fs::path& dir) {
  using writer::FieldType;
  writer::TableWriter table(dir, "pelloryfont",
                            {{"Font Name", FieldType::Alpha, 45},
                             {"Description", FieldType::Memo, 50},
                             {"Filename", FieldType::Alpha, 13},
                             {"Category", FieldType::Alpha, 55},
                             {"Sample3", FieldType::Graphic, 10}},
                            {.password = kFaultPassword, .blockKiB = 1});
  static const char* const kCategories[] = {"Capitals Serif", "Handwriting", "Normal Sans Serif",
                                            "Wingdings"};
  for (std::uint32_t k = 0; k < kFaultRecords; ++k) {
    // Some values fill their whole column, with no zero byte after them.
    // (Built by appending: GCC 12 warns wrongly about "F" + std::to_string(k).)
    std::string name(45, static_cast<char>('N' + k % 3)), file = "ABCDEFGH.TTFX";
    if (k % 5 != 3) name = std::string("Font number ").append(std::to_string(k));
    if (k % 6 != 1) file = std::string("F").append(std::to_string(k)).append(".TTF");
    table.Append({k == 9 ? writer::Value(writer::Blank{}) : writer::Value(name), DescriptionOf(k),
                  file, std::string(kCategories[k % 4]), PictureOf(k)});
  }
  table.Finish();
}

std::vector<Fault> CatalogueFaults(const fs::path& pristine) {
  return FaultList(pristine).Make();
}

}  // namespace pellory::testkit
