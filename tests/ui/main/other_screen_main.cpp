// main() for tests of the windows on a screen other than the harness's:
// the offscreen platform with the screen PELLORY_TEST_SCREEN describes (a
// JSON file; none: the default screen), a device pixel ratio asked for
// with PELLORY_TEST_SCALE_FACTOR, and the program's own preparation for
// scaling.
#include <gtest/gtest.h>

#include <QApplication>

#include "pellory/shell/screen_scaling.h"
#include "scratch_dir.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen" PELLORY_TEST_SCREEN);
  qputenv("QT_SCALE_FACTOR", PELLORY_TEST_SCALE_FACTOR);
  pellory::shell::PrepareScreenScaling();
  const pellory::testkit::OwnRuntimeDir runtime;
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
