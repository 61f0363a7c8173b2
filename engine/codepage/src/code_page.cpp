#include "pellory/engine/code_page.h"

#include "code_page_tables.h"

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

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; a malformed byte reads as U+FFFD.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (lead >= 0x80 && extra == 0) return 0xFFFD;
  std::uint32_t cp = extra == 3   ? (lead & 0x07u)
                     : extra == 2 ? (lead & 0x0Fu)
                     : extra == 1 ? (lead & 0x1Fu)
                                  : lead;
  for (; extra > 0; --extra) {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3Fu);
  }
  return cp;
}

}  // namespace

CodePage::CodePage(std::uint16_t number)
    : number_(TableFor(number) == kCodePage1252 ? 1252 : number), upper_(TableFor(number)) {}

std::string CodePage::ToUtf8(std::string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(out, byte < 0x80 ? byte : upper_[byte - 0x80]);
  }
  return out;
}

std::string CodePage::FromUtf8(std::string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::uint32_t cp = NextCodePoint(text, i);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int b = 0; b < 128; ++b)
      if (upper_[b] == cp && cp != 0xFFFD) {
        mapped = static_cast<char>(0x80 + b);
        break;
      }
    out += mapped;
  }
  return out;
}

}  // namespace pellory::engine
