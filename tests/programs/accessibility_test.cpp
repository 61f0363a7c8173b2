// The windows as a screen reader reads them: the real program on an X
// display of the test's own, with a private accessibility bus, its tree
// read through AT-SPI (python3-pyatspi) and its keys typed with xdotool.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "accessibility_bus.h"
#include "pellory/data/catalogue.h"
#include "program_copies.h"
#include "test_catalogue.h"
#include "x_session.h"

namespace {

using xtest::AccessibilityBus;
using xtest::AccessibleRow;
using xtest::ProgramCopy;
using xtest::XSession;

constexpr int kPatienceMs = 60'000;
constexpr int kFonts = 12;

bool WaitFor(const std::function<bool()>& done, int timeoutMs = kPatienceMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return true;
}

// "Font 01" to "Font 12" (numbers as wide as the count's), so the table's
// order is the numbers'; only the first has a sample picture.
std::vector<cataloguetest::Font> Fonts(int count) {
  std::vector<cataloguetest::Font> fonts = cataloguetest::Numbered(count);
  const std::size_t width = std::to_string(count).size();
  for (int i = 0; i < count; ++i) {
    const std::string number = std::to_string(i + 1);
    // Appended piece by piece: GCC 12 wrongly warns about "literal" + string.
    std::string name = "Font ";
    name.append(width - number.size(), '0');
    name += number;
    fonts[size_t(i)].name = name;
  }
  fonts[0].picture =
      cataloguetest::BmpFile(40, 20, [](int x, int) { return x < 20 ? 0xFF0000 : 0xFF; });
  return fonts;
}

std::string Describe(const AccessibleRow& r) {
  return r.path + " | " + r.role + " | " + r.name + " | " + r.states + " | " + r.labelledBy +
         " | " + r.extra;
}

std::string Describe(const std::vector<AccessibleRow>& rows) {
  std::string text;
  for (const AccessibleRow& r : rows) text += Describe(r) + "\n";
  return text;
}

// A row whose path ends with `row.path` and whose other columns are equal.
bool Contains(const std::vector<AccessibleRow>& tree, const AccessibleRow& row) {
  for (const AccessibleRow& r : tree) {
    const bool pathEnds =
        r.path.size() >= row.path.size() &&
        r.path.compare(r.path.size() - row.path.size(), row.path.size(), row.path) == 0;
    if (pathEnds && r.role == row.role && r.name == row.name && r.states == row.states &&
        r.labelledBy == row.labelledBy && r.extra == row.extra)
      return true;
  }
  return false;
}

int CountUnder(const std::vector<AccessibleRow>& tree, const std::string& pathEnd) {
  int n = 0;
  for (const AccessibleRow& r : tree)
    if (r.path.size() >= pathEnd.size() &&
        r.path.compare(r.path.size() - pathEnd.size(), pathEnd.size(), pathEnd) == 0)
      ++n;
  return n;
}

class Accessibility : public ::testing::Test {
 protected:
  void SetUp() override {
    x = std::make_unique<XSession>();
    if (!x->Available()) GTEST_SKIP() << "needs an X display of its own: " << x->Problem();
    bus = std::make_unique<AccessibilityBus>(x->Display());
    if (!bus->Available()) GTEST_SKIP() << "needs an accessibility bus: " << bus->Problem();
    catalogue = std::make_unique<cataloguetest::TestCatalogue>(Fonts(fonts), true, password);
    program = std::make_unique<ProgramCopy>(x->Display());
    if (password != pellory::data::kCataloguePassword) return;  // the dialog comes first
    ASSERT_TRUE(WaitFor([&] {
      return (mainWindow = x->WindowOf(program->Pid(), "^Font search$").value_or("")) != "";
    })) << "the program opens its main window";
  }

  void TearDown() override {
    program.reset();
    catalogue.reset();
    bus.reset();
    x.reset();
  }

  // The tree of `window` once `ready` holds for it.
  std::vector<AccessibleRow> TreeOnceReady(
      const std::string& window,
      const std::function<bool(const std::vector<AccessibleRow>&)>& ready) {
    std::vector<AccessibleRow> tree;
    WaitFor([&] {
      tree = bus->Tree(program->Pid(), window);
      return ready(tree);
    });
    return tree;
  }

