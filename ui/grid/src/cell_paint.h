// Drawing one cell of the picture grid: what a cell knows while it is
// drawn, text composed off screen, the focus rectangle, the indicator
// glyph, pictures by sizing mode and raster operation, and the check box.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "grid_settings.h"
#include "pellory/data/types.h"

namespace pellory::data {
class TDataLink;
class TField;
}  // namespace pellory::data

namespace pellory::ui::grid {

// The shared compositing image with a painter open on it for one paint of
// the grid, grown first to the largest part of a cell that paint can need.
class CellComposer {
 public:
  explicit CellComposer(QSize largest);
  CellComposer(const CellComposer&) = delete;
  CellComposer& operator=(const CellComposer&) = delete;

  QImage& Image() { return image_; }
  QPainter& Painter() { return painter_; }

 private:
  QImage& image_;
  QPainter painter_;
};

struct CellPaint {
  CellPaint(QPainter& painter, CellComposer& cellComposer, const QRect& cell, const QRect& exposed)
      : p(painter), composer(cellComposer), rect(cell), visible(cell.intersected(exposed)) {}

  QPainter& p;
  CellComposer& composer;
  QRect rect;
  QRect visible;             // the part of the cell being painted
  bool fixed = false;        // title row or indicator column
  bool highlighted = false;  // the current data cell while the grid has the focus
  bool activeControl = false;
  bool focusRectDrawn = false;
  bool bevelDone = false;
  QColor background;
};

struct CellText {
  QString text;
  data::TAlignment alignment = data::taLeftJustify;
  QFont font;
  int textHeight = 0;  // the font's full character height
  QColor color;
};

// Makes row `row` of the link's view the cursor's current record for as
// long as it lives, so that fields read that record.
class RowReading {
 public:
  RowReading(data::TDataLink& link, int row);
  ~RowReading();
  RowReading(const RowReading&) = delete;
  RowReading& operator=(const RowReading&) = delete;

 private:
  data::TDataLink& link_;
  int saved_;
};

enum class FocusRect { No, Yes };

// A data cell's text: composed in the shared off-screen image on
// `background` and copied onto the cell at once. Left 3 and top 2 pixels
// in; word-wrapped unless the text area holds only one line. A focus
// rectangle, the dotted outline drawn by inverting every other pixel of
// the cell's edge, is added on request.
void ComposeText(CellPaint& cell, const CellText& text, const QColor& background, FocusRect focus);
// A title: the same, `top` pixels down, never wrapped; its lines come
// already cut to the cell (TitleLines).
void ComposeTitle(CellPaint& cell, const CellText& text, const QColor& background, int top);
// The lines of a title ("~" starts a new one) as a cell `width` wide shows
// them, each too long for it ending in an ellipsis.
QString TitleLines(const QString& title, const QFont& font, data::TAlignment alignment, int width);
// The cell filled with `background`, with a focus rectangle on request.
void ComposeBackground(CellPaint& cell, const QColor& background, FocusRect focus);
// The 1-pixel outline of the cell.
void FrameCell(CellPaint& cell, const QColor& color);
// The glyph at x = (right - 6) / 2 + 1, centred vertically: its black
// pixels black (yellow on request), its white ones leaving the cell.
void DrawIndicatorGlyph(CellPaint& cell, const QImage& glyph, bool yellow);

// The picture stored in the field of the cursor's current record: the
// graphic header skipped, the bitmap decoded. Anything unreadable gives a
// null image; nothing is reported.
QImage LoadCellPicture(const data::TField& field);
// Draws the picture into the cell by the sizing mode, combining it with
// the cell's pixels by the raster operation.
void DrawCellPicture(CellPaint& cell, const QImage& picture, const BitmapSettings& settings);

// A 10 by 10 check box centred in the cell, ticked or not.
void DrawCheckBox(CellPaint& cell, bool ticked);

}  // namespace pellory::ui::grid
