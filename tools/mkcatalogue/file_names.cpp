#include "file_names.h"

#include <algorithm>
#include <cctype>

namespace pellory::mkcatalogue {
namespace {

bool PlainAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

// Characters kept in short names: letters, digits and a few marks.
std::string ShortPart(std::string_view s, std::size_t length) {
  std::string out;
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '_' || c == '-') out += static_cast<char>(std::toupper(u));
    if (out.size() == length) break;
  }
  return out;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

bool FileNameAllocator::Take(const std::string& name) {
  return used_.insert(Upper(name)).second;
}

std::string FileNameAllocator::Assign(std::string_view fileName) {
  const std::string name(fileName);
  if (!name.empty() && name.size() <= kFileNameChars && PlainAscii(name) && Take(name)) return name;
  const auto dot = fileName.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot > 0;
  std::string stem = ShortPart(fileName.substr(0, hasExtension ? dot : fileName.size()), 8);
  if (stem.empty()) stem = "FONT";
  const std::string extension = hasExtension ? ShortPart(fileName.substr(dot + 1), 3) : "";
  std::string suffix;
  if (!extension.empty()) suffix.append(".").append(extension);
  // STEM~1.EXT, STEM~2.EXT, ...: the stem gives way to longer numbers.
  unsigned& firstFree = firstFree_[stem + '/' + suffix];
  for (unsigned n = std::max(firstFree, 1u);; ++n) {
    std::string tail = std::to_string(n);
    tail.insert(tail.begin(), '~');
    const std::size_t keep = tail.size() >= 8 ? 0 : 8 - tail.size();
    const std::string candidate = stem.substr(0, std::min(stem.size(), keep)) + tail + suffix;
    if (Take(candidate)) {
      firstFree = n + 1;
      return candidate;
    }
  }
}

}  // namespace pellory::mkcatalogue