  std::vector<AccessibleRow> TreeWith(const std::string& window, const AccessibleRow& row) {
    return TreeOnceReady(window, [&](const auto& tree) { return Contains(tree, row); });
  }

  // F7 in the main window; answers the grid window's X window.
  std::string OpenGrid() {
    EXPECT_TRUE(x->Press(mainWindow, "F7"));
    std::string grid;
    EXPECT_TRUE(WaitFor(
        [&] { return (grid = x->WindowOf(program->Pid(), "^Font Display$").value_or("")) != ""; }));
    return grid;
  }

  // Keys typed into the grid, each heard as the focus coming to the new
  // current cell with its row as a screen reader tells it ("row 12 of 12"),
  // which the table then reports as its focused cell (ROW, COLUMN, TEXT).
  // A move with no cell given is only typed.
  struct Move {
    const char* keys;
    std::string cell;
    std::string spoken;
  };
  void ExpectMoves(const std::string& grid, const std::vector<Move>& moves) {
    for (const Move& move : moves) {
      SCOPED_TRACE(move.keys);
      const std::string heard =
          bus->Script(program->Pid(), std::string("--events key ") + grid + " " + move.keys);
      if (move.cell.empty()) continue;
      const std::string name = move.cell.substr(move.cell.rfind('\t') + 1);
      EXPECT_NE(heard.find("focus:\ttable cell\t" + name + "\t" + move.spoken), std::string::npos)
          << heard;
      EXPECT_EQ(bus->Script(program->Pid(), "--focused-cell 'Font Display'"), move.cell);
    }
  }

