#include "font_fixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "freetype_handle.h"

using pellory::mkcatalogue::FontFace;
using pellory::mkcatalogue::FreeTypeLibrary;
using pellory::mkcatalogue::OpenFace;
using pellory::mkcatalogue::OpenFreeType;

namespace pellory::testkit {
namespace {

// The sfnt layout (OpenType specification, "Organization of an OpenType
// font"): a 12-byte header, then 16-byte table records.
constexpr std::size_t kHeader = 12, kRecord = 16;
constexpr std::size_t kPanoseOffset = 32, kFamilyClassOffset = 30;  // in OS/2

std::uint32_t Get32(const std::string& b, std::size_t at) {
  return (std::uint32_t{static_cast<unsigned char>(b[at])} << 24) |
         (std::uint32_t{static_cast<unsigned char>(b[at + 1])} << 16) |
         (std::uint32_t{static_cast<unsigned char>(b[at + 2])} << 8) |
         std::uint32_t{static_cast<unsigned char>(b[at + 3])};
}

void Put16(std::string& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<char>(v >> 8);
  b[at + 1] = static_cast<char>(v & 0xFF);
}

void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, static_cast<std::uint16_t>(v >> 16));
  Put16(b, at + 2, static_cast<std::uint16_t>(v & 0xFFFF));
}

void Append16(std::string& b, std::uint16_t v) {
  b += static_cast<char>(v >> 8);
  b += static_cast<char>(v & 0xFF);
}

std::string Utf16Be(const std::string& latin1) {
  std::string out;
  for (char c : latin1) Append16(out, static_cast<unsigned char>(c));
  return out;
}

// A format 0 naming table of Windows English entries.
std::string NameTable(const std::string& family, const std::string& style) {
  const std::pair<std::uint16_t, std::string> names[] = {
      {1, family}, {2, style}, {4, family + " " + style}, {6, family + "-" + style}};
  std::string strings, table;
  Append16(table, 0);
  Append16(table, static_cast<std::uint16_t>(std::size(names)));
  Append16(table, static_cast<std::uint16_t>(6 + 12 * std::size(names)));
  for (const auto& [id, text] : names) {
    std::string name = Utf16Be(text);
    if (id == 6)
      for (std::size_t i = 1; i < name.size(); i += 2)
        if (name[i] == ' ') name[i] = '-';
    for (std::uint16_t v :
         {std::uint16_t{3}, std::uint16_t{1}, std::uint16_t{0x409}, id,
          static_cast<std::uint16_t>(name.size()), static_cast<std::uint16_t>(strings.size())})
      Append16(table, v);
    strings += name;
  }
  return table + strings;
}

// A character map with one format 4 subtable, a segment per character.
std::string CmapTable(const std::map<char32_t, std::uint16_t>& glyphs, std::uint16_t encoding) {
  std::map<std::uint16_t, std::uint16_t> segments;
  for (const auto& [c, glyph] : glyphs)
    if (c < 0xFFFF) segments[static_cast<std::uint16_t>(c)] = glyph;
  const auto count = static_cast<std::uint16_t>(segments.size() + 1);  // and the 0xFFFF end
  std::uint16_t power = 1, log2 = 0;
  while (power * 2 <= count) power *= 2, ++log2;
  std::string sub;
  for (std::uint16_t v :
       {std::uint16_t{4}, std::uint16_t{0}, std::uint16_t{0}, static_cast<std::uint16_t>(2 * count),
        static_cast<std::uint16_t>(2 * power), log2,
        static_cast<std::uint16_t>(2 * count - 2 * power)})
    Append16(sub, v);
  for (const auto& [c, glyph] : segments) Append16(sub, c);  // end codes
  Append16(sub, 0xFFFF);
  Append16(sub, 0);                                          // reserved
  for (const auto& [c, glyph] : segments) Append16(sub, c);  // start codes
  Append16(sub, 0xFFFF);
  for (const auto& [c, glyph] : segments) Append16(sub, static_cast<std::uint16_t>(glyph - c));
  Append16(sub, 1);
  for (std::size_t i = 0; i < count; ++i) Append16(sub, 0);  // no range offsets
  Put16(sub, 2, static_cast<std::uint16_t>(sub.size()));
  std::string table;
  for (std::uint16_t v : {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{3}, encoding})
    Append16(table, v);
  Append16(table, 0);
  Append16(table, 12);  // the subtable's offset
  return table + sub;
}

}  // namespace

