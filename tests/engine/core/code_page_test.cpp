// Conversion between table code pages and UTF-8.
#include "pellory/engine/code_page.h"

#include <gtest/gtest.h>

#include <utility>

namespace pellory::engine::test {
namespace {

TEST(CodePage, ConvertsBothWays) {
  const struct {
    std::uint16_t page;
    std::string native;
    std::string utf8;
  } cases[] = {
      {1252, "F\xFCnf \x80", "Fünf €"},
      {850, "\x81\x84\x94", "üäö"},
      {437,
       "Stra\xE1"
       "e",
       "Straße"},
      {866, "\x8C\xA8\xE0", "Мир"},
      {1250, "\x8A", "Š"},
      {1251, "\xC0", "А"},
      {0, "\xE9", "é"},  // an unnamed page reads as 1252
  };
  for (const auto& c : cases) {
    const CodePage page(c.page);
    EXPECT_EQ(page.ToUtf8(c.native), c.utf8) << c.page;
    EXPECT_EQ(page.FromUtf8(c.utf8), c.native) << c.page;
  }
}

TEST(CodePage, CharactersThePageLacksBecomeQuestionMarks) {
  const CodePage page(1252);
  EXPECT_EQ(page.FromUtf8("a\xE2\x98\x83z"), "a?z");  // a snowman
  EXPECT_EQ(page.FromUtf8("\xC3"), "?");              // cut-off sequence
  EXPECT_EQ(page.FromUtf8("\x80x"), "?x");            // stray continuation byte
  EXPECT_EQ(CodePage(1252).Name(), "cp1252");
  EXPECT_EQ(CodePage(12345).Name(), "cp1252");
}

// Ill-formed UTF-8 never reaches a table as the character it imitates:
// each refused sequence is one '?' and the byte that ended it is read again.
TEST(CodePage, IllFormedSequencesBecomeQuestionMarks) {
  const CodePage page(1252);
  const std::pair<std::string, std::string> cases[] = {
      {"a\xC0\xAFz", "a??z"},             // an overlong "/"
      {"\xE0\x81\xA9", "???"},            // an overlong "i"... in three bytes
      {"\xC1\xA9", "??"},                 // ... and in two
      {"\xED\xA0\x80", "???"},            // a surrogate
      {"\xF4\x90\x80\x80", "????"},       // above U+10FFFF
      {"\xF8\x88\x80\x80\x80", "?????"},  // a five-byte form
      {"\xE2\x82z", "?z"},                // cut short by a letter
      {"\xEF\xBF\xBD", "?"},              // a replacement character of its own
  };
  for (const auto& [utf8, native] : cases) EXPECT_EQ(page.FromUtf8(utf8), native) << utf8;
}

}  // namespace
}  // namespace pellory::engine::test
