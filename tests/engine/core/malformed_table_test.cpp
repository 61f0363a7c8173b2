// Damaged copies of real tables: every one gives a clear engine error naming
// the damaged file, never a crash, hang or over-read; damaged blobs give it
// too when a memo search meets them while filtering.
#include <gtest/gtest.h>

#include <functional>

#include "filter_buffer.h"
#include "table_header.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

enum class Stage { Open, Scan, Blob, Filter };

// The files of one copied table and where its first record's blob
// descriptor lies (when it has a blob column).
struct Copy {
  fs::path db, mb;
  std::size_t headerSize = 0, firstBlock = 0, blobDescriptor = 0;
};

void PatchBytes(const fs::path& file, std::size_t at, std::vector<std::uint8_t> bytes) {
  auto data = ReadBytes(file);
  ASSERT_LE(at + bytes.size(), data.size());
  std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
  WriteBytes(file, data);
}

void PatchU16(const fs::path& f, std::size_t at, std::uint16_t v) {
  PatchBytes(f, at, {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
}

void PatchU32(const fs::path& f, std::size_t at, std::uint32_t v) {
  PatchBytes(f, at,
             {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
              static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)});
}

void Truncate(const fs::path& f, std::uintmax_t size) {
  fs::resize_file(f, size);
}

struct Case {
  const char* name;
  const char* table;  // sample base name; the .mb beside it is copied too
  std::function<void(const Copy&)> damage;
  Stage stage;
  pel_result code;
  bool blobFileNamed;  // the error names the .mb, not the .db
};

const Case kCases[] = {
    {"truncated header", "memo", [](const Copy& c) { Truncate(c.db, 40); }, Stage::Open,
     PEL_HEADER_DAMAGED, false},
    {"block size 0", "memo", [](const Copy& c) { PatchBytes(c.db, 5, {0}); }, Stage::Open,
     PEL_HEADER_DAMAGED, false},
    {"huge field count", "memo", [](const Copy& c) { PatchU16(c.db, 0x21, 0xFFFF); }, Stage::Open,
     PEL_HEADER_DAMAGED, false},
    {"record size unlike the fields", "memo", [](const Copy& c) { PatchU16(c.db, 0, 7); },
     Stage::Open, PEL_HEADER_DAMAGED, false},
    {"header size past the file", "memo", [](const Copy& c) { PatchU16(c.db, 2, 0xFFFF); },
     Stage::Open, PEL_HEADER_DAMAGED, false},
    {"unknown field type", "memo", [](const Copy& c) { PatchBytes(c.db, 0x78, {0x7F}); },
     Stage::Open, PEL_HEADER_DAMAGED, false},
    {"index file type", "memo", [](const Copy& c) { PatchBytes(c.db, 4, {1}); }, Stage::Open,
     PEL_UNSUPPORTED_TABLE, false},
    {"first block out of range", "memo", [](const Copy& c) { PatchU16(c.db, 0x0E, 500); },
     Stage::Open, PEL_BLOCK_DAMAGED, false},
    // The chain is walked as far as records are read: a loop after the first
    // block fails the read that reaches it.
    {"chain loops", "memo", [](const Copy& c) { PatchU16(c.db, c.firstBlock, 1); }, Stage::Scan,
     PEL_BLOCK_DAMAGED, false},
    {"record count lies", "memo", [](const Copy& c) { PatchU16(c.db, c.firstBlock + 4, 0x7FFF); },
     Stage::Open, PEL_BLOCK_DAMAGED, false},
    {"negative record area", "memo",
     [](const Copy& c) { PatchU16(c.db, c.firstBlock + 4, 0xFFF0); }, Stage::Open,
     PEL_BLOCK_DAMAGED, false},
    {"data block cut off", "memo", [](const Copy& c) { Truncate(c.db, c.headerSize + 100); },
     Stage::Open, PEL_BLOCK_DAMAGED, false},
    {"blob pointer past the blob file", "memo",
     [](const Copy& c) { PatchU32(c.db, c.blobDescriptor, 0x7FFFFF00u | 0x3F); }, Stage::Blob,
     PEL_BLOB_DAMAGED, true},
    {"blob pointer into the header block", "memo",
     [](const Copy& c) { PatchU32(c.db, c.blobDescriptor, 0x3F); }, Stage::Blob, PEL_BLOB_DAMAGED,
     true},
    {"slot index out of range", "memo",
     [](const Copy& c) {
       auto data = ReadBytes(c.db);
       data[c.blobDescriptor] = 0x50;
       WriteBytes(c.db, data);
     },
     Stage::Blob, PEL_BLOB_DAMAGED, true},
    {"blob length overflows", "memo",
     [](const Copy& c) { PatchU32(c.db, c.blobDescriptor + 4, 0xFFFFFFFFu); }, Stage::Blob,
     PEL_BLOB_DAMAGED, true},
    {"blob block of the wrong type", "memo",
     [](const Copy& c) {
       auto db = ReadBytes(c.db);
       const std::uint32_t ptr = db[c.blobDescriptor + 1] << 8 | db[c.blobDescriptor + 2] << 16 |
                                 db[c.blobDescriptor + 3] << 24;
       PatchBytes(c.mb, ptr, {4});
     },
     Stage::Blob, PEL_BLOB_DAMAGED, true},
    {"blob file cut short", "memo", [](const Copy& c) { Truncate(c.mb, 4096); }, Stage::Blob,
     PEL_BLOB_DAMAGED, true},
    {"blob file missing", "memo", [](const Copy& c) { fs::remove(c.mb); }, Stage::Blob,
     PEL_BLOB_FILE_NOT_FOUND, true},
};

class MalformedTable : public ::testing::TestWithParam<Case> {};

Copy MakeCopy(const ScratchDir& dir, const std::string& base) {
  Copy copy;
  copy.db = dir.CopySample(base + ".db");
  copy.mb = dir.CopySample(base + ".mb");
  const auto bytes = ReadBytes(copy.db);
  const TableHeader header = ParseTableHeader(bytes, copy.db.string());
  copy.headerSize = header.headerSize;
  copy.firstBlock = header.headerSize + (header.firstBlock - 1u) * header.blockSize;
  for (const auto& column : header.columns)
    if (column.type == 0x0C)
      copy.blobDescriptor = copy.firstBlock + 6 + column.offset + column.width - 10;
  return copy;
}

// Applies a search of every memo column for any text at all, so that each
// record's memo is read while the cursor moves.
pel_result SearchMemos(const OpenTable& t) {
  for (const auto& f : t.fields()) {
    if (f.subtype != PEL_SUB_MEMO) continue;
    const auto buffer = FilterBuffer::Like(f.number, f.name, "%");
    pel_filter* filter = nullptr;
    if (const pel_result r = pel_filter_add(t.cursor(), buffer.data(), buffer.size(), &filter))
      return r;
    if (const pel_result r = pel_filter_activate(t.cursor(), filter)) return r;
  }
  return PEL_OK;
}

// Runs the stage and takes the error stack before closing clears it.
pel_result Exercise(const fs::path& dir, const std::string& table, Stage stage,
                    std::vector<std::string>* contexts) {
  OpenTable t(dir, table);
  const pel_result result = [&] {
    if (t.result() != PEL_OK || stage == Stage::Open) return t.result();
    if (stage == Stage::Filter)
      if (const pel_result r = SearchMemos(t); r != PEL_OK) return r;
    std::vector<std::vector<std::uint8_t>> records;
    if (const pel_result r = t.ReadAll(records); r != PEL_OK || stage != Stage::Blob) return r;
    for (const auto& record : records)
      for (const auto& f : t.fields()) {
        if (f.logical_type != PEL_TYPE_BLOB) continue;
        pel_result code = PEL_OK;
        t.Blob(record, f.number, &code);
        if (code != PEL_OK && code != PEL_END_OF_BLOB) return code;
      }
    return pel_result{PEL_OK};
  }();
  *contexts = ErrorContexts();
  return result;
}

TEST_P(MalformedTable, GivesAClearErrorNamingTheFile) {
  PELLORY_NEED_SAMPLES();
  const Case& c = GetParam();
  ScratchDir dir;
  const Copy copy = MakeCopy(dir, c.table);
  ASSERT_NE(copy.blobDescriptor, 0u);
  c.damage(copy);
  EngineSession session;
  std::vector<std::string> contexts;
  EXPECT_EQ(Exercise(dir.path(), std::string(c.table) + ".db", c.stage, &contexts), c.code);
  ASSERT_FALSE(contexts.empty());
  EXPECT_EQ(contexts[0], (c.blobFileNamed ? copy.mb : copy.db).string());
}

std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
  std::string name = param.param.name;
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedTable, ::testing::ValuesIn(kCases), CaseName);

// The blob cases once more, met by a memo search while the cursor moves.
std::vector<Case> BlobCasesWhileFiltering() {
  std::vector<Case> cases;
  for (Case c : kCases)
    if (c.stage == Stage::Blob) {
      c.stage = Stage::Filter;
      cases.push_back(c);
    }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(WhileFiltering, MalformedTable,
                         ::testing::ValuesIn(BlobCasesWhileFiltering()), CaseName);

TEST(MalformedTable, UndamagedCopyReadsCleanly) {
  PELLORY_NEED_SAMPLES();
  ScratchDir dir;
  MakeCopy(dir, "memo");
  EngineSession session;
  std::vector<std::string> contexts;
  EXPECT_EQ(Exercise(dir.path(), "memo.db", Stage::Blob, &contexts), PEL_OK);
  EXPECT_TRUE(contexts.empty());
  EXPECT_EQ(Exercise(dir.path(), "memo.db", Stage::Filter, &contexts), PEL_OK);
}

}  // namespace
}  // namespace pellory::engine::test
