// Every message of the compiler, each from a text that shows it.
#include <gtest/gtest.h>

#include "filter_test_support.h"

namespace pellory::data::filter {
namespace {

using namespace testing;

struct ErrorCase {
  std::string text;
  std::string message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
  *os << c.text.substr(0, 60);
}

class CompileErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CompileErrors, RaiseTheirExactMessage) {
  try {
    Compile(GetParam().text);
    FAIL() << "compiled";
  } catch (const FilterCompileError& e) {
    EXPECT_EQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scanner, CompileErrors,
    ::testing::Values(
        ErrorCase{"Category = 'abc", "Unterminated string constant"},
        ErrorCase{"Category = 'it''", "Unterminated string constant"},
        ErrorCase{"[Category = 'a'", "Unterminated field name"},
        ErrorCase{"Category IS 'a'", "Invalid use of keyword"},
        ErrorCase{"Category IS NOT 'a'", "Invalid use of keyword"},
        ErrorCase{"Category IS", "Invalid use of keyword"},
        ErrorCase{"Category = 'a' # 1", "Invalid filter expression character: '#'"},
        ErrorCase{"Category = \"a\"", "Invalid filter expression character: '\"'"},
        ErrorCase{"/* open * / Category = 'a'", "Invalid filter expression character: ' '"},
        ErrorCase{"/* never closed", "Invalid filter expression character: '/'"},
        ErrorCase{"Category = 'a'\x7F", "Invalid filter expression character: '\\x7F'"},
        ErrorCase{"Category = \x80", "Invalid filter expression character: '\\x80'"},
        ErrorCase{std::string("Category = 'a\0b'", 16),
                  "Invalid filter expression character: '\\x00'"},
        ErrorCase{std::string("Category = 'a'\0", 15),
                  "Invalid filter expression character: '\\x00'"}));

INSTANTIATE_TEST_SUITE_P(
    Parser, CompileErrors,
    ::testing::Values(
        ErrorCase{"Categry ='Wing*'", "Table1: Field 'Categry' not found"},
        ErrorCase{"[Font  Name] = 'x'", "Table1: Field 'Font  Name' not found"},
        ErrorCase{"Category = 'Wing*' AND", "Expression expected but nothing found"},
        ErrorCase{"Category =", "Expression expected but nothing found"},
        ErrorCase{"Category = )", "Expression expected but ')' found"},
        ErrorCase{"Category", "Incorrectly formed filter expression"},
        ErrorCase{"'Wing'", "Incorrectly formed filter expression"},
        ErrorCase{"True", "Incorrectly formed filter expression"},
        ErrorCase{"Category AND Flag", "Incorrectly formed filter expression"},
        ErrorCase{"(Category = 'a') = Flag", "Incorrectly formed filter expression"},
        ErrorCase{"Category IN (Filename = 'a')", "Incorrectly formed filter expression"},
        ErrorCase{"NULL IS NULL", "Incorrectly formed filter expression"},
        ErrorCase{"Category = 'a' )", "Filter expression incorrectly terminated"},
        ErrorCase{"Category = 'a' Filename", "Filter expression incorrectly terminated"},
        ErrorCase{"Category = 'a' + 'b'", "Arithmetic in filter expressions not supported"},
        ErrorCase{"Count = 5 -3", "Arithmetic in filter expressions not supported"},
        ErrorCase{"Count * 2 = 4", "Arithmetic in filter expressions not supported"},
        ErrorCase{"Count / 2 = 4", "Arithmetic in filter expressions not supported"},
        ErrorCase{"Category IN 'a'", "'(' expected but ''a'' found"},
        ErrorCase{"Category IN", "'(' expected but nothing found"},
        ErrorCase{"(Category = 'a'", "')' expected but nothing found"},
        ErrorCase{"(Category = 'a' , 1", "')' expected but ',' found"},
        ErrorCase{"Category IN ('a' 'b')", "')' or ',' expected but ''b'' found"},
        ErrorCase{"Category IN ('a', 'b'", "')' or ',' expected but nothing found"},
        ErrorCase{"Category IN ()", "IN predicate list may not be empty"},
        ErrorCase{std::string(300, '(') + "Flag" + std::string(300, ')'),
                  "Filter expression is nested too deeply"}));

INSTANTIATE_TEST_SUITE_P(
    TypesAndEncoding, CompileErrors,
    ::testing::Values(ErrorCase{"Sample3 = 'x'", "Type mismatch in expression"},
                      ErrorCase{"'x' = Sample3", "Type mismatch in expression"},
                      ErrorCase{"Sample3 = NULL", "Type mismatch in expression"},
                      ErrorCase{"Description = 'x'", "Type mismatch in expression"},
                      ErrorCase{"'x' LIKE Description", "Type mismatch in expression"},
                      ErrorCase{"Raw LIKE 'x'", "Type mismatch in expression"},
                      ErrorCase{"Category IN ('a', Sample3)", "Type mismatch in expression"},
                      ErrorCase{"Category = Count", "Type mismatch in expression"},
                      ErrorCase{"Count LIKE 5", "Type mismatch in expression"},
                      ErrorCase{"'a' = 5", "Type mismatch in expression"},
                      ErrorCase{"NULL = NULL", "Type mismatch in expression"},
                      ErrorCase{"Calc = 1", "Field 'Calc' cannot be used in a filter expression"},
                      ErrorCase{"Category LIKE NULL", "NULL only allowed with '=' and '<>'"},
                      ErrorCase{"Count > NULL", "NULL only allowed with '=' and '<>'"},
                      ErrorCase{"Category IN ('a', NULL)", "NULL only allowed with '=' and '<>'"}));

// The format's sizes and offsets are 16-bit: a buffer past 65,535 bytes would
// wrap them, so it is refused.
TEST(CompileLimits, BuffersPast65535BytesAreRefused) {
  std::string text = "Category IN (";
  for (int i = 0; i < 250; ++i) text += (i ? ", '" : "'") + std::string(255, 'a' + i % 26) + "'";
  text += ")";
  try {
    Compile(text);
    FAIL() << "compiled";
  } catch (const FilterCompileError& e) {
    EXPECT_STREQ(e.what(), "Filter expression too large: its compiled form exceeds 65535 bytes");
  }
}

TEST(CompileLimits, LongFlatConditionsCompileUntilTooDeepForTheEngine) {
  const auto chain = [](int terms) {
    std::string text = "Count = 0";
    for (int i = 1; i < terms; ++i) text += " OR Count = " + std::to_string(i % 1000);
    return text;
  };
  EXPECT_FALSE(Compile(chain(900)).empty());
  EXPECT_THROW(Compile(chain(1200)), FilterCompileError);
}

// A text of a million ANDed terms once built a tree a million levels deep,
// whose destruction overflowed the stack; it is refused while it is read.
TEST(CompileLimits, HugeChainsAreRefusedWithoutExhaustingTheStack) {
  for (const char* joint : {" AND Flag", " OR Flag"}) {
    std::string text = "Flag";
    for (int i = 0; i < 1'000'000; ++i) text += joint;
    try {
      Compile(text);
      FAIL() << "compiled";
    } catch (const FilterCompileError& e) {
      EXPECT_STREQ(e.what(), "Filter expression is nested too deeply");
    }
  }
}

}  // namespace
}  // namespace pellory::data::filter
