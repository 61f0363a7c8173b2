// The main window as constructed: layout, fonts, menu, tab order, resizing
// and what its controls show before the catalogue is opened.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include "gui_helpers.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"
#include "pellory/shell/window_factories.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/menu_command.h"
#include "pellory/ui/controls/tbevel.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"
#include "shell_test_support.h"
#include "unopened_form.h"

namespace {

using namespace pellory::ui;
using pellory::shell::ColorOf;
using pellory::shell::DescribedControl;
using pellory::shell::SystemColor;

using maintest::UnopenedForm;

class MainWindow : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    form = app->CreateForm<UnopenedForm>();
    form->show();
    guitest::pump();
  }
  QWidget* Control(const char* name) const {
    auto* c = form->FindComponent(QLatin1String(name));
    return c ? static_cast<QWidget*>(c->Object()) : nullptr;
  }
  TForm2* form = nullptr;
};

struct Place {
  const char* name;
  int left, top, width, height;
};

TEST_F(MainWindow, ControlsAtTheirStoredPlaces) {
  const Place places[] = {
      {"Bevel1", 8, 8, 473, 393},      {"DBNavigator1", 16, 16, 224, 33},
      {"DBEdit1", 104, 64, 233, 24},   {"DBImage1", 104, 160, 360, 128},
      {"DBMemo1", 104, 304, 361, 89},  {"DBEdit2", 104, 104, 161, 24},
      {"Button1", 496, 32, 161, 33},   {"Button2", 496, 72, 161, 33},
      {"Button3", 496, 112, 161, 33},  {"Button5", 496, 152, 161, 33},
      {"Button4", 496, 192, 161, 33},  {"Button6", 496, 232, 161, 33},
      {"Button7", 496, 272, 161, 33},  {"Button9", 496, 312, 161, 33},
      {"Button10", 496, 360, 161, 41},
  };
  for (const Place& p : places) {
    QWidget* w = Control(p.name);
    ASSERT_NE(w, nullptr) << p.name;
    EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
    EXPECT_TRUE(w->isVisible()) << p.name;
  }
  EXPECT_EQ(Control("Button8"), nullptr);
}

TEST_F(MainWindow, LabelsAtTheirPlacesSizedToTheirText) {
  // The installed stand-in fonts differ from the stored ones by a few
  // pixels of advance width; left, top and height are exact.
  const struct {
    Place place;
    const char* text;
  } labels[] = {
      {{"Label1", 16, 64, 72, 16}, "Font name:"},
      {{"Label2", 16, 304, 78, 16}, "Description:"},
      {{"Label3", 16, 160, 53, 16}, "Sample:"},
      {{"Label4", 8, 408, 110, 16}, "Present display: "},
      {{"Label5", 136, 408, 35, 15}, "Label5"},
      {{"Label6", 16, 104, 68, 16}, "File name:"},
      {{"Label7", 496, 8, 106, 16}, "Select Category:"},
  };
  for (const auto& [p, text] : labels) {
    auto* label = dynamic_cast<CaptionLabel*>(Control(p.name));
    ASSERT_NE(label, nullptr) << p.name;
    EXPECT_EQ(label->Caption(), QLatin1String(text)) << p.name;
    EXPECT_EQ(label->pos(), QPoint(p.left, p.top)) << p.name;
    EXPECT_EQ(label->height(), p.height) << p.name;
    EXPECT_NEAR(label->width(), p.width, 3) << p.name;
  }
  // AutoSize keeps the left edge when the text changes.
  form->Label(5)->SetCaption(QStringLiteral("Capital Sans Serif"));
  EXPECT_EQ(form->Label(5)->x(), 136);
  EXPECT_EQ(
      form->Label(5)->width(),
      QFontMetrics(form->Label(5)->font()).horizontalAdvance(QStringLiteral("Capital Sans Serif")));
  EXPECT_GT(form->Label(5)->width(), 35);
}

TEST_F(MainWindow, WindowCaptionSizeAndClientPlacement) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Font search"));
  EXPECT_EQ(form->frameGeometry().size(), QSize(680, 486));
  // Client coordinates start right below the menu bar.
  EXPECT_EQ(form->Client()->mapTo(form, QPoint(0, 0)), QPoint(0, form->menuBar()->height()));
  EXPECT_EQ(form->Font().name, QStringLiteral("System"));
  EXPECT_EQ(form->Font().height, -13);
}

