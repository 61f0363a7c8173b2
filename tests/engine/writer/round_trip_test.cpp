// Tables written by the writer read back through the engine, value for
// value, for every field type, plain and encrypted.
#include <gtest/gtest.h>

#include <cstring>

#include "pellory/engine/table_writer.h"
#include "pellory/testkit/engine_values.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::writer {
namespace {

using testkit::LittleEndian;
using testkit::ScratchDir;
using testkit::TableReader;
using Bytes = std::vector<std::uint8_t>;

Bytes Raw(std::string_view s) {
  return Bytes(s.begin(), s.end());
}

struct Case {
  Column column;
  Value value;
  Bytes expected;  // the engine's value bytes; empty for blank
};

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + (i * 7) % 26);
  return s;
}

std::string Picture(std::size_t imageBytes) {
  std::string image = "BM" + Pattern(imageBytes - 2);
  std::string header(8, '\0');
  header[0] = 1;
  header[3] = 1;
  const auto n = static_cast<std::uint32_t>(image.size());
  std::memcpy(&header[4], &n, 4);
  return header + image;
}

// One column per case; the first row holds the values, the second is blank.
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = [] {
    std::vector<Case> list;
    const auto add = [&list](std::string name, FieldType type, std::uint8_t size, Value value,
                             Bytes expected) {
      list.push_back({{std::move(name), type, size}, std::move(value), std::move(expected)});
    };
    add("Alpha", FieldType::Alpha, 20, std::string("Caf\xE9 noir"), Raw("Caf\xE9 noir\0"));
    add("Full alpha", FieldType::Alpha, 4, std::string("ABCD"), Raw(std::string("ABCD\0", 5)));
    add("Short", FieldType::Short, 0, std::int64_t{-40}, LittleEndian<std::int16_t>(-40));
    add("Short max", FieldType::Short, 0, std::int64_t{32767}, LittleEndian<std::int16_t>(32767));
    add("Long", FieldType::Long, 0, std::int64_t{-2147483647},
        LittleEndian<std::int32_t>(-2147483647));
    add("Long zero", FieldType::Long, 0, std::int64_t{0}, LittleEndian<std::int32_t>(0));
    add("Number", FieldType::Number, 0, -40.25, LittleEndian<double>(-40.25));
    add("Number zero", FieldType::Number, 0, 0.0, LittleEndian<double>(0.0));
    add("Money", FieldType::Money, 0, 1234.5, LittleEndian<double>(1234.5));
    add("Logical", FieldType::Logical, 0, true, LittleEndian<std::int16_t>(1));
    add("Logical false", FieldType::Logical, 0, false, LittleEndian<std::int16_t>(0));
    add("Date", FieldType::Date, 0, std::int64_t{728783}, LittleEndian<std::int32_t>(728783));
    add("Time", FieldType::Time, 0, std::int64_t{45296789}, LittleEndian<std::int32_t>(45296789));
    add("Midnight", FieldType::Time, 0, std::int64_t{0}, LittleEndian<std::int32_t>(0));
    add("Timestamp", FieldType::Timestamp, 0, 728783.0 * 86400000 + 1000,
        LittleEndian<double>(728783.0 * 86400000 + 1000));
    add("Counter", FieldType::AutoIncrement, 0, std::int64_t{7}, LittleEndian<std::int32_t>(7));
    add("Bcd", FieldType::Bcd, 2, std::string("-1234.5"),
        testkit::BcdDigits(true, 2, "00000000000000000000000000123450"));
    add("Bcd whole", FieldType::Bcd, 0, std::string("987654321"),
        testkit::BcdDigits(false, 0, "00000000000000000000000987654321"));
    add("Bytes", FieldType::Bytes, 6, std::string("\x01\x00\xFF\x7F\x80\x02", 6),
        Raw(std::string("\x01\x00\xFF\x7F\x80\x02", 6)));
    add("Memo in leader", FieldType::Memo, 40, std::string("short text"), Raw("short text"));
    add("Memo shared", FieldType::Memo, 20, Pattern(700), Raw(Pattern(700)));
    add("Memo own block", FieldType::Memo, 11, Pattern(9000), Raw(Pattern(9000)));
    add("Leader exactly", FieldType::Memo, 15, std::string("12345"), Raw("12345"));
    add("Graphic", FieldType::Graphic, 10, Picture(3000), Raw(Picture(3000)));
    add("Graphic leader", FieldType::Graphic, 30, Picture(100), Raw(Picture(100)));
    add("Binary", FieldType::Binary, 10, std::string("\0\1\2", 3), Raw(std::string("\0\1\2", 3)));
    add("Formatted", FieldType::FormattedMemo, 11, Pattern(2047), Raw(Pattern(2047)));
    add("Ole", FieldType::Ole, 10, Pattern(2048), Raw(Pattern(2048)));
    return list;
  }();
  return cases;
}

