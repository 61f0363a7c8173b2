#include "pellory/engine/code_page.h"

#include "code_page_tables.h"
#include "pellory/text/utf8.h"

namespace pellory::engine {
namespace {

const std::uint16_t* TableFor(std::uint16_t number) {
  switch (number) {
    case 437:
      return kCodePage437;
    case 850:
      return kCodePage850;
    case 852:
      return kCodePage852;
    case 866:
      return kCodePage866;
    case 1250:
      return kCodePage1250;
    case 1251:
      return kCodePage1251;
    default:
      return kCodePage1252;
  }
}

}  // namespace

CodePage::CodePage(std::uint16_t number)
    : number_(TableFor(number) == kCodePage1252 ? 1252 : number), upper_(TableFor(number)) {}

std::string CodePage::ToUtf8(std::string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    text::AppendUtf8(out, byte < 0x80 ? byte : upper_[byte - 0x80]);
  }
  return out;
}

std::string CodePage::FromUtf8(std::string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    // A refused sequence reads as U+FFFD, which no page maps.
    const text::Utf8Char c = text::DecodeUtf8At(text, i);
    i += c.length;
    const char32_t cp = c.code;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int b = 0; b < 128; ++b)
      if (upper_[b] == cp && cp != text::kReplacementCharacter) {
        mapped = static_cast<char>(0x80 + b);
        break;
      }
    out += mapped;
  }
  return out;
}

}  // namespace pellory::engine
