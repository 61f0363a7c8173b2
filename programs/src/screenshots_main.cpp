// pellory-screenshots OUTDIR: renders the program's windows to PNG files so
// that anyone can look at what it shows. The main window is opened on the
// catalogue the engine configuration names and shown at start, after
// "Handwriting", after Last and after a category without records; then
// each drop-down menu; then the installed fonts window as opened and after
// each font type; then the grid window; then the dialog a second copy of
// the program shows; then the About box and the password dialog. Error
// boxes are printed instead of shown.
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTextStream>

#include "fonts_window_shots.h"
#include "grid_screenshots.h"
#include "pellory/data/password_dialog.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "pellory/programs/windows.h"
#include "pellory/shell/error_presenter.h"
#include "pellory/shell/guarded_qapplication.h"
#include "pellory/shell/message_dialog.h"
#include "pellory/shell/password_prompt.h"
#include "pellory/shell/screen_scaling.h"
#include "pellory/shell/tapplication.h"
#include "pellory/shell/tglrunonce.h"
#include "pellory/ui/about/tabout_box.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"

namespace {

using pellory::ui::TForm2;

class PrintingPresenter : public pellory::shell::ErrorPresenter {
 public:
  void Present(const pellory::shell::ErrorBox& box) override {
    QTextStream(stderr) << "pellory-screenshots: error box \"" << box.caption << "\": " << box.text
                        << "\n";
  }
};

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

bool Save(QWidget* window, const QDir& dir, const QString& name) {
  window->show();
  Settle();
  const QString path = dir.filePath(name);
  const QPixmap shot = window->grab();
  if (!shot.save(path)) {
    QTextStream(stderr) << "pellory-screenshots: cannot write " << path << "\n";
    return false;
  }
  QTextStream(stdout) << path << " " << shot.width() << "x" << shot.height() << "\n";
  return true;
}

// Saves the main window after `step`, naming what it shows.
bool SaveAfter(TForm2* main, const QDir& dir, const QString& name,
               const std::function<void()>& step) {
  step();
  Settle();
  QTextStream(stdout) << name << ": \"" << main->DBEdit1()->text() << "\", status \""
                      << main->Label(5)->Caption() << "\"\n";
  return Save(main, dir, name);
}

// A mouse click also gives the button the focus, which draws it as the
// window's default button.
void ClickButton(pellory::ui::TButton* button) {
  button->setFocus(Qt::MouseFocusReason);
  button->click();
}

void ClickNavigator(TForm2* main, pellory::ui::TNavigateBtn kind) {
  main->DBNavigator1()->Button(kind)->click();
}

// The first category button that leaves the cursor without a record, or
// null when every category has one.
pellory::ui::TButton* EmptyCategory(TForm2* main) {
  for (int number : {1, 2, 3, 4, 5, 6, 7, 9}) {
    ClickButton(main->Button(number));
    Settle();
    if (main->Table1().Active() && main->Table1().IsEmpty()) return main->Button(number);
  }
  return nullptr;
}

bool SaveBrowsing(TForm2* main, const QDir& dir) {
  using pellory::ui::TNavigateBtn;
  bool ok = SaveAfter(main, dir, QStringLiteral("main-window.png"), [] {});
  if (!main->Table1().Active()) return ok;
  ok = SaveAfter(main, dir, QStringLiteral("main-window-handwriting.png"),
                 [main] { ClickButton(main->Button(3)); }) &&
       ok;
  ok = SaveAfter(main, dir, QStringLiteral("main-window-last.png"),
                 [main] {
                   ClickButton(main->Button(10));
                   ClickNavigator(main, TNavigateBtn::nbLast);
                 }) &&
       ok;
  if (pellory::ui::TButton* empty = EmptyCategory(main))
    ok = SaveAfter(main, dir, QStringLiteral("main-window-empty-category.png"),
                   [empty] { ClickButton(empty); }) &&
         ok;
  else
    QTextStream(stdout) << "every category has a record: no empty-category picture\n";
  main->Button(10)->click();
  return ok;
}

bool SaveMenus(TForm2* main, const QDir& dir) {
  bool ok = true;
  for (QAction* entry : main->menuBar()->actions()) {
    QMenu* menu = entry->menu();
    if (!menu) continue;
    menu->popup(main->mapToGlobal(main->menuBar()->actionGeometry(entry).bottomLeft()));
    const QString name = entry->text().remove(QLatin1Char('&')).toLower();
    ok = Save(menu, dir, QStringLiteral("main-window-menu-%1.png").arg(name)) && ok;
    menu->hide();
  }
  return ok;
}

// The dialog a second copy of the program shows, and the numbers of its
// layout.
bool SaveAlreadyRunning(TForm2* main, const QDir& dir) {
  using namespace pellory::shell;
  const auto* guard = main->Component<TGLRunOnce>(QStringLiteral("GLRunOnce1"));
  if (!guard) return false;
  MessageDialog dialog(guard->ErrorMessage(), MessageKind::Error);
  const MessageDialogLayout& l = dialog.Layout();
  QTextStream(stdout) << "already-running-dialog.png: cx " << l.cx << ", cy " << l.cy
                      << ", margins " << l.horizontalMargin << " and " << l.verticalMargin
                      << ", spacing " << l.horizontalSpacing << " and " << l.verticalSpacing
                      << ", button " << l.buttonWidth << "x" << l.buttonHeight << ", text "
                      << l.text.width() << "x" << l.text.height() << ", client " << l.client.width()
                      << "x" << l.client.height() << "\n";
  return Save(&dialog, dir, QStringLiteral("already-running-dialog.png"));
}

// The About box as Help, "&About" shows it, and the password dialog with
// a password typed into its box.
bool SaveDialogs(pellory::shell::TApplication& application, const QDir& dir) {
  bool ok =
      Save(application.CreateForm<pellory::ui::TAboutBox>(), dir, QStringLiteral("about-box.png"));
  pellory::data::TPasswordDialog password(pellory::data::Session);
  pellory::shell::PasswordPrompt::Dress(password);
  password.show();  // Typed after the box has the focus, as a user would.
  Settle();
  password.Edit()->insert(QStringLiteral("secret"));
  return Save(&password, dir, QStringLiteral("password-dialog.png")) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  pellory::shell::PrepareScreenScaling();
  pellory::shell::GuardedQApplication qtApplication(argc, argv);
  if (argc != 2) {
    QTextStream(stderr) << "usage: pellory-screenshots OUTDIR\n";
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(dir.path())) {
    QTextStream(stderr) << "pellory-screenshots: cannot create " << dir.path() << "\n";
    return 1;
  }
  bool ok = true;
  {
    pellory::shell::TApplication application;
    application.SetErrorPresenter(std::make_unique<PrintingPresenter>());
    application.SetTitle(QStringLiteral("Pellory Fonts"));
    pellory::app::RegisterWindows();
    auto* main = application.CreateForm<TForm2>();
    ok = SaveBrowsing(main, dir);
    ok = SaveMenus(main, dir) && ok;
    ok = pellory::app::SaveFontsWindow(
             [&dir](QWidget* window, const QString& name) { return Save(window, dir, name); }) &&
         ok;
    ok = pellory::app::SaveGridWindow(
             [&dir](QWidget* window, const QString& name) { return Save(window, dir, name); }) &&
         ok;
    ok = SaveAlreadyRunning(main, dir) && ok;
    ok = SaveDialogs(application, dir) && ok;
    application.Shutdown();
  }
  pellory::data::Session.Stop();
  return ok ? 0 : 1;
}
