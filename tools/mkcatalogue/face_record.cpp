#include "face_record.h"

#include <hb-ot.h>
#include <hb.h>

#include FT_SYSTEM_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <map>

#include "glyph_raster.h"
#include "sample_picture.h"
#include "shape_measures.h"

namespace pellory::mkcatalogue {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool HasTable(hb_face_t* face, const char* tag) {
  hb_blob_t* blob = hb_face_reference_table(face, hb_tag_from_string(tag, 4));
  const bool present = hb_blob_get_length(blob) > 0;
  hb_blob_destroy(blob);
  return present;
}

SampleKind KindOf(const CategoryDecision& decision) {
  return decision.category == Category::Wingdings ? SampleKind::Symbols : SampleKind::Text;
}

// The first glyph of the face's own lines that FreeType cannot load.
std::string GlyphFault(FT_Face face, const std::vector<SampleLine>& lines) {
  for (const SampleLine& line : lines) {
    if (line.face != face) continue;
    for (const ShapedGlyph& g : line.run.glyphs)
      if (const FT_Error error = GlyphLoadError(face, g.glyph))
        return "glyph " + std::to_string(g.glyph) + " does not load: " + FreeTypeErrorText(error);
  }
  return {};
}

bool FaceInked(FT_Face face, const std::vector<SampleLine>& lines) {
  return std::any_of(lines.begin(), lines.end(), [face](const SampleLine& line) {
    return line.face == face && line.ink.width > 0 &&
           std::any_of(line.ink.pixels.begin(), line.ink.pixels.end(),
                       [](std::uint8_t p) { return p > 0; });
  });
}

// What a table holds, in words, for the warnings.
std::string TableWords(const std::string& tag) {
  static const std::map<std::string, const char*> kWords = {{"cmap", "character map"},
                                                            {"glyf", "glyph outlines"},
                                                            {"loca", "glyph locations"},
                                                            {"CFF ", "glyph outlines"},
                                                            {"CFF2", "glyph outlines"},
                                                            {"hmtx", "horizontal metrics"},
                                                            {"hhea", "horizontal header"},
                                                            {"head", "font header"},
                                                            {"maxp", "glyph count"},
                                                            {"name", "naming table"},
                                                            {"OS/2", "classification"},
                                                            {"post", "PostScript names"},
                                                            {"GSUB", "glyph substitutions"},
                                                            {"GPOS", "glyph positions"},
                                                            {"GDEF", "glyph classes"},
                                                            {"fvar", "variation axes"},
                                                            {"gvar", "glyph variations"},
                                                            {"CBDT", "colour bitmaps"},
                                                            {"CBLC", "colour bitmap locations"}};
  const auto it = kWords.find(tag);
  std::string name = tag;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return it == kWords.end() ? "table " + name
                            : std::string("its ") + it->second + " (" + name + ")";
}

// Bytes of the face's file, through FreeType's stream; false past its end.
bool ReadAt(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
  if (offset > stream->size || count > stream->size - offset) return false;
  if (!stream->read) {
    std::copy_n(stream->base + offset, count, buffer);
    return true;
  }
  return stream->read(stream, offset, buffer, count) == count;
}

unsigned long Get32(const unsigned char* p) {
  return (static_cast<unsigned long>(p[0]) << 24) | (static_cast<unsigned long>(p[1]) << 16) |
         (static_cast<unsigned long>(p[2]) << 8) | p[3];
}

// A table the file's directory names that runs past the end of the file,
// as in a file cut short; FreeType quietly drops such tables.
std::string CutTable(FT_Face face) {
  FT_Stream stream = face->stream;
  unsigned char header[12];
  unsigned long start = 0;
  if (!stream || !ReadAt(stream, 0, header, sizeof header)) return {};
  if (Get32(header) == 0x74746366) {  // 'ttcf': the face's own directory
    unsigned char offset[4];
    if (!ReadAt(stream, 12 + 4 * static_cast<unsigned long>(face->face_index & 0xFFFF), offset, 4))
      return {};
    start = Get32(offset);
    if (!ReadAt(stream, start, header, sizeof header)) return {};
  }
  const unsigned tables = (header[4] << 8) | header[5];
  for (unsigned i = 0; i < tables; ++i) {
    unsigned char record[16];
    if (!ReadAt(stream, start + 12 + 16ul * i, record, sizeof record)) return {};
    const unsigned long offset = Get32(record + 8), length = Get32(record + 12);
    if (offset > stream->size || length > stream->size - offset) {
      const std::string tag(reinterpret_cast<const char*>(record), 4);
      return TableWords(tag) + " runs past the end of the file";
    }
  }
  return {};
}

}  // namespace

std::string TableFault(FT_Face face, Shaper& shaper) {
  if (!FT_IS_SFNT(face)) return {};
  if (std::string cut = CutTable(face); !cut.empty()) return cut;
  hb_face_t* tables = shaper.tables();
  // A table that is there but that HarfBuzz's sanitizer rejects reads as
  // absent.
  if (HasTable(tables, "cmap")) {
    hb_set_t* characters = hb_set_create();
    hb_face_collect_unicodes(tables, characters);
    const bool empty = hb_set_is_empty(characters);
    hb_set_destroy(characters);
    if (empty || face->num_charmaps == 0) return "its character map (cmap) does not parse";
  }
  if (HasTable(tables, "GSUB") && !hb_ot_layout_has_substitution(tables))
    return "its glyph substitutions (GSUB) do not parse";
  if (HasTable(tables, "GPOS") && !hb_ot_layout_has_positioning(tables))
    return "its glyph positions (GPOS) do not parse";
  if (HasTable(tables, "fvar") && !hb_ot_var_has_data(tables))
    return "its variation axes (fvar) do not parse";
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (HasTable(tables, "hmtx") && (!hhea || hhea->number_Of_HMetrics == 0))
    return "its horizontal metrics (hhea, hmtx) hold no advance widths";
  return {};
}

FaceOutcome ReadFace(FT_Face face, const FontFacts& facts, std::string_view name,
                     const SharedInputs& shared) {
  FaceOutcome outcome;
  Shaper shaper(face);
  if (std::string fault = TableFault(face, shaper); !fault.empty()) {
    outcome.fault = std::move(fault);
    return outcome;
  }
  FaceRecord record;
  record.coverage = ReadFaceCoverage(face, facts.family);
  record.shape = ReadShapeFacts(face, record.coverage, facts.family);
  record.shape.configuredCursive =
      shared.cursiveFamilies && shared.cursiveFamilies->count(Lower(facts.family)) > 0;
  record.decision = DecideCategory(record.shape);
  const std::vector<SampleLine> lines =
      LayoutSample(shaper, shared.plain, name, KindOf(record.decision), record.coverage);
  if (std::string fault = GlyphFault(face, lines); !fault.empty()) {
    outcome.fault = std::move(fault);
    return outcome;
  }
  if (!FaceInked(face, lines)) {
    outcome.fault = "its sample leaves no ink";
    return outcome;
  }
  record.picture = DrawLines(lines);
  outcome.record = std::move(record);
  return outcome;
}

GreyImage DrawFacePicture(FT_Face face, const FaceRecord& record, std::string_view name,
                          const SharedInputs& shared) {
  Shaper shaper(face);
  return DrawSample(shaper, shared.plain, name, KindOf(record.decision), record.coverage);
}

}  // namespace pellory::mkcatalogue
