// main() for GUI test programs: one offscreen QApplication for every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "scratch_dir.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Every main window claims the program's single-instance lock in the
  // runtime directory; a directory of this test program's own keeps it
  // apart from a running copy of the program and from other tests.
  const pellory::testkit::ScratchDir runtime("pellory-test-runtime");
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path().string()));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
