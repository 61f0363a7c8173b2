#include "fonts_window_shots.h"

#include <QCoreApplication>
#include <QRadioButton>
#include <QTextStream>

#include "pellory/shell/tapplication.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"

namespace pellory::app {

namespace {

// Says what the picture shows: the choice, the count and the first names.
void Describe(ui::TForm1* form, const QString& name) {
  ui::TGLFontListBox* list = form->GLFontListBox1();
  QStringList first;
  for (int row = 0; row < std::min(list->Count(), 4); ++row) first.append(list->Item(row));
  QTextStream(stdout) << name << ": " << list->Count() << " listed, count label \""
                      << form->Label1()->Caption() << "\", first: " << first.join(u", ") << "\n";
}

}  // namespace

bool SaveFontsWindow(const std::function<bool(QWidget*, const QString&)>& save) {
  shell::TApplication* app = shell::TApplication::Instance();
  ui::TForm1* form = nullptr;
  try {
    form = app->CreateForm<ui::TForm1>();
  } catch (const std::exception& error) {
    app->ShowException(error);
    return false;
  }
  form->show();
  bool ok = true;
  const struct {
    int choice;  // -1: as opened
    const char* file;
  } pictures[] = {
      {-1, "fonts-window.png"},
      {1, "fonts-window-printer.png"},
      {2, "fonts-window-both.png"},
      {0, "fonts-window-screen.png"},
  };
  for (const auto& picture : pictures) {
    if (picture.choice >= 0) form->RadioGroup1()->Button(picture.choice)->click();
    QCoreApplication::processEvents();
    Describe(form, QLatin1String(picture.file));
    ok = save(form, QLatin1String(picture.file)) && ok;
  }
  form->close();
  return ok;
}

}  // namespace pellory::app
