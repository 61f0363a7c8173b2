// The variation axes of a variable face, below its waterfall (--axes): a
// line naming each axis with its range, then the user's text at the axis's
// minimum and at its maximum, the other axes at the face's own point.
// Qt sets a variable face at its named instances only, so these lines are
// the face's outlines at those points, shaped by HarfBuzz: they show the
// face there, but are drawings, not text a reader can copy.
#pragma once

#include <QPainterPath>
#include <QString>
#include <vector>

#include "block_section.h"
#include "book_style.h"
#include "opentype_face.h"

namespace pellory::specimen {

class AxesSection : public BlockSection {
 public:
  // Answers no rows for a face without axes.
  AxesSection(const OpenTypeFace& face, const QString& text, double points, const BookStyle& style);

  std::size_t RowCount() const override { return rows_.size(); }
  double RowHeight(std::size_t row) const override;
  void PaintRow(BookCanvas& canvas, std::size_t row, double top) const override;

 private:
  struct Row {
    QString label;          // "wght 100" on an axis's first line; the note for the axes' list
    QPainterPath outlines;  // from the line's left end on its baseline
    bool note = false;
  };

  const BookStyle& style_;
  double ascent_ = 0, lineHeight_ = 0;
  std::vector<Row> rows_;
};

}  // namespace pellory::specimen
