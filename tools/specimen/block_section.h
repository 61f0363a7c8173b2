// A part of a face's block below its head (the character set, the feature
// lines), laid out once and placed row by row by the page flow, which may
// carry it over several pages.
#pragma once

#include <cstddef>

#include "book_canvas.h"

namespace pellory::specimen {

class BlockSection {
 public:
  virtual ~BlockSection() = default;
  virtual std::size_t RowCount() const = 0;
  virtual double RowHeight(std::size_t row) const = 0;
  virtual void PaintRow(BookCanvas& canvas, std::size_t row, double top) const = 0;
};

}  // namespace pellory::specimen
