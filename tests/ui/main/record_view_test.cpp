// The main window on a real catalogue: opening, the bound controls, the
// record navigator and the category buttons.
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QToolTip>

#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/data/datalink.h"
#include "pellory/data/datasource.h"
#include "pellory/data/table.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/nav_glyph.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"

namespace cataloguetest {
namespace {

using pellory::ui::TNavigateBtn;

class RecordView : public CatalogueWindow {
 protected:
  QString Name() const { return form->DBEdit1()->text(); }
  bool Enabled(TNavigateBtn kind) const { return form->DBNavigator1()->Button(kind)->isEnabled(); }
  // First, Prior, Next, Last.
  std::vector<bool> Buttons() const {
    return {Enabled(TNavigateBtn::nbFirst), Enabled(TNavigateBtn::nbPrior),
            Enabled(TNavigateBtn::nbNext), Enabled(TNavigateBtn::nbLast)};
  }
  void Press(TNavigateBtn kind) {
    guitest::click(form->DBNavigator1()->Button(kind));
    guitest::pump();
  }
};

const std::vector<bool> kAtStart = {false, false, true, true};
const std::vector<bool> kAtEnd = {true, true, false, false};
const std::vector<bool> kInside = {true, true, true, true};
const std::vector<bool> kNone = {false, false, false, false};

TEST_F(RecordView, OpensOnTheFirstRecord) {
  Open(Numbered(3));
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(form->DBEdit2()->text(), QStringLiteral("f1.ttf"));
  EXPECT_EQ(form->DBMemo1()->toPlainText(), QStringLiteral("About font 1"));
  EXPECT_TRUE(form->DBImage1()->PictureLoaded());
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("All fonts"));
  EXPECT_TRUE(form->Table1().Active());
  EXPECT_TRUE(form->Table1().ReadOnly());
  EXPECT_TRUE(form->wwTable1().Active());
  EXPECT_EQ(Buttons(), kAtStart);
}

TEST_F(RecordView, ACatalogueThatCannotOpenLeavesTheConstructionState) {
  Open(Numbered(3), /*withSample=*/false);
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_TRUE(boxes->front().text.contains(QStringLiteral("Sample3")))
      << boxes->front().text.toStdString();
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->Table1().Active());
  EXPECT_FALSE(form->wwTable1().Active());
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("Label5"));
  EXPECT_TRUE(Name().isEmpty());
  EXPECT_FALSE(form->DBImage1()->PictureLoaded());
  EXPECT_EQ(Buttons(), kNone);
}

TEST_F(RecordView, EditingKeysLeaveTheTextUnchanged) {
  Open(Numbered(2));
  for (QWidget* box : std::initializer_list<QWidget*>{form->DBEdit1(), form->DBMemo1()}) {
    box->setFocus();
    guitest::type(box, QStringLiteral("x"));
    guitest::key(box, Qt::Key_Delete);
    guitest::key(box, Qt::Key_Backspace);
    guitest::key(box, Qt::Key_V, Qt::ControlModifier);
    guitest::key(box, Qt::Key_X, Qt::ControlModifier);
    guitest::key(box, Qt::Key_Return);
  }
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(form->DBMemo1()->toPlainText(), QStringLiteral("About font 1"));
  EXPECT_TRUE(boxes->empty());
}

TEST_F(RecordView, AnUnchangedValueLeavesCaretAndSelection) {
  Open(Numbered(2));
  form->DBEdit1()->setFocus();
  form->DBEdit1()->setSelection(1, 3);
  // All fonts re-reads the first record, the same text; the focus stays.
  form->Button10Click();
  EXPECT_EQ(form->DBEdit1()->selectedText(), QStringLiteral("ont"));
  Press(TNavigateBtn::nbNext);
  EXPECT_EQ(Name(), QStringLiteral("Font 2"));
  EXPECT_TRUE(form->DBEdit1()->selectedText().isEmpty());
}

TEST_F(RecordView, EscapeSelectsTheWholeText) {
  Open(Numbered(2));
  form->DBEdit1()->setFocus();
  form->DBEdit1()->deselect();
  guitest::key(form->DBEdit1(), Qt::Key_Escape);
  EXPECT_EQ(form->DBEdit1()->selectedText(), QStringLiteral("Font 1"));
}