FontFixture::FontFixture(const std::filesystem::path& source) {
  std::ifstream in(source, std::ios::binary);
  bytes_.assign(std::istreambuf_iterator<char>(in), {});
  if (bytes_.size() < kHeader || TableRecord("OS/2") == std::string::npos)
    throw std::runtime_error("no TrueType font with an OS/2 table: " + source.string());
}

std::size_t FontFixture::TableRecord(const char* tag) const {
  const std::size_t tables =
      (static_cast<unsigned char>(bytes_[4]) << 8) | static_cast<unsigned char>(bytes_[5]);
  for (std::size_t i = 0; i < tables; ++i) {
    const std::size_t record = kHeader + i * kRecord;
    if (record + kRecord <= bytes_.size() && bytes_.compare(record, 4, tag) == 0) return record;
  }
  return std::string::npos;
}

std::size_t FontFixture::TableOffset(const char* tag) const {
  return Get32(bytes_, TableRecord(tag) + 8);
}

void FontFixture::ReplaceTable(const char* tag, const std::string& table) {
  const std::size_t record = TableRecord(tag);
  if (record == std::string::npos) throw std::runtime_error(std::string("no table ") + tag);
  bytes_.resize((bytes_.size() + 3) / 4 * 4, '\0');
  Put32(bytes_, record + 8, static_cast<std::uint32_t>(bytes_.size()));
  Put32(bytes_, record + 12, static_cast<std::uint32_t>(table.size()));
  bytes_ += table;
}

void FontFixture::SetNames(const std::string& family, const std::string& style) {
  ReplaceTable("name", NameTable(family, style));
}

void FontFixture::SetPanose(const std::array<std::uint8_t, 10>& panose) {
  std::memcpy(bytes_.data() + TableOffset("OS/2") + kPanoseOffset, panose.data(), panose.size());
}

void FontFixture::SetFamilyClass(std::uint8_t familyClass) {
  Put16(bytes_, TableOffset("OS/2") + kFamilyClassOffset,
        static_cast<std::uint16_t>(familyClass << 8));
}

void FontFixture::SetCharacterMap(const std::map<char32_t, std::uint16_t>& glyphs, MapKind kind) {
  ReplaceTable("cmap", CmapTable(glyphs, kind == MapKind::Symbol ? 0 : 1));
}

void FontFixture::Apply(Damage damage, unsigned seed) {
  constexpr std::size_t kNumberOfHMetrics = 34;  // in hhea
  const std::size_t tables =
      (static_cast<unsigned char>(bytes_[4]) << 8) | static_cast<unsigned char>(bytes_[5]);
  switch (damage) {
    case Damage::CutInHalf:
      bytes_.resize(bytes_.size() / 2);
      break;
    case Damage::NoHorizontalMetrics:
      Put16(bytes_, TableOffset("hhea") + kNumberOfHMetrics, 0);
      break;
    case Damage::NoiseInGlyphs: {
      const std::size_t record = TableRecord("glyf");
      if (record == std::string::npos) throw std::runtime_error("no glyf table");
      const std::size_t start = Get32(bytes_, record + 8), length = Get32(bytes_, record + 12);
      std::uint32_t state = seed * 2654435761u + 1;
      for (std::size_t i = start; i < start + length && i < bytes_.size(); ++i) {
        state = state * 1664525u + 1013904223u;  // a linear congruential generator
        bytes_[i] = static_cast<char>(state >> 24);
      }
      break;
    }
    case Damage::ZeroedDirectory:
      std::memset(bytes_.data() + kHeader, 0, std::min(bytes_.size() - kHeader, tables * kRecord));
      break;
  }
}

void FontFixture::Save(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary);
  out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::map<char32_t, std::uint16_t> GlyphsOf(const std::filesystem::path& font,
                                           std::u32string_view characters) {
  FreeTypeLibrary library = OpenFreeType();
  std::string error;
  FontFace face = OpenFace(library.get(), font, 0, &error);
  if (!face) throw std::runtime_error(font.string() + ": " + error);
  std::map<char32_t, std::uint16_t> glyphs;
  for (char32_t c : characters)
    glyphs[c] = static_cast<std::uint16_t>(FT_Get_Char_Index(face.get(), c));
  return glyphs;
}

}  // namespace pellory::testkit
