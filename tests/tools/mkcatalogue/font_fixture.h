// Font fixtures made at test time from an installed TrueType font: a copy
// with chosen names, OS/2 classification and character map, so that one
// property at a time decides its category.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace pellory::testkit {

class FontFixture {
 public:
  // Throws std::runtime_error when the file is missing or not a TrueType
  // or OpenType font with an OS/2 table.
  explicit FontFixture(const std::filesystem::path& source);

  // Names in Latin-1, one byte a character.
  void SetNames(const std::string& family, const std::string& style);
  void SetPanose(const std::array<std::uint8_t, 10>& panose);
  void SetFamilyClass(std::uint8_t familyClass);
  // A new character map: character code to glyph index, as a Unicode map
  // or as a Microsoft symbol map.
  enum class MapKind { Unicode, Symbol };
  void SetCharacterMap(const std::map<char32_t, std::uint16_t>& glyphs, MapKind kind);

  // Damage of the kinds a font file suffers: the file cut to half its
  // length; the horizontal metrics' count (hhea numberOfHMetrics) zero;
  // the glyph outlines (glyf) overwritten with noise from `seed`; the
  // table directory zeroed.
  enum class Damage { CutInHalf, NoHorizontalMetrics, NoiseInGlyphs, ZeroedDirectory };
  void Apply(Damage damage, unsigned seed = 1);

  void Save(const std::filesystem::path& file) const;

 private:
  // The table record of `tag` in the table directory, or npos.
  std::size_t TableRecord(const char* tag) const;
  std::size_t TableOffset(const char* tag) const;
  // New tables go at the end of the file; the directory points at them.
  // Checksums are left as they were: FreeType does not check them.
  void ReplaceTable(const char* tag, const std::string& table);

  std::string bytes_;
};

// The glyph index of each character in an installed font (0 for none).
std::map<char32_t, std::uint16_t> GlyphsOf(const std::filesystem::path& font,
                                           std::u32string_view characters);

}  // namespace pellory::testkit
