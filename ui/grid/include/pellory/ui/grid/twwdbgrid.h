// The picture grid: a cursor shown as a table, one data row per record of
// a window of consecutive records, one column per visible field. A field
// whose control type is "Bitmap" shows its stored picture in its cells,
// every other field its text. The title row and the indicator column (an
// arrow at the current record) stay put; the grid keeps its current row on
// the cursor's current record.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "pellory/data/types.h"
#include "pellory/shell/described_control.h"
#include "pellory/shell/stored_font.h"

namespace pellory::data {
class TDataLink;
class TDataSource;
class TDataSet;
class TField;
}  // namespace pellory::data

namespace pellory::ui {

class TwwGridDataLink;
class TwwInplaceEdit;
namespace grid {
struct CellPaint;
class ColumnDrag;
class GridAccessible;
}  // namespace grid

enum TIndicatorColor { icBlack, icYellow };

// One data column of the current layout.
struct TwwColumn {
  QString fieldName;
  QString footerValue;
};

class TwwDBGrid : public QAbstractScrollArea, public shell::DescribedControl {
  Q_OBJECT
 public:
  static constexpr int kIndicatorWidth = 11;
  // The sunken client edge around the cells and scroll bars.
  static constexpr int kEdge = 2;
  // The scroll bars' width, as the desktop's standard ones at 96 dpi.
  static constexpr int kScrollBarExtent = 16;

  explicit TwwDBGrid(const shell::CreationContext& context);
  ~TwwDBGrid() override;

  // Stored settings.
  QStringList Selected() const { return selected_; }
  void SetSelected(const QStringList& entries);
  QStringList ControlType() const { return controlType_; }
  void SetControlType(const QStringList& entries);
  bool ControlInfoInDataset() const { return controlInfoInDataset_; }
  void SetControlInfoInDataset(bool on);
  int RowHeightPercent() const { return rowHeightPercent_; }
  // Below 1 stores 100.
  void SetRowHeightPercent(int percent);
  int TitleLines() const { return titleLines_; }
  // Below 1 is ignored.
  void SetTitleLines(int lines);
  data::TAlignment TitleAlignment() const { return titleAlignment_; }
  void SetTitleAlignment(data::TAlignment alignment);
  QColor TitleColor() const { return titleColor_; }
  void SetTitleColor(const QColor& color);
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);
  const shell::StoredFont& TitleFont() const { return titleFont_; }
  void SetTitleFont(const shell::StoredFont& font);
  TIndicatorColor IndicatorColor() const { return indicatorColor_; }
  void SetIndicatorColor(TIndicatorColor color);
  bool ShowHorzScrollBar() const { return showHorzScrollBar_; }
  void SetShowHorzScrollBar(bool on);
  bool ShowVertScrollBar() const { return showVertScrollBar_; }
  void SetShowVertScrollBar(bool on);

  // The data source by name, bound once the window has been read.
  QString DataSourceName() const { return dataSourceName_; }
  data::TDataSource* DataSource() const;
  void SetDataSource(data::TDataSource* source);
  const data::TDataLink& DataLink() const;

  // Selected, ControlType, ControlInfoInDataset, UseTFields, DataSource,
  // RowHeightPercent, TitleLines, TitleAlignment, TitleColor, TitleFont.*,
  // Color, IndicatorColor, ShowHorzScrollBar, ShowVertScrollBar, FixedCols,
  // TitleButtons and the common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  void NotifyLoaded() override;
  // On a screen of another resolution the title font scales with the rest.
  void ChangeScale(int m, int d) override;

  // The layout: rows and columns counted with the title row and the
  // indicator column (row 0, column 0).
  int RowCount() const { return rowCount_; }
  int ColCount() const { return int(colWidths_.size()); }
  int TitleRowHeight() const { return titleHeight_; }
  int DataRowHeight() const { return rowHeight_; }
  int ColWidth(int col) const { return colWidths_.at(std::size_t(col)); }
  // Data rows that fit completely in the client area.
  int VisibleDataRows() const { return fitRows_; }
  int Col() const { return col_; }
  int Row() const { return row_; }
  int LeftCol() const { return leftCol_; }
  const std::vector<TwwColumn>& Columns() const { return columns_; }
  // The field of a data column, or null.
  data::TField* ColumnField(int col) const;
  // A cell's place in the client area (the viewport); empty when the cell
  // is scrolled out of view or does not exist.
  QRect CellRect(int col, int row) const;
  // The pixel width of the digit "0" in the grid's font.
  int DigitWidth() const;

  // Computes rows, columns and widths again and repaints.
  void LayoutChanged();

  // The in-place editor over the current text cell, or null while closed.
  TwwInplaceEdit* InplaceEditor() const;
  // Double clicks; not assigned in this program.
  std::function<void(TwwDBGrid&)> OnDblClick;
  // The accumulated wheel rotation not yet turned into record steps.
  int WheelRemainder() const { return wheelRemainder_; }
  // How far below the grid's top a dragged title follows the pointer.
  static constexpr int DragVertOffset = 15;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void FontChanged() override;
  // Input (grid_keys.cpp, grid_mouse.cpp).
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TwwGridDataLink;
  friend class TwwInplaceEdit;
  friend class grid::ColumnDrag;
  friend class grid::GridAccessible;

