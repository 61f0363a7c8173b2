// The program's one UTF-8 codec. It reads only well-formed UTF-8: an
// overlong form, a surrogate, a value above U+10FFFF, a sequence cut short
// and a byte that cannot start a sequence are refused, so that no text
// means one thing to one part of the program and another to the next.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pellory::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// One character read from UTF-8 text.
struct Utf8Char {
  char32_t code = kReplacementCharacter;  // U+FFFD when refused
  std::size_t length = 1;                 // bytes read, at least one
  bool valid = false;
};

// The character that starts at text[at] (at < text.size()). A refused
// sequence reads as U+FFFD over its longest start that could still have
// become a character (at least one byte), so the next read begins at the
// first byte that was not part of it.
Utf8Char DecodeUtf8At(std::string_view text, std::size_t at);

// Every character of `text`, each refused sequence as one U+FFFD.
std::u32string DecodeUtf8(std::string_view text);

// How many characters `text` holds, and its first `count` characters
// (all of it when it holds fewer), as DecodeUtf8 reads them: a refused
// sequence counts as one, and no character is ever cut in half.
std::size_t CountUtf8Characters(std::string_view text);
std::string_view FirstUtf8Characters(std::string_view text, std::size_t count);

// Appends `c` as UTF-8; a value that is no character (a surrogate, above
// U+10FFFF) is written as U+FFFD.
void AppendUtf8(std::string& out, char32_t c);
std::string EncodeUtf8(std::u32string_view text);

}  // namespace pellory::text