TEST_F(RecordView, TheMemoKeepsEveryLineBreakAsCrLf) {
  std::vector<Font> fonts = Numbered(1);
  fonts[0].description = "one\ntwo\rthree\r\nfour\n\nend";
  Open(fonts);
  EXPECT_EQ(form->DBMemo1()->Text(), QStringLiteral("one\r\ntwo\r\nthree\r\nfour\r\n\r\nend"));
  EXPECT_EQ(form->DBMemo1()->blockCount(), 6);
}

TEST_F(RecordView, ATextBeyondTheMemoCapacityIsNotShown) {
  std::vector<Font> fonts = Numbered(2);
  fonts[1].description.assign(std::size_t(pellory::ui::TDBMemo::kCapacity) + 1, 'a');
  Open(fonts);
  EXPECT_TRUE(form->DBMemo1()->MemoLoaded());
  Press(TNavigateBtn::nbNext);
  EXPECT_EQ(form->DBMemo1()->toPlainText(), QStringLiteral("(Text exceeds memo capacity)"));
  EXPECT_FALSE(form->DBMemo1()->MemoLoaded());
  // Not loaded: typing does nothing, Enter tries again and fails again.
  form->DBMemo1()->setFocus();
  guitest::type(form->DBMemo1(), QStringLiteral("b"));
  guitest::key(form->DBMemo1(), Qt::Key_Return);
  EXPECT_EQ(form->DBMemo1()->toPlainText(), QStringLiteral("(Text exceeds memo capacity)"));
  EXPECT_FALSE(form->DBMemo1()->MemoLoaded());
  Press(TNavigateBtn::nbPrior);
  EXPECT_EQ(form->DBMemo1()->toPlainText(), QStringLiteral("About font 1"));
  EXPECT_TRUE(form->DBMemo1()->MemoLoaded());
  EXPECT_TRUE(boxes->empty());
}

TEST(CrLfLineBreaks, EveryKindOfBreak) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"", ""},
               {"a", "a"},
               {"a\n", "a\r\n"},
               {"\r", "\r\n"},
               {"a\r\nb", "a\r\nb"},
               {"a\n\rb", "a\r\n\r\nb"},
               {"\r\r", "\r\n\r\n"}};
  for (const auto& c : cases)
    EXPECT_EQ(pellory::ui::CrLfLineBreaks(QString::fromLatin1(c.in)), QString::fromLatin1(c.out))
        << c.in;
}

// A picture whose every pixel tells where it came from.
QRgb Coded(int x, int y) {
  return qRgb(x % 256, y % 256, 100 + x / 256);
}

TEST_F(RecordView, PicturesAreCentredAndCutEvenly) {
  std::vector<Font> fonts = Numbered(2);
  fonts[0].picture = BmpFile(200, 60, Coded);
  fonts[1].picture = BmpFile(400, 150, Coded);
  Open(fonts);
  pellory::ui::TDBImage* image = form->DBImage1();
  const QPoint client = image->ClientArea().topLeft();
  const QColor window = pellory::shell::ColorOf(pellory::shell::SystemColor::Window);
  EXPECT_EQ(image->PictureOffset(), QPoint(78, 32));
  const QImage small = guitest::grabImage(image);
  EXPECT_EQ(small.pixel(client + QPoint(78, 32)), Coded(0, 0));
  EXPECT_EQ(small.pixel(client + QPoint(78 + 199, 32 + 59)), Coded(199, 59));
  EXPECT_EQ(QColor(small.pixel(client + QPoint(77, 32))), window);
  EXPECT_EQ(QColor(small.pixel(client + QPoint(78, 31))), window);
  EXPECT_EQ(QColor(small.pixel(client + QPoint(278, 91))), window);
  EXPECT_EQ(QColor(small.pixel(client + QPoint(78, 92))), window);

  Press(TNavigateBtn::nbNext);
  EXPECT_EQ(image->PictureOffset(), QPoint(-22, -13));
  const QImage large = guitest::grabImage(image);
  const QRect area = image->ClientArea();
  EXPECT_EQ(large.pixel(area.topLeft()), Coded(22, 13));
  EXPECT_EQ(large.pixel(area.bottomRight()), Coded(22 + area.width() - 1, 13 + area.height() - 1));
  EXPECT_EQ(400 - (22 + area.width()), 22);
  EXPECT_EQ(150 - (13 + area.height()), 13);
}

