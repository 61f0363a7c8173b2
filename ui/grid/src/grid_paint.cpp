// Painting the picture grid: grid lines, then the cells in four passes
// (top-left, titles, indicators, data), then the area beyond the cells.
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "cell_paint.h"
#include "grid_data_link.h"
#include "grid_resources.h"
#include "grid_settings.h"
#include "pellory/data/dataset.h"
#include "pellory/data/field.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

namespace {

QColor LineColorFor(const QColor& gridColor) {
  const QColor silver(192, 192, 192);
  return gridColor == silver ? QColor(128, 128, 128) : silver;
}

}  // namespace

void TwwDBGrid::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  const QRect exposed = event->rect();
  PaintGridLines(p, exposed);
  const std::vector<std::string> controlTypes = ControlTypeList();
  // A cell is composed no wider than the client area.
  grid::CellComposer composer(
      QSize(ClientSize().width(), std::max(titleHeight_, rowHeight_)).expandedTo(QSize(1, 1)));
  const auto draw = [&](int col, int row) {
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty() && rect.intersects(exposed))
      PaintCell({p, composer, rect, exposed}, col, row, controlTypes);
  };
  draw(0, 0);
  for (int col = leftCol_; col < ColCount(); ++col) draw(col, 0);
  for (int row = 1; row < rowCount_; ++row) draw(0, row);
  for (int row = 1; row < rowCount_; ++row)
    for (int col = leftCol_; col < ColCount(); ++col) draw(col, row);
  const int last = ColCount() - 1;
  const QRect cells(0, 0, ColumnX(last) + ColWidth(last) + 1,
                    RowY(rowCount_ - 1) + RowHeight(rowCount_ - 1) + 1);
  for (const QRect& beyond : QRegion(exposed).subtracted(cells)) p.fillRect(beyond, color_);
  if (borderLineX_ >= 0) {
    // A dragged column border: an inverted line where it would go.
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.fillRect(QRect(borderLineX_, 0, 1, viewport()->height()), Qt::black);
  }
}

void TwwDBGrid::PaintGridLines(QPainter& p, const QRect& exposed) const {
  const QColor fixed = Qt::black;
  const QColor inData = LineColorFor(color_);
  const int last = ColCount() - 1;
  const int right = std::min(ColumnX(last) + ColWidth(last), exposed.right());
  const int bottom = RowY(rowCount_ - 1) + RowHeight(rowCount_ - 1);
  const auto vertical = [&p](int x, int from, int to, const QColor& c) {
    if (to >= from) p.fillRect(QRect(x, from, 1, to - from + 1), c);
  };
  const auto horizontal = [&p](int y, int from, int to, const QColor& c) {
    if (to >= from) p.fillRect(QRect(from, y, to - from + 1, 1), c);
  };
  vertical(kIndicatorWidth, 0, bottom, fixed);
  for (int col = leftCol_; col <= last; ++col) {
    const int x = ColumnX(col) + ColWidth(col);
    if (x > exposed.right()) break;
    vertical(x, 0, titleHeight_, fixed);
    vertical(x, titleHeight_ + 1, bottom, inData);
  }
  horizontal(titleHeight_, 0, right, fixed);
  for (int row = 1; row < rowCount_; ++row) {
    const int y = RowY(row) + rowHeight_;
    horizontal(y, 0, kIndicatorWidth, fixed);
    horizontal(y, kIndicatorWidth + 1, right, inData);
  }
}

void TwwDBGrid::PaintCell(grid::CellPaint&& cell, int col, int row,
                          const std::vector<std::string>& controlTypes) {
  QPainter& p = cell.p;
  const QRect& rect = cell.rect;
  cell.fixed = col == 0 || row == 0;
  cell.highlighted = !cell.fixed && col == col_ && row == row_ && HasKeyboardFocus();
  cell.activeControl = IsActiveControl();
  if (!cell.fixed) {
    data::TField* field = ColumnField(col);
    const grid::ControlType type =
        field ? grid::LookUpControlType(controlTypes, field->FieldName()) : grid::ControlType{};
    if (type.kind == "Bitmap") {
      PaintPictureCell(cell, *field, row, type.parameters);
      return;
    }
    if (type.kind == "CheckBox") {
      PaintCheckBoxCell(cell, *field, row, type.parameters);
      PaintBevel(cell);
      return;
    }
    PaintTextCell(cell, field, row);
  } else if (row == 0 && col == 0) {
    p.fillRect(rect, titleColor_);
    cell.background = titleColor_;
  } else if (row == 0) {
    PaintTitleCell(cell, col);
  } else {
    PaintIndicatorCell(cell, row);
  }
  PaintBevel(cell);
}

bool TwwDBGrid::IsActiveControl() const {
  const QWidget* top = window();
  return focusLentToMenu_ || (top && top->focusWidget() == this);
}

