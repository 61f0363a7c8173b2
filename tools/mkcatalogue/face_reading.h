// What one listed face gives the catalogue, read from its file: whether it
// opened, its facts, and whether it is sound, with its category, scripts
// and picture. A function of the file and of what every face shares (the
// plain face, fontconfig's cursive families), never of the order, the
// thread or the other faces, so that faces are read side by side and a
// reading can be kept for a later build.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "face_record.h"
#include "font_category.h"
#include "font_facts.h"
#include "font_files.h"
#include "font_sources.h"
#include "freetype_handle.h"
#include "shaped_line.h"

namespace pellory::mkcatalogue {

struct FaceReading {
  enum class State : std::uint8_t { Unreadable, Damaged, Sound };
  State state = State::Unreadable;
  // Unreadable: FreeType's reason; Damaged: the fault in words.
  std::string error;
  FontFacts facts;  // unless unreadable
  // Sound faces: the category, the rule behind it in words (--report), the
  // scripts covered ("Thai, Latin"), and, when just read, the picture under
  // the face's own name (a reading kept from the face store has none: the
  // catalogue holds it).
  Category category = Category::NormalSansSerif;
  std::string rule, scripts;
  GreyImage picture;
};

// What a thread needs to read faces: a FreeType library of its own (FreeType
// wants one a thread) and its own copy of the plain face for names.
class FaceReader {
 public:
  // files: the build's font files, shared by every reader and outliving
  // them; plainFile: the plain face's file (PlainFaceFile);
  // cursiveFamilies: lower case, shared read-only by every reader.
  FaceReader(FontFiles& files, const std::filesystem::path& plainFile,
             const std::set<std::string>* cursiveFamilies);
  ~FaceReader();

  FaceReading Read(const FaceRef& face);

  // The picture of a sound face under `name` (its own, or another the
  // table made unique); none when the face no longer opens or is damaged.
  std::optional<GreyImage> Draw(const FaceRef& face, std::string_view name);

 private:
  FontFiles& files_;
  FreeTypeLibrary library_;
  FontFace plainFace_;
  std::optional<Shaper> plain_;
  SharedInputs shared_;
};

}  // namespace pellory::mkcatalogue