TEST_F(RecordView, AnUndecodablePictureIsReportedAndLeftEmpty) {
  std::vector<Font> fonts = Numbered(2);
  fonts[0].picture = BmpFile(20, 10, Coded);
  fonts[1].picture = "BM this is no bitmap at all";
  Open(fonts);
  ASSERT_FALSE(form->DBImage1()->Picture().isNull());
  Press(TNavigateBtn::nbNext);
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_TRUE(form->DBImage1()->PictureLoaded());
  EXPECT_TRUE(form->DBImage1()->Picture().isNull());
  // Escape reads the value again, which fails again.
  form->DBImage1()->setFocus();
  guitest::key(form->DBImage1(), Qt::Key_Escape);
  EXPECT_EQ(boxes->size(), 2u);
  EXPECT_EQ(boxes->back().text, boxes->front().text);
  EXPECT_TRUE(form->DBImage1()->Picture().isNull());
  Press(TNavigateBtn::nbPrior);
  EXPECT_FALSE(form->DBImage1()->Picture().isNull());
}

TEST_F(RecordView, FocusStartsOnTheFontNameWithItsTextSelected) {
  Open(Numbered(2));
  form->activateWindow();
  ASSERT_TRUE(guitest::pumpUntil([&] { return form->DBEdit1()->hasFocus(); }));
  EXPECT_EQ(form->DBEdit1()->selectedText(), QStringLiteral("Font 1"));
}

TEST_F(RecordView, ArrowKeysAndTabMoveThroughTheTabOrder) {
  Open(Numbered(2));
  form->activateWindow();
  const struct {
    QWidget* from;
    Qt::Key key;
    QWidget* to;
  } moves[] = {
      {form->Button(3), Qt::Key_Tab, form->Button(4)},
      {form->Button(3), Qt::Key_Down, form->Button(4)},
      {form->Button(3), Qt::Key_Right, form->Button(4)},
      {form->Button(4), Qt::Key_Up, form->Button(3)},
      {form->Button(4), Qt::Key_Left, form->Button(3)},
      {form->DBImage1(), Qt::Key_Down, form->DBMemo1()},
      {form->DBImage1(), Qt::Key_Left, form->DBEdit1()},
      {form->Button(10), Qt::Key_Right, form->DBEdit2()},
  };
  for (const auto& m : moves) {
    m.from->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(guitest::pumpUntil([&] { return m.from->hasFocus(); }));
    guitest::key(m.from, m.key);
    EXPECT_TRUE(m.to->hasFocus()) << m.from->objectName().toStdString() << " key " << m.key;
  }
  // The text boxes keep the arrows for their caret.
  form->DBEdit1()->setFocus();
  guitest::key(form->DBEdit1(), Qt::Key_Right);
  EXPECT_TRUE(form->DBEdit1()->hasFocus());
}

TEST_F(RecordView, ABlankPictureShowsTheBackground) {
  Open(Numbered(1));
  const QImage shown = guitest::grabImage(form->DBImage1());
  const QColor window = pellory::shell::ColorOf(pellory::shell::SystemColor::Window);
  EXPECT_TRUE(guitest::boundsOfNot(shown, window, form->DBImage1()->ClientArea()).isEmpty());
}

TEST_F(RecordView, NavigatorFollowsBothEnds) {
  Open(Numbered(3));
  EXPECT_EQ(Buttons(), kAtStart);
  Press(TNavigateBtn::nbLast);
  EXPECT_EQ(Name(), QStringLiteral("Font 3"));
  EXPECT_EQ(Buttons(), kAtEnd);
  Press(TNavigateBtn::nbPrior);
  EXPECT_EQ(Name(), QStringLiteral("Font 2"));
  EXPECT_EQ(Buttons(), kInside);
  Press(TNavigateBtn::nbPrior);
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(Buttons(), kInside);  // the step found a record
  Press(TNavigateBtn::nbPrior);
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(Buttons(), kAtStart);
  Press(TNavigateBtn::nbNext);
  Press(TNavigateBtn::nbNext);
  EXPECT_EQ(Name(), QStringLiteral("Font 3"));
  EXPECT_EQ(Buttons(), kInside);
  Press(TNavigateBtn::nbNext);
  EXPECT_EQ(Buttons(), kAtEnd);
  Press(TNavigateBtn::nbFirst);
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(Buttons(), kAtStart);
}

