#include "grid_screenshots.h"

#include <QCoreApplication>
#include <QTextStream>

#include "pellory/data/field.h"
#include "pellory/data/table.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/tform3.h"
#include "pellory/ui/grid/twwdbgrid.h"

namespace {

using pellory::ui::TForm3;

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Saves the window after `step`, naming the current font and the layout.
bool SaveAfter(TForm3* form, const QDir& dir, const QString& name,
               const std::function<void()>& step) {
  step();
  Settle();
  const pellory::ui::TwwDBGrid* grid = form->wwDBGrid1();
  const pellory::data::TwwTable* table = form->wwTable1();
  QString current;
  if (table->Active() && !table->IsEmpty())
    current = QString::fromStdString(table->FieldByName("Font Name").AsString());
  QTextStream(stdout) << name << ": current \"" << current << "\", rows " << grid->RowCount() - 1
                      << ", columns " << grid->ColWidth(1) << "+"
                      << (grid->ColCount() > 2 ? grid->ColWidth(2) : 0) << " px, focus "
                      << (grid->hasFocus() ? "on" : "off") << "\n";
  const QString path = dir.filePath(name);
  if (!form->grab().save(path)) {
    QTextStream(stderr) << "pellory-screenshots: cannot write " << path << "\n";
    return false;
  }
  QTextStream(stdout) << path << "\n";
  return true;
}

}  // namespace

bool SaveGridScenes(pellory::shell::TApplication& application, const QDir& dir) {
  auto* form = application.CreateForm<TForm3>();
  form->show();
  form->activateWindow();
  Settle();
  bool ok = SaveAfter(form, dir, QStringLiteral("grid-window.png"), [] {});
  pellory::data::TwwTable* table = form->wwTable1();
  if (table->Active()) {
    ok = SaveAfter(form, dir, QStringLiteral("grid-window-page-down.png"),
                   [&] { table->MoveBy(form->wwDBGrid1()->VisibleDataRows()); }) &&
         ok;
    // The picture column narrowed to 20 digits: most samples are wider.
    ok = SaveAfter(form, dir, QStringLiteral("grid-window-wide-picture.png"),
                   [&] {
                     table->First();
                     table->FieldByName("Sample3").SetDisplayWidth(20);
                   }) &&
         ok;
  }
  delete form;
  return ok;
}