  // Tells a screen reader where the current cell is (grid_accessible.cpp).
  void AnnounceCurrentCell(bool contentsChanged);
  void ChangeTitleFont(const std::function<void(shell::StoredFont&)>& change);

  // Reactions to the data link.
  void LinkActiveChanged();
  void LinkDataChanged();
  void LinkScrolled(int distance);
  void ApplySettings();

  // Layout (grid_layout.cpp).
  void MeasureFonts();
  void ComputeRowHeights();
  void RebuildColumns();
  void SetColumnWidths();
  int TitleWidth(const data::TField& field) const;
  void RecountRows();
  int FittingRows(int clientHeight) const;
  void UpdateCurrentRow();
  QSize ClientSize() const;
  int ColumnX(int col) const;
  int RowY(int row) const;
  int RowHeight(int row) const { return row == 0 ? titleHeight_ : rowHeight_; }
  int LastPossibleLeftCol() const;
  bool AllColumnsFit() const;
  void UpdateVerticalBar();
  void UpdateHorizontalBar();
  QRect RowBand(int row) const;

  // Scrolling (grid_scroll.cpp).
  void ConnectScrollBars();
  void VerticalAction(int action);
  void VerticalThumbReleased();
  void HorizontalAction(int action);
  void HorizontalThumbReleased();
  void SetLeftCol(int col);
  void SetCurrentColumn(int col);
  void MakeColumnVisible(int col);
  int ColumnsInFullView() const;
  int ColumnsFittingLeftOf(int col) const;
  data::TDataSet* ActiveCursor() const;
  // The keyboard focus first; false when the grid cannot take it.
  bool TakeFocus();
  // Whether the grid has the keyboard focus, also while a menu of its
  // window is open.
  bool HasKeyboardFocus() const;

  // Keys and the in-place editor (grid_keys.cpp).
  bool HandleKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);
  void TabTo(bool forward);
  int NextTabStop(int from, int step) const;
  bool IsTextCell(int col) const;
  void ShowEditor();
  void HideEditor();
  void ToggleEditor();

  // Mouse (grid_mouse.cpp).
  struct Hit {
    int col = -1;  // -1: right of the last column
    int row = -1;  // -1: below the last row
  };
  Hit HitAt(QPoint p) const;
  int BorderAt(QPoint p) const;
  void PressCell(const Hit& hit);
  void ResizeColumn(int col, int width);
  void MoveColumn(int from, int to);
  int DropColumnAt(int x) const;

  // Painting (grid_paint.cpp).
  void PaintGridLines(QPainter& p, const QRect& exposed) const;
  void PaintCell(grid::CellPaint&& cell, int col, int row,
                 const std::vector<std::string>& controlTypes);
  void PaintTitleCell(grid::CellPaint& cell, int col);
  void PaintIndicatorCell(grid::CellPaint& cell, int row);
  void PaintTextCell(grid::CellPaint& cell, data::TField* field, int row);
  void PaintPictureCell(grid::CellPaint& cell, data::TField& field, int row,
                        const std::string& params);
  void PaintCheckBoxCell(grid::CellPaint& cell, data::TField& field, int row,
                         const std::string& params);
  void PaintBevel(grid::CellPaint& cell) const;
  bool IsActiveControl() const;
  std::vector<std::string> ControlTypeList() const;

  std::unique_ptr<TwwGridDataLink> link_;
  QString dataSourceName_;
  QStringList selected_;
  QStringList controlType_;
  bool controlInfoInDataset_ = true;
  int rowHeightPercent_ = 100;
  int titleLines_ = 1;
  data::TAlignment titleAlignment_ = data::taLeftJustify;
  QColor titleColor_;
  QColor color_;
  shell::StoredFont titleFont_;
  // Measured once per font change: painting needs them for every cell.
  QFont titleQFont_;
  int textHeight_ = 16;
  int titleTextHeight_ = 16;
  TIndicatorColor indicatorColor_ = icBlack;
  bool showHorzScrollBar_ = true;
  bool showVertScrollBar_ = true;

  std::vector<data::TField*> fields_;
  std::vector<TwwColumn> columns_;
  std::vector<int> colWidths_{kIndicatorWidth, 64};
  std::vector<bool> tabStops_{false, true};
  std::vector<QString> titleTexts_{{}, {}};  // each column's title as its cell shows it
  int titleHeight_ = 20;
  int rowHeight_ = 20;
  int rowCount_ = 2;
  int fitRows_ = 1;
  int col_ = 1;
  int row_ = 1;
  int leftCol_ = 1;
  bool hasWindow_ = false;
  int layingOut_ = 0;
  int wheelRemainder_ = 0;
  bool focusLentToMenu_ = false;
  QPointer<TwwInplaceEdit> editor_;
  std::unique_ptr<grid::ColumnDrag> drag_;
  // Where a dragged border is drawn while the button is held, or -1.
  int borderLineX_ = -1;
};

}  // namespace pellory::ui
