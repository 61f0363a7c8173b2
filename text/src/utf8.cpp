#include "pellory/text/utf8.h"

namespace pellory::text {

namespace {

unsigned char Byte(std::string_view text, std::size_t at) {
  return static_cast<unsigned char>(text[at]);
}

Utf8Char Refused(std::size_t length) {
  return {kReplacementCharacter, length, false};
}

// What a lead byte promises: how many bytes follow, the bits it carries
// and the range its first follower must lie in, which is what refuses
// overlong forms (E0, F0), surrogates (ED) and values above U+10FFFF (F4).
struct Lead {
  std::size_t following = 0;
  char32_t bits = 0;
  unsigned char low = 0x80, high = 0xBF;
};

bool ReadLead(unsigned char lead, Lead& out) {
  if (lead >= 0xC2 && lead <= 0xDF) {
    out = {1, lead & 0x1Fu};
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    out = {2, lead & 0x0Fu};
    if (lead == 0xE0) out.low = 0xA0;
    if (lead == 0xED) out.high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    out = {3, lead & 0x07u};
    if (lead == 0xF0) out.low = 0x90;
    if (lead == 0xF4) out.high = 0x8F;
  } else {
    return false;  // A continuation byte, C0, C1 or F5 to FF.
  }
  return true;
}

}  // namespace

Utf8Char DecodeUtf8At(std::string_view text, std::size_t at) {
  const unsigned char first = Byte(text, at);
  if (first < 0x80) return {first, 1, true};
  Lead lead;
  if (!ReadLead(first, lead)) return Refused(1);
  char32_t code = lead.bits;
  std::size_t length = 1;
  for (unsigned char low = lead.low, high = lead.high; length <= lead.following;
       ++length, low = 0x80, high = 0xBF) {
    if (at + length >= text.size()) return Refused(length);
    const unsigned char next = Byte(text, at + length);
    if (next < low || next > high) return Refused(length);
    code = (code << 6) | (next & 0x3Fu);
  }
  return {code, length, true};
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Char c = DecodeUtf8At(text, at);
    out += c.code;
    at += c.length;
  }
  return out;
}

std::size_t CountUtf8Characters(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); ++count) at += DecodeUtf8At(text, at).length;
  return count;
}

std::string_view FirstUtf8Characters(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (; at < text.size() && count > 0; --count) at += DecodeUtf8At(text, at).length;
  return text.substr(0, at);
}

void AppendUtf8(std::string& out, char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacementCharacter;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

}  // namespace pellory::text
