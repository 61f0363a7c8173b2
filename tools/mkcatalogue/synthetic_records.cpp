#include "synthetic_records.h"

#include <array>
#include <stdexcept>

#include "bmp_image.h"

namespace pellory::mkcatalogue {
namespace {

// Small enough that 12 pictures share one 4 KiB block of the blob file.
constexpr int kWidth = 32, kHeight = 8, kScale = 1;
constexpr std::array<const char*, 4> kStyles = {"Regular", "Bold", "Italic", "Bold Italic"};

// Digits 3 by 5, one row a number, bit 2 the leftmost pixel.
constexpr std::uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};

// The record's number drawn in black on white, two levels of grey.
std::string NumberPicture(std::uint32_t number) {
  GreyImage image{kWidth, kHeight, std::vector<std::uint8_t>(kWidth * kHeight, 1)};
  const std::string digits = std::to_string(number);
  int left = 1;
  for (char d : digits) {
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (kDigits[d - '0'][row] & (4 >> col))
          for (int dy = 0; dy < kScale; ++dy)
            for (int dx = 0; dx < kScale; ++dx) {
              const int x = left + col * kScale + dx, y = 1 + row * kScale + dy;
              if (y >= kHeight) continue;
              if (x < kWidth) image.pixels[static_cast<std::size_t>(y) * kWidth + x] = 0;
            }
    left += 4 * kScale;
  }
  return WithGraphicHeader(EncodeGreyBmp(image, 2));
}

std::string Trim(std::string s) {
  const auto first = s.find_first_not_of(' ');
  const auto last = s.find_last_not_of(' ');
  return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

}  // namespace

CategoryMix EvenMix() {
  CategoryMix mix;
  for (Category c : kAllCategories) mix.emplace_back(c, 1);
  return mix;
}

CategoryMix ParseCategoryMix(const std::string& text) {
  CategoryMix mix;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto end = std::min(text.find(',', start), text.size());
    const std::string part = text.substr(start, end - start);
    const auto equals = part.find('=');
    const auto category = CategoryFromText(Trim(part.substr(0, equals)));
    unsigned long weight = 1;
    try {
      std::size_t used = 0;
      if (equals != std::string::npos) weight = std::stoul(part.substr(equals + 1), &used);
      if (equals != std::string::npos && Trim(part.substr(equals + 1 + used)) != "") weight = 0;
    } catch (const std::exception&) {
      weight = 0;
    }
    if (!category || weight == 0 || weight > 1000000)
      throw std::invalid_argument("cannot read category weight '" + part + "'");
    mix.emplace_back(*category, static_cast<unsigned>(weight));
    start = end + 1;
  }
  return mix;
}

SyntheticRecords::SyntheticRecords(std::uint32_t count, CategoryMix mix) : count_(count) {
  for (const auto& [category, weight] : mix) cycle_.insert(cycle_.end(), weight, category);
  if (cycle_.empty()) throw std::invalid_argument("an empty category mix");
}

CatalogueRecord SyntheticRecords::Make(std::uint32_t i) const {
  const std::string number = std::to_string(i + 1);
  const Category category = cycle_[i % cycle_.size()];
  const std::string family = "Synthetic " + number;
  const std::string style = kStyles[i % kStyles.size()];
  CatalogueRecord r;
  r.fontName = family + " " + style;
  r.description = "Family: " + family + "\r\nStyle: " + style + "\r\nGenerated record " + number +
                  " of " + std::to_string(count_);
  r.fileName.assign(1, 'S');
  r.fileName.append(number.size() < 7 ? 7 - number.size() : 0, '0').append(number).append(".TTF");
  r.category = std::string(CategoryText(category));
  r.picture = NumberPicture(i + 1);
  return r;
}

}  // namespace pellory::mkcatalogue
