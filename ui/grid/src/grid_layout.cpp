// The picture grid's layout: row heights from the fonts, one column per
// visible field, as many data rows as fit, and where each cell lies.
#include <QFontMetrics>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "cell_paint.h"
#include "grid_data_link.h"
#include "grid_settings.h"
#include "pellory/data/dataset.h"
#include "pellory/data/field.h"
#include "pellory/data/table.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui {

namespace {

// The width of a data column when there is no field to measure.
constexpr int kDefaultColWidth = 64;

}  // namespace

void TwwDBGrid::LayoutChanged() {
  if (!hasWindow_ || layingOut_ > 0) return;
  HideEditor();
  ++layingOut_;
  ComputeRowHeights();
  RebuildColumns();
  RecountRows();
  const int noted = fitRows_;
  SetColumnWidths();
  UpdateHorizontalBar();
  // A horizontal scroll bar that came or went changes the rows that fit.
  if (FittingRows(ClientSize().height()) != noted) RecountRows();
  --layingOut_;
  UpdateCurrentRow();
  viewport()->update();
  update();
}

void TwwDBGrid::MeasureFonts() {
  titleQFont_ = titleFont_.ToQFont();
  textHeight_ = shell::TextHeight(font());
  titleTextHeight_ = shell::TextHeight(titleQFont_);
}

void TwwDBGrid::ComputeRowHeights() {
  // The +1 is the row line below each row.
  rowHeight_ = (textHeight_ + 2 + 1) * rowHeightPercent_ / 100;
  titleHeight_ = titleTextHeight_ * titleLines_ + 4;
}

void TwwDBGrid::RebuildColumns() {
  fields_.clear();
  columns_.clear();
  if (link_->Active())
    for (data::TField* field : link_->DataSet()->Fields())
      if (field->Visible()) fields_.push_back(field);
  for (const data::TField* field : fields_)
    columns_.push_back({QString::fromStdString(field->FieldName()), {}});
  const int count = std::max<int>(1, int(fields_.size())) + 1;
  colWidths_.assign(std::size_t(count), kDefaultColWidth);
  colWidths_[0] = kIndicatorWidth;
  tabStops_.assign(std::size_t(count), true);
  tabStops_[0] = false;
  titleTexts_.assign(std::size_t(count), QString());
  col_ = std::clamp(col_, 1, count - 1);
}

int TwwDBGrid::DigitWidth() const {
  return QFontMetrics(font()).horizontalAdvance(QLatin1Char('0'));
}

int TwwDBGrid::TitleWidth(const data::TField& field) const {
  const QFontMetrics metrics(titleQFont_);
  int widest = 0;
  for (const QString& part : QString::fromStdString(field.DisplayName()).split(QLatin1Char('~'))) {
    if (part.isEmpty()) break;
    widest = std::max(widest, metrics.horizontalAdvance(part));
  }
  return widest + 4;
}

void TwwDBGrid::SetColumnWidths() {
  const int digit = DigitWidth();
  const std::vector<std::string> selected = [this] {
    std::vector<std::string> out;
    for (const QString& line : selected_) out.push_back(line.toStdString());
    return out;
  }();
  for (int col = 1; col < ColCount(); ++col) {
    const data::TField* field = ColumnField(col);
    if (!field) continue;
    const int width = grid::ColumnPixelWidth(field->DisplayWidth(), digit);
    colWidths_[std::size_t(col)] = std::max(width, TitleWidth(*field));
    titleTexts_[std::size_t(col)] = grid::TitleLines(QString::fromStdString(field->DisplayName()),
                                                     titleQFont_, titleAlignment_, ColWidth(col));
    tabStops_[std::size_t(col)] = !field->ReadOnly() && field->FieldKind() != data::fkCalculated &&
                                  !grid::ColumnMarkedReadOnly(selected, field->FieldName());
  }
}

int TwwDBGrid::FittingRows(int clientHeight) const {
  // The line below the last fitting row may fall outside.
  return std::max(0, (clientHeight - titleHeight_) / (rowHeight_ + 1));
}

void TwwDBGrid::RecountRows() {
  fitRows_ = FittingRows(ClientSize().height());
  if (!link_->Active() || link_->RecordCount() == 0) {
    rowCount_ = 2;
  } else {
    // The cursor may read records to fill the larger window.
    link_->SetBufferCount(std::max(1, fitRows_));
    rowCount_ = std::max(1, link_->RecordCount()) + 1;
  }
  UpdateCurrentRow();
}

void TwwDBGrid::UpdateCurrentRow() {
  int row = link_->Active() ? link_->ActiveRecord() + 1 : 1;
  if (row > rowCount_ - 1 && link_->Active()) rowCount_ = std::max(1, link_->RecordCount()) + 1;
  row = std::clamp(row, 1, rowCount_ - 1);
  if (row != row_) HideEditor();
  row_ = row;
}

QSize TwwDBGrid::ClientSize() const {
  int width = this->width() - 2 * kEdge;
  int height = this->height() - 2 * kEdge;
  if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) width -= kScrollBarExtent;
  if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) height -= kScrollBarExtent;
  return {std::max(0, width), std::max(0, height)};
}

int TwwDBGrid::ColumnX(int col) const {
  if (col == 0) return 0;
  int x = kIndicatorWidth + 1;
  for (int c = leftCol_; c < col; ++c) x += ColWidth(c) + 1;
  return x;
}

int TwwDBGrid::RowY(int row) const {
  return row == 0 ? 0 : titleHeight_ + 1 + (row - 1) * (rowHeight_ + 1);
}

QRect TwwDBGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= rowCount_) return {};
  if (col > 0 && col < leftCol_) return {};
  const QRect cell(ColumnX(col), RowY(row), ColWidth(col), RowHeight(row));
  if (cell.left() >= ClientSize().width()) return {};
  return cell;
}

QRect TwwDBGrid::RowBand(int row) const {
  if (row < 0 || row >= rowCount_) return {};
  return {0, RowY(row), ClientSize().width(), RowHeight(row)};
}

// The columns from `first` to the last, with their lines, in pixels.
static int WidthFrom(const std::vector<int>& widths, int first) {
  int total = 0;
  for (std::size_t c = std::size_t(first); c < widths.size(); ++c) total += widths[c] + 1;
  return total;
}

bool TwwDBGrid::AllColumnsFit() const {
  return kIndicatorWidth + 1 + WidthFrom(colWidths_, 1) <= ClientSize().width() + 1;
}

int TwwDBGrid::LastPossibleLeftCol() const {
  const int room = ClientSize().width() + 1 - (kIndicatorWidth + 1);
  for (int first = 1; first < ColCount(); ++first)
    if (WidthFrom(colWidths_, first) <= room) return first;
  return ColCount() - 1;
}

}  // namespace pellory::ui
