#include "text_folding.h"

#include <cstdint>

namespace pellory::mkcatalogue {
namespace {

// Base letters of U+0100 to U+017F (Latin Extended-A), two per capital and
// small pair; '\0' marks the letters that code page 1252 has (Œ œ Š š Ÿ Ž ž).
constexpr char kLatinExtendedA[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkk"
    "LlLlLlLlLlNnNnNnnNnOoOoOo\0\0RrRrRrSsSsSs\0\0TtTtTtUuUuUuUuUuUuWwYy\0ZzZz\0\0s";
static_assert(sizeof kLatinExtendedA - 1 == 0x80);

char Fold(char32_t c) {
  if (c >= 0x100 && c < 0x180) return kLatinExtendedA[c - 0x100];
  switch (c) {
    case 0x0218:
      return 'S';  // Romanian letters with comma below
    case 0x0219:
      return 's';
    case 0x021A:
      return 'T';
    case 0x021B:
      return 't';
    case 0x02B9:
    case 0x02BB:
    case 0x02BC:
    case 0x2032:
      return '\'';
    case 0x2033:
      return '"';
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2212:
      return '-';
    case 0x2044:
    case 0x2215:
      return '/';
    default:
      break;
  }
  if ((c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000) return ' ';
  return '\0';
}

// The code point starting at text[i] and its length in bytes; a byte that
// does not start a well-formed sequence stands for itself.
char32_t Next(std::string_view text, std::size_t i, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  length = 1;
  if (extra == 0 || i + extra >= text.size()) return lead;
  char32_t c = lead & (0x3F >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto byte = static_cast<unsigned char>(text[i + k]);
    if ((byte & 0xC0) != 0x80) return lead;
    c = (c << 6) | (byte & 0x3F);
  }
  length = extra + 1;
  return c;
}

}  // namespace

std::string FoldToPlainLetters(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 1;
    const char32_t c = Next(utf8, i, length);
    const char plain = Fold(c);
    if (plain != '\0')
      out += plain;
    else
      out.append(utf8.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace pellory::mkcatalogue
