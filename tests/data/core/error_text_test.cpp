// How the data layer words its errors.
#include <gtest/gtest.h>

#include <map>

#include "pellory/data/errors.h"

namespace pellory::data {
namespace {

std::string TextOf(unsigned code) {
  static const std::map<unsigned, std::string> kTexts = {
      {0x2902, "Invalid password."},
      {0x2A04, "Table is busy."},
      {0x2EC4, "General SQL error."},
      {0x3E06, "invalid password."},
  };
  auto it = kTexts.find(code);
  return it == kTexts.end() ? std::string() : it->second;
}

struct EngineTextCase {
  const char* name;
  unsigned code;
  std::vector<EngineErrorEntry> stack;
  std::string expected;
};

class EngineErrorText : public ::testing::TestWithParam<EngineTextCase> {};

TEST_P(EngineErrorText, IsBuiltFromTheEngineTexts) {
  const auto& c = GetParam();
  EXPECT_EQ(ComposeEngineErrorText(c.code, c.stack, TextOf), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, EngineErrorText,
    ::testing::Values(
        EngineTextCase{"CodeTextOnly", 0x2902, {}, "Invalid password."},
        EngineTextCase{"NothingLeftGivesTheCode", 0x1234, {}, "Engine error $1234"},
        EngineTextCase{"SmallCodePaddedToFourDigits", 0xAB, {}, "Engine error $00AB"},
        EngineTextCase{"StackAddsCodeTextAndContext",
                       0x2902,
                       {{0x2A04, 0, "Table: pelloryfont.DB"}},
                       "Invalid password.\r\nTable is busy.\r\nTable: pelloryfont.DB"},
        EngineTextCase{"RepeatedTextsSkippedIgnoringCase",
                       0x2902,
                       {{0x3E06, 0, ""}, {0x2A04, 0, "TABLE IS BUSY."}},
                       "Invalid password.\r\nTable is busy."},
        EngineTextCase{"NativeCodeHidesTheEntryCodeText",
                       0x1234,
                       {{0x2A04, 17, "server says no"}},
                       "server says no"},
        EngineTextCase{"GeneralSqlErrorKeepsOnlyContexts",
                       0x2EC4,
                       {{0x2A04, 0, "first"}, {0x2902, 0, "second"}},
                       "first\r\nsecond"},
        EngineTextCase{
            "GeneralSqlErrorWithoutContexts", 0x2EC4, {{0x2A04, 0, ""}}, "Engine error $2EC4"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Errors, InitialisationTextShowsTheCodeInUpperCaseHex) {
  EXPECT_EQ(InitialisationErrorText(0x2108),
            "An error occurred while attempting to initialize the database engine (error $2108)");
  EXPECT_EQ(InitialisationErrorText(0x2a06),
            "An error occurred while attempting to initialize the database engine (error $2A06)");
  EXPECT_EQ(InitialisationErrorText(0x10000),
            "An error occurred while attempting to initialize the database engine (error $10000)");
}

TEST(Errors, NamedObjectsPrefixTheirMessages) {
  EXPECT_STREQ(EDatabaseError("Missing TableName property", "Table1").what(),
               "Table1: Missing TableName property");
  EXPECT_STREQ(EDatabaseError("Error creating cursor handle").what(),
               "Error creating cursor handle");
  EDatabaseError e("Field 'Sample3' not found", "Table1");
  EXPECT_EQ(e.Text(), "Field 'Sample3' not found");
  EXPECT_EQ(e.ObjectName(), "Table1");
}

TEST(Errors, TypeNamesFollowTheTypeOrder) {
  EXPECT_EQ(FieldTypeName(ftUnknown), "Unknown");
  EXPECT_EQ(FieldTypeName(ftSmallint), "SmallInt");
  EXPECT_EQ(FieldTypeName(ftBlob), "Blob");
  EXPECT_EQ(FieldTypeName(ftDBaseOle), "dBaseOle");
  EXPECT_EQ(FieldTypeName(ftFixedChar), "FixedChar");
  EXPECT_EQ(FieldTypeName(ftLargeint), "LargeInt");
  EXPECT_EQ(FieldTypeName(ftDataSet), "DataSet");
  EXPECT_EQ(FieldTypeName(static_cast<TFieldType>(99)), "Unknown");
}

TEST(Errors, MessageFormatsAreFilledInOrder) {
  EXPECT_EQ(FormatMessage("Size mismatch for field '%s', expecting: %d actual: %d",
                          {"Font Name", "45", "40"}),
            "Size mismatch for field 'Font Name', expecting: 45 actual: 40");
  EXPECT_EQ(FormatMessage("100%% %s", {}), "100%% ");
}

}  // namespace
}  // namespace pellory::data