class RoundTripTest : public ::testing::TestWithParam<std::string> {
 protected:
  void Write() {
    std::vector<Column> columns;
    Row values;
    for (const auto& c : Cases()) {
      columns.push_back(c.column);
      values.push_back(c.value);
    }
    const Row blanks(values.size());
    TableWriter table(dir_.path(), "alltypes", columns, {.password = GetParam()});
    table.Append(values);
    table.Append(blanks);
    table.Finish();
  }
  std::vector<std::string> Passwords() const {
    return GetParam().empty() ? std::vector<std::string>{} : std::vector{GetParam()};
  }
  ScratchDir dir_;
};

TEST_P(RoundTripTest, EveryTypeReadsBackEqual) {
  Write();
  TableReader reader(dir_.path(), "alltypes.DB", Passwords());
  ASSERT_EQ(reader.result(), PEL_OK);
  EXPECT_EQ(reader.info().encrypted, GetParam().empty() ? 0 : 1);
  EXPECT_EQ(reader.info().code_page, 1252);
  const auto records = reader.Records();
  ASSERT_EQ(records.size(), 2u);
  for (std::uint16_t i = 0; i < Cases().size(); ++i) {
    const Case& c = Cases()[i];
    const auto field = static_cast<std::uint16_t>(i + 1);
    SCOPED_TRACE(c.column.name);
    EXPECT_EQ(reader.fields()[i].name, c.column.name);
    EXPECT_EQ(reader.fields()[i].native_type, static_cast<std::uint16_t>(c.column.type));
    if (IsBlobType(c.column.type)) {
      EXPECT_EQ(Raw(reader.Blob(records[0], field)), c.expected);
      EXPECT_TRUE(reader.Value(records[1], field).empty());
    } else if (c.column.type == FieldType::AutoIncrement) {
      EXPECT_EQ(reader.Value(records[0], field), c.expected);
      // A blank counter takes the next number after the largest used.
      EXPECT_EQ(reader.Value(records[1], field), LittleEndian<std::int32_t>(8));
    } else {
      auto value = reader.Value(records[0], field);
      if (c.column.type == FieldType::Alpha) value.resize(c.expected.size());
      EXPECT_EQ(value, c.expected);
      EXPECT_TRUE(reader.Value(records[1], field).empty());
    }
  }
}

TEST_P(RoundTripTest, ManyRecordsSpanDataBlocksAndBlobBlocks) {
  const std::vector<Column> columns = {{"Number", FieldType::Long, 0},
                                       {"Text", FieldType::Memo, 11},
                                       {"Picture", FieldType::Graphic, 10}};
  constexpr int kRows = 3000;  // some hundred data blocks, more than 256
  {
    TableWriter table(dir_.path(), "many", columns, {.password = GetParam(), .blockKiB = 1});
    for (int i = 0; i < kRows; ++i)
      table.Append({std::int64_t{i}, Pattern(i % 300), (i % 50) ? Picture(40 + i % 3000) : ""});
    table.Finish();
    EXPECT_EQ(table.records(), static_cast<std::uint32_t>(kRows));
  }
  TableReader reader(dir_.path(), "many.DB", Passwords());
  ASSERT_EQ(reader.result(), PEL_OK);
  const auto records = reader.Records();
  ASSERT_EQ(records.size(), static_cast<std::size_t>(kRows));
  for (int i = 0; i < kRows; ++i) {
    ASSERT_EQ(reader.Value(records[i], 1), LittleEndian<std::int32_t>(i));
    ASSERT_EQ(reader.Blob(records[i], 2), Pattern(i % 300)) << i;
    ASSERT_EQ(reader.Blob(records[i], 3), (i % 50) ? Picture(40 + i % 3000) : "") << i;
  }
}

TEST_P(RoundTripTest, EmptyTableOpensWithoutRecords) {
  TableWriter(dir_.path(), "empty", {{"Name", FieldType::Alpha, 10}}, {.password = GetParam()})
      .Finish();
  TableReader reader(dir_.path(), "empty.DB", Passwords());
  ASSERT_EQ(reader.result(), PEL_OK);
  EXPECT_TRUE(reader.Records().empty());
  EXPECT_EQ(std::filesystem::file_size(dir_.path() / "empty.DB"), 0x800u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "empty.MB"));
}

