// One face's whole way from an open FreeType face to what its catalogue
// record holds: checked, classified, its scripts read and its picture
// drawn. A function of the face alone (and of what every face shares: the
// plain face for names, fontconfig's cursive families), so that faces can
// be read in any order or side by side.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "bmp_image.h"
#include "face_scripts.h"
#include "font_category.h"
#include "font_facts.h"
#include "freetype_handle.h"
#include "shaped_line.h"

namespace pellory::mkcatalogue {

struct SharedInputs {
  Shaper* plain = nullptr;  // the face for names a face cannot draw; may be null
  const std::set<std::string>* cursiveFamilies = nullptr;  // lower case; may be null
};

struct FaceRecord {
  FaceCoverage coverage;
  ShapeFacts shape;
  CategoryDecision decision;
  GreyImage picture;
};

// The record's content, or the reason the face is left out in words
// ("its glyph substitutions (GSUB) do not parse"). `name` is the name the
// picture shows.
struct FaceOutcome {
  std::optional<FaceRecord> record;
  std::string fault;
};

FaceOutcome ReadFace(FT_Face face, const FontFacts& facts, std::string_view name,
                     const SharedInputs& shared);

// The picture again, under another name (the table made the name unique).
GreyImage DrawFacePicture(FT_Face face, const FaceRecord& record, std::string_view name,
                          const SharedInputs& shared);

// What is wrong with the tables a face is drawn and classified from, as
// HarfBuzz and FreeType read them; empty when nothing is.
std::string TableFault(FT_Face face, Shaper& shaper);

}  // namespace pellory::mkcatalogue
