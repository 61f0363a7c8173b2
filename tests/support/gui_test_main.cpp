// main() for GUI test programs: one offscreen QApplication for every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "scratch_dir.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const pellory::testkit::OwnRuntimeDir runtime;
  const pellory::testkit::OwnCacheDir cache;
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