TEST_F(RecordView, NavigatorWithOneRecord) {
  Open(Numbered(1));
  EXPECT_EQ(Buttons(), kAtStart);
  Press(TNavigateBtn::nbNext);
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(Buttons(), kAtEnd);
  Press(TNavigateBtn::nbPrior);
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(Buttons(), kAtStart);
}

TEST_F(RecordView, NavigatorWithNoRecord) {
  Open({});
  EXPECT_TRUE(boxes->empty());
  EXPECT_EQ(Buttons(), kNone);
  EXPECT_TRUE(Name().isEmpty());
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("All fonts"));
}

TEST_F(RecordView, RestingTheMouseOnAButtonShowsItsHintAlsoWhenDisabled) {
  Open(Numbered(3));
  form->activateWindow();
  const struct {
    TNavigateBtn kind;
    const char* hint;
    bool enabled;
  } cases[] = {{TNavigateBtn::nbFirst, "First font", false},
               {TNavigateBtn::nbNext, "Next font", true}};
  for (const auto& c : cases) {
    QWidget* button = form->DBNavigator1()->Button(c.kind);
    ASSERT_EQ(button->isEnabled(), c.enabled);
    QToolTip::hideText();
    QTest::mouseMove(button, button->rect().center() + QPoint(0, 1));
    QTest::mouseMove(button, button->rect().center());
    EXPECT_TRUE(guitest::pumpUntil([&] { return QToolTip::text() == QLatin1String(c.hint); }, 5000))
        << c.hint << ", shown: " << QToolTip::text().toStdString();
  }
  QToolTip::hideText();
}

TEST_F(RecordView, ReleaseOutsideTheButtonDoesNotMove) {
  Open(Numbered(3));
  QWidget* next = form->DBNavigator1()->Button(TNavigateBtn::nbNext);
  QTest::mousePress(next, Qt::LeftButton, Qt::NoModifier, next->rect().center());
  QTest::mouseRelease(next, Qt::LeftButton, Qt::NoModifier, QPoint(next->width() + 5, 5));
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
}

TEST_F(RecordView, NavigatorClicksKeepTheFocus) {
  Open(Numbered(3));
  form->DBMemo1()->setFocus();
  Press(TNavigateBtn::nbNext);
  EXPECT_EQ(Name(), QStringLiteral("Font 2"));
  EXPECT_TRUE(form->DBMemo1()->hasFocus());
}

TEST_F(RecordView, DoubleClickCountsTwice) {
  Open(Numbered(4));
  QWidget* next = form->DBNavigator1()->Button(TNavigateBtn::nbNext);
  const QPointF at = next->rect().center();
  const auto send = [&](QEvent::Type type) {
    QMouseEvent event(type, at, next->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(next, &event);
  };
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
    send(type);
  EXPECT_EQ(Name(), QStringLiteral("Font 3"));
}

TEST_F(RecordView, GlyphsAreCentredOnTheFaceAndShiftWhileDown) {
  Open(Numbered(3));
  const struct {
    TNavigateBtn kind;
    QPoint origin;  // face 52 by 29 at (2, 2)
  } cases[] = {{TNavigateBtn::nbFirst, {21, 10}},
               {TNavigateBtn::nbPrior, {23, 10}},
               {TNavigateBtn::nbNext, {23, 10}},
               {TNavigateBtn::nbLast, {21, 10}}};
  for (const auto& c : cases) {
    pellory::ui::TNavButton* button = form->DBNavigator1()->Button(c.kind);
    const pellory::ui::NavGlyph glyph = pellory::ui::LoadNavGlyph(c.kind);
    EXPECT_EQ(button->GlyphOrigin(), c.origin);
    const QImage& drawn = button->isEnabled() ? glyph.normal : glyph.disabled;
    const QImage shown = guitest::grabImage(button);
    int opaque = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x)
        if (qAlpha(drawn.pixel(x, y)) == 255) {
          ++opaque;
          EXPECT_EQ(shown.pixel(c.origin + QPoint(x, y)), drawn.pixel(x, y));
        }
    EXPECT_GT(opaque, 0);
    button->setDown(true);
    EXPECT_EQ(button->GlyphOrigin(), c.origin + QPoint(1, 1));
    button->setDown(false);
  }
}