TEST_F(MainWindow, CategoryButtonFontsAndHelpIds) {
  const struct {
    const char* name;
    const char* caption;
    const char* family;
    int pixels;
    bool italic;
    int help;
    int tab;
  } buttons[] = {
      {"Button1", "CAPITAL SERIF", "Liberation Serif", 12, false, 1000, 4},
      {"Button2", "CAPITAL SANS SERIF", "Liberation Sans", 12, false, 1000, 5},
      {"Button3", "Handwriting", "DejaVu Sans", 13, false, 1000, 6},
      {"Button4", "Italic Serif", "Liberation Serif", 12, true, 1000, 7},
      {"Button5", "Italic Sans Serif", "Liberation Sans", 12, true, 1000, 8},
      {"Button6", "Normal Serif", "Liberation Serif", 12, false, 1000, 9},
      {"Button7", "Normal Sans Serif", "Liberation Sans", 12, false, 1000, 10},
      {"Button9", "Wingdings", "DejaVu Sans", 13, false, 1000, 11},
      {"Button10", "All fonts", "DejaVu Sans", 13, false, 1100, 12},
  };
  for (const auto& b : buttons) {
    auto* button = dynamic_cast<TButton*>(Control(b.name));
    ASSERT_NE(button, nullptr) << b.name;
    EXPECT_EQ(button->Caption(), QLatin1String(b.caption)) << b.name;
    EXPECT_EQ(QFontInfo(button->font()).family(), QLatin1String(b.family)) << b.name;
    EXPECT_EQ(button->font().pixelSize(), b.pixels) << b.name;
    EXPECT_EQ(button->font().italic(), b.italic) << b.name;
    EXPECT_EQ(button->HelpContext(), b.help) << b.name;
    EXPECT_EQ(button->TabOrder(), b.tab) << b.name;
  }
}

TEST_F(MainWindow, TabOrderSkipsTheNavigator) {
  const QStringList expected = {"DBEdit1", "DBImage1", "DBMemo1", "Button1", "Button2",
                                "Button3", "Button4",  "Button5", "Button6", "Button7",
                                "Button9", "Button10", "DBEdit2", "DBEdit1"};
  QStringList chain{QStringLiteral("DBEdit1")};
  QWidget* w = form->DBEdit1();
  while (chain.size() < expected.size()) {
    w = w->nextInFocusChain();
    if (w == form->DBEdit1() ||
        (form->FindComponent(w->objectName()) && (w->focusPolicy() & Qt::TabFocus)))
      chain << w->objectName();
  }
  EXPECT_EQ(chain, expected);
  EXPECT_EQ(form->DBNavigator1()->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(form->DBNavigator1()->HelpContext(), 1200);
}

TEST_F(MainWindow, ConstructionState) {
  EXPECT_TRUE(form->DBEdit1()->text().isEmpty());
  EXPECT_TRUE(form->DBEdit2()->text().isEmpty());
  EXPECT_TRUE(form->DBEdit1()->isReadOnly());
  EXPECT_TRUE(form->DBMemo1()->toPlainText().isEmpty());
  EXPECT_TRUE(form->DBMemo1()->isReadOnly());
  EXPECT_FALSE(form->DBImage1()->PictureLoaded());
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("Label5"));
  EXPECT_EQ(form->DBEdit1()->DataField(), QStringLiteral("Font Name"));
  EXPECT_EQ(form->DBEdit2()->DataField(), QStringLiteral("Filename"));
  EXPECT_EQ(form->DBImage1()->DataField(), QStringLiteral("Sample3"));
  EXPECT_EQ(form->DBMemo1()->DataField(), QStringLiteral("Description"));
}

TEST_F(MainWindow, NavigatorButtonsLaidOutAndDisabled) {
  TDBNavigator* nav = form->DBNavigator1();
  const struct {
    TNavigateBtn kind;
    int left;
    const char* hint;
  } shown[] = {
      {TNavigateBtn::nbFirst, 0, "First font"},
      {TNavigateBtn::nbPrior, 56, "Previous font"},
      {TNavigateBtn::nbNext, 112, "Next font"},
      {TNavigateBtn::nbLast, 168, "Last font"},
  };
  for (const auto& s : shown) {
    TNavButton* b = nav->Button(s.kind);
    EXPECT_EQ(b->geometry(), QRect(s.left, 0, 56, 33)) << s.hint;
    EXPECT_FALSE(b->isEnabled()) << s.hint;
    EXPECT_TRUE(b->isVisible()) << s.hint;
    EXPECT_EQ(b->toolTip(), QLatin1String(s.hint));
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
  }
  EXPECT_FALSE(nav->Button(TNavigateBtn::nbInsert)->isVisible());
  EXPECT_EQ(nav->Button(TNavigateBtn::nbInsert)->x(), nav->width() + 1);
}

