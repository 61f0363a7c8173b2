// One face's whole way from file bytes to its catalogue record: opened by
// FreeType (each face of a collection, a few named instances of a variable
// font), its facts and variations read, its tables checked, its scripts,
// category, shaping and picture made, its description and picture encoded
// as the table stores them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "bmp_image.h"
#include "face_record.h"
#include "font_facts.h"
#include "font_sources.h"
#include "font_variations.h"
#include "record_text.h"

namespace {

using namespace pellory::mkcatalogue;

constexpr long kFaces = 2;      // of a collection
constexpr long kInstances = 2;  // of a variable font, besides the default one

struct Shared {
  FreeTypeLibrary library = OpenFreeType();
  FontFace plainFace;
  std::optional<Shaper> plain;
  Shared() {
    plainFace = OpenFace(library.get(), PlainFaceFile(), 0, nullptr);
    if (plainFace) plain.emplace(plainFace.get());
  }
};

void ReadOne(FT_Library library, const std::uint8_t* data, std::size_t size, long index,
             Shaper* plain) {
  FT_Face opened = nullptr;
  if (FT_New_Memory_Face(library, data, static_cast<FT_Long>(size), index, &opened) != 0) return;
  const FontFace face(opened);
  PlaceNamedInstance(face.get());
  const FontFacts facts = ReadFontFacts(face.get(), "fuzz.ttf", static_cast<int>(index));
  const std::string name = FontNameFor(facts.family, facts.style);
  const FaceOutcome outcome = ReadFace(face.get(), facts, name, {plain, nullptr});
  if (!outcome.record) return;
  ToTableText(name);
  ToTableText(DescriptionFor(facts, outcome.record->coverage.ScriptNames()));
  WithGraphicHeader(EncodeGreyBmp(outcome.record->picture));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Shared shared;
  FT_Face counted = nullptr;
  if (FT_New_Memory_Face(shared.library.get(), data, static_cast<FT_Long>(size), -1, &counted) != 0)
    return 0;
  const long faces = std::min<long>(counted->num_faces, kFaces);
  FT_Done_Face(counted);
  Shaper* plain = shared.plain ? &*shared.plain : nullptr;
  for (long f = 0; f < faces; ++f) {
    ReadOne(shared.library.get(), data, size, f, plain);
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(shared.library.get(), data, static_cast<FT_Long>(size), f, &face) != 0)
      continue;
    const long instances = std::min<long>((face->style_flags >> 16) & 0x7FFF, kInstances);
    FT_Done_Face(face);
    for (long k = 1; k <= instances; ++k)
      ReadOne(shared.library.get(), data, size, (k << 16) | f, plain);
  }
  return 0;
}
