// Fault injection through the engine's C interface: a small catalogue cut
// short at every length class and changed byte by byte in its header, field
// descriptors and names, block chain, records and blob file. Each damaged
// copy is opened and read whole (every record both ways, every field, every
// blob, two filters): a clear error naming the damaged file, or the data of
// the undamaged catalogue wherever the damage cannot reach. Buffers are
// exactly as large as the engine says, so the sanitizer build catches any
// value written or read past its end.
#include "catalogue_faults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "filter_buffer.h"
#include "test_tables.h"

namespace pellory::engine::test {
namespace {

using testkit::Fault;
using Bytes = std::vector<std::uint8_t>;

const pel_result kClearErrors[] = {
    PEL_HEADER_DAMAGED,  PEL_BLOCK_DAMAGED,       PEL_BLOB_DAMAGED, PEL_UNSUPPORTED_TABLE,
    PEL_PASSWORD_NEEDED, PEL_BLOB_FILE_NOT_FOUND, PEL_ACCESS_DENIED};

// What the engine gave for one copy of the catalogue.
struct Reading {
  pel_result end = PEL_OK;  // PEL_OK: read to the end; else the first failure
  std::vector<Bytes> records;
  std::map<std::pair<std::uint32_t, std::uint16_t>, Bytes> blobs;  // those read whole
};

// The failure just answered is a clear one: a damage code, a text for it,
// and the damaged file named first on the error stack.
void ExpectClear(pel_result code, const fs::path& dir) {
  EXPECT_NE(std::find(std::begin(kClearErrors), std::end(kClearErrors), code),
            std::end(kClearErrors))
      << "code " << std::hex << code;
  const auto contexts = ErrorContexts();
  ASSERT_FALSE(contexts.empty()) << "no error stack for code " << std::hex << code;
  EXPECT_TRUE(contexts[0] == (dir / "pelloryfont.DB").string() ||
              contexts[0] == (dir / "pelloryfont.MB").string())
      << contexts[0];
  char text[512] = {};
  ASSERT_EQ(pel_error_text(code, text, sizeof text), PEL_OK);
  EXPECT_STRNE(text, "");
}

// Reads records one way; the first failure ends the list.
pel_result ReadRecords(const OpenTable& t, bool backwards, const fs::path& dir,
                       std::vector<Bytes>& records) {
  records.clear();
  backwards ? pel_cursor_to_end(t.cursor()) : pel_cursor_to_start(t.cursor());
  for (;;) {
    Bytes record(t.info().record_size);
    const pel_result r =
        (backwards ? pel_cursor_prior : pel_cursor_next)(t.cursor(), record.data());
    if (r == (backwards ? PEL_AT_BEGINNING : PEL_AT_END)) return PEL_OK;
    if (r != PEL_OK) {
      ExpectClear(r, dir);
      return r;
    }
    records.push_back(std::move(record));
  }
}

void ReadFields(const OpenTable& t, const Bytes& record) {
  for (const auto& f : t.fields()) {
    Bytes value(f.value_size);
    int blank = 0;
    EXPECT_EQ(
        pel_field_get(t.cursor(), f.number, record.data(), value.data(), value.size(), &blank),
        PEL_OK);
  }
}

// A whole blob read in pieces; false after a (clear) failure.
bool ReadBlob(const OpenTable& t, const Bytes& record, std::uint16_t field, const fs::path& dir,
              Bytes& out) {
  pel_result r = pel_blob_open(t.cursor(), field, record.data());
  std::uint32_t size = 0;
  if (r == PEL_OK) r = pel_blob_size(t.cursor(), field, record.data(), &size);
  for (std::uint32_t at = 0; r == PEL_OK && at < size;) {
    Bytes piece(std::min<std::uint32_t>(1000, size - at));
    std::uint32_t got = 0;
    r = pel_blob_read(t.cursor(), field, record.data(), at,
                      static_cast<std::uint32_t>(piece.size()), piece.data(), &got);
    if (r == PEL_END_OF_BLOB) r = PEL_OK;
    if (r == PEL_OK && got != piece.size()) ADD_FAILURE() << "a blob read came short";
    out.insert(out.end(), piece.begin(), piece.begin() + got);
    at += got;
    if (got == 0) break;
  }
  if (r != PEL_OK) {
    ExpectClear(r, dir);
    return false;
  }
  EXPECT_EQ(out.size(), size);
  // Past its end a blob answers that it has ended, having read nothing.
  std::uint8_t byte = 0;
  std::uint32_t got = 1;
  EXPECT_EQ(pel_blob_read(t.cursor(), field, record.data(), size, 1, &byte, &got), PEL_END_OF_BLOB);
  EXPECT_EQ(got, 0u);
  pel_blob_free(t.cursor(), field, record.data());
  return true;
}

// Applies one filter and compares its records with the expected ones; a
// clear failure is accepted where reading failed too.
void ExpectFiltered(const OpenTable& t, const std::vector<std::uint8_t>& buffer,
                    const std::vector<Bytes>& expected, bool failureAllowed, const fs::path& dir) {
  pel_filter* filter = nullptr;
  if (pel_filter_add(t.cursor(), buffer.data(), buffer.size(), &filter) != PEL_OK) return;
  ASSERT_EQ(pel_filter_activate(t.cursor(), filter), PEL_OK);
  std::vector<Bytes> passing;
  const pel_result r = ReadRecords(t, false, dir, passing);
  if (r == PEL_OK)
    EXPECT_EQ(passing, expected);
  else
    EXPECT_TRUE(failureAllowed) << "the filtered scan failed with " << std::hex << r;
  pel_filter_drop(t.cursor(), filter);
}

bool StartsWith(const Bytes& value, const std::string& prefix) {
  return value.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), value.begin());
}