TEST_F(MainWindow, NavigatorTrimsItsWidthToWholeButtons) {
  const struct {
    int width, shown, buttonWidth, trimmed;
  } cases[] = {{224, 4, 56, 224}, {230, 4, 57, 228}, {10, 4, 20, 80}, {100, 3, 33, 99}};
  TDBNavigator* nav = form->DBNavigator1();
  for (const auto& c : cases) {
    std::set<TNavigateBtn> kinds;
    for (int i = 0; i < c.shown; ++i) kinds.insert(TNavigateBtn(i));
    nav->resize(c.width, 10);
    nav->SetVisibleButtons(kinds);
    EXPECT_EQ(nav->width(), c.trimmed) << c.width;
    EXPECT_EQ(nav->height(), TDBNavigator::kMinButtonHeight) << c.width;
    EXPECT_EQ(nav->Button(TNavigateBtn(c.shown - 1))->geometry(),
              QRect((c.shown - 1) * c.buttonWidth, 0, c.buttonWidth, 18))
        << c.width;
  }
}

TEST_F(MainWindow, PictureBoxShowsItsNameCentred) {
  TDBImage* image = form->DBImage1();
  EXPECT_EQ(image->PlaceholderText(), QStringLiteral("(DBImage1)"));
  const QImage shot = guitest::grabImage(image);
  const QRect client = image->ClientArea();
  EXPECT_EQ(client, QRect(2, 2, 356, 124));
  // Border: shadow outside, then dark, at the top left; highlight outside,
  // then face, at the bottom right, both on the box's last pixels.
  EXPECT_EQ(shot.pixelColor(0, 0), QColor(128, 128, 128));
  EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 0, 0));
  for (const QPoint corner : {QPoint(359, 127), QPoint(359, 60), QPoint(200, 127)})
    EXPECT_EQ(shot.pixelColor(corner), QColor(255, 255, 255)) << corner.x() << "," << corner.y();
  for (const QPoint inner : {QPoint(358, 126), QPoint(358, 60), QPoint(200, 126)})
    EXPECT_EQ(shot.pixelColor(inner), ColorOf(SystemColor::BtnFace))
        << inner.x() << "," << inner.y();
  const QRect ink = guitest::boundsOfNot(shot, Qt::white, client.adjusted(1, 1, -1, -1));
  ASSERT_FALSE(ink.isEmpty()) << "no text drawn";
  const QFontMetrics metrics(image->font());
  const int advance = metrics.horizontalAdvance(image->PlaceholderText());
  EXPECT_NEAR(ink.width(), advance, 3);
  EXPECT_NEAR(ink.center().x(), client.center().x(), 2);
  EXPECT_NEAR(ink.center().y(), client.center().y(), 3);
}

TEST_F(MainWindow, BevelIsALoweredBox) {
  const QImage shot = guitest::grabImage(form->Bevel1());
  const QColor shadow(128, 128, 128), light(255, 255, 255);
  EXPECT_EQ(shot.pixelColor(100, 0), shadow);
  EXPECT_EQ(shot.pixelColor(0, 100), shadow);
  EXPECT_EQ(shot.pixelColor(100, 392), light);
  EXPECT_EQ(shot.pixelColor(472, 100), light);
  EXPECT_TRUE(form->Bevel1()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(MainWindow, MenuCaptionsShortcutsAndHelpIds) {
  const QList<QAction*> top = form->menuBar()->actions();
  ASSERT_EQ(top.size(), 3);
  EXPECT_EQ(top[0]->text(), QStringLiteral("&File"));
  EXPECT_EQ(top[1]->text(), QStringLiteral("&Views"));
  EXPECT_EQ(top[2]->text(), QStringLiteral("&Help"));
  const struct {
    const char* item;
    int menu, index;
    const char* caption;
    const char* keys;
    int stored, help;
  } items[] = {
      {"Exit1", 0, 0, "E&xit", "", 0, 0},        {"Allfonts1", 1, 0, "&All fonts", "F6", 117, 1400},
      {"Grid1", 1, 1, "&Grid", "F7", 118, 1500}, {"Contents1", 2, 0, "&Contents", "F1", 112, 0},
      {"About1", 2, 1, "&About", "", 0, 0},
  };
  for (const auto& i : items) {
    MenuCommand* item = form->MenuItem(QLatin1String(i.item));
    ASSERT_NE(item, nullptr) << i.item;
    ASSERT_NE(top[i.menu]->menu(), nullptr) << i.item;
    EXPECT_EQ(top[i.menu]->menu()->actions().value(i.index), item->Action()) << i.item;
    EXPECT_EQ(item->Caption(), QLatin1String(i.caption)) << i.item;
    EXPECT_EQ(item->Action()->shortcut().toString(), QLatin1String(i.keys)) << i.item;
    EXPECT_EQ(item->ShortCut(), i.stored) << i.item;
    EXPECT_EQ(item->HelpContext(), i.help) << i.item;
  }
}

TEST_F(MainWindow, ResizingMovesNothingAndShowsScrollBars) {
  const QRect button10 = form->Button(10)->geometry();
  auto* scroll = form->findChild<QScrollArea*>(QStringLiteral("clientScroll"));
  ASSERT_NE(scroll, nullptr);
  EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
  for (const QSize size : {QSize(300, 200), QSize(1000, 800)}) {
    form->resize(size);
    guitest::pump();
    const bool smaller = size.width() < 680;
    EXPECT_EQ(scroll->horizontalScrollBar()->isVisible(), smaller) << size.width();
    EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), smaller) << size.width();
    EXPECT_EQ(form->Button(10)->geometry(), button10) << size.width();
    EXPECT_EQ(form->Client()->size(), QSize(657, 424));
  }
}

