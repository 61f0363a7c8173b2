// The character set of a face, below its block: the Unicode blocks it
// covers with counts ("Latin Extended-A  128 of 128"), two to a line, then a
// table of the characters it maps, a row per sixteen code points as the
// Unicode charts have them, each cell the face's own glyph over its code
// point. A table longer than the page limit is left out: the blocks sum
// the face up.
#pragma once

#include <QGlyphRun>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "block_section.h"
#include "book_style.h"
#include "face_charset.h"

namespace pellory::specimen {

// Where a glyph of ink `ink` (about its origin, y downward) and advance
// `advance` is drawn in a table cell's glyph `area`: its ink centred across
// the cell, on the area's baseline `baseline` unless its ink would leave
// the area (combining marks drawn alone, tall glyphs), then moved up or
// down into it. Glyphs without ink are placed by their advance.
QPointF CellGlyphOrigin(const QRectF& ink, double advance, const QRectF& area, double baseline);

class CharsetSection : public BlockSection {
 public:
  // `face` is the face as Qt sets it; `pageLimit` the pages the table may fill.
  CharsetSection(const FaceCharset& charset, const QRawFont& face, const BookStyle& style,
                 int pageLimit);

  std::size_t RowCount() const override { return rows_.size(); }
  double RowHeight(std::size_t row) const override;
  void PaintRow(BookCanvas& canvas, std::size_t row, double top) const override;

 private:
  enum class Kind { Heading, Blocks, BlockHeading, Chart, Note };
  struct Row {
    Kind kind;
    std::size_t block = 0;  // into charset_.blocks (Blocks: the first of two)
    char32_t first = 0;     // Chart: the row's first code point
  };
  void PaintBlocks(BookCanvas& canvas, std::size_t first, double top) const;
  void PaintChart(BookCanvas& canvas, const Row& row, double top) const;
  QString Heading() const;
  QString Note() const;

  FaceCharset charset_;
  QRawFont face_;
  QRawFont code_;  // the code points' labels
  const BookStyle& style_;
  int pageLimit_;
  int chartPages_ = 0;  // the table would fill; 0: it is shown
  std::vector<Row> rows_;
};

}  // namespace pellory::specimen
