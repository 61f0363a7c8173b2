// The About box as the main window opens it: its layout and pictures, and
// the keys and clicks that close it or not.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "gui_helpers.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"
#include "pellory/shell/window_factories.h"
#include "pellory/ui/about/tabout_box.h"
#include "pellory/ui/about/tbitbtn.h"
#include "pellory/ui/about/timage.h"
#include "pellory/ui/about/tpanel.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/resource_bitmap.h"
#include "shell_test_support.h"

namespace {

using namespace pellory::ui;
using pellory::shell::ColorOf;
using pellory::shell::SystemColor;

TAboutBox* OpenAboutBox() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* box = dynamic_cast<TAboutBox*>(top); box && box->isVisible()) return box;
  return nullptr;
}

class AboutBox : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    pellory::shell::WindowFactories::Register(QStringLiteral("TAboutBox"),
                                              [] { return std::make_unique<TAboutBox>(); });
  }
  // Runs the box modally as Help, "&About" does; `act` runs once it is up.
  // A box still open two seconds later ends with 99, so no test hangs.
  int RunAnd(const std::function<void(TAboutBox*)>& act) {
    QTimer::singleShot(0, [act] {
      ASSERT_TRUE(guitest::pumpUntil([] { return OpenAboutBox() != nullptr; }));
      TAboutBox* box = OpenAboutBox();
      QTimer::singleShot(2000, box, [box] { box->SetModalResult(99); });
      act(box);
    });
    return app->RunModalWindow(QStringLiteral("TAboutBox"));
  }
  // A box constructed and shown without a modal run, for looking at it.
  TAboutBox* Shown() {
    auto* box = app->CreateForm<TAboutBox>();
    box->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
    return box;
  }
};

TEST_F(AboutBox, AFixedDialogCentredOnTheScreen) {
  TAboutBox* box = Shown();
  EXPECT_EQ(box->windowTitle(), QStringLiteral("About Pellory Fonts"));
  EXPECT_EQ(box->size(), QSize(321, 213));
  EXPECT_EQ(box->minimumSize(), box->maximumSize());
  const Qt::WindowFlags flags = box->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  const QRect screen = box->screen()->geometry();
  const QRect frame = box->frameGeometry();
  EXPECT_EQ(frame.left(), (screen.width() - frame.width()) / 2);
  EXPECT_EQ(frame.top(), (screen.height() - frame.height()) / 2);
  EXPECT_EQ(box->palette().color(QPalette::Window), ColorOf(SystemColor::BtnFace));
}

TEST_F(AboutBox, TextsInBoldEightPointOnThePanel) {
  TAboutBox* box = Shown();
  ASSERT_NE(box->Panel1(), nullptr);
  EXPECT_EQ(box->Panel1()->geometry(), QRect(8, 8, 305, 161));
  EXPECT_EQ(box->Panel1()->BevelOuter(), TPanel::Bevel::Lowered);
  EXPECT_EQ(box->Panel1()->BevelInner(), TPanel::Bevel::Raised);
  const struct {
    CaptionLabel* label;
    QPoint at;
    const char* caption;  // null: the maker's own text
  } cases[] = {{box->ProductName(), {88, 16}, "Carvelle- Bonus Fonts"},
               {box->Version(), {88, 40}, "Version 2.0"},
               {box->Copyright(), {8, 80}, nullptr},
               {box->Comments(), {8, 104}, nullptr}};
  for (const auto& c : cases) {
    ASSERT_NE(c.label, nullptr);
    SCOPED_TRACE(c.label->objectName().toStdString());
    EXPECT_EQ(c.label->parentWidget(), box->Panel1());
    EXPECT_EQ(c.label->pos(), c.at);
    if (c.caption) {
      EXPECT_EQ(c.label->Caption(), QLatin1String(c.caption));
    }
    EXPECT_FALSE(c.label->Caption().isEmpty());
    const QFont font = c.label->font();
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(font.family(), pellory::shell::InstalledFamilyFor("MS Sans Serif"));
    EXPECT_EQ(c.label->palette().color(QPalette::WindowText), QColor(Qt::black));
    // One line each, inside the panel's bevels.
    EXPECT_EQ(c.label->height(), pellory::shell::TextHeight(font));
    EXPECT_LE(c.label->geometry().right(), box->Panel1()->width() - 3);
  }
  EXPECT_TRUE(box->Copyright()->Caption().contains(QStringLiteral("Tessaline Software")));
  EXPECT_TRUE(box->Copyright()->Caption().contains(QStringLiteral("1999")));
  EXPECT_TRUE(box->Comments()->Caption().contains(QStringLiteral(".example.org")));
  EXPECT_TRUE(box->Comments()->WordWrap());
  EXPECT_EQ(box->Comments()->width(), 207) << "a wrapping label keeps its width";
}