// A second table adds to the first one's blob file: rows that point at the
// values already there (a memo in a shared block, pictures in blocks of
// their own) and rows with new ones, after the file's end; the first table
// reads as before, the second, put in its place, reads all its values.
TEST_P(RoundTripTest, TableAddingToAnotherOnesBlobFile) {
  const std::vector<Column> columns = {{"Text", FieldType::Memo, 15},
                                       {"Picture", FieldType::Graphic, 10}};
  const std::filesystem::path first = dir_.path() / "first", second = dir_.path() / "second";
  std::filesystem::create_directories(first);
  std::filesystem::create_directories(second);
  std::vector<std::vector<BlobPointer>> pointers;
  {
    TableWriter table(first, "t", columns, {.password = GetParam()});
    for (int i = 0; i < 3; ++i)
      pointers.push_back(table.Append({Pattern(100 + i), Picture(3000 + i)}));
    table.Finish();
  }
  const auto blobFile = first / "t.MB";
  const std::uintmax_t before = std::filesystem::file_size(blobFile);
  EXPECT_EQ(pointers[0][0].length, 100u);
  EXPECT_NE(pointers[0][0].pointer & 0xFF, 0xFFu);  // a slot of a shared block
  EXPECT_EQ(pointers[1][1].pointer & 0xFF, 0xFFu);  // a block of its own
  {
    TableWriter table(second, "t", columns, {.password = GetParam(), .extendBlobFile = blobFile});
    // The leader of the memo is its first 5 bytes; a picture's leader is
    // empty in a 10-byte column.
    table.Append(
        {StoredBlob{pointers[2][0], Pattern(102).substr(0, 5)}, StoredBlob{pointers[2][1], {}}});
    const auto added = table.Append({Pattern(700), Picture(5000)});
    EXPECT_GE(added[1].pointer & 0xFFFFFF00u, before);
    table.Append({StoredBlob{pointers[0][0], Pattern(100)}, Blank{}});
    table.Finish();
    EXPECT_FALSE(std::filesystem::exists(second / "t.MB"));
  }
  EXPECT_GT(std::filesystem::file_size(blobFile), before);
  {
    TableReader reader(first, "t.DB", Passwords());
    ASSERT_EQ(reader.result(), PEL_OK);
    const auto records = reader.Records();
    ASSERT_EQ(records.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(reader.Blob(records[i], 1), Pattern(100 + i));
      EXPECT_EQ(reader.Blob(records[i], 2), Picture(3000 + i));
    }
  }
  std::filesystem::rename(second / "t.DB", first / "t.DB");
  TableReader reader(first, "t.DB", Passwords());
  ASSERT_EQ(reader.result(), PEL_OK);
  const auto records = reader.Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(reader.Blob(records[0], 1), Pattern(102));
  EXPECT_EQ(reader.Blob(records[0], 2), Picture(3002));
  EXPECT_EQ(reader.Blob(records[1], 1), Pattern(700));
  EXPECT_EQ(reader.Blob(records[1], 2), Picture(5000));
  EXPECT_EQ(reader.Blob(records[2], 1), Pattern(100));
  EXPECT_EQ(reader.Blob(records[2], 2), "");
}

TEST(StoredBlobTest, RefusedWithoutABlobFileToAddTo) {
  ScratchDir dir;
  TableWriter table(dir.path(), "t", {{"Text", FieldType::Memo, 15}});
  EXPECT_THROW(table.Append({StoredBlob{{0x1000FF, 100, 1}, "leader"}}), SchemaError);
  EXPECT_THROW(TableWriter(dir.path(), "u", {{"Text", FieldType::Memo, 15}},
                           {.extendBlobFile = dir.path() / "missing.MB"}),
               WriteError);
}

INSTANTIATE_TEST_SUITE_P(PlainAndEncrypted, RoundTripTest,
                         ::testing::Values(std::string(), std::string("Secret pass")),
                         [](const auto& p) { return p.param.empty() ? "Plain" : "Encrypted"; });

TEST(EncryptedTableTest, RefusedWithoutTheRightPassword) {
  ScratchDir dir;
  TableWriter table(dir.path(), "locked", {{"Name", FieldType::Alpha, 10}}, {.password = "mirabo"});
  table.Append({std::string("x")});
  table.Finish();
  for (const auto& passwords : {std::vector<std::string>{}, std::vector<std::string>{"Mirabo"}}) {
    TableReader reader(dir.path(), "locked.DB", passwords);
    EXPECT_EQ(reader.result(), PEL_PASSWORD_NEEDED);
  }
  TableReader reader(dir.path(), "locked.DB", {"mirabo"});
  ASSERT_EQ(reader.result(), PEL_OK);
  EXPECT_EQ(reader.Text(reader.Records().at(0), 1), "x");
}

}  // namespace
}  // namespace pellory::writer
