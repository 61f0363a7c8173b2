// The font list control on its own: what each type lists, selection by
// name, rebuilds, the printer's failures, and each row measured and drawn
// in its own face.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScrollBar>

#include "face_heights.h"
#include "font_sources.h"
#include "gui_helpers.h"
#include "pellory/platform/print_errors.h"
#include "pellory/shell/screen_fonts.h"
#include "pellory/shell/stored_font.h"
#include "pellory/shell/system_colors.h"
#include "pellory/ui/fonts/font_lists.h"

namespace {

using namespace pellory::ui;
using fonttest::Names;
using fonttest::SwitchablePrinter;
using pellory::platform::NoDefaultPrinterError;
using pellory::platform::PrintQueryError;

const QStringList kListScreen{"Default", "DejaVu Sans", "DejaVu Serif", "Liberation Mono"};

class FontListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    list = new TGLFontListBox({nullptr, &host, nullptr});
    list->setFont(pellory::shell::StoredFont{QStringLiteral("MS Sans Serif"), -11}.ToQFont());
    list->setGeometry(0, 0, 281, 305);
    UseScreen(kListScreen);
    host.resize(300, 320);
  }
  void UseScreen(const QStringList& screen) {
    list->SetSources(fonttest::Sources(screen, printer));
  }
  void PrinterAnswers(const QStringList& names) {
    printer->printer = [names] { return names; };
  }
  template <class Error, class... Args>
  void PrinterFails(Args... args) {
    printer->printer = [=]() -> QStringList { throw Error(args...); };
  }
  // What the rebuild for `type` raised, or empty.
  std::string Rebuild(TFontType type) {
    try {
      list->SetFontType(type);
    } catch (const std::exception& e) {
      return e.what();
    }
    return {};
  }
  static bool Installed(const QString& family) {
    return QFontInfo(QFont(family)).family().startsWith(family);
  }

  QWidget host;
  TGLFontListBox* list = nullptr;
  std::shared_ptr<SwitchablePrinter> printer = std::make_shared<SwitchablePrinter>();
};

TEST_F(FontListBox, EachTypeListsItsNamesSortedIgnoringCase) {
  PrinterAnswers({"Zapf-Chancery", "dejavu serif", "Courier"});
  const struct {
    int type;
    QStringList expected;
  } cases[] = {
      {ftScreen, {"Default", "DejaVu Sans", "Liberation Mono"}},
      {ftPrinter, {"Courier", "Zapf-Chancery"}},
      {ftBoth,
       {"Courier", "Default", "DejaVu Sans", "dejavu serif", "Liberation Mono", "Zapf-Chancery"}},
      {3, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Rebuild(TFontType(c.type)), "") << c.type;
    EXPECT_EQ(list->FontType(), TFontType(c.type));
    EXPECT_EQ(Names(*list), c.expected) << c.type;
  }
}

TEST_F(FontListBox, FillsItselfWhenFirstNeeded) {
  PrinterAnswers({"Courier"});
  host.show();
  ASSERT_TRUE(guitest::pumpUntil([&] { return list->isVisible(); }));
  EXPECT_EQ(Names(*list),
            QStringList({"Default", "DejaVu Sans", "DejaVu Serif", "Liberation Mono"}));
  EXPECT_EQ(list->FontType(), ftScreen);
}

TEST_F(FontListBox, SelectedFontByNameInAnyCase) {
  EXPECT_EQ(list->SelectedFont(), "<none>");
  const struct {
    const char* written;
    const char* read;
  } steps[] = {
      {"dejavu SERIF", "DejaVu Serif"},  // Another letter case selects the item.
      {"Not Listed", "DejaVu Serif"},    // An unlisted name changes nothing...
      {"<none>", "DejaVu Serif"},        // ...nor does the text read for no selection.
      {"DEFAULT", "Default"},
  };
  for (const auto& s : steps) {
    list->SetSelectedFont(QLatin1String(s.written));
    EXPECT_EQ(list->SelectedFont(), QLatin1String(s.read)) << s.written;
  }
}

TEST_F(FontListBox, EveryRebuildClearsTheSelection) {
  list->SetSelectedFont(QStringLiteral("Liberation Mono"));
  ASSERT_EQ(list->SelectedFont(), "Liberation Mono");
  list->SetFontType(ftScreen);  // The type it already has.
  EXPECT_EQ(list->SelectedFont(), "<none>");
  EXPECT_EQ(list->Count(), 4);
}

TEST_F(FontListBox, WithoutADefaultPrinterOnlyThePrinterTypeFails) {
  PrinterFails<NoDefaultPrinterError>();
  EXPECT_EQ(Rebuild(ftScreen), "");
  EXPECT_EQ(Names(*list), kListScreen);
  EXPECT_EQ(Rebuild(ftBoth), "");
  EXPECT_EQ(Names(*list), kListScreen);
  EXPECT_EQ(Rebuild(ftPrinter), "There is no default printer currently selected");
  EXPECT_EQ(list->Count(), 0);
}

