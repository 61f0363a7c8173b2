#include "grid_accessible.h"

#include <QScrollBar>
#include <QWindow>
#include <algorithm>
#include <limits>

#include "cell_paint.h"
#include "grid_data_link.h"
#include "grid_settings.h"
#include "pellory/data/field.h"
#include "pellory/data/table.h"
#include "pellory/ui/controls/sample_description.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::ui::grid {

namespace {

// One cell of the table, or one column title (row -1).
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  GridCellAccessible(GridAccessible* table, int row, int column)
      : table_(table), row_(row), column_(column) {}

  bool isValid() const override {
    return table_->isValid() && row_ < table_->rowCount() && column_ < table_->columnCount();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return table_->window(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return table_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? table_->CellText(row_, column_) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return table_->CellScreenRect(row_, column_); }
  QAccessible::Role role() const override {
    return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.readOnly = true;
    if (rect().isEmpty()) state.invisible = state.offscreen = true;
    if (row_ >= 0) {
      state.focusable = state.selectable = true;
      const bool current = table_->IsCurrent(row_, column_);
      state.selected = current;
      state.focused = current && table_->Grid().hasFocus();
    }
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableCellInterface && row_ >= 0)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override { return table_->IsCurrent(row_, column_); }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    return {table_->child(column_)};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return table_; }

 private:
  GridAccessible* table_;  // the table deletes its cells before itself
  int row_;
  int column_;
};

QAccessibleInterface* GridFactory(const QString&, QObject* object) {
  if (auto* grid = qobject_cast<TwwDBGrid*>(object)) return new GridAccessible(grid);
  return nullptr;
}

}  // namespace

void InstallGridAccessibility() {
  static const bool installed = (QAccessible::installFactory(&GridFactory), true);
  (void)installed;
}

