// The program on a catalogue with another password, and Help, "&About".
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "gui_helpers.h"
#include "modal_answerer.h"
#include "pellory/data/password_dialog.h"
#include "pellory/data/table.h"
#include "pellory/programs/startup.h"
#include "pellory/ui/about/tabout_box.h"
#include "pellory/ui/about/tbitbtn.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/resource_bitmap.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tform2.h"
#include "program_run.h"
#include "shell_test_support.h"
#include "test_catalogue.h"

namespace {

using namespace pellory;
using Answerer = guitest::ModalAnswerer<data::TPasswordDialog>;
using Boxes = std::shared_ptr<std::vector<shell::ErrorBox>>;
using programtest::RunProgramAnd;
using programtest::Visible;

Answerer::Answer TypeAndEnter(const char* password) {
  return [password](data::TPasswordDialog& d) {
    guitest::type(d.Edit(), QLatin1String(password));
    guitest::key(d.Edit(), Qt::Key_Return);
  };
}

TEST(ProgramPassword, ACatalogueWithAnotherPasswordAsksForIt) {
  const struct {
    const char* name;
    std::vector<Answerer::Answer> answers;
    int shown;
    bool opens;
  } cases[] = {
      {"typed and Enter", {TypeAndEnter("corvina")}, 1, true},
      {"wrong, then right", {TypeAndEnter("wrong"), TypeAndEnter("corvina")}, 2, true},
      {"Cancel", {[](data::TPasswordDialog& d) { guitest::click(d.CancelButton()); }}, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const cataloguetest::TestCatalogue catalogue(cataloguetest::Numbered(3), true, "corvina");
    Answerer answerer(c.answers);
    auto boxes = std::make_shared<std::vector<shell::ErrorBox>>();
    QString shown;
    bool open = false, otherOpen = false;
    const int code = RunProgramAnd(
        [&](ui::TForm2* main) {
          shown = main->DBEdit1()->text();
          open = main->Table1().Active();
          otherOpen = main->wwTable1().Active();
          main->close();
        },
        boxes);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(answerer.Shown(), c.shown);
    EXPECT_EQ(open, c.opens);
    EXPECT_EQ(otherOpen, c.opens) << "the steps after a failed open do not run";
    if (c.opens) {
      EXPECT_EQ(shown, QStringLiteral("Font 1"));
      EXPECT_TRUE(boxes->empty());
    } else {
      EXPECT_TRUE(shown.isEmpty());
      ASSERT_EQ(boxes->size(), 1u);
      EXPECT_TRUE(boxes->front().text.startsWith(
          QStringLiteral("The table is encrypted and no password given matches.")))
          << boxes->front().text.toStdString();
    }
  }
}

TEST(ProgramAbout, HelpAboutRunsTheAboutBoxModallyAndReleasesIt) {
  const cataloguetest::TestCatalogue catalogue(cataloguetest::Numbered(2));
  auto boxes = std::make_shared<std::vector<shell::ErrorBox>>();
  bool mainDisabled = false, focusOnOk = false;
  QString caption;
  QPointer<ui::TAboutBox> box;
  EXPECT_EQ(RunProgramAnd(
                [&](ui::TForm2* main) {
                  QTimer::singleShot(0, [&] {
                    ASSERT_TRUE(guitest::pumpUntil([] { return Visible<ui::TAboutBox>(); }));
                    box = Visible<ui::TAboutBox>();
                    mainDisabled = !main->isEnabled();
                    caption = box->windowTitle();
                    focusOnOk = box->focusWidget() == box->OKButton();
                    guitest::key(box->focusWidget(), Qt::Key_Return);
                  });
                  main->MenuItem(QStringLiteral("About1"))->Action()->trigger();
                  EXPECT_TRUE(main->isEnabled()) << "enabled again after the run";
                  EXPECT_TRUE(guitest::pumpUntil([&] { return box.isNull(); })) << "released";
                  main->close();
                },
                boxes),
            0);
  EXPECT_EQ(caption, QStringLiteral("About Pellory Fonts"));
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(focusOnOk);
  EXPECT_TRUE(boxes->empty());
  // Every window shows the program's icon.
  const QImage icon = QApplication::windowIcon().pixmap(32, 32).toImage();
  EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32), ui::ProgramIcon());
}

}  // namespace