TEST_F(FontListBox, OtherPrinterFailuresLeaveTheListEmptyAndAreAskedAgain) {
  for (const TFontType type : {ftScreen, ftPrinter, ftBoth}) {
    PrinterAnswers({"Courier"});
    ASSERT_EQ(Rebuild(type), "");
    ASSERT_GT(list->Count(), 0);
    PrinterFails<PrintQueryError>(1025, std::string("Forbidden"));
    EXPECT_EQ(Rebuild(type), "Win32 Error.  Code: 1025.\nForbidden") << type;
    EXPECT_EQ(list->Count(), 0) << type;
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass is put back";
    PrinterAnswers({"Courier"});
    EXPECT_EQ(Rebuild(type), "") << "the next rebuild asks the printer again";
    EXPECT_GT(list->Count(), 0) << type;
  }
}

// A face of the machine taller than the list's own at the list's size, its
// name sorted after `after`, and its height; empty when there is none.
std::pair<QString, int> TallerFace(const QFont& listFont, const QString& after = {}) {
  QFont face = listFont;
  const int height = pellory::shell::TextHeight(listFont);
  for (const QString& family : pellory::shell::InstalledFamilies()) {
    if (!LessIgnoringCase(after, family)) continue;
    face.setFamily(family);
    if (pellory::shell::TextHeight(face) > height + 2)
      return {family, pellory::shell::TextHeight(face)};
  }
  return {};
}

TEST_F(FontListBox, RowsAreAsTallAsTheirOwnFaceNeeds) {
  if (!Installed(QStringLiteral("DejaVu Sans"))) GTEST_SKIP() << "fonts-dejavu is not installed";
  const int defaultHeight = pellory::shell::TextHeight(list->font());
  const auto [tall, tallest] = TallerFace(list->font(), QStringLiteral("DejaVu Sans"));
  if (tall.isEmpty()) GTEST_SKIP() << "no installed face is taller than the list's";
  UseScreen({"Default", "DejaVu Sans", tall});
  list->SetFontType(ftScreen);
  ASSERT_EQ(list->Item(0), QStringLiteral("Default"));
  ASSERT_EQ(list->Item(1), QStringLiteral("DejaVu Sans"));
  ASSERT_EQ(list->Item(2), tall);
  EXPECT_EQ(list->RowHeight(0), defaultHeight) << "Default is measured in MS Sans Serif's face";
  EXPECT_EQ(list->RowHeight(1), defaultHeight) << "the same face as Default";
  EXPECT_EQ(list->RowHeight(2), tallest);
  // The rows on screen follow the measured heights.
  host.show();
  guitest::pump();
  EXPECT_EQ(list->visualRect(list->model()->index(2, 0)).height(), tallest);
  EXPECT_EQ(list->visualRect(list->model()->index(2, 0)).top(), 2 * defaultHeight);
}

TEST_F(FontListBox, ScaledToAnotherScreenItsRowsAreMeasuredAgain) {
  if (!Installed(QStringLiteral("DejaVu Sans"))) GTEST_SKIP() << "fonts-dejavu is not installed";
  UseScreen({"Default", "DejaVu Sans"});
  list->SetFontType(ftScreen);
  const int stored = list->RowHeight(1);
  list->ChangeScale(3, 2);  // 96 to 144 pixels per inch
  const int scaled = pellory::shell::TextHeight(list->font());
  ASSERT_GT(scaled, stored);
  EXPECT_EQ(list->RowHeight(1), scaled);
  host.show();
  guitest::pump();
  EXPECT_EQ(list->visualRect(list->model()->index(1, 0)).top(), scaled);
}

TEST_F(FontListBox, OnlyTheRowsInViewLoadTheirFacesAndARowScrolledToIsMeasuredFirst) {
  const auto [tall, tallHeight] = TallerFace(list->font());
  if (tall.isEmpty()) GTEST_SKIP() << "no installed face is taller than the list's";
  // Digits sort before the names of installed families.
  QStringList names;
  for (int i = 0; i < 400; ++i)
    names.append(QStringLiteral("0 Lazy Face %1").arg(i, 3, 10, QLatin1Char('0')));
  UseScreen(names + QStringList{tall});
  list->SetFontType(ftScreen);
  host.show();
  guitest::pump();
  pellory::ui::FaceHeights& heights = pellory::ui::FaceHeights::Shared();
  EXPECT_TRUE(heights.Known(names.first(), list->font()).has_value()) << "the first row is shown";
  EXPECT_FALSE(heights.Known(names.last(), list->font()).has_value()) << "the 400th is not";

  // Scrolled by its bar, the rows coming into view are measured as painted.
  list->verticalScrollBar()->setValue(200);
  guitest::pump();
  const QModelIndex top = list->indexAt(QPoint(1, 0));
  ASSERT_TRUE(top.isValid());
  EXPECT_GE(top.row(), 190);
  for (int row = top.row();
       list->visualRect(list->model()->index(row, 0)).top() < list->viewport()->height(); ++row)
    EXPECT_TRUE(heights.Known(names[row], list->font()).has_value()) << row;

  list->SetSelectedFont(tall);
  guitest::pump();
  EXPECT_TRUE(heights.Known(names.last(), list->font()).has_value()) << "shown above it";
  const QModelIndex row = list->model()->index(400, 0);
  const QRect rect = list->visualRect(row);
  EXPECT_EQ(rect.height(), tallHeight);
  EXPECT_TRUE(list->viewport()->rect().contains(rect)) << "the row is in view";
  EXPECT_EQ(rect.top(), list->visualRect(list->model()->index(399, 0)).bottom() + 1);
}

