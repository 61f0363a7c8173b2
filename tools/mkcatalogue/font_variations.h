// The variations of a variable font: its axes, and where on them the face
// at hand (the default instance or a named one) stands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "freetype_handle.h"

namespace pellory::mkcatalogue {

struct VariationAxis {
  std::string tag;  // "wght", "wdth", "slnt", "ital", "opsz", ...
  double minimum = 0, defaultValue = 0, maximum = 0;
  double value = 0;  // the face's coordinate
};

struct FaceVariations {
  std::vector<VariationAxis> axes;  // empty: a static face
  int instance = 0;                 // the named instance, from 1; 0 the default instance

  bool Variable() const { return !axes.empty(); }
  // The face's coordinate on the axis, if the font has it.
  std::optional<double> Value(std::string_view tag) const;
  // "wght 100 to 900, default 400; slnt -10 to 0, default 0"
  std::string AxesText() const;
  // "2 (wght 100, slnt -10)", "default (wght 400, slnt 0)"; empty when static.
  std::string InstanceText() const;
};

// Read from an open face (at the instance its face index chose).
FaceVariations ReadVariations(FT_Face face);

// Sets a named instance's coordinates on the face FreeType opened at it:
// FreeType 2.12 reads negative coordinates of named instances without
// their sign and clamps them, so that "Inter Thin Italic" (slnt -10) would
// be drawn upright. Does nothing for other faces.
void PlaceNamedInstance(FT_Face face);

}  // namespace pellory::mkcatalogue
