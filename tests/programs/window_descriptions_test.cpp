// Every stored window description of the program against the classes it
// names: a misspelt property, event or handler name fails here instead of
// when a user opens the window.
#include <gtest/gtest.h>

#include "pellory/programs/windows.h"
#include "pellory/shell/description_check.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/window_factories.h"

namespace {

using namespace pellory::shell;

TEST(WindowDescriptions, NameOnlyDeclaredPropertiesEventsAndHandlers) {
  pellory::app::RegisterWindows();
  const QStringList classes = DescriptionRegistry::ClassNames();
  ASSERT_TRUE(classes.contains(QStringLiteral("TForm2")));
  for (const QString& className : classes) {
    ASSERT_TRUE(WindowFactories::Contains(className)) << className.toStdString();
    const std::unique_ptr<StoredWindow> window = WindowFactories::Make(className);
    const QStringList faults = DescriptionFaults(DescriptionRegistry::Find(className), *window);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
  }
}

}  // namespace