void TwwDBGrid::PaintTitleCell(grid::CellPaint& cell, int col) {
  const QString& title = titleTexts_.at(std::size_t(col));
  const int lines = titleLines_ == 1 ? 1 : int(title.count(QLatin1Char('\n'))) + 1;
  // Rounded to the nearest pixel, halves to the even one.
  const int top = int(std::nearbyint(titleHeight_ / 2.0 - titleTextHeight_ * lines / 2.0));
  grid::ComposeTitle(cell,
                     {title, titleAlignment_, titleQFont_, titleTextHeight_, titleFont_.color},
                     titleColor_, top);
}

void TwwDBGrid::PaintIndicatorCell(grid::CellPaint& cell, int row) {
  cell.p.fillRect(cell.rect, titleColor_);
  cell.background = titleColor_;
  const int activeRow = link_->Active() ? link_->ActiveRecord() + 1 : 1;
  if (row != activeRow) return;
  const data::TDataSet* cursor = link_->DataSet();
  const data::DataSetState state = cursor ? cursor->State() : data::DataSetState::Browse;
  const grid::IndicatorGlyph glyph = state == data::DataSetState::Edit ? grid::IndicatorGlyph::Edit
                                     : state == data::DataSetState::Insert
                                         ? grid::IndicatorGlyph::Insert
                                         : grid::IndicatorGlyph::Arrow;
  grid::DrawIndicatorGlyph(cell, grid::GridResources::Glyph(glyph), indicatorColor_ == icYellow);
}

void TwwDBGrid::PaintTextCell(grid::CellPaint& cell, data::TField* field, int row) {
  QString value;
  data::TAlignment alignment = data::taLeftJustify;
  if (field) {
    grid::RowReading reading(*link_, row - 1);
    // A value that cannot be read shows as an empty cell: painting must
    // go on for the other cells.
    try {
      value = QString::fromStdString(field->DisplayText());
    } catch (const std::exception&) {
      value.clear();
    }
    alignment = field->Alignment();
  }
  QColor background = color_;
  QColor color = Font().color;
  if (cell.highlighted) {
    background = shell::ColorOf(shell::SystemColor::Highlight);
    color = shell::ColorOf(shell::SystemColor::HighlightText);
  }
  grid::ComposeText(
      cell, {value, alignment, font(), textHeight_, color}, background,
      cell.highlighted && cell.activeControl ? grid::FocusRect::Yes : grid::FocusRect::No);
}

void TwwDBGrid::PaintPictureCell(grid::CellPaint& cell, data::TField& field, int row,
                                 const std::string& params) {
  QImage picture;
  {
    grid::RowReading reading(*link_, row - 1);
    picture = grid::LoadCellPicture(field);
  }
  const QColor highlight = shell::ColorOf(shell::SystemColor::Highlight);
  const QColor background = cell.highlighted ? highlight : cell.fixed ? titleColor_ : color_;
  if (picture.isNull() && cell.highlighted && cell.activeControl) {
    grid::ComposeBackground(cell, background, grid::FocusRect::Yes);
  } else {
    // With a picture the highlight frame below covers the focus rectangle.
    cell.p.fillRect(cell.rect, background);
    cell.background = background;
  }
  if (!picture.isNull()) {
    grid::DrawCellPicture(cell, picture, grid::ReadBitmapSettings(params));
    if (cell.highlighted) {
      grid::FrameCell(cell, highlight);
      cell.bevelDone = true;
    }
  }
  PaintBevel(cell);
}

void TwwDBGrid::PaintCheckBoxCell(grid::CellPaint& cell, data::TField& field, int row,
                                  const std::string& params) {
  QString value;
  {
    grid::RowReading reading(*link_, row - 1);
    try {
      value = QString::fromStdString(field.DisplayText());
    } catch (const std::exception&) {
      value.clear();
    }
  }
  cell.background = cell.highlighted ? shell::ColorOf(shell::SystemColor::Highlight) : color_;
  cell.p.fillRect(cell.rect, cell.background);
  const grid::CheckBoxSettings settings = grid::ReadCheckBoxSettings(params);
  grid::DrawCheckBox(cell, grid::SameNameIgnoringCase(value.toStdString(), settings.checkedValue));
}

void TwwDBGrid::PaintBevel(grid::CellPaint& cell) const {
  if (cell.bevelDone) return;
  const QColor white(255, 255, 255);
  const bool whiteBackground = cell.background == white;
  if (!cell.fixed && color_ == white &&
      (whiteBackground ||
       (cell.highlighted && cell.background == shell::ColorOf(shell::SystemColor::Highlight))))
    return;
  const QRect& r = cell.rect;
  const int left = r.left(), top = r.top();
  const int right = r.left() + r.width(), bottom = r.top() + r.height();
  QPainter& p = cell.p;
  if (cell.fixed || !cell.focusRectDrawn) {
    const QColor light = shell::ColorOf(shell::SystemColor::BtnHighlight);
    p.fillRect(QRect(left, top + 1, 1, bottom - top), light);
    p.fillRect(QRect(left, top, right - left, 1), light);
  }
  if (!cell.fixed && !whiteBackground) {
    const QColor dark = shell::ColorOf(shell::SystemColor::BtnShadow);
    p.fillRect(QRect(right, top + 1, 1, bottom - top), dark);
    p.fillRect(QRect(left, bottom, right - left, 1), dark);
  }
}

}  // namespace pellory::ui