TEST_F(AboutBox, TheIconIsDrawnAtItsNaturalSizeOnThePanel) {
  TAboutBox* box = Shown();
  ASSERT_NE(box->ProgramIcon(), nullptr);
  EXPECT_EQ(box->ProgramIcon()->geometry(), QRect(48, 16, 65, 57));
  EXPECT_TRUE(box->ProgramIcon()->Stretch());
  const QImage icon = ProgramIcon();
  ASSERT_EQ(box->ProgramIcon()->Icon(), icon);
  const QImage panel = guitest::grabImage(box->Panel1());
  const QColor face = ColorOf(SystemColor::BtnFace);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const QRgb want = qAlpha(icon.pixel(x, y)) ? icon.pixel(x, y) : face.rgb();
      ASSERT_EQ(panel.pixel(48 + x, 16 + y), want) << x << "," << y;
    }
  // The rest of the image's box, left of the labels and above the rights
  // line, shows the panel.
  EXPECT_TRUE(guitest::boundsOfNot(panel, face, QRect(80, 16, 8, 57)).isEmpty());
  EXPECT_TRUE(guitest::boundsOfNot(panel, face, QRect(48, 48, 40, 25)).isEmpty());
}

TEST_F(AboutBox, TheOkButtonShowsItsGlyphBesideTheCaption) {
  TAboutBox* box = Shown();
  TBitBtn* ok = box->OKButton();
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->geometry(), QRect(111, 178, 77, 27));
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  EXPECT_EQ(ok->GetKind(), TBitBtn::Kind::bkOK);
  EXPECT_EQ(ok->ModalResult(), 1);
  EXPECT_TRUE(ok->Default());
  EXPECT_EQ(ok->Margin(), 2);
  EXPECT_EQ(ok->Spacing(), -1);
  EXPECT_TRUE(ok->font().bold());
  const QImage glyph = OkGlyph();
  const struct {
    bool enabled;
    QImage image;
  } states[] = {{true, GlyphPart(glyph, 0, 2)}, {false, GlyphPart(glyph, 1, 2)}};
  for (const auto& s : states) {
    SCOPED_TRACE(s.enabled ? "enabled" : "disabled");
    ok->setEnabled(s.enabled);
    EXPECT_EQ(s.enabled ? ok->NormalGlyph() : ok->DisabledGlyph(), s.image);
    const QImage face = guitest::grabImage(ok);
    const QPoint at(2, (27 - 18) / 2);
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x) {
        const QRgb c = face.pixel(at.x() + x, at.y() + y) | 0xFF000000u;
        EXPECT_NE(c, 0xFF808000u) << "no olive: " << x << "," << y;
        if (qAlpha(s.image.pixel(x, y)) == 255) {
          ASSERT_EQ(c, s.image.pixel(x, y)) << x << "," << y;
        }
      }
    // The caption, centred in the width right of the glyph.
    const QRect right(20, 4, 57 - 3, 19);
    const QRect ink = guitest::boundsOfNot(face, face.pixelColor(right.center().x(), 5), right);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 20 + 57 / 2, 2);
  }
}

TEST_F(AboutBox, FocusStartsOnOkAndItsWaysOfClosing) {
  const struct {
    const char* how;
    std::function<void(TAboutBox*)> act;
    int result;
  } cases[] = {
      {"Enter", [](TAboutBox* b) { guitest::key(b->focusWidget(), Qt::Key_Return); }, 1},
      {"keypad Enter",
       [](TAboutBox* b) { guitest::key(b->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier); }, 1},
      {"Space", [](TAboutBox* b) { guitest::key(b->focusWidget(), Qt::Key_Space); }, 1},
      {"click", [](TAboutBox* b) { guitest::click(b->OKButton()); }, 1},
      {"Enter with nothing focused",
       [](TAboutBox* b) {
         b->OKButton()->clearFocus();
         guitest::key(b, Qt::Key_Return);
       },
       1},
      {"close box", [](TAboutBox* b) { b->close(); }, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    QWidget* focusAtStart = nullptr;
    TAboutBox* seen = nullptr;
    const int result = RunAnd([&](TAboutBox* box) {
      seen = box;
      focusAtStart = box->focusWidget();
      c.act(box);
    });
    EXPECT_EQ(result, c.result);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(focusAtStart, static_cast<QWidget*>(seen->OKButton()));
    EXPECT_TRUE(boxes->empty());
    guitest::pump();
    EXPECT_EQ(OpenAboutBox(), nullptr);
  }
  EXPECT_TRUE(guitest::pumpUntil([this] { return app->OwnedWindows().empty(); }))
      << "every box released";
}

TEST_F(AboutBox, EscapeAndF1LeaveItOpen) {
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_F1}) {
    bool stillOpen = false;
    const int result = RunAnd([&](TAboutBox* box) {
      guitest::key(box->focusWidget(), key);
      guitest::key(box, key);
      guitest::pump();
      stillOpen = box->isVisible() && box->ModalResult() == 0;
      guitest::click(box->OKButton());
    });
    EXPECT_TRUE(stillOpen) << key;
    EXPECT_EQ(result, 1) << key;
    EXPECT_TRUE(boxes->empty()) << key;
  }
}

}  // namespace
