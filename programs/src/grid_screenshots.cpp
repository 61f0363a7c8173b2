#include "grid_screenshots.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTextStream>

#include "pellory/data/field.h"
#include "pellory/data/table.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/tform3.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace pellory::app {

namespace {

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Says what the picture shows: the current font, the rows and the widths.
void Describe(ui::TForm3* form, const QString& name) {
  const ui::TwwDBGrid* grid = form->wwDBGrid1();
  const data::TwwTable* table = form->wwTable1();
  QString current;
  if (table->Active() && !table->IsEmpty())
    current = QString::fromStdString(table->FieldByName("Font Name").AsString());
  QTextStream(stdout) << name << ": current \"" << current << "\", " << grid->RowCount() - 1
                      << " rows, columns " << grid->ColWidth(1) << " and "
                      << (grid->ColCount() > 2 ? grid->ColWidth(2) : 0) << " px, focus "
                      << (grid->hasFocus() ? "on" : "off") << "\n";
}

// The left button pressed at `from`, carried to `to` in steps and
// released there, as the pointer does it.
void DragWithMouse(QWidget* area, QPoint from, QPoint to) {
  const auto send = [area](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, area->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(area, &event);
    Settle();
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton);
  const int steps = 10;
  for (int i = 1; i <= steps; ++i)
    send(QEvent::MouseMove, from + (to - from) * i / steps, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

}  // namespace

bool SaveGridWindow(const std::function<bool(QWidget*, const QString&)>& save) {
  shell::TApplication* app = shell::TApplication::Instance();
  ui::TForm3* form = nullptr;
  try {
    form = app->CreateForm<ui::TForm3>();
  } catch (const std::exception& error) {
    app->ShowException(error);
    return false;
  }
  form->show();
  form->activateWindow();
  Settle();
  data::TwwTable* table = form->wwTable1();
  const struct {
    const char* name;
    std::function<void()> step;
  } scenes[] = {
      {"grid-window.png", [] {}},
      {"grid-window-page-down.png", [&] { table->MoveBy(form->wwDBGrid1()->VisibleDataRows()); }},
      // The border after the names dragged 70 pixels to the right: the
      // column snaps to whole digits.
      {"grid-window-border-dragged.png",
       [&] {
         ui::TwwDBGrid* grid = form->wwDBGrid1();
         const QPoint border(grid->CellRect(1, 0).right() + 1, 10);
         DragWithMouse(grid->viewport(), border, border + QPoint(70, 0));
       }},
      // The "Sample" title carried onto "Font Name": pictures first.
      {"grid-window-column-moved.png",
       [&] {
         ui::TwwDBGrid* grid = form->wwDBGrid1();
         DragWithMouse(grid->viewport(), grid->CellRect(2, 0).topLeft() + QPoint(30, 10),
                       grid->CellRect(1, 0).topLeft() + QPoint(20, 10));
       }},
      // The picture column narrowed to 20 digits: most samples are wider.
      {"grid-window-wide-picture.png",
       [&] {
         table->First();
         table->FieldByName("Sample3").SetDisplayWidth(20);
       }},
  };
  bool ok = true;
  for (const auto& scene : scenes) {
    if (!table->Active() && std::string(scene.name) != "grid-window.png") break;
    scene.step();
    Settle();
    Describe(form, QLatin1String(scene.name));
    ok = save(form, QLatin1String(scene.name)) && ok;
  }
  delete form;
  return ok;
}

}  // namespace pellory::app
