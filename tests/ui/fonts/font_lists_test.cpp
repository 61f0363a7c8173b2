// Which names each font type lists, from given screen and printer lists.
#include "pellory/ui/fonts/font_lists.h"

#include <gtest/gtest.h>

namespace {

using namespace pellory::ui;

struct Case {
  const char* what;
  QStringList first;
  QStringList second;
  QStringList expected;
};

TEST(FontLists, ScreenOnlyLeavesOutWhatThePrinterHasIgnoringCase) {
  const Case cases[] = {
      {"no printer fonts", {"Default", "Arial"}, {}, {"Default", "Arial"}},
      {"shared names go, in any case",
       {"Default", "Arial", "Courier", "Zed"},
       {"Times", "COURIER", "zed"},
       {"Default", "Arial"}},
      {"a screen name twice stays twice", {"B", "A", "B"}, {"C"}, {"B", "A", "B"}},
      {"a printer face named Default hides the entry", {"Default", "A"}, {"default"}, {"A"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ScreenOnly(c.first, c.second), c.expected) << c.what;
}

TEST(FontLists, PrinterOnlyLeavesOutWhatTheScreenHasIgnoringCase) {
  const Case cases[] = {
      {"every printer font when the screen shares none",
       {"Zapf-Chancery", "Courier"},
       {"Arial", "Default"},
       {"Zapf-Chancery", "Courier"}},
      {"shared names go, found by binary search",
       {"Courier", "ARIAL", "Times-Roman", "default", "zed"},
       {"Arial", "Bravo", "Charlie", "Default", "Echo", "Zed"},
       {"Courier", "Times-Roman"}},
      {"duplicates of the printer's list stay",
       {"Courier", "Courier"},
       {"Default"},
       {"Courier", "Courier"}},
      {"no printer fonts", {}, {"Default"}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(PrinterOnly(c.first, c.second), c.expected) << c.what;
}

TEST(FontLists, BothSortedOnceWithThePrintersSpelling) {
  const Case cases[] = {
      {"merged and sorted ignoring case",
       {"Zapf-Chancery", "courier"},
       {"Default", "Arial", "bravo"},
       {"Arial", "bravo", "courier", "Default", "Zapf-Chancery"}},
      {"a shared name once, as the printer writes it",
       {"c059", "DEFAULT"},
       {"C059", "Default", "Arial"},
       {"Arial", "c059", "DEFAULT"}},
      {"duplicates within one list go too", {"Courier", "COURIER"}, {"A", "a"}, {"A", "Courier"}},
      {"nothing at all", {}, {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(BothSorted(c.first, c.second), c.expected) << c.what;
}

}  // namespace
