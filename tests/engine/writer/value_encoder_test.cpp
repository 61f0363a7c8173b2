// Record bytes of single values against the format's examples, and the
// values and columns the writer refuses.
#include "value_encoder.h"

#include <gtest/gtest.h>

#include "pellory/engine/table_writer.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::writer {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct EncodingCase {
  const char* label;
  FieldType type;
  std::uint8_t size;
  Value value;
  Bytes expected;
};

class EncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, MatchesTheFormatExamples) {
  const auto& c = GetParam();
  const Column column{"c", c.type, c.size};
  Bytes out(ColumnWidth(column), 0);
  EncodeValue(column, c.value, out.data());
  EXPECT_EQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, EncodingTest,
    ::testing::Values(
        EncodingCase{"ShortOne", FieldType::Short, 0, std::int64_t{1}, {0x80, 0x01}},
        EncodingCase{"Short256", FieldType::Short, 0, std::int64_t{256}, {0x81, 0x00}},
        EncodingCase{"ShortMinus40", FieldType::Short, 0, std::int64_t{-40}, {0x7F, 0xD8}},
        EncodingCase{"ShortZero", FieldType::Short, 0, std::int64_t{0}, {0x80, 0x00}},
        EncodingCase{
            "LongMinusOne", FieldType::Long, 0, std::int64_t{-1}, {0x7F, 0xFF, 0xFF, 0xFF}},
        EncodingCase{"NumberPlus40", FieldType::Number, 0, 40.0, {0xC0, 0x44, 0, 0, 0, 0, 0, 0}},
        EncodingCase{"NumberMinus40",
                     FieldType::Number,
                     0,
                     -40.0,
                     {0x3F, 0xBB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        EncodingCase{"NumberZero", FieldType::Number, 0, 0.0, {0x80, 0, 0, 0, 0, 0, 0, 0}},
        EncodingCase{"LogicalTrue", FieldType::Logical, 0, true, {0x81}},
        EncodingCase{"LogicalFalse", FieldType::Logical, 0, false, {0x80}},
        EncodingCase{"Blank", FieldType::Long, 0, Blank{}, {0, 0, 0, 0}},
        EncodingCase{"MidnightIsNotBlank", FieldType::Time, 0, std::int64_t{0}, {0x80, 0, 0, 0}},
        EncodingCase{"AlphaPadded", FieldType::Alpha, 5, std::string("ab"), {'a', 'b', 0, 0, 0}},
        EncodingCase{"BytesPadded", FieldType::Bytes, 3, std::string("\xFF"), {0xFF, 0, 0}},
        EncodingCase{"BcdPositive",
                     FieldType::Bcd,
                     2,
                     std::string("12.5"),
                     {0xC2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x50}},
        EncodingCase{"BcdNegative",
                     FieldType::Bcd,
                     0,
                     std::string("-7"),
                     {0x40, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                      0xFF, 0xFF, 0xFF, 0xF8}},
        EncodingCase{"BcdNegativeZero",
                     FieldType::Bcd,
                     1,
                     std::string("-0.0"),
                     {0xC1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto& p) { return std::string(p.param.label); });

struct RefusedValue {
  const char* label;
  FieldType type;
  std::uint8_t size;
  Value value;
};

class RefusedValueTest : public ::testing::TestWithParam<RefusedValue> {};

TEST_P(RefusedValueTest, IsRefusedAndLeavesTheTableAsItWas) {
  const auto& c = GetParam();
  testkit::ScratchDir dir;
  TableWriter table(dir.path(), "t", {{"c", c.type, c.size}});
  EXPECT_THROW(table.Append({c.value}), SchemaError);
  EXPECT_EQ(table.records(), 0u);
  table.Finish();
  testkit::TableReader reader(dir.path(), "t.DB");
  ASSERT_EQ(reader.result(), PEL_OK);
  EXPECT_TRUE(reader.Records().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedValueTest,
    ::testing::Values(RefusedValue{"AlphaTooLong", FieldType::Alpha, 3, std::string("abcd")},
                      RefusedValue{"AlphaWithZero", FieldType::Alpha, 9, std::string("a\0b", 3)},
                      RefusedValue{"ShortTooLarge", FieldType::Short, 0, std::int64_t{32768}},
                      RefusedValue{"LongTooSmall", FieldType::Long, 0, std::int64_t{-2147483649LL}},
                      // The lowest values would be stored as all zero bytes, i.e. blank.
                      RefusedValue{"ShortLowestIsBlank", FieldType::Short, 0, std::int64_t{-32768}},
                      RefusedValue{"LongLowestIsBlank", FieldType::Long, 0,
                                   std::int64_t{-2147483648LL}},
                      RefusedValue{"DateZero", FieldType::Date, 0, std::int64_t{0}},
                      RefusedValue{"TimePastTheDay", FieldType::Time, 0, std::int64_t{86400000}},
                      RefusedValue{"NumberGivenText", FieldType::Number, 0, std::string("1")},
                      RefusedValue{"LogicalGivenNumber", FieldType::Logical, 0, std::int64_t{1}},
                      RefusedValue{"BcdNotANumber", FieldType::Bcd, 2, std::string("1.2.3")},
                      RefusedValue{"BcdTooManyDecimals", FieldType::Bcd, 1, std::string("1.25")},
                      RefusedValue{"BcdTooManyDigits", FieldType::Bcd, 0, std::string(33, '9')},
                      RefusedValue{"CounterBelowOne", FieldType::AutoIncrement, 0, std::int64_t{0}},
                      RefusedValue{"BlobGivenNumber", FieldType::Memo, 20, std::int64_t{1}}),
    [](const auto& p) { return std::string(p.param.label); });

TEST(RefusedValueAfterFullBlockTest, LeavesTheBlockChainWhole) {
  testkit::ScratchDir dir;
  TableOptions small;
  small.blockKiB = 1;  // ten records of 100 bytes fill a block
  TableWriter table(dir.path(), "t", {{"a", FieldType::Alpha, 100}}, small);
  for (int i = 0; i < 10; ++i) table.Append({std::string("row")});
  EXPECT_THROW(table.Append({std::int64_t{1}}), SchemaError);
  table.Finish();
  testkit::TableReader reader(dir.path(), "t.DB");
  ASSERT_EQ(reader.result(), PEL_OK);
  EXPECT_EQ(reader.Records().size(), 10u);
}

TEST(RefusedColumnTest, EachBadSchemaIsRefused) {
  const std::vector<std::vector<Column>> schemas = {
      {},
      {{"", FieldType::Alpha, 5}},
      {{"a", FieldType::Alpha, 0}},
      {{"m", FieldType::Memo, 10}},
      {{"g", FieldType::Graphic, 251}},
      {{"d", FieldType::Bcd, 33}},
      {{"x", static_cast<FieldType>(0x07)}},
      {{"same", FieldType::Short}, {"same", FieldType::Long}},
      {{"a name that is much too long", FieldType::Short}},
  };
  testkit::ScratchDir dir;
  for (std::size_t i = 0; i < schemas.size(); ++i)
    EXPECT_THROW(TableWriter(dir.path(), "bad", schemas[i]), SchemaError) << i;
  TableOptions noBlocks;
  noBlocks.blockKiB = 0;
  EXPECT_THROW(TableWriter(dir.path(), "bad", {{"a", FieldType::Alpha, 200}}, noBlocks),
               SchemaError);
  EXPECT_THROW(TableWriter(dir.path(), "bad", {{"a", FieldType::Alpha, 10}},
                           {.password = std::string(256, 'p')}),
               SchemaError);
}

TEST(WriteFailureTest, UnwritableDirectoryNamesTheFile) {
  try {
    TableWriter(std::filesystem::path("/nonexistent-dir-for-writer"), "t",
                {{"a", FieldType::Alpha, 5}});
    FAIL() << "no error";
  } catch (const WriteError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-dir-for-writer/t.DB"), std::string::npos);
  }
}

}  // namespace
}  // namespace pellory::writer
