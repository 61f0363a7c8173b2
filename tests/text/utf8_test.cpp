// The UTF-8 codec: well-formed text read and written back, every kind of
// ill-formed sequence refused.
#include "pellory/text/utf8.h"

#include <gtest/gtest.h>

namespace pellory::text {
namespace {

constexpr char32_t kBad = kReplacementCharacter;

TEST(Utf8, ReadsAndWritesEveryLengthAtItsBoundaries) {
  const struct {
    const char* name;
    std::string utf8;
    char32_t code;
  } cases[] = {
      {"NUL", std::string("\0", 1), 0x0},
      {"last of one byte", "\x7F", 0x7F},
      {"first of two bytes", "\xC2\x80", 0x80},
      {"last of two bytes", "\xDF\xBF", 0x7FF},
      {"first of three bytes", "\xE0\xA0\x80", 0x800},
      {"just below the surrogates", "\xED\x9F\xBF", 0xD7FF},
      {"just above the surrogates", "\xEE\x80\x80", 0xE000},
      {"a replacement character itself", "\xEF\xBF\xBD", 0xFFFD},
      {"last of three bytes", "\xEF\xBF\xBF", 0xFFFF},
      {"first of four bytes", "\xF0\x90\x80\x80", 0x10000},
      {"an emoji", "\xF0\x9F\x98\x80", 0x1F600},
      {"last character", "\xF4\x8F\xBF\xBF", 0x10FFFF},
  };
  for (const auto& c : cases) {
    const Utf8Char read = DecodeUtf8At(c.utf8, 0);
    EXPECT_TRUE(read.valid) << c.name;
    EXPECT_EQ(read.code, c.code) << c.name;
    EXPECT_EQ(read.length, c.utf8.size()) << c.name;
    EXPECT_EQ(EncodeUtf8(std::u32string(1, c.code)), c.utf8) << c.name;
  }
}

// Each refused sequence is one U+FFFD over its longest start that could
// still have become a character; the byte that ended it is read afresh.
TEST(Utf8, RefusesIllFormedSequences) {
  const struct {
    const char* name;
    std::string utf8;
    std::u32string text;
  } cases[] = {
      {"stray continuation byte", "a\x80z", {U'a', kBad, U'z'}},
      {"continuation bytes alone", "\x80\xBF", {kBad, kBad}},
      {"overlong NUL", "\xC0\x80", {kBad, kBad}},
      {"overlong slash", "\xC0\xAF", {kBad, kBad}},
      {"overlong two-byte lead C1", "\xC1\xBF", {kBad, kBad}},
      {"overlong three bytes", "\xE0\x80\xAF", {kBad, kBad, kBad}},
      {"overlong three bytes, last one", "\xE0\x9F\xBF", {kBad, kBad, kBad}},
      {"overlong four bytes", "\xF0\x80\x80\xAF", {kBad, kBad, kBad, kBad}},
      {"overlong four bytes, last one", "\xF0\x8F\xBF\xBF", {kBad, kBad, kBad, kBad}},
      {"high surrogate", "\xED\xA0\x80", {kBad, kBad, kBad}},
      {"low surrogate", "\xED\xBF\xBF", {kBad, kBad, kBad}},
      {"surrogate pair", "\xED\xA0\xBD\xED\xB8\x80", {kBad, kBad, kBad, kBad, kBad, kBad}},
      {"just above U+10FFFF", "\xF4\x90\x80\x80", {kBad, kBad, kBad, kBad}},
      {"lead F5", "\xF5\x80\x80\x80", {kBad, kBad, kBad, kBad}},
      {"lead F8 of five bytes", "\xF8\x88\x80\x80\x80", {kBad, kBad, kBad, kBad, kBad}},
      {"lead FF", "\xFFz", {kBad, U'z'}},
      {"two bytes cut at the end", "a\xC3", {U'a', kBad}},
      {"three bytes cut at the end", "\xE2\x82", {kBad}},
      {"four bytes cut at the end", "\xF0\x9F\x98", {kBad}},
      {"cut by an ASCII letter", "\xE2\x82z", {kBad, U'z'}},
      {"cut by another lead", "\xE2\xC3\xA9", {kBad, U'\u00E9'}},
      {"one byte too many", "\xC3\xA9\xA9", {U'\u00E9', kBad}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeUtf8(c.utf8), c.text) << c.name;
}

TEST(Utf8, TellsHowMuchARefusedSequenceCovers) {
  const struct {
    const char* name;
    std::string utf8;
    std::size_t length;
  } cases[] = {
      {"stray continuation byte", "\x80\x80", 1}, {"overlong lead", "\xC0\x80", 1},
      {"three bytes cut", "\xE2\x82z", 2},        {"four bytes cut", "\xF0\x9F\x98z", 3},
      {"surrogate", "\xED\xA0\x80", 1},           {"above U+10FFFF", "\xF4\x90\x80\x80", 1},
  };
  for (const auto& c : cases) {
    const Utf8Char read = DecodeUtf8At(c.utf8, 0);
    EXPECT_FALSE(read.valid) << c.name;
    EXPECT_EQ(read.code, kBad) << c.name;
    EXPECT_EQ(read.length, c.length) << c.name;
  }
}

TEST(Utf8, ReadsFromTheMiddleOfAText) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC";
  const Utf8Char euro = DecodeUtf8At(text, 3);
  EXPECT_TRUE(euro.valid);
  EXPECT_EQ(euro.code, U'\u20AC');
  EXPECT_EQ(euro.length, 3u);
  EXPECT_FALSE(DecodeUtf8At(text, 2).valid);  // inside the é
}

TEST(Utf8, CountsAndCutsWholeCharacters) {
  const struct {
    const char* name;
    std::string utf8;
    std::size_t count;
    std::size_t cut;
    std::string first;
  } cases[] = {
      {"empty", "", 0, 3, ""},
      {"ASCII", "abc", 3, 2, "ab"},
      {"fewer than asked", "ab", 2, 5, "ab"},
      {"none asked", "ab", 2, 0, ""},
      {"two bytes", "\xC3\xA9t\xC3\xA9", 3, 1, "\xC3\xA9"},
      {"three bytes",
       "ab\xE2\x82\xAC"
       "c",
       4, 3, "ab\xE2\x82\xAC"},
      {"four bytes", "\xF0\x9F\x98\x80z", 2, 1, "\xF0\x9F\x98\x80"},
      {"a refused sequence is one", "\xE2\x82z", 2, 1, "\xE2\x82"},
      {"an overlong form is two", "\xC0\xAFz", 3, 1, "\xC0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountUtf8Characters(c.utf8), c.count) << c.name;
    EXPECT_EQ(FirstUtf8Characters(c.utf8, c.cut), c.first) << c.name;
  }
}

TEST(Utf8, WritesNoCharacterAsAReplacementCharacter) {
  EXPECT_EQ(EncodeUtf8(std::u32string{U'a', char32_t(0xD800), U'b'}),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(EncodeUtf8(std::u32string{char32_t(0xDFFF)}), "\xEF\xBF\xBD");
  EXPECT_EQ(EncodeUtf8(std::u32string{char32_t(0x110000)}), "\xEF\xBF\xBD");
  std::string out = "x";
  AppendUtf8(out, U'\u00E9');
  EXPECT_EQ(out, "x\xC3\xA9");
}

TEST(Utf8, RoundTripsWellFormedText) {
  const std::string text =
      "Font \xC5\x81\xC3\xB3"
      "d\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
  EXPECT_EQ(EncodeUtf8(DecodeUtf8(text)), text);
  EXPECT_EQ(DecodeUtf8(""), U"");
}

}  // namespace
}  // namespace pellory::text
