#include "font_variations.h"

#include FT_MULTIPLE_MASTERS_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace pellory::mkcatalogue {
namespace {

// At most this many axes are read: real fonts have a handful.
constexpr FT_UInt kMaxAxes = 64;

std::string Number(double value) {
  char text[32];
  if (std::fabs(value - std::round(value)) < 0.005)
    std::snprintf(text, sizeof text, "%.0f", value);
  else
    std::snprintf(text, sizeof text, "%.2g", value);
  return text;
}

std::string TagText(FT_ULong tag) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((tag >> shift) & 0xFF);
    text += c >= 0x20 && c < 0x7F ? c : '?';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// 16.16 in 32 bits: FreeType 2.12 hands some negative coordinates over
// without their sign (slnt -10 as 65526).
double Fixed(FT_Fixed value) {
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value))) /
         65536.0;
}

}  // namespace

std::optional<double> FaceVariations::Value(std::string_view tag) const {
  for (const VariationAxis& axis : axes)
    if (axis.tag == tag) return axis.value;
  return std::nullopt;
}

std::string FaceVariations::AxesText() const {
  std::string text;
  for (const VariationAxis& a : axes)
    text += (text.empty() ? "" : "; ") + a.tag + ' ' + Number(a.minimum) + " to " +
            Number(a.maximum) + ", default " + Number(a.defaultValue);
  return text;
}

std::string FaceVariations::InstanceText() const {
  if (axes.empty()) return {};
  std::string coordinates;
  for (const VariationAxis& a : axes)
    coordinates += (coordinates.empty() ? "" : ", ") + a.tag + ' ' + Number(a.value);
  return (instance ? std::to_string(instance) : "default") + " (" + coordinates + ")";
}

void PlaceNamedInstance(FT_Face face) {
  const auto instance = static_cast<FT_UInt>((face->face_index >> 16) & 0x7FFF);
  if (instance == 0 || !FT_HAS_MULTIPLE_MASTERS(face)) return;
  FT_MM_Var* master = nullptr;
  if (FT_Get_MM_Var(face, &master) != 0) return;
  if (instance <= master->num_namedstyles && master->num_axis <= kMaxAxes) {
    std::vector<FT_Fixed> coordinates(master->num_axis);
    for (FT_UInt a = 0; a < master->num_axis; ++a) {
      const auto value = static_cast<FT_Fixed>(static_cast<std::int32_t>(
          static_cast<std::uint32_t>(master->namedstyle[instance - 1].coords[a])));
      coordinates[a] = std::clamp(value, master->axis[a].minimum, master->axis[a].maximum);
    }
    FT_Set_Var_Design_Coordinates(face, master->num_axis, coordinates.data());
  }
  FT_Done_MM_Var(face->glyph->library, master);
}

FaceVariations ReadVariations(FT_Face face) {
  FaceVariations variations;
  if (!FT_HAS_MULTIPLE_MASTERS(face)) return variations;
  FT_MM_Var* master = nullptr;
  if (FT_Get_MM_Var(face, &master) != 0) return variations;
  const FT_UInt count = std::min<FT_UInt>(master->num_axis, kMaxAxes);
  std::vector<FT_Fixed> coordinates(count, 0);
  const bool placed =
      count > 0 && FT_Get_Var_Design_Coordinates(face, count, coordinates.data()) == 0;
  for (FT_UInt i = 0; i < count; ++i) {
    const FT_Var_Axis& axis = master->axis[i];
    variations.axes.push_back({TagText(axis.tag), Fixed(axis.minimum), Fixed(axis.def),
                               Fixed(axis.maximum), Fixed(placed ? coordinates[i] : axis.def)});
  }
  variations.instance = static_cast<int>((face->face_index >> 16) & 0x7FFF);
  FT_Done_MM_Var(face->glyph->library, master);
  return variations;
}

}  // namespace pellory::mkcatalogue