TEST_F(MainWindow, FirstShowFocusesTheFirstTabStop) {
  form->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == form; }));
  EXPECT_EQ(QApplication::focusWidget(), form->DBEdit1());
}

TEST_F(MainWindow, FunctionKeysReachTheirMenuCommandsFromAnyControl) {
  form->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == form; }));
  const struct {
    const char* item;
    Qt::Key key;
  } keys[] = {{"Allfonts1", Qt::Key_F6}, {"Grid1", Qt::Key_F7}, {"Contents1", Qt::Key_F1}};
  for (QWidget* focus : std::initializer_list<QWidget*>{form->DBEdit1(), form->DBMemo1()}) {
    focus->setFocus();
    for (const auto& k : keys) {
      int triggered = 0;
      QObject::connect(form->MenuItem(QLatin1String(k.item))->Action(), &QAction::triggered, form,
                       [&] { ++triggered; });
      guitest::key(focus, k.key);
      EXPECT_EQ(triggered, 1) << k.item << " from " << focus->objectName().toStdString();
      form->MenuItem(QLatin1String(k.item))->Action()->disconnect(form);
    }
  }
}

TEST_F(MainWindow, AllFontsOpensTheInstalledFontsWindowByItsClassName) {
  pellory::shell::DescriptionRegistry::Register(
      shelltest::PlainWindow(QStringLiteral("TFontsProbe")));
  int opened = 0;
  bool ranModally = false;
  bool mainDisabled = false;
  pellory::shell::WindowFactories::Register(QStringLiteral("TForm1"), [&] {
    auto window = std::make_unique<shelltest::ProbeWindow>(QStringLiteral("TFontsProbe"));
    QTimer::singleShot(0, window.get(), [&, w = window.get()] {
      ++opened;
      ranModally = w->Modal();
      mainDisabled = !form->isEnabled();
      w->Close();
    });
    return window;
  });
  form->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activeWindow() == form; }));
  form->MenuItem(QStringLiteral("Allfonts1"))->Action()->trigger();
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(ranModally);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(form->isEnabled());
  EXPECT_TRUE(boxes->empty());
  pellory::shell::WindowFactories::Register(QStringLiteral("TForm1"), [] { return nullptr; });
}

// FormCreate cannot open the catalogue: its error is shown and the window
// still opens in its construction state.
class FailingCatalogue : public TForm2 {
 protected:
  void OpenCatalogue() override {
    throw pellory::shell::ShellError(QStringLiteral("Cannot open the catalogue"));
  }
};

TEST_F(MainWindow, ErrorInFormCreateIsShownAndTheWindowStillOpens) {
  // One main window at a time: a second one would find the program running.
  delete form;
  form = nullptr;
  auto* failing = app->CreateForm<FailingCatalogue>();
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_EQ(boxes->front().caption, QStringLiteral("Pellory Fonts"));
  EXPECT_EQ(boxes->front().text, QStringLiteral("Cannot open the catalogue."));
  failing->show();
  EXPECT_TRUE(failing->isVisible());
  EXPECT_EQ(failing->Label(5)->Caption(), QStringLiteral("Label5"));
  EXPECT_FALSE(failing->DBNavigator1()->Button(TNavigateBtn::nbFirst)->isEnabled());
}

}  // namespace
