// The compiled layout: the two reference buffers byte for byte, the category
// texts' prefix comparisons, swapped sides, names as written, long literals,
// options, NULL, NOT, AND/OR and IN lists.
#include <gtest/gtest.h>

#include "filter_test_support.h"

namespace pellory::data::filter {
namespace {

using namespace testing;

// Little-endian bytes written out field by field, as a reader of the format
// would list them.
class Bytes {
 public:
  Bytes& W16(std::uint16_t v) {
    out_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  Bytes& W32(std::uint32_t v) {
    return W16(static_cast<std::uint16_t>(v & 0xFFFF)).W16(static_cast<std::uint16_t>(v >> 16));
  }
  Bytes& Text(const std::string& s) {
    out_.insert(out_.end(), s.begin(), s.end());
    out_.push_back(0);
    return *this;
  }
  std::vector<std::uint8_t> Done() const { return out_; }

 private:
  std::vector<std::uint8_t> out_;
};

// clang-format off: one line per header, node and literal
TEST(FilterLayout, PrefixComparisonComesOutByteForByte) {
  const auto expected = Bytes()
                            .W16(2)
                            .W16(74)
                            .W16(0xFFFF)
                            .W16(10)
                            .W16(52)
                            .W32(3)
                            .W32(3)
                            .W16(0)
                            .W16(12)
                            .W16(16)
                            .W16(28)
                            .W32(4)
                            .W32(13)
                            .W16(3)
                            .W16(0)
                            .W32(5)
                            .W32(14)
                            .W16(1)
                            .W16(13)
                            .W16(9)
                            .Text("Category")
                            .Text("Capitals San")
                            .Done();
  EXPECT_EQ(Compile("Category ='Capitals San*'"), expected);
}

TEST(FilterLayout, ExactComparisonComesOutByteForByte) {
  const auto expected = Bytes()
                            .W16(2)
                            .W16(69)
                            .W16(0xFFFF)
                            .W16(10)
                            .W16(48)
                            .W32(2)
                            .W32(3)
                            .W16(12)
                            .W16(24)
                            .W32(4)
                            .W32(13)
                            .W16(3)
                            .W16(0)
                            .W32(5)
                            .W32(14)
                            .W16(1)
                            .W16(12)
                            .W16(9)
                            .Text("Category")
                            .Text("Handwriting")
                            .Done();
  EXPECT_EQ(Compile("Category ='Handwriting'"), expected);
}
// clang-format on

struct CategoryCase {
  const char* text;
  std::uint32_t rootClass;  // 2 binary, 3 compare
  std::uint16_t partial;
  const char* constant;
};

class CategoryTexts : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(CategoryTexts, CompileToExactOrPrefixComparisons) {
  const CategoryCase c = GetParam();
  const auto buffer = Compile(c.text);
  const NodeView root = Root(buffer);
  ASSERT_EQ(root.Class(), c.rootClass);
  EXPECT_EQ(root.Op(), 3u);
  const int constantOperand = c.rootClass == 3 ? 3 : 1;
  if (c.rootClass == 3) {
    EXPECT_EQ(root.Operand(0), 0) << "case flag";
    EXPECT_EQ(root.Operand(1), c.partial);
  }
  const NodeView constant = root.Child(constantOperand);
  EXPECT_EQ(constant.Class(), 5u);
  EXPECT_EQ(constant.Operand(0), 1) << "string type";
  EXPECT_EQ(constant.Operand(1), std::string(c.constant).size() + 1);
  EXPECT_EQ(constant.Text(2), c.constant);
  EXPECT_EQ(root.Child(constantOperand - 1).Text(1), "Category");
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, CategoryTexts,
    ::testing::Values(CategoryCase{"Category ='Capitals Serif'", 2, 0, "Capitals Serif"},
                      CategoryCase{"Category ='Capitals San*'", 3, 12, "Capitals San"},
                      CategoryCase{"Category ='Handwriting'", 2, 0, "Handwriting"},
                      CategoryCase{"Category ='Italic Sans *'", 3, 12, "Italic Sans "},
                      CategoryCase{"Category ='Italic Serif'", 2, 0, "Italic Serif"},
                      CategoryCase{"Category ='Normal Serif'", 2, 0, "Normal Serif"},
                      CategoryCase{"Category ='Normal Sans*'", 3, 11, "Normal Sans"},
                      CategoryCase{"Category ='Wing*'", 3, 4, "Wing"},
                      CategoryCase{"Category ='*'", 2, 0, "*"},
                      CategoryCase{"Category =''", 2, 0, ""},
                      CategoryCase{"Category ='It''s*'", 3, 4, "It's"}));

TEST(FilterLayout, SwappedSidesGiveTheSameTree) {
  EXPECT_EQ(Compile("'Handwriting' = Category"), Compile("Category ='Handwriting'"));
  EXPECT_EQ(Compile("5 < Count"), Compile("Count > 5"));
  EXPECT_EQ(Compile("5 >= Count"), Compile("Count <= 5"));
}

TEST(FilterLayout, NamesKeepTheCaseTheyAreWrittenIn) {
  const auto buffer = Compile("category = 'Captial Sans Serif'");
  EXPECT_EQ(Root(buffer).Child(0).Text(1), "category");
  EXPECT_EQ(Root(buffer).Child(0).Operand(0), 3) << "column number of Category";
  EXPECT_EQ(Root(Compile("[Font Name] = 'x'")).Child(0).Text(1), "Font Name");
}

TEST(FilterLayout, LongLiteralsAreCutTo255Characters) {
  const auto buffer = Compile("Category = '" + std::string(300, 'a') + "'");
  const NodeView constant = Root(buffer).Child(1);
  EXPECT_EQ(constant.Operand(1), 256);
  EXPECT_EQ(constant.Text(2), std::string(255, 'a'));
  // The scanner keeps 256 characters: a '*' in 256th place still makes a
  // prefix comparison of the 255 before it.
  const auto prefix =
      Compile("Category = '" + std::string(255, 'b') + "*" + std::string(44, 'c') + "'");
  EXPECT_EQ(Root(prefix).Class(), 3u);
  EXPECT_EQ(Root(prefix).Operand(1), 255);
}

TEST(FilterLayout, OptionsChooseCaseAndPrefix) {
  const auto caseless = Compile("Category = 'Handwriting'", {.caseInsensitive = true});
  EXPECT_EQ(Root(caseless).Class(), 3u);
  EXPECT_EQ(Root(caseless).Operand(0), 1);
  EXPECT_EQ(Root(caseless).Operand(1), 0);
  const auto whole = Compile("Category = 'Wing*'", {.noPartialCompare = true});
  EXPECT_EQ(Root(whole).Class(), 2u);
  EXPECT_EQ(Root(whole).Child(1).Text(2), "Wing*");
  const auto emptyCaseless = Compile("Category = ''", {.caseInsensitive = true});
  EXPECT_EQ(Root(emptyCaseless).Class(), 2u);
}

TEST(FilterLayout, TextIsConvertedToTheTableCharacterSet) {
  FilterContext context = CatalogueContext();
  context.toTableCharset = [](std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
      if (static_cast<unsigned char>(utf8[i]) == 0xC3 && i + 1 < utf8.size()) {
        out += static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40);
      } else {
        out += utf8[i];
      }
    }
    return out;
  };
  const auto buffer = CompileFilter("Category = 'Caf\xC3\xA9 *'", {}, context);
  EXPECT_EQ(Root(buffer).Operand(1), 5) << "partial length counts the table's bytes";
  EXPECT_EQ(Root(buffer).Child(3).Text(2), "Caf\xE9 ");
}

struct BlankCase {
  const char* text;
  std::uint32_t op;
};

class BlankTests : public ::testing::TestWithParam<BlankCase> {};

TEST_P(BlankTests, BecomeUnaryNodesOverTheField) {
  const auto buffer = Compile(GetParam().text);
  EXPECT_EQ(Root(buffer).Class(), 1u);
  EXPECT_EQ(Root(buffer).Op(), GetParam().op);
  EXPECT_EQ(Root(buffer).Child(0).Class(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Null, BlankTests,
                         ::testing::Values(BlankCase{"Category = NULL", 1},
                                           BlankCase{"NULL = Category", 1},
                                           BlankCase{"Category <> null", 2},
                                           BlankCase{"Category IS NULL", 1},
                                           BlankCase{"Sample3 is  not   null", 2}));

TEST(FilterLayout, LogicalOperatorsNestByPrecedence) {
  const auto buffer = Compile("Category = 'a' OR NOT Filename = 'b' AND Flag");
  const NodeView root = Root(buffer);
  EXPECT_EQ(root.Class(), 2u);
  EXPECT_EQ(root.Op(), 11u) << "OR at the root";
  const NodeView conjunction = root.Child(1);
  EXPECT_EQ(conjunction.Op(), 10u);
  EXPECT_EQ(conjunction.Child(0).Class(), 1u);
  EXPECT_EQ(conjunction.Child(0).Op(), 9u) << "NOT";
  const NodeView flag = conjunction.Child(1);
  EXPECT_EQ(flag.Op(), 4u) << "a lone boolean field tests field <> False";
  EXPECT_EQ(flag.Child(1).Operand(0), 4) << "boolean constant";
  EXPECT_EQ(flag.Child(1).Literal(2, 2), (std::vector<std::uint8_t>{0, 0}));
  // Every node is made before its operands.
  EXPECT_LT(root.offset, conjunction.offset);
  EXPECT_LT(conjunction.offset, flag.offset);
}

TEST(FilterLayout, InListsChainTheirValues) {
  const auto buffer = Compile("Category IN ('a', 'bc', Filename)");
  const NodeView root = Root(buffer);
  EXPECT_EQ(root.Class(), 2u);
  EXPECT_EQ(root.Op(), 31u);
  std::vector<std::string> values;
  for (std::uint16_t at = root.Operand(1); at != 0;) {
    const NodeView element{buffer, at};
    EXPECT_EQ(element.Class(), 11u);
    EXPECT_EQ(element.Op(), 36u);
    const NodeView value = element.Child(0);
    values.push_back(value.Class() == 5 ? value.Text(2) : "field " + value.Text(1));
    at = element.Operand(1);
  }
  EXPECT_EQ(values, (std::vector<std::string>{"a", "bc", "field Filename"}));
}

TEST(FilterLayout, CommentsAndBlanksAreSkipped) {
  EXPECT_EQ(Compile("/* all */\tCategory\r\n=/**/'Handwriting'"),
            Compile("Category ='Handwriting'"));
}

TEST(FilterLayout, MemoSearchIsALikeOverTheBlob) {
  const auto buffer = Compile("Description LIKE '%serif%'");
  EXPECT_EQ(Root(buffer).Class(), 2u);
  EXPECT_EQ(Root(buffer).Op(), 30u);
  EXPECT_EQ(Root(buffer).Child(1).Operand(0), 1) << "its constant counts as a string";
}

TEST(FilterLayout, EmptyTextHasNoExpression) {
  EXPECT_TRUE(Compile("").empty());
}

TEST(FilterLayout, HeaderSizesMatchTheBuffer) {
  for (const char* text : {"Category = 'a' OR Category = 'b'", "Count IN (1, 2, 3)", "Flag"}) {
    const auto buffer = Compile(text);
    EXPECT_EQ(U16(buffer, 2), buffer.size()) << text;
    EXPECT_EQ(U16(buffer, 4), 0xFFFF) << text;
    EXPECT_LE(U16(buffer, 8), buffer.size()) << text;
  }
}

}  // namespace
}  // namespace pellory::data::filter
