// The engine reads tables written by Paradox itself with their known contents.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "test_tables.h"

namespace pellory::engine::test {
namespace {

std::vector<std::vector<std::string>> ReadCsv(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (char c : line) {
      if (c == '"')
        quoted = !quoted;
      else if (c == ',' && !quoted)
        cells.push_back(std::exchange(cell, {}));
      else
        cell += c;
    }
    cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

// Day number (1 January of the year 1 = day 1) of a proleptic Gregorian date.
std::int32_t DayNumber(int y, int m, int d) {
  y -= m <= 2;
  const int era = y / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 305;
}

template <typename T>
T As(const std::vector<std::uint8_t>& value) {
  T out{};
  std::memcpy(&out, value.data(), sizeof out);
  return out;
}

double BcdValue(const std::vector<std::uint8_t>& v) {
  double magnitude = 0;
  for (int i = 0; i < 32; ++i)
    magnitude = magnitude * 10 + ((i % 2 == 0) ? v[2 + i / 2] >> 4 : v[2 + i / 2] & 15);
  magnitude /= std::pow(10.0, v[1] & 0x3F);
  return (v[1] & 0x80) ? -magnitude : magnitude;
}

class SampleTables : public ::testing::Test {
 protected:
  void SetUp() override { PELLORY_NEED_SAMPLES(); }
  EngineSession session_;
};

void CheckCell(const OpenTable& t, const std::vector<std::uint8_t>& record,
               const pel_field_descriptor& f, const std::string& expected) {
  bool blank = false;
  const auto value = t.Value(record, f.number, &blank);
  SCOPED_TRACE(std::string(f.name) + " expected " + expected);
  ASSERT_EQ(blank, expected == "NA");
  if (blank) return;
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  switch (f.logical_type) {
    case PEL_TYPE_CHARACTER:
      EXPECT_EQ(t.Text(record, f.number), expected);
      break;
    case PEL_TYPE_FLOAT:
      EXPECT_NEAR(As<double>(value), std::stod(expected), 1e-9);
      break;
    case PEL_TYPE_SHORT:
      EXPECT_EQ(As<std::int16_t>(value), std::stoi(expected));
      break;
    case PEL_TYPE_INTEGER:
      EXPECT_EQ(As<std::int32_t>(value), std::stoi(expected));
      break;
    case PEL_TYPE_BCD:
      EXPECT_NEAR(BcdValue(value), std::stod(expected), 1e-6);
      break;
    case PEL_TYPE_BOOLEAN:
      EXPECT_EQ(As<std::int16_t>(value), expected == "TRUE" ? 1 : 0);
      break;
    case PEL_TYPE_TIME:
      EXPECT_EQ(As<std::int32_t>(value), std::stoi(expected) * 1000);
      break;
    case PEL_TYPE_DATE:
      ASSERT_EQ(std::sscanf(expected.c_str(), "%d-%d-%d", &y, &mo, &d), 3);
      EXPECT_EQ(As<std::int32_t>(value), DayNumber(y, mo, d));
      break;
    case PEL_TYPE_TIMESTAMP:
      ASSERT_EQ(std::sscanf(expected.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6);
      EXPECT_DOUBLE_EQ(As<double>(value),
                       DayNumber(y, mo, d) * 86400000.0 + (h * 3600 + mi * 60 + s) * 1000.0);
      break;
    case PEL_TYPE_BLOB: {
      const auto bytes = t.Blob(record, f.number);
      char out[256];
      size_t length = 0;
      ASSERT_EQ(pel_text_to_utf8(t.cursor(), reinterpret_cast<const char*>(bytes.data()),
                                 bytes.size(), out, sizeof out, &length),
                PEL_OK);
      EXPECT_EQ(std::string(out, length), expected);
      break;
    }
    default:
      FAIL() << "unexpected type " << f.logical_type;
  }
}

TEST_F(SampleTables, TypSammlungMatchesTheIndependentReading) {
  auto expected = ReadCsv(SampleDir() / "expected_TypSammlung.csv");
  ASSERT_EQ(expected.size(), 6u);
  // The known exception: this row stores its money value blank (8 zero
  // bytes) where the independent reading says 0.000.
  ASSERT_EQ(expected[2][0], "Erste Zeile");
  expected[2][2] = "NA";

  OpenTable t(SampleDir(), "TypSammlung.DB");
  ASSERT_EQ(t.result(), PEL_OK);
  ASSERT_EQ(t.fields().size(), expected[0].size());
  for (std::size_t c = 0; c < t.fields().size(); ++c) EXPECT_EQ(t.fields()[c].name, expected[0][c]);
  std::vector<std::vector<std::uint8_t>> records;
  ASSERT_EQ(t.ReadAll(records), PEL_OK);
  ASSERT_EQ(records.size(), 5u);
  for (std::size_t r = 0; r < records.size(); ++r)
    for (const auto& f : t.fields()) CheckCell(t, records[r], f, expected[r + 1][f.number - 1]);
}

TEST_F(SampleTables, DescriptorsGiveTypesSubtypesAndSizes) {
  OpenTable t(SampleDir(), "TypSammlung");
  ASSERT_EQ(t.result(), PEL_OK);
  struct Want {
    const char* name;
    int type, subtype, units1, length;
  };
  const Want want[] = {{"Alpha", 1, 0, 30, 30},      {"Währung", 7, 21, 0, 8},
                       {"Integer kurz", 5, 0, 0, 2}, {"BCD", 8, 0, 32, 17},
                       {"Memo", 3, 22, 11, 11},      {"Zähler", 6, 29, 0, 4},
                       {"Binär", 3, 23, 10, 10},     {"Bytes", 9, 0, 255, 255}};
  for (const auto& w : want) {
    const auto it = std::find_if(t.fields().begin(), t.fields().end(),
                                 [&](const auto& f) { return std::string(f.name) == w.name; });
    ASSERT_NE(it, t.fields().end()) << w.name;
    EXPECT_EQ(it->logical_type, w.type) << w.name;
    EXPECT_EQ(it->subtype, w.subtype) << w.name;
    EXPECT_EQ(it->units1, w.units1) << w.name;
    EXPECT_EQ(it->length, w.length) << w.name;
  }
  EXPECT_EQ(t.info().numbering, PEL_NUMBERING_SEQUENCE);
  EXPECT_EQ(t.info().code_page, 1252);
}

TEST_F(SampleTables, MemosFromSuballocatedBlockAndLeader) {
  OpenTable t(SampleDir(), "memo.db");
  ASSERT_EQ(t.result(), PEL_OK);
  std::vector<std::vector<std::uint8_t>> records;
  ASSERT_EQ(t.ReadAll(records), PEL_OK);
  ASSERT_EQ(records.size(), 2u);
  const auto first = t.Blob(records[0], 2);
  EXPECT_EQ(first.size(), 555u);
  // The leader holds a copy of the first bytes of the same value.
  EXPECT_EQ(std::memcmp(first.data(), records[0].data() + t.fields()[0].length, 240), 0);
  const auto second = t.Blob(records[1], 2);
  EXPECT_EQ(std::string(second.begin(), second.end()), "01234567890\n");
}

TEST_F(SampleTables, GraphicsKeepPrefixThenBitmap) {
  OpenTable t(SampleDir(), "graphic.db");
  ASSERT_EQ(t.result(), PEL_OK);
  std::vector<std::vector<std::uint8_t>> records;
  ASSERT_EQ(t.ReadAll(records), PEL_OK);
  ASSERT_EQ(records.size(), 3u);
  const std::uint32_t imageSizes[] = {20078, 9618, 2074678};
  for (std::size_t r = 0; r < 3; ++r) {
    const auto blob = t.Blob(records[r], 2);
    ASSERT_EQ(blob.size(), imageSizes[r] + 8u);
    // The graphic header: count 1, type 0100 hex, then the image's size.
    EXPECT_EQ(As<std::uint16_t>({blob.begin(), blob.begin() + 2}), 1u);
    EXPECT_EQ(As<std::uint16_t>({blob.begin() + 2, blob.begin() + 4}), 0x0100u);
    EXPECT_EQ(As<std::uint32_t>({blob.begin() + 4, blob.begin() + 8}), imageSizes[r]);
    EXPECT_EQ(blob[8], 'B');
    EXPECT_EQ(blob[9], 'M');
  }
}

TEST_F(SampleTables, EncryptedTwinReadsLikeThePlainTableWithItsPassword) {
  ASSERT_EQ(pel_password_add("rparadox"), PEL_OK);
  OpenTable plain(SampleDir(), "TypSammlung.DB");
  OpenTable secret(SampleDir(), "TypSammlung_encrypted.DB");
  ASSERT_EQ(plain.result(), PEL_OK);
  ASSERT_EQ(secret.result(), PEL_OK);
  EXPECT_EQ(secret.info().encrypted, 1);
  std::vector<std::vector<std::uint8_t>> a, b;
  ASSERT_EQ(plain.ReadAll(a), PEL_OK);
  ASSERT_EQ(secret.ReadAll(b), PEL_OK);
  ASSERT_EQ(a, b);
  for (std::size_t r = 0; r < a.size(); ++r)
    for (const auto& f : plain.fields()) {
      if (f.logical_type == PEL_TYPE_BLOB) {
        EXPECT_EQ(plain.Blob(a[r], f.number), secret.Blob(b[r], f.number));
      }
    }
}

TEST_F(SampleTables, EncryptedTablesNeedAMatchingPassword) {
  for (const char* table : {"TypSammlung_encrypted.DB", "encrypted35.db", "encryptedmemo.db"}) {
    SCOPED_TRACE(table);
    ASSERT_EQ(pel_password_remove_all(), PEL_OK);
    ASSERT_EQ(pel_password_add("not the password"), PEL_OK);
    OpenTable t(SampleDir(), table);
    EXPECT_EQ(t.result(), PEL_PASSWORD_NEEDED);
    const auto contexts = ErrorContexts();
    ASSERT_FALSE(contexts.empty());
    EXPECT_EQ(contexts[0], (SampleDir() / table).string());
  }
}

TEST_F(SampleTables, RemovedPasswordNoLongerOpens) {
  ASSERT_EQ(pel_password_add("rparadox"), PEL_OK);
  { EXPECT_EQ(OpenTable(SampleDir(), "TypSammlung_encrypted.DB").result(), PEL_OK); }
  ASSERT_EQ(pel_password_remove("rparadox"), PEL_OK);
  EXPECT_EQ(OpenTable(SampleDir(), "TypSammlung_encrypted.DB").result(), PEL_PASSWORD_NEEDED);
}

}  // namespace
}  // namespace pellory::engine::test
