// The picture grid as a screen reader reads it: a table whose rows are the
// catalogue's records, row r the record numbered r + 1, so that the reader
// tells "row 50,001 of 100,000"; whose columns are the grid's data columns
// with their titles as column headers, and whose current cell, the focused
// one, stands in the row of the cursor's record number. The count and the
// numbers come from the cursor, and only the records the grid holds (the
// cursor's window) are read for their cells' texts: the others read empty
// and off screen. On a cursor without record numbers (a filtered one) the
// rows are the records the grid holds. A picture cell is described like the
// main window's sample picture.
#pragma once

#include <QAccessibleWidget>
#include <map>
#include <utility>

namespace pellory::ui {

class TwwDBGrid;

namespace grid {

// Installs the grid's accessible interface; the first call does it.
void InstallGridAccessibility();

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit GridAccessible(TwwDBGrid* grid);
  ~GridAccessible() override;

  // Sends a focus event for the current cell while the grid has the
  // focus, after a table change when `contentsChanged`.
  void AnnounceCurrentCell(bool contentsChanged);

  // What a cell of the table shows; row -1 is the title row.
  QString CellText(int row, int column) const;
  QRect CellScreenRect(int row, int column) const;
  bool IsCurrent(int row, int column) const;
  TwwDBGrid& Grid() const;

  // QAccessibleInterface: the cells are the children, titles first.
  QAccessible::Role role() const override { return QAccessible::Table; }
  QString text(QAccessible::Text t) const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* focusChild() const override;
  void* interface_cast(QAccessible::InterfaceType t) override;

  // QAccessibleTableInterface: the current cell is the one selected cell.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override;
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override { return CellText(-1, column); }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override;
  int rowCount() const override;
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

 private:
  // Where the grid's rows stand among the table's: the table's row count
  // and the table row of the grid's first data row.
  struct Rows {
    int count = 0;
    int firstHeld = 0;
  };
  Rows TableRows() const;
  // The grid's data row (from 0) showing table row `row`, or -1 for a row
  // the grid does not hold.
  int HeldRow(int row) const;
  // The current cell in table coordinates, or (-2, -2) with no records.
  std::pair<int, int> Current() const;
  void ForgetCells();

  // Cells are made on demand and kept, so each keeps its id.
  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

}  // namespace grid
}  // namespace pellory::ui