// Counts the data-change notifications of a data source.
class ChangeCounter : public pellory::data::TDataLink {
 public:
  int changes = 0;

 protected:
  void HandleDataChange() override { ++changes; }
};

TEST_F(RecordView, HeldPriorStopsRepeatingAtTheFirstRecord) {
  Open(Numbered(5));
  Press(TNavigateBtn::nbNext);
  Press(TNavigateBtn::nbNext);
  ASSERT_EQ(Name(), QStringLiteral("Font 3"));
  ChangeCounter counter;
  counter.SetDataSource(&form->DataSource1());
  QWidget* prior = form->DBNavigator1()->Button(TNavigateBtn::nbPrior);
  QTest::mousePress(prior, Qt::LeftButton, Qt::NoModifier, prior->rect().center());
  // Two repeated steps reach Font 1; the third finds nothing earlier and
  // disables the button, which ends the repeating.
  ASSERT_TRUE(guitest::pumpUntil([&] { return !prior->isEnabled(); }, 10000));
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(counter.changes, 3);
  QTest::qWait(350);
  EXPECT_EQ(counter.changes, 3);
  // Releasing the disabled button clicks nothing.
  QTest::mouseRelease(prior, Qt::LeftButton, Qt::NoModifier, prior->rect().center());
  guitest::pump();
  EXPECT_EQ(counter.changes, 3);
  EXPECT_EQ(Buttons(), kAtStart);
  EXPECT_TRUE(boxes->empty());
  counter.SetDataSource(nullptr);
}

TEST_F(RecordView, CtrlCCopiesThePicture) {
  std::vector<Font> fonts = Numbered(1);
  fonts[0].picture = BmpFile(30, 20, Coded);
  Open(fonts);
  QApplication::clipboard()->clear();
  for (Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
    QApplication::clipboard()->setText(QStringLiteral("before"));
    form->DBImage1()->setFocus();
    guitest::key(form->DBImage1(), key, Qt::ControlModifier);
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(30, 20));
    EXPECT_EQ(copied.pixel(29, 19), Coded(29, 19));
    EXPECT_EQ(copied.pixel(3, 7), Coded(3, 7));
  }
}

TEST_F(RecordView, AnIndexedPictureIsDrawnAndCopiedWithItsPalette) {
  const auto level = [](int x, int y) { return (x * 7 + y * 3) % 256; };
  std::vector<Font> fonts = Numbered(1);
  fonts[0].picture = GreyBmpFile(40, 20, level);
  Open(fonts);
  pellory::ui::TDBImage* image = form->DBImage1();
  const QPoint origin = image->ClientArea().topLeft() + image->PictureOffset();
  const QImage shown = guitest::grabImage(image);
  for (QPoint at : {QPoint(0, 0), QPoint(39, 19), QPoint(17, 5)})
    EXPECT_EQ(shown.pixel(origin + at),
              qRgb(level(at.x(), at.y()), level(at.x(), at.y()), level(at.x(), at.y())));
  image->setFocus();
  guitest::key(image, Qt::Key_C, Qt::ControlModifier);
  const QImage copied = QApplication::clipboard()->image();
  ASSERT_EQ(copied.format(), QImage::Format_Indexed8);
  ASSERT_EQ(copied.colorCount(), 256);
  EXPECT_EQ(copied.color(200), qRgb(200, 200, 200));
  EXPECT_EQ(copied.pixelIndex(17, 5), level(17, 5));
}

struct Category {
  int button;
  int index;  // in kCategories
  const char* filter;
  const char* status;
};

const Category kButtons[] = {
    {1, 0, "Category ='Capitals Serif'", "Capital Serif"},
    {2, 1, "Category ='Capitals San*'", "Capital Sans Serif"},
    {3, 2, "Category ='Handwriting'", "Handwriting"},
    {5, 3, "Category ='Italic Sans *'", "Italic Sans Serif"},
    {4, 4, "Category ='Italic Serif'", "Italic Serif"},
    {6, 5, "Category ='Normal Serif'", "Normal Serif"},
    {7, 6, "Category ='Normal Sans*'", "Normal Sans Serif"},
    {9, 7, "Category ='Wing*'", "Wingdings"},
};