  std::unique_ptr<XSession> x;
  std::unique_ptr<AccessibilityBus> bus;
  std::string password{pellory::data::kCataloguePassword};
  int fonts = kFonts;
  std::unique_ptr<cataloguetest::TestCatalogue> catalogue;
  std::unique_ptr<ProgramCopy> program;
  std::string mainWindow;
};

// (path ending, role, name, states, labelled by, description or text)
const AccessibleRow kMainWindowAtStart[] = {
    {"", "frame", "Font search", "", "", ""},
    {"[tool bar]", "push button", "First font", "disabled", "", "First font"},
    {"[tool bar]", "push button", "Previous font", "disabled", "", "Previous font"},
    {"[tool bar]", "push button", "Next font", "", "", "Next font"},
    {"[tool bar]", "push button", "Last font", "", "", "Last font"},
    {"[filler]", "label", "Font name:", "read-only", "", ""},
    {"[filler]", "text", "Font name:", "focused,read-only", "Font name:", "text=Font 01"},
    {"[filler]", "text", "File name:", "read-only", "File name:", "text=f1.ttf"},
    {"[filler]", "image", "Sample:", "", "Sample:", "Sample of Font 01"},
    {"[filler]", "text", "Description:", "read-only", "Description:", "text=About font 1"},
    {"[filler]", "label", "Present display: ", "read-only", "", ""},
    {"[filler]", "label", "All fonts", "read-only", "Present display: ", ""},
    {"[filler]", "push button", "CAPITAL SERIF", "", "", ""},
    {"[filler]", "push button", "Wingdings", "", "", ""},
    {"[filler]", "push button", "All fonts", "", "", ""},
    {"[menu bar]", "menu item", "Views", "", "", ""},
};

TEST_F(Accessibility, TheMainWindowsControlsReadWithRoleNameStateAndLabel) {
  const auto tree = TreeWith("Font search", kMainWindowAtStart[6]);
  for (const AccessibleRow& row : kMainWindowAtStart)
    EXPECT_TRUE(Contains(tree, row)) << "expected " << Describe(row) << "\nin\n" << Describe(tree);
  EXPECT_EQ(CountUnder(tree, "/[tool bar]"), 4) << "the six hidden buttons are not exposed";
}

TEST_F(Accessibility, ANavigatorStepIsHeardInTheBoxesAndReadInTheButtons) {
  TreeWith("Font search", kMainWindowAtStart[6]);
  // Pressed through AT-SPI, as a screen reader user presses it.
  const std::string heard = bus->Script(program->Pid(), "--events press 'Next font'");
  for (const char* event : {"object:text-changed:insert\ttext\tFont name:",
                            "object:text-changed:insert\ttext\tFile name:",
                            "object:text-changed:insert\ttext\tDescription:",
                            "object:property-change:accessible-description\timage\tSample:"})
    EXPECT_NE(heard.find(event), std::string::npos) << event << " in\n" << heard;
  const AccessibleRow moved[] = {
      {"[filler]", "text", "Font name:", "focused,read-only", "Font name:", "text=Font 02"},
      {"[filler]", "text", "File name:", "read-only", "File name:", "text=f2.ttf"},
      {"[filler]", "image", "Sample:", "", "Sample:", "no picture"},
      {"[tool bar]", "push button", "First font", "", "", "First font"},
      {"[tool bar]", "push button", "Previous font", "", "", "Previous font"},
  };
  const auto tree = TreeWith("Font search", moved[0]);
  for (const AccessibleRow& row : moved)
    EXPECT_TRUE(Contains(tree, row)) << "expected " << Describe(row) << "\nin\n" << Describe(tree);
}

TEST_F(Accessibility, TheGridIsATableWhoseFocusedCellFollowsTheKeys) {
  const std::string grid = OpenGrid();
  const auto tree = TreeOnceReady("Font Display", [](const auto& t) {
    for (const AccessibleRow& r : t)
      if (r.role == "table") return true;
    return false;
  });
  const AccessibleRow expected[] = {
      {"", "frame", "Font Display", "", "", ""},
      {"[filler]", "table", "Font Display", "focused", "",
       "rows=12 columns=2 headers=Font Name|Sample focused=row 0 column 0 'Font 01'"},
      {"/Font Display", "table column header", "Font Name", "read-only", "", ""},
      {"/Font Display", "table column header", "Sample", "read-only", "", ""},
      {"/Font Display", "table cell", "Font 01", "focused,selected,read-only", "", ""},
      {"/Font Display", "table cell", "Sample of Font 01", "read-only", "", ""},
      {"/Font Display", "table cell", "Font 02", "read-only", "", ""},
      {"/Font Display", "table cell", "no picture", "read-only", "", ""},
  };
  for (const AccessibleRow& row : expected)
    EXPECT_TRUE(Contains(tree, row)) << "expected " << Describe(row) << "\nin\n" << Describe(tree);
  ExpectMoves(grid, {{"Down", "1\t0\tFont 02", "row 2 of 12"},
                     {"ctrl+End", "11\t0\tFont 12", "row 12 of 12"},
                     {"Up", "10\t0\tFont 11", "row 11 of 12"}});
}

// The rows are the catalogue's records, however many: the grid holds a few
// of them, and the table still counts them all and numbers the current one
// as the cursor does, reading no record to say so.
class AccessibilityOfALargeCatalogue : public Accessibility {
 protected:
  AccessibilityOfALargeCatalogue() { fonts = 100'000; }
};

TEST_F(AccessibilityOfALargeCatalogue, TheGridTableCountsEveryRecordAndNumbersTheCurrentOne) {
  const std::string grid = OpenGrid();
  const AccessibleRow table = {"[filler]",
                               "table",
                               "Font Display",
                               "focused",
                               "",
                               "rows=100000 columns=2 headers=Font Name|Sample "
                               "focused=row 0 column 0 'Font 000001'"};
  const auto tree = TreeWith("Font Display", table);
  EXPECT_TRUE(Contains(tree, table)) << Describe(tree);
  // The dump lists the first rows: those the grid holds read as they show,
  // the first it does not hold reads empty and off screen.
  EXPECT_TRUE(Contains(tree, {"/Font Display", "table cell", "Font 000002", "read-only", "", ""}))
      << Describe(tree);
  EXPECT_TRUE(Contains(tree, {"/Font Display", "table cell", "", "read-only,invisible", "", ""}))
      << Describe(tree);
  ExpectMoves(grid, {{"ctrl+End", "99999\t0\tFont 100000", "row 100000 of 100000"},
                     {"Prior", "", ""},
                     {"ctrl+Home", "0\t0\tFont 000001", "row 1 of 100000"},
                     {"Next", "", ""}});
  // A page down from the first record: the focused row is the new record's
  // number less one, whatever the number of rows that fit.
  const std::string focused = bus->Script(program->Pid(), "--focused-cell 'Font Display'");
  const int row = std::atoi(focused.c_str());
  EXPECT_GT(row, 0) << focused;
  EXPECT_EQ(focused, std::to_string(row) + "\t0\t" + Fonts(fonts)[std::size_t(row)].name);
}

TEST_F(Accessibility, TheInstalledFontsListIsNamedByItsFontTypeAndCount) {
  ASSERT_TRUE(x->Press(mainWindow, "F6"));
  const std::string title = "Master installed font display";
  std::string window;
  ASSERT_TRUE(WaitFor([&] {
    return (window = x->WindowOf(program->Pid(), "^" + title + "$").value_or("")) != "";
  }));
  auto tree = TreeWith(title, {"", "list", "Screen", "", "", ""});
  EXPECT_TRUE(Contains(tree, {"", "list", "Screen", "", "", ""})) << Describe(tree);
  EXPECT_TRUE(Contains(tree, {"", "panel", "Font Type", "focused", "", "Select display "}))
      << Describe(tree);
  ASSERT_TRUE(x->Press(window, "alt+b"));
  std::string count;
  tree = TreeOnceReady(title, [&](const auto& t) {
    for (const AccessibleRow& r : t)
      if (r.role == "label" && r.name.find(" fonts available") != std::string::npos) count = r.name;
    return !count.empty();
  });
  ASSERT_FALSE(count.empty()) << Describe(tree);
  EXPECT_TRUE(Contains(tree, {"", "list", "Both, " + count, "", "", ""})) << Describe(tree);
}

TEST_F(Accessibility, ASecondCopysMessageIsReadAsAnAlert) {
  ProgramCopy second(x->Display());
  std::vector<AccessibleRow> tree;
  WaitFor([&] {
    tree = bus->Tree(second.Pid());
    return Contains(tree, {"Error", "push button", "OK", "focused", "", ""});
  });
  const AccessibleRow expected[] = {
      {"", "alert", "Error", "", "", "Font search is already running."},
      {"Error", "label", "Font search is already running.", "read-only", "", ""},
      {"Error", "push button", "OK", "focused", "", ""},
  };
  for (const AccessibleRow& row : expected)
    EXPECT_TRUE(Contains(tree, row)) << "expected " << Describe(row) << "\nin\n" << Describe(tree);
}

TEST_F(Accessibility, TheAboutBoxReadsItsIconTextsAndButton) {
  ASSERT_TRUE(x->Press(mainWindow, "alt+h a"));
  const std::string box = "About Pellory Fonts";
  const AccessibleRow expected[] = {
      {"", "frame", box, "", "", ""},
      {"/[panel]", "image", "Pellory Fonts", "", "", ""},
      {"/[panel]", "label", "Carvelle- Bonus Fonts", "read-only", "", ""},
      {"/[panel]", "label", "Version 2.0", "read-only", "", ""},
      {"", "push button", "OK", "focused", "", ""},
  };
  const auto tree = TreeWith(box, expected[4]);
  for (const AccessibleRow& row : expected)
    EXPECT_TRUE(Contains(tree, row)) << "expected " << Describe(row) << "\nin\n" << Describe(tree);
}

class PasswordAccessibility : public Accessibility {
 protected:
  PasswordAccessibility() { password = "another"; }
};

TEST_F(PasswordAccessibility, ThePasswordBoxIsAPasswordTextNamedByItsGroup) {
  const AccessibleRow expected[] = {
      {"", "dialog", "Enter password", "", "", ""},
      {"/Password", "password text", "Password", "focused", "Password", "text="},
      {"/Password", "push button", "Add", "disabled", "Password", ""},
      {"", "push button", "OK", "disabled", "", ""},
      {"", "push button", "Cancel", "", "", ""},
  };
  std::vector<AccessibleRow> tree;
  WaitFor([&] {
    tree = bus->Tree(program->Pid(), "Enter password");
    return Contains(tree, expected[1]);
  });
  for (const AccessibleRow& row : expected)
    EXPECT_TRUE(Contains(tree, row)) << "expected " << Describe(row) << "\nin\n" << Describe(tree);
}

}  // namespace
