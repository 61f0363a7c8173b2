// Generated catalogue records for tests and benchmarks: any number, in a
// chosen mix of categories, with small pictures, fast.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "catalogue_table.h"
#include "font_category.h"

namespace pellory::mkcatalogue {

// Categories with whole-number weights; record i takes its category from
// the weights laid out in a cycle, so every run gives the same table.
using CategoryMix = std::vector<std::pair<Category, unsigned>>;

// Every category once.
CategoryMix EvenMix();

// "Normal Serif=3,Wingdings=1"; throws std::invalid_argument naming the
// part it cannot read.
CategoryMix ParseCategoryMix(const std::string& text);

class SyntheticRecords {
 public:
  SyntheticRecords(std::uint32_t count, CategoryMix mix);
  // Record number i, from 0.
  CatalogueRecord Make(std::uint32_t i) const;

 private:
  std::uint32_t count_;
  std::vector<Category> cycle_;
};

}  // namespace pellory::mkcatalogue