GridAccessible::GridAccessible(TwwDBGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible() {
  ForgetCells();
}

TwwDBGrid& GridAccessible::Grid() const {
  return *static_cast<TwwDBGrid*>(widget());
}

QString GridAccessible::text(QAccessible::Text t) const {
  QString text = QAccessibleWidget::text(t);
  // Without a label of its own the grid is named by its window.
  if (t == QAccessible::Name && text.isEmpty()) text = Grid().window()->windowTitle();
  return text;
}

GridAccessible::Rows GridAccessible::TableRows() const {
  const TwwGridDataLink& link = *Grid().link_;
  if (!link.Active()) return {};
  const int held = link.RecordCount();
  auto* table = dynamic_cast<data::TTable*>(link.DataSet());
  const data::RecordBuffer* first = link.DataSet()->WindowBuffer(link.FirstRecord());
  if (!table || !table->IsSequenced() || held == 0 || !first || first->recordNumber < 1)
    return {held, 0};
  // The engine keeps the count; no record is read for it.
  const long count = table->RecordCount();
  const long firstHeld = first->recordNumber - 1;
  if (count < 1 || firstHeld + held > std::numeric_limits<int>::max()) return {held, 0};
  return {int(std::max(count, firstHeld + held)), int(firstHeld)};
}

int GridAccessible::HeldRow(int row) const {
  const Rows rows = TableRows();
  const int held = row - rows.firstHeld;
  return row >= 0 && held >= 0 && held < Grid().link_->RecordCount() ? held : -1;
}

int GridAccessible::rowCount() const {
  return TableRows().count;
}

int GridAccessible::columnCount() const {
  return std::max(0, Grid().ColCount() - 1);
}

std::pair<int, int> GridAccessible::Current() const {
  const Rows rows = TableRows();
  if (rows.count == 0) return {-2, -2};
  return {rows.firstHeld + Grid().Row() - 1, Grid().Col() - 1};
}

bool GridAccessible::IsCurrent(int row, int column) const {
  return Current() == std::make_pair(row, column);
}

QString GridAccessible::CellText(int row, int column) const {
  TwwDBGrid& grid = Grid();
  if (row < 0) {
    if (column + 1 >= int(grid.titleTexts_.size())) return {};
    return grid.titleTexts_[std::size_t(column + 1)].simplified();
  }
  data::TField* field = grid.ColumnField(column + 1);
  const int held = HeldRow(row);
  if (!field || held < 0) return {};
  RowReading reading(*grid.link_, held);
  const ControlType type = LookUpControlType(grid.ControlTypeList(), field->FieldName());
  if (type.kind == "Bitmap") return SampleDescription(field);
  try {
    return QString::fromStdString(field->DisplayText());
  } catch (const std::exception&) {
    return {};  // as the cell shows it: empty
  }
}

QRect GridAccessible::CellScreenRect(int row, int column) const {
  const int held = row < 0 ? -1 : HeldRow(row);
  if (row >= 0 && held < 0) return {};  // a record the grid does not hold
  const int gridRow = held + 1;
  const QWidget* viewport = Grid().viewport();
  const QRect r = Grid().CellRect(column + 1, gridRow).intersected(viewport->rect());
  if (r.isEmpty()) return {};
  return {viewport->mapToGlobal(r.topLeft()), r.size()};
}

int GridAccessible::childCount() const {
  return columnCount() * (rowCount() + 1);
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const {
  if (row < -1 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
  auto found = cells_.find({row, column});
  if (found != cells_.end()) return QAccessible::accessibleInterface(found->second);
  auto* cell = new GridCellAccessible(const_cast<GridAccessible*>(this), row, column);
  cells_[{row, column}] = QAccessible::registerAccessibleInterface(cell);
  return cell;
}

QAccessibleInterface* GridAccessible::child(int index) const {
  const int columns = columnCount();
  if (columns == 0 || index < 0) return nullptr;
  return cellAt(index / columns - 1, index % columns);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
  for (const auto& [place, cellId] : cells_)
    if (cellId == id) return (place.first + 1) * columnCount() + place.second;
  return -1;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const {
  // Only the title row and the rows the grid holds are on screen.
  const Rows rows = TableRows();
  const int held = Grid().link_->Active() ? Grid().link_->RecordCount() : 0;
  for (int row = -1; row < held; ++row) {
    const int tableRow = row < 0 ? -1 : rows.firstHeld + row;
    for (int column = 0; column < columnCount(); ++column)
      if (CellScreenRect(tableRow, column).contains(x, y)) return cellAt(tableRow, column);
  }
  return nullptr;
}

QAccessibleInterface* GridAccessible::focusChild() const {
  if (!Grid().hasFocus()) return nullptr;
  const auto [row, column] = Current();
  return cellAt(row, column);
}

int GridAccessible::selectedCellCount() const {
  return rowCount() > 0 ? 1 : 0;
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const {
  const auto [row, column] = Current();
  if (QAccessibleInterface* cell = cellAt(row, column)) return {cell};
  return {};
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType t) {
  if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(t);
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
  ForgetCells();
}

void GridAccessible::ForgetCells() {
  for (const auto& [place, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  cells_.clear();
}

void GridAccessible::AnnounceCurrentCell(bool contentsChanged) {
  TwwDBGrid& grid = Grid();
  if (contentsChanged) {
    QAccessibleTableModelChangeEvent change(&grid, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&change);
  }
  const auto [row, column] = Current();
  if (!grid.hasFocus() || row < 0) return;
  QAccessibleEvent focus(&grid, QAccessible::Focus);
  focus.setChild((row + 1) * columnCount() + column);
  QAccessible::updateAccessibility(&focus);
}

}  // namespace pellory::ui::grid

namespace pellory::ui {

void TwwDBGrid::AnnounceCurrentCell(bool contentsChanged) {
  if (!QAccessible::isActive()) return;
  auto* table = dynamic_cast<grid::GridAccessible*>(QAccessible::queryAccessibleInterface(this));
  if (table) table->AnnounceCurrentCell(contentsChanged);
}

}  // namespace pellory::ui
