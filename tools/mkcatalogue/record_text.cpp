#include "record_text.h"

#include <cctype>
#include <vector>

#include "pellory/engine/code_page.h"
#include "text_folding.h"

namespace pellory::mkcatalogue {
namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::string CutCharacters(std::string_view text, std::size_t chars) {
  std::size_t end = 0, count = 0;
  while (end < text.size() && count < chars) {
    ++end;
    while (end < text.size() && IsContinuation(text[end])) ++end;
    ++count;
  }
  return std::string(text.substr(0, end));
}

std::string FontNameFor(std::string_view family, std::string_view style) {
  std::string name(family);
  if (!style.empty()) {
    if (!name.empty()) name += ' ';
    name += style;
  }
  return Trimmed(CutCharacters(name, kFontNameChars));
}

std::string FontNameAllocator::Assign(std::string_view name) {
  for (unsigned n = 1;; ++n) {
    std::string candidate(name);
    if (n > 1) {
      const std::string suffix = " (" + std::to_string(n) + ")";
      candidate = Trimmed(CutCharacters(name, kFontNameChars - suffix.size())) + suffix;
    }
    std::string stored = ToTableText(candidate);
    for (char& c : stored) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (used_.insert(stored).second) return candidate;
  }
}

std::string DescriptionFor(const FontFacts& f, std::string_view scripts) {
  const std::vector<std::pair<const char*, std::string>> facts = {
      {"Family", f.family},
      {"Style", f.style},
      {"Foundry", f.foundry},
      {"Version", f.version},
      {"Format", f.format},
      {"Glyphs", std::to_string(f.glyphs)},
      {"Axes", f.variations.AxesText()},
      {"Instance", f.variations.InstanceText()},
      {"Scripts", std::string(scripts)},
      {"File",
       f.path.string() + (f.FaceNumber() ? " (face " + std::to_string(f.FaceNumber()) + ")" : "")},
      {"Licence", f.licence},
  };
  std::string text;
  for (const auto& [label, value] : facts) {
    if (value.empty()) continue;
    if (!text.empty()) text += "\r\n";
    text += std::string(label) + ": " + value;
  }
  return text;
}

std::string ToTableText(std::string_view utf8) {
  static const engine::CodePage page(kTableCodePage);
  return page.FromUtf8(FoldToPlainLetters(utf8));
}

}  // namespace pellory::mkcatalogue
