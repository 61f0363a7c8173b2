#include "face_merge.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <tuple>
#include <utility>

namespace pellory::mkcatalogue {
namespace {

std::string Folded(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Better first: preferred format, a static file before a variable font's
// instance, more glyphs, earlier file.
bool Richer(const FontFacts& a, const FontFacts& b) {
  const auto key = [](const FontFacts& f) {
    return std::make_tuple(FormatRank(f.format), f.variations.Variable(),
                           -static_cast<long>(f.glyphs), f.path, f.faceIndex);
  };
  return key(a) < key(b);
}

// Family, then style, then file and face: the catalogue's order.
auto CatalogueOrder(const FontFacts& f) {
  return std::make_tuple(Folded(f.family), Folded(f.style), f.path, f.faceIndex);
}

}  // namespace

int FormatRank(std::string_view format) {
  // FreeType's names (FT_Get_Font_Format); OpenType with PostScript
  // outlines is "CFF".
  static constexpr std::array<std::pair<std::string_view, int>, 9> kRanks = {{{"TrueType", 0},
                                                                              {"CFF", 0},
                                                                              {"Type 1", 1},
                                                                              {"CID Type 1", 1},
                                                                              {"Type 42", 1},
                                                                              {"PFR", 1},
                                                                              {"BDF", 2},
                                                                              {"PCF", 2},
                                                                              {"Windows FNT", 2}}};
  for (const auto& [name, rank] : kRanks)
    if (name == format) return rank;
  return 3;
}

std::string FaceKey(const FontFacts& f) {
  // Not cut to the column's width: long names that share their first 45
  // characters are still different faces.
  std::string key = f.family;
  if (!f.style.empty()) key += (key.empty() ? "" : " ") + f.style;
  return Folded(key);
}

std::vector<MergedFace> MergeSameFaces(std::vector<FontFacts> faces) {
  std::map<std::string, std::vector<FontFacts>> groups;
  for (auto& f : faces) groups[FaceKey(f)].push_back(std::move(f));
  std::vector<MergedFace> merged;
  merged.reserve(groups.size());
  for (auto& [key, group] : groups) {
    std::sort(group.begin(), group.end(), Richer);
    MergedFace face{std::move(group.front()), {}};
    face.leftOut.assign(std::make_move_iterator(group.begin() + 1),
                        std::make_move_iterator(group.end()));
    std::sort(face.leftOut.begin(), face.leftOut.end(), [](const FontFacts& a, const FontFacts& b) {
      return std::tie(a.path, a.faceIndex) < std::tie(b.path, b.faceIndex);
    });
    merged.push_back(std::move(face));
  }
  // Each face's place made once, not at every comparison.
  using Place = decltype(CatalogueOrder(std::declval<const FontFacts&>()));
  std::vector<std::pair<Place, std::size_t>> places;
  places.reserve(merged.size());
  for (std::size_t i = 0; i < merged.size(); ++i)
    places.emplace_back(CatalogueOrder(merged[i].kept), i);
  std::sort(places.begin(), places.end());
  std::vector<MergedFace> sorted;
  sorted.reserve(merged.size());
  for (const auto& place : places) sorted.push_back(std::move(merged[place.second]));
  return sorted;
}

}  // namespace pellory::mkcatalogue
