// What the grid paints: text cells, the highlight of the current cell,
// and picture cells by their control-type entry.
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <functional>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/table.h"
#include "pellory/ui/controls/menu_command.h"

namespace gridtest {
namespace {

using GridPaint = GridWindow;

// A column list with the picture column 10 digits wide, first or second.
DescriptionChange NarrowPicture(bool pictureFirst) {
  return pictureFirst ? Selected({"Sample3\t10\tSample", "Font Name\t20\tFont Name"})
                      : Selected({"Font Name\t20\tFont Name", "Sample3\t10\tSample"});
}

// Both changes, in order.
DescriptionChange Both(DescriptionChange a, DescriptionChange b) {
  return [a, b](pellory::shell::WindowDescription& d) {
    a(d);
    b(d);
  };
}

TEST_F(GridPaint, FontNamesStartThreePixelsInAndTwoDownAndWrap) {
  std::vector<Font> fonts = cataloguetest::Numbered(2);
  fonts[1].name = "Wrapping Face With A Name Longer Than Column";
  Open(fonts);
  grid()->clearFocus();
  guitest::pump();
  const QImage client = Client();
  const QRect first = Cell(1, 1);
  const QRect text = guitest::boundsOfNot(client, Qt::white, first);
  ASSERT_FALSE(text.isEmpty());
  EXPECT_GE(text.left(), first.left() + 3);
  EXPECT_LE(text.left(), first.left() + 5);
  EXPECT_GE(text.top(), first.top() + 2);
  EXPECT_LE(text.top(), first.top() + 6);
  EXPECT_LT(text.bottom(), first.top() + 2 + 16);
  const QRect second = Cell(1, 2);
  const QRect wrapped = guitest::boundsOfNot(client, Qt::white, second);
  EXPECT_GT(wrapped.height(), 16) << "more than one line";
  EXPECT_LE(wrapped.right(), second.right());
}

TEST_F(GridPaint, TheCurrentNameCellIsHighlightedOnlyWhileTheGridHasTheFocus) {
  Open(cataloguetest::Numbered(3));
  const QRect cell = Cell(1, 1);
  const QPoint inside = cell.center();
  ASSERT_TRUE(grid()->hasFocus());
  EXPECT_EQ(PixelAt(inside), kNavy);
  EXPECT_EQ(PixelAt(Cell(1, 2).center()), kWhite) << "only the current cell";
  EXPECT_EQ(PixelAt(Cell(2, 1).topLeft() + QPoint(30, 50)), kWhite) << "not the whole row";
  // A focus rectangle inverts every other pixel of the outline.
  const QRgb corner = PixelAt(cell.topLeft());
  EXPECT_NE(corner, kNavy);
  EXPECT_EQ(PixelAt(cell.topLeft() + QPoint(1, 0)), kNavy);

  auto* elsewhere = new QLineEdit(form->Client());
  elsewhere->setGeometry(0, 430, 50, 20);
  elsewhere->show();
  elsewhere->setFocus();
  guitest::pumpUntil([this] { return !grid()->hasFocus(); });
  EXPECT_EQ(PixelAt(inside), kWhite);
  EXPECT_EQ(PixelAt(cell.topLeft()), kWhite);
}

// A menu opened over the window takes its keys only while it is open: the
// grid keeps the focus, and the current cell its highlight, whether the
// menu is opened from the keyboard (Alt+F) or with the mouse.
TEST_F(GridPaint, TheHighlightStaysWhileTheWindowsMenuIsOpen) {
  Open(cataloguetest::Numbered(3));
  const QPoint inside = Cell(1, 1).center();
  ASSERT_EQ(PixelAt(inside), kNavy);
  auto* file = form->Component<pellory::ui::MenuCommand>(QStringLiteral("File1"));
  QMenu* menu = file->Submenu();
  auto* bar = form->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  const std::function<void()> openings[] = {
      [&] { guitest::key(grid(), Qt::Key_F, Qt::AltModifier); },
      [&] {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                          bar->actionGeometry(file->Action()).center());
      },
  };
  for (const auto& open : openings) {
    open();
    ASSERT_TRUE(guitest::pumpUntil([&] { return QApplication::activePopupWidget() == menu; }));
    guitest::pump();
    EXPECT_EQ(PixelAt(inside), kNavy) << "with the menu open";
    EXPECT_NE(PixelAt(Cell(1, 1).topLeft()), kNavy) << "and the focus rectangle";
    guitest::key(menu, Qt::Key_Escape);
    if (QApplication::focusWidget() == bar) guitest::key(bar, Qt::Key_Escape);
    guitest::pump();
    EXPECT_TRUE(grid()->hasFocus());
    EXPECT_EQ(PixelAt(inside), kNavy) << "after it closed";
  }
}

// The sunken edge: a grey and a black line along the top and left, a white
// and a button-face line along the right and bottom, each on the grid's
// outermost pixels.
TEST_F(GridPaint, TheSunkenEdgeLiesOnTheGridsOwnOuterPixels) {
  Open(cataloguetest::Numbered(3));
  const QImage whole = grid()->grab().toImage();
  ASSERT_EQ(whole.size(), QSize(585, 425));
  const int w = whole.width(), h = whole.height();
  const struct {
    QPoint at;
    QRgb colour;
    const char* what;
  } lines[] = {
      {{0, h / 2}, 0xFF808080, "outer left"},   {{1, h / 2}, 0xFF000000, "inner left"},
      {{w / 2, 0}, 0xFF808080, "outer top"},    {{w / 2, 1}, 0xFF000000, "inner top"},
      {{w - 1, h / 2}, kWhite, "outer right"},  {{w - 2, h / 2}, kSilver, "inner right"},
      {{w / 3, h - 1}, kWhite, "outer bottom"}, {{w / 3, h - 2}, kSilver, "inner bottom"},
  };
  for (const auto& line : lines)
    EXPECT_EQ(whole.pixel(line.at), line.colour)
        << line.what << " at " << line.at.x() << "," << line.at.y();
}

TEST_F(GridPaint, APictureLargerThanItsCellIsCutOnePixelInsideTheCell) {
  const auto colour = [](int x, int y) { return qRgb(x & 0xFF, y & 0xFF, 0x40); };
  Open(WithPicture(3, cataloguetest::BmpFile(200, 300, colour)), NarrowPicture(false));
  grid()->clearFocus();
  guitest::pump();
  const QRect cell = Cell(2, 1);
  ASSERT_EQ(cell.width(), grid()->ColWidth(2));
  ASSERT_LT(cell.width(), 200);
  const QImage client = Client();
  const int w = cell.width(), h = cell.height();
  for (QPoint at : {QPoint(0, 0), QPoint(w - 2, 0), QPoint(0, h - 2), QPoint(w - 2, h - 2)})
    EXPECT_EQ(client.pixel(cell.topLeft() + QPoint(1, 1) + at), colour(at.x(), at.y()))
        << at.x() << "," << at.y();
  EXPECT_EQ(client.pixel(cell.topLeft()), kWhite) << "the cell's first row and column stay";
  EXPECT_EQ(client.pixel(cell.topLeft() + QPoint(w - 1, 0)), kWhite);
  EXPECT_EQ(client.pixel(cell.topLeft() + QPoint(0, h - 1)), kWhite);
  EXPECT_EQ(client.pixel(cell.left() + w, cell.top() + 5), kSilver) << "the line after the cell";
}

TEST_F(GridPaint, ASmallerPictureLeavesTheRestOfTheCellInTheBackground) {
  Open(WithPicture(3, Solid(30, 20, qRgb(200, 0, 0))), NarrowPicture(false));
  grid()->clearFocus();
  guitest::pump();
  const QRect cell = Cell(2, 1);
  const QRect drawn = guitest::boundsOfNot(Client(), Qt::white, cell);
  EXPECT_EQ(drawn, QRect(cell.topLeft() + QPoint(1, 1), QSize(30, 20)));
}

TEST_F(GridPaint, TheCurrentPictureCellIsFramedOnlyWhileTheGridHasTheFocus) {
  const QRgb red = qRgb(200, 0, 0);
  Open(WithPicture(3, Solid(30, 20, red)), NarrowPicture(true));
  ASSERT_EQ(grid()->Col(), 1);
  const QRect cell = Cell(1, 1);
  const QPoint picture = cell.topLeft() + QPoint(10, 10);
  const QPoint uncovered = cell.topLeft() + QPoint(10, 60);
  const std::vector<QPoint> outline = {cell.topLeft(),
                                       cell.topRight(),
                                       cell.bottomLeft(),
                                       cell.bottomRight(),
                                       QPoint(cell.center().x(), cell.top()),
                                       QPoint(cell.left(), cell.center().y())};
  QImage client = Client();
  for (QPoint p : outline) EXPECT_EQ(client.pixel(p), kNavy) << p.x() << "," << p.y();
  EXPECT_EQ(client.pixel(uncovered), kNavy);
  EXPECT_EQ(client.pixel(picture), red);

  grid()->clearFocus();
  guitest::pumpUntil([this] { return !grid()->hasFocus(); });
  client = Client();
  for (QPoint p : outline) EXPECT_EQ(client.pixel(p), kWhite) << p.x() << "," << p.y();
  EXPECT_EQ(client.pixel(uncovered), kWhite);
  EXPECT_EQ(client.pixel(picture), red);
}

TEST_F(GridPaint, APictureWithTheGraphicHeaderLooksLikeOneWithout) {
  const std::string bmp =
      cataloguetest::BmpFile(40, 30, [](int x, int y) { return qRgb(x * 6, y * 8, 100); });
  std::vector<Font> fonts = cataloguetest::Numbered(2);
  fonts[0].picture = bmp;
  fonts[1].picture = WithGraphicHeader(bmp);
  Open(fonts, NarrowPicture(false));
  grid()->clearFocus();
  guitest::pump();
  const QImage client = Client();
  const QImage plain = client.copy(Cell(2, 1));
  EXPECT_EQ(plain, client.copy(Cell(2, 2)));
  EXPECT_EQ(plain.pixel(1 + 5, 1 + 5), qRgb(30, 40, 100)) << "a picture was drawn";
}

TEST_F(GridPaint, BytesThatAreNoBitmapGiveAnEmptyCellAndNoMessage) {
  std::vector<Font> fonts = cataloguetest::Numbered(3);
  fonts[0].picture = "no bitmap here, just some text of reasonable length";
  fonts[1].picture = "BM";  // too short for a file header
  fonts[2].picture = WithGraphicHeader("BMxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
  Open(fonts, NarrowPicture(false));
  grid()->clearFocus();
  guitest::pump();
  EXPECT_TRUE(boxes->empty());
  const QImage client = Client();
  for (int row = 1; row <= 3; ++row)
    EXPECT_TRUE(guitest::boundsOfNot(client, Qt::white, Cell(2, row)).isEmpty()) << row;
}

// The control-type entries of the picture field: how its cells look.
struct EntryCase {
  const char* name;
  QStringList entries;
  enum Look { Picture, Text, Nothing } look;
};

class ControlTypeEntries : public GridWindow, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(ControlTypeEntries, DecideHowThePictureFieldIsDrawn) {
  const QRgb red = qRgb(200, 0, 0);
  Open(WithPicture(3, Solid(30, 20, red)),
       Both(NarrowPicture(false), ControlType(GetParam().entries)));
  grid()->clearFocus();
  guitest::pump();
  const QRect cell = Cell(2, 1);
  const QImage client = Client().copy(cell);
  const QRect marks = guitest::boundsOfNot(client, Qt::white);
  switch (GetParam().look) {
    case EntryCase::Picture:
      EXPECT_EQ(client.pixel(5, 5), red);
      break;
    case EntryCase::Text:
      EXPECT_FALSE(marks.isEmpty());
      EXPECT_NE(client.pixel(5, 5), red);
      EXPECT_GE(marks.left(), 3) << "text starts 3 pixels in";
      EXPECT_LT(marks.bottom(), 2 + 16) << "one line of text";
      break;
    case EntryCase::Nothing:
      EXPECT_TRUE(marks.isEmpty());
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ControlTypeEntries,
    ::testing::Values(
        EntryCase{"Stored",
                  {"Sample;Bitmap;Original Size;Source Copy", "Ads;CheckBox;True;False",
                   "Sample3;Bitmap;Original Size;Source Copy"},
                  EntryCase::Picture},
        EntryCase{
            "LowerCaseFieldName", {"sample3;Bitmap;Original Size;Source Copy"}, EntryCase::Text},
        EntryCase{
            "BlankBeforeTheKind", {"Sample3; Bitmap;Original Size;Source Copy"}, EntryCase::Text},
        EntryCase{
            "LowerCaseSizing", {"Sample3;Bitmap;original size;Source Copy"}, EntryCase::Nothing},
        EntryCase{
            "LowerCaseOperation", {"Sample3;Bitmap;Original Size;source copy"}, EntryCase::Picture},
        EntryCase{"LastEntryWins",
                  {"Sample3;Bitmap;Original Size;Source Copy", "Sample3;Bitmap;Bogus;Source Copy"},
                  EntryCase::Nothing},
        EntryCase{"LastEntryWinsTheOtherWay",
                  {"Sample3;Bitmap;Bogus;Source Copy", "Sample3;Bitmap;Original Size;Source Copy"},
                  EntryCase::Picture},
        EntryCase{"NoEntry", {}, EntryCase::Text}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(GridPaint, ALowerCaseFieldNameSurvivesPruningButNotTheLookUp) {
  Open(cataloguetest::Numbered(2),
       ControlType({"Sample;Bitmap;Original Size;Source Copy", "sample3;Bitmap;Original Size",
                    "Ads;CheckBox;True;False"}));
  EXPECT_EQ(form->wwTable1()->ControlType(),
            (std::vector<std::string>{"sample3;Bitmap;Original Size"}));
}

// Raster operations: the picture's colour S combined with the cell's D,
// on a white cell and on the highlighted one.
struct OperationCase {
  const char* keyword;
  QRgb (*combine)(QRgb s, QRgb d);
};

class RasterOperations : public GridWindow, public ::testing::WithParamInterface<OperationCase> {};

TEST_P(RasterOperations, CombineThePictureWithTheCell) {
  const QRgb s = qRgb(0x12, 0x34, 0xC6);
  Open(WithPicture(3, Solid(30, 20, s)),
       Both(NarrowPicture(true), ControlType({QStringLiteral("Sample3;Bitmap;Original Size;%1")
                                                  .arg(QLatin1String(GetParam().keyword))})));
  const auto expected = [&](QRgb d) { return GetParam().combine(s, d) | 0xFF000000u; };
  QImage client = Client();
  EXPECT_EQ(client.pixel(Cell(1, 1).topLeft() + QPoint(5, 5)), expected(kNavy)) << "highlighted";
  EXPECT_EQ(client.pixel(Cell(1, 2).topLeft() + QPoint(5, 5)), expected(kWhite)) << "white";
}

INSTANTIATE_TEST_SUITE_P(
    Operations, RasterOperations,
    ::testing::Values(OperationCase{"Source Copy", [](QRgb s, QRgb) { return s; }},
                      OperationCase{"Source Paint", [](QRgb s, QRgb d) { return s | d; }},
                      OperationCase{"Source And", [](QRgb s, QRgb d) { return s & d; }},
                      OperationCase{"Source Invert", [](QRgb s, QRgb d) { return s ^ d; }},
                      OperationCase{"Source Erase", [](QRgb s, QRgb d) { return s & ~d; }},
                      OperationCase{"Not Source Copy", [](QRgb s, QRgb) { return ~s; }},
                      OperationCase{"Not Source Erase", [](QRgb s, QRgb d) { return ~(s | d); }},
                      OperationCase{"Merge Paint", [](QRgb s, QRgb d) { return ~s | d; }},
                      OperationCase{"Unknown Operation", [](QRgb s, QRgb) { return s; }}),
    [](const auto& param) {
      QString name = QString::fromLatin1(param.param.keyword);
      return name.remove(QLatin1Char(' ')).toStdString();
    });

// Sizing modes: where a 40 by 20 picture lands in the 10-digit column.
struct SizingCase {
  const char* keyword;
  QRect (*area)(QRect cell);
};

class SizingModes : public GridWindow, public ::testing::WithParamInterface<SizingCase> {};

TEST_P(SizingModes, PlaceThePictureInTheCell) {
  Open(WithPicture(3, Solid(40, 20, qRgb(0, 150, 0))),
       Both(NarrowPicture(false), ControlType({QStringLiteral("Sample3;Bitmap;%1;Source Copy")
                                                   .arg(QLatin1String(GetParam().keyword))})));
  grid()->clearFocus();
  guitest::pump();
  const QRect cell = Cell(2, 1);
  ASSERT_EQ(cell.size(), QSize(84, 122)) << "the areas below assume this cell";
  EXPECT_EQ(guitest::boundsOfNot(Client(), Qt::white, cell), GetParam().area(cell));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SizingModes,
    ::testing::Values(
        SizingCase{"Original Size",
                   [](QRect c) { return QRect(c.left() + 1, c.top() + 1, 40, 20); }},
        SizingCase{"Stretch To Fit", [](QRect c) { return c; }},
        // 40 x 20 to the height 122 is 244 wide, more than 84: the cell's
        // width less one, its height less one.
        SizingCase{"Fit Height", [](QRect c) { return QRect(c.left() + 1, c.top(), 83, 121); }},
        // To the width 84 it is 42 high.
        SizingCase{"Fit Width", [](QRect c) { return QRect(c.left() + 1, c.top(), 83, 41); }},
        SizingCase{"Fit Everything", [](QRect) { return QRect(); }}),
    [](const auto& param) {
      QString name = QString::fromLatin1(param.param.keyword);
      return name.remove(QLatin1Char(' ')).toStdString();
    });

}  // namespace
}  // namespace gridtest