TEST_F(RecordView, EachCategoryButtonFiltersAndNamesItsCategory) {
  Open(Numbered(16));  // two fonts per category: i and i + 8
  for (const Category& c : kButtons) {
    Press(TNavigateBtn::nbLast);
    guitest::click(form->Button(c.button));
    guitest::pump();
    const QString first = QStringLiteral("Font %1").arg(c.index + 1);
    EXPECT_EQ(Name(), first) << c.status;
    EXPECT_EQ(form->Table1().Filter(), c.filter);
    EXPECT_TRUE(form->Table1().Filtered()) << c.status;
    EXPECT_EQ(form->Label(5)->Caption(), QLatin1String(c.status));
    EXPECT_EQ(Buttons(), kAtStart) << c.status;
    Press(TNavigateBtn::nbNext);
    EXPECT_EQ(Name(), QStringLiteral("Font %1").arg(c.index + 9)) << c.status;
    Press(TNavigateBtn::nbNext);
    EXPECT_EQ(Buttons(), kAtEnd) << c.status;
    // The same button again goes back to the category's first record.
    guitest::click(form->Button(c.button));
    EXPECT_EQ(Name(), first) << c.status;
  }
  EXPECT_TRUE(boxes->empty());
}

TEST_F(RecordView, AllFontsSwitchesTheFilterOffAndKeepsItsText) {
  Open(Numbered(16));
  guitest::click(form->Button(3));
  Press(TNavigateBtn::nbNext);
  guitest::click(form->Button(10));
  EXPECT_FALSE(form->Table1().Filtered());
  EXPECT_EQ(form->Table1().Filter(), "Category ='Handwriting'");
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("All fonts"));
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  // Without a filter in force it still goes back to the first record.
  Press(TNavigateBtn::nbLast);
  guitest::click(form->Button(10));
  EXPECT_EQ(Name(), QStringLiteral("Font 1"));
  EXPECT_EQ(Buttons(), kAtStart);
}

TEST_F(RecordView, AnErrorInAStepStopsTheCategorySequence) {
  std::vector<Font> fonts = Numbered(2);
  fonts[0].category = "Normal Serif";
  fonts[1].category = "Capitals Serif";
  fonts[1].picture = "BM this is no bitmap at all";
  Open(fonts);
  ASSERT_TRUE(boxes->empty());
  // Switching the filter on lands on a picture that cannot be decoded.
  guitest::click(form->Button(1));
  EXPECT_EQ(boxes->size(), 1u);
  EXPECT_TRUE(form->Table1().Filtered());
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("All fonts"));
}

TEST_F(RecordView, TheFocusedCategoryButtonIsTheDefaultAndTakesEnterAndSpace) {
  Open(Numbered(16));
  form->activateWindow();
  pellory::ui::TButton* handwriting = form->Button(3);
  guitest::click(handwriting);
  ASSERT_TRUE(guitest::pumpUntil([&] { return handwriting->hasFocus(); }));
  EXPECT_TRUE(handwriting->isDefault());
  // The default button looks different from the same focused button
  // without that role.
  const QImage asDefault = guitest::grabImage(handwriting);
  handwriting->setDefault(false);
  EXPECT_NE(guitest::grabImage(handwriting), asDefault);
  handwriting->setDefault(true);

  guitest::key(handwriting, Qt::Key_Tab);
  pellory::ui::TButton* italicSerif = form->Button(4);
  ASSERT_TRUE(italicSerif->hasFocus());
  EXPECT_TRUE(italicSerif->isDefault());
  EXPECT_FALSE(handwriting->isDefault());
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
    guitest::click(form->Button(10));
    italicSerif->setFocus();
    guitest::key(italicSerif, key);
    guitest::pump();
    EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("Italic Serif")) << key;
    EXPECT_EQ(Name(), QStringLiteral("Font 5")) << key;
  }
}

TEST_F(RecordView, ACategoryWithoutRecordsDisablesTheNavigator) {
  Open(Numbered(7));  // no Wingdings
  guitest::click(form->Button(9));
  EXPECT_EQ(Buttons(), kNone);
  EXPECT_TRUE(Name().isEmpty());
  EXPECT_TRUE(form->DBMemo1()->toPlainText().isEmpty());
  EXPECT_EQ(form->Label(5)->Caption(), QStringLiteral("Wingdings"));
  EXPECT_TRUE(boxes->empty());
}

}  // namespace
}  // namespace cataloguetest
