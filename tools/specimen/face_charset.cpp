#include "face_charset.h"

namespace pellory::specimen {

FaceCharset CharsetOf(const std::vector<std::pair<char32_t, unsigned>>& map) {
  FaceCharset charset;
  BlockCoverage others{nullptr, {}};
  for (const auto& [code, glyph] : map) {
    const UnicodeBlock* block = Shown(code) ? BlockOf(code) : nullptr;
    if (!block) {
      others.mapped.push_back({code, glyph});
      continue;
    }
    if (charset.blocks.empty() || charset.blocks.back().block != block)
      charset.blocks.push_back({block, {}});
    charset.blocks.back().mapped.push_back({code, glyph});
    ++charset.characters;
  }
  if (!others.mapped.empty()) charset.blocks.push_back(std::move(others));
  return charset;
}

}  // namespace pellory::specimen
