// Stored shortcuts: virtual-key codes with modifier flags.
#include "pellory/ui/controls/menu_command.h"

#include <gtest/gtest.h>

namespace {

TEST(StoredShortCut, VirtualKeysWithModifiers) {
  const struct {
    int stored;
    const char* keys;
  } cases[] = {{0, ""},
               {112, "F1"},
               {117, "F6"},
               {118, "F7"},
               {0x4000 | 'C', "Ctrl+C"},
               {0x2000 | 113, "Shift+F2"},
               {0x8000 | 'X', "Alt+X"}};
  for (const auto& c : cases)
    EXPECT_EQ(pellory::ui::ShortCutKeys(c.stored).toString(), QLatin1String(c.keys)) << c.stored;
  EXPECT_THROW(pellory::ui::ShortCutKeys(0x07), std::exception);
}

}  // namespace