// The text pixels of a row: those that differ from its background.
QRect Ink(QWidget* viewport, const QRect& row, QColor background) {
  return guitest::boundsOfNot(guitest::grabImage(viewport), background, row);
}

TEST_F(FontListBox, EachNameIsDrawnInItsOwnFaceAndDefaultInMsSansSerifs) {
  if (!Installed(QStringLiteral("DejaVu Serif")) || !Installed(QStringLiteral("Liberation Mono")))
    GTEST_SKIP() << "fonts-dejavu or fonts-liberation is not installed";
  UseScreen({"Default", "DejaVu Serif", "Liberation Mono"});
  list->SetFontType(ftScreen);
  host.show();
  guitest::pump();
  const QColor white = pellory::shell::ColorOf(pellory::shell::SystemColor::Window);
  for (int row = 0; row < list->Count(); ++row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    // The same text written in the expected face, at (left + 1, top).
    QFont face = list->font();
    face.setFamily(row == 0 ? pellory::shell::InstalledFamilyFor(QStringLiteral("MS Sans Serif"))
                            : list->Item(row));
    QImage expected(rect.size(), QImage::Format_RGB32);
    expected.fill(white);
    QPainter painter(&expected);
    painter.setFont(face);
    painter.setPen(Qt::black);
    painter.drawText(QRect(1, 0, rect.width() - 1, rect.height()), Qt::AlignLeft | Qt::AlignTop,
                     list->Item(row));
    painter.end();
    const QImage shown = guitest::grabImage(list->viewport()).copy(rect);
    // Inside the focus rectangle the current row may carry.
    const QRect inner(1, 1, rect.width() - 2, rect.height() - 2);
    EXPECT_EQ(shown.copy(inner), expected.copy(inner)) << list->Item(row).toStdString();
  }
}

TEST_F(FontListBox, ASelectedRowInHighlightColoursWithItsTextInItsOwnFace) {
  UseScreen({"Default", "DejaVu Serif", "Liberation Mono"});
  list->SetFontType(ftScreen);
  host.show();
  guitest::pump();
  const QRect row = list->visualRect(list->model()->index(1, 0));
  const QColor white = pellory::shell::ColorOf(pellory::shell::SystemColor::Window);
  const QRect unselectedInk = Ink(list->viewport(), row, white);
  ASSERT_FALSE(unselectedInk.isEmpty());

  list->SetSelectedFont(QStringLiteral("DejaVu Serif"));
  guitest::pump();
  const QColor navy = pellory::shell::ColorOf(pellory::shell::SystemColor::Highlight);
  const QImage shown = guitest::grabImage(list->viewport());
  EXPECT_EQ(shown.pixelColor(row.right() - 2, row.center().y()), navy);
  // The focus rectangle only shows while the list has the focus.
  const QRect inner = row.adjusted(1, 1, -1, -1);
  EXPECT_EQ(Ink(list->viewport(), inner, navy), unselectedInk) << "the same face, in place";
  int brightest = 0;
  for (int y = unselectedInk.top(); y <= unselectedInk.bottom(); ++y)
    for (int x = unselectedInk.left(); x <= unselectedInk.right(); ++x)
      brightest = std::max(brightest, qGray(shown.pixel(x, y)));
  EXPECT_EQ(brightest, 255) << "the text in the highlight text colour";
}

TEST_F(FontListBox, AnEmptyListWithTheFocusShowsItsFirstRowsFocusRectangle) {
  PrinterAnswers({});
  list->SetFontType(ftPrinter);
  host.show();
  list->setFocus();
  ASSERT_TRUE(guitest::pumpUntil([&] { return list->hasFocus(); }));
  const QImage shown = guitest::grabImage(list->viewport());
  const int rowHeight = pellory::shell::TextHeight(list->font());
  // White inverted, every other pixel.
  EXPECT_NE(shown.pixelColor(0, 0), shown.pixelColor(1, 0));
  for (const int x : {0, 1})
    EXPECT_TRUE(shown.pixelColor(x, 0) == Qt::black || shown.pixelColor(x, 0) == Qt::white);
  EXPECT_EQ(shown.pixelColor(0, rowHeight + 2), QColor(Qt::white)) << "one row high";
}

}  // namespace