Reading ReadCatalogue(const fs::path& dir) {
  Reading reading;
  OpenTable t(dir, "pelloryfont.DB");
  if (t.result() != PEL_OK) {
    ExpectClear(t.result(), dir);
    reading.end = t.result();
    return reading;
  }
  reading.end = ReadRecords(t, false, dir, reading.records);
  if (reading.end == PEL_OK) {
    std::vector<Bytes> backwards;
    EXPECT_EQ(ReadRecords(t, true, dir, backwards), PEL_OK);
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(backwards, reading.records);
    std::uint32_t count = 0;
    EXPECT_EQ(pel_cursor_count(t.cursor(), &count), PEL_OK);
    EXPECT_EQ(count, reading.records.size());
  }
  bool blobFailed = false;
  std::vector<Bytes> handwriting, memoWithA;
  for (std::uint32_t r = 0; r < reading.records.size(); ++r) {
    const Bytes& record = reading.records[r];
    ReadFields(t, record);
    for (const auto& f : t.fields()) {
      if (f.logical_type != PEL_TYPE_BLOB) continue;
      Bytes bytes;
      if (!ReadBlob(t, record, f.number, dir, bytes)) {
        blobFailed = true;
        continue;
      }
      if (f.subtype == PEL_SUB_MEMO && std::count(bytes.begin(), bytes.end(), 'a') > 0)
        memoWithA.push_back(record);
      reading.blobs[{r, f.number}] = std::move(bytes);
    }
    if (t.fields().size() >= 4 && t.fields()[3].logical_type == PEL_TYPE_CHARACTER &&
        StartsWith(t.Value(record, 4, nullptr), "Hand"))
      handwriting.push_back(record);
  }
  // The filters meet the same damage: the same records, or a clear failure.
  if (t.fields().size() >= 4 && t.fields()[3].logical_type == PEL_TYPE_CHARACTER)
    ExpectFiltered(t, FilterBuffer::Equal(4, "Category", "Hand", 4), handwriting,
                   reading.end != PEL_OK, dir);
  if (t.fields().size() >= 2 && t.fields()[1].subtype == PEL_SUB_MEMO)
    ExpectFiltered(t, FilterBuffer::Like(2, "Description", "%a%"), memoWithA,
                   reading.end != PEL_OK || blobFailed, dir);
  return reading;
}

void ExpectLikeUndamaged(const Fault& fault, const Reading& got, const Reading& want) {
  if (!fault.errorAllowed) {
    EXPECT_EQ(got.end, PEL_OK);
  }
  if (fault.anyRecords) return;
  if (fault.fewerRecords || got.end != PEL_OK)
    EXPECT_LE(got.records.size(), want.records.size());
  else
    EXPECT_EQ(got.records.size(), want.records.size());
  for (std::uint32_t r = 0; r < got.records.size() && r < want.records.size(); ++r)
    if (!fault.changedRecords.count(r)) {
      EXPECT_EQ(got.records[r], want.records[r]) << "record " << r;
    }
  if (fault.anyBlobs) return;
  for (const auto& [key, bytes] : want.blobs) {
    if (key.first >= got.records.size() || fault.changedBlobs.count(key.first) ||
        fault.changedRecords.count(key.first))
      continue;
    const auto found = got.blobs.find(key);
    if (found == got.blobs.end())
      ADD_FAILURE() << "record " << key.first << "'s blob " << key.second << " failed";
    else
      EXPECT_EQ(found->second, bytes) << "record " << key.first << "'s blob " << key.second;
  }
}

class CatalogueFaults : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() {
    pristine_ = new ScratchDir;
    testkit::WriteFaultCatalogue(pristine_->path());
    faults_ = new std::vector<Fault>(testkit::CatalogueFaults(pristine_->path()));
  }
  static void TearDownTestSuite() {
    delete faults_;
    delete pristine_;
  }
  static ScratchDir* pristine_;
  static std::vector<Fault>* faults_;
};

ScratchDir* CatalogueFaults::pristine_ = nullptr;
std::vector<Fault>* CatalogueFaults::faults_ = nullptr;

TEST_P(CatalogueFaults, ClearErrorOrUndamagedData) {
  EngineSession session;
  ASSERT_EQ(pel_password_add(testkit::kFaultPassword), PEL_OK);
  const Reading want = ReadCatalogue(pristine_->path());
  ASSERT_EQ(want.end, PEL_OK);
  ASSERT_EQ(want.records.size(), testkit::kFaultRecords);
  int applied = 0;
  for (const Fault& fault : *faults_) {
    if (fault.region != GetParam()) continue;
    SCOPED_TRACE(fault.region + ": " + fault.name);
    ScratchDir copy;
    for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"})
      fs::copy_file(pristine_->path() / file, copy.path() / file);
    fault.apply(copy.path());
    ExpectLikeUndamaged(fault, ReadCatalogue(copy.path()), want);
    ++applied;
  }
  EXPECT_GT(applied, 0);
}

INSTANTIATE_TEST_SUITE_P(Regions, CatalogueFaults,
                         ::testing::Values("db-header", "db-descriptors", "db-names", "db-chain",
                                           "db-records", "db-truncated", "mb-bytes", "mb-file",
                                           "mb-truncated"),
                         [](const auto& param) {
                           std::string name = param.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace pellory::engine::test
