// The engine never writes: after opening, reading every record and blob,
// filtering and closing, the files are byte-identical with unchanged times.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_tables.h"

namespace pellory::engine::test {
namespace {

struct FileState {
  std::vector<std::uint8_t> bytes;
  struct timespec modified {};
};

FileState StateOf(const fs::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0);
  return {ReadBytes(file), st.st_mtim};
}

TEST(NothingWritten, FilesStayByteIdenticalAndUntouched) {
  PELLORY_NEED_SAMPLES();
  ScratchDir dir;
  std::vector<fs::path> files;
  for (const char* name :
       {"TypSammlung_encrypted.DB", "TypSammlung_encrypted.MB", "memo.db", "memo.mb"})
    files.push_back(dir.CopySample(name));
  std::vector<FileState> before;
  for (const auto& f : files) before.push_back(StateOf(f));

  {
    EngineSession session;
    ASSERT_EQ(pel_password_add("rparadox"), PEL_OK);
    for (const char* table : {"TypSammlung_encrypted.DB", "memo.db"}) {
      // Read-write opens too: the engine takes them without writing.
      OpenTable t(dir.path(), table, PEL_OPEN_READ_WRITE);
      ASSERT_EQ(t.result(), PEL_OK) << table;
      std::vector<std::vector<std::uint8_t>> records;
      ASSERT_EQ(t.ReadAll(records), PEL_OK);
      for (const auto& record : records)
        for (const auto& f : t.fields())
          if (f.logical_type == PEL_TYPE_BLOB) t.Blob(record, f.number);
      const std::uint8_t expression[] = {2, 0, 10, 0, 0xFF, 0xFF, 10, 0, 10, 0};
      pel_filter* filter = nullptr;
      if (pel_filter_add(t.cursor(), expression, sizeof expression, &filter) == PEL_OK) {
        pel_filter_activate(t.cursor(), filter);
        t.ReadAll(records);
        pel_filter_drop(t.cursor(), filter);
      }
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const FileState after = StateOf(files[i]);
    EXPECT_EQ(after.bytes, before[i].bytes) << files[i];
    EXPECT_EQ(after.modified.tv_sec, before[i].modified.tv_sec) << files[i];
    EXPECT_EQ(after.modified.tv_nsec, before[i].modified.tv_nsec) << files[i];
  }
}

}  // namespace
}  // namespace pellory::engine::test
