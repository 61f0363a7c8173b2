// The grid window's layout on small catalogues: row heights, columns and
// their widths, the rows that fit, the empty and the short catalogue.
#include <QFontMetrics>
#include <QScrollBar>

#include "grid_window.h"
#include "gui_helpers.h"
#include "pellory/data/datalink.h"
#include "pellory/data/field.h"
#include "pellory/data/table.h"
#include "pellory/shell/screen_scaling.h"
#include "pellory/shell/stored_font.h"

namespace gridtest {
namespace {

using GridLayout = GridWindow;

QFont WindowFont() {
  return pellory::shell::StoredFont{}.ToQFont();  // "System", -13
}

TEST_F(GridLayout, RowsAndColumnsFollowTheFontAndTheStoredWidths) {
  Open(cataloguetest::Numbered(10));
  const int text = pellory::shell::TextHeight(WindowFont());
  ASSERT_EQ(text, 16) << "the row sizes below assume a 16-pixel text height";
  EXPECT_EQ(grid()->DataRowHeight(), 122);
  EXPECT_EQ(grid()->TitleRowHeight(), 20);
  EXPECT_EQ(grid()->ColWidth(0), 11);
  const int digit = QFontMetrics(WindowFont()).horizontalAdvance(QLatin1Char('0'));
  ASSERT_EQ(grid()->ColCount(), 3);
  EXPECT_EQ(grid()->ColWidth(1), 20 * digit + 4);
  EXPECT_EQ(grid()->ColWidth(2), 120 * digit + 4);
  EXPECT_EQ(grid()->Columns()[0].fieldName, QStringLiteral("Font Name"));
  EXPECT_EQ(grid()->Columns()[1].fieldName, QStringLiteral("Sample3"));
  // 425 less the edges and the horizontal scroll bar leaves 405 pixels:
  // 21 + 123 n <= 406 holds for three rows.
  EXPECT_EQ(grid()->viewport()->height(), 405);
  EXPECT_EQ(grid()->VisibleDataRows(), 3);
  EXPECT_EQ(grid()->RowCount(), 4);
  EXPECT_EQ(grid()->DataLink().BufferCount(), 3);
  EXPECT_TRUE(grid()->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(grid()->verticalScrollBar()->isVisible());
}

TEST_F(GridLayout, GridLinesAreBlackAroundFixedCellsAndSilverBetweenData) {
  Open(cataloguetest::Numbered(10));
  const QImage client = Client();
  const int rowLine = 20 + 1 + 122;  // below the first data row
  const int colLine = 11 + 1 + grid()->ColWidth(1);
  EXPECT_EQ(client.pixel(5, 20), kBlack) << "below the title row";
  EXPECT_EQ(client.pixel(60, 20), kBlack);
  EXPECT_EQ(client.pixel(11, 60), kBlack) << "right of the indicator column";
  EXPECT_EQ(client.pixel(5, rowLine), kBlack) << "between indicator cells";
  EXPECT_EQ(client.pixel(60, rowLine), kSilver) << "between data cells";
  EXPECT_EQ(client.pixel(colLine, 10), kBlack) << "between title cells";
  EXPECT_EQ(client.pixel(colLine, 60), kSilver);
  EXPECT_EQ(client.pixel(colLine + 50, rowLine - 1), kWhite) << "the row is 122 pixels high";
  EXPECT_EQ(client.pixel(colLine + 50, rowLine + 1), kWhite);
}

TEST_F(GridLayout, RowHeightPercentScalesTheDataRows) {
  Open(cataloguetest::Numbered(20));
  struct Case {
    int percent, stored, height;
  };
  for (const Case& c : {Case{643, 643, 122}, Case{100, 100, 19}, Case{200, 200, 38},
                        Case{0, 100, 19}, Case{-5, 100, 19}}) {
    grid()->SetRowHeightPercent(c.percent);
    EXPECT_EQ(grid()->RowHeightPercent(), c.stored) << c.percent;
    EXPECT_EQ(grid()->DataRowHeight(), c.height) << c.percent;
    const int fit = (grid()->viewport()->height() - 20) / (c.height + 1);
    EXPECT_EQ(grid()->VisibleDataRows(), fit) << c.percent;
    EXPECT_EQ(grid()->RowCount(), fit + 1) << c.percent;
  }
}

TEST_F(GridLayout, FewerRecordsThanRowsShowOnlyThoseRows) {
  Open(cataloguetest::Numbered(2));
  EXPECT_EQ(grid()->VisibleDataRows(), 3);
  EXPECT_EQ(grid()->RowCount(), 3);
  const QImage client = Client();
  const int belowRows = 20 + 2 * 123;  // the line after the second row
  EXPECT_EQ(client.pixel(60, belowRows), kSilver);
  EXPECT_EQ(client.pixel(5, belowRows), kBlack);
  for (int y : {belowRows + 1, belowRows + 60, client.height() - 1})
    for (int x : {5, 11, 60, grid()->ColWidth(1) + 12})
      EXPECT_EQ(client.pixel(x, y), kWhite) << x << "," << y;
}

TEST_F(GridLayout, AnEmptyCatalogueShowsOneEmptyRowWithTheArrow) {
  Open({});
  EXPECT_EQ(grid()->RowCount(), 2);
  EXPECT_TRUE(grid()->verticalScrollBar()->isVisible());
  EXPECT_EQ(grid()->verticalScrollBar()->value(), 0);
  const QRect indicator = Cell(0, 1);
  ASSERT_FALSE(indicator.isEmpty());
  // The arrow's widest row is its middle one, 4 pixels from x = 3.
  const int middle = (indicator.top() + indicator.bottom() + 1 - 11) / 2 + 5;
  const QImage client = Client();
  for (int x = 3; x < 7; ++x) EXPECT_EQ(client.pixel(x, middle), kBlack) << x;
  EXPECT_NE(client.pixel(7, middle), kBlack);
}

TEST_F(GridLayout, ACatalogueThatCannotOpenLeavesAnEmptyGridAndTheEngineError) {
  OpenWithoutCatalogue();
  ASSERT_EQ(boxes->size(), 1u);
  EXPECT_FALSE(boxes->front().text.isEmpty());
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->wwTable1()->Active());
  EXPECT_EQ(grid()->RowCount(), 2);
  EXPECT_EQ(grid()->ColCount(), 2);
  EXPECT_FALSE(grid()->verticalScrollBar()->isVisible());
  EXPECT_FALSE(grid()->horizontalScrollBar()->isVisible());
}

TEST_F(GridLayout, AnEmptyColumnListShowsEveryField) {
  Open(cataloguetest::Numbered(3), Selected({}));
  QStringList names;
  for (const auto& column : grid()->Columns()) names << column.fieldName;
  EXPECT_EQ(names, (QStringList{"Font Name", "Description", "Filename", "Category", "Sample3"}));
}

TEST_F(GridLayout, AnEntryNamingNoFieldKeepsTheOthersInEntryOrder) {
  Open(cataloguetest::Numbered(3),
       Selected({"Nothing\t5\tNone", "Sample3\t10\tSample", "filename\t13\tFile"}));
  QStringList names;
  for (const auto& column : grid()->Columns()) names << column.fieldName;
  EXPECT_EQ(names, (QStringList{"Sample3", "Filename"}));
}

TEST_F(GridLayout, ATitleWithATildeTakesTwoLinesAndTheWiderWord) {
  Open(cataloguetest::Numbered(3), [](pellory::shell::WindowDescription& d) {
    Selected({"Font Name\t1\tAlpha~Omega", "Sample3\t10\tSample"})(d);
    SetStored(d, "wwDBGrid1", "TitleLines", 2);
  });
  const QFontMetrics metrics(WindowFont());
  const int widest =
      std::max(metrics.horizontalAdvance("Alpha"), metrics.horizontalAdvance("Omega"));
  EXPECT_EQ(grid()->TitleRowHeight(), 2 * 16 + 4);
  EXPECT_EQ(grid()->ColWidth(1), widest + 4);
  EXPECT_LT(grid()->ColWidth(1), metrics.horizontalAdvance("Alpha Omega") + 4);
  const QRect title = Cell(1, 0);
  const QImage client = Client();
  const QColor face(192, 192, 192);
  const QRect upper =
      guitest::boundsOfNot(client, face, title.adjusted(1, 1, 0, -title.height() / 2));
  const QRect lower =
      guitest::boundsOfNot(client, face, title.adjusted(1, title.height() / 2, 0, 0));
  EXPECT_FALSE(upper.isEmpty()) << "first line";
  EXPECT_FALSE(lower.isEmpty()) << "second line";
}

TEST_F(GridLayout, AWidthOfNothingGivesTheTitleWidth) {
  Open(cataloguetest::Numbered(3), Selected({"Font Name\t0\tFont Name", "Sample3\t0\tX"}));
  const QFontMetrics metrics(WindowFont());
  EXPECT_EQ(grid()->ColWidth(1), metrics.horizontalAdvance("Font Name") + 4);
  EXPECT_EQ(grid()->ColWidth(2), std::max(4, metrics.horizontalAdvance("X") + 4));
}

TEST_F(GridLayout, ScaledToAnotherScreenTheTitlesScaleWithTheCells) {
  Open(cataloguetest::Numbered(10));
  ASSERT_EQ(grid()->TitleRowHeight(), 20);
  grid()->ChangeScale(3, 2);  // 96 to 144 pixels per inch
  guitest::pump();
  EXPECT_EQ(grid()->TitleFont().height, pellory::shell::Scaled(-13, 3, 2));
  const int title = pellory::shell::TextHeight(grid()->TitleFont().ToQFont());
  const int text = pellory::shell::TextHeight(grid()->font());
  ASSERT_GT(title, 16);
  EXPECT_EQ(grid()->TitleRowHeight(), title + 4);
  EXPECT_EQ(grid()->DataRowHeight(), (text + 2 + 1) * 643 / 100);
  // The black line below the title row moved down with it.
  EXPECT_EQ(Client().pixel(5, grid()->TitleRowHeight()), kBlack);
  EXPECT_NE(Client().pixel(60, 20), kBlack) << "no line left at the old height";
}

}  // namespace
}  // namespace gridtest
