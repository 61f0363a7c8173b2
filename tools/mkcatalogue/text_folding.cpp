#include "text_folding.h"

#include <cstdint>

#include "pellory/text/utf8.h"

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

}  // namespace

std::string FoldToPlainLetters(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    // A refused sequence is kept as it is, for the code page to refuse.
    const text::Utf8Char c = text::DecodeUtf8At(utf8, i);
    const char plain = c.valid ? Fold(c.code) : '\0';
    if (plain != '\0')
      out += plain;
    else
      out.append(utf8.substr(i, c.length));
    i += c.length;
  }
  return out;
}

}  // namespace pellory::mkcatalogue
