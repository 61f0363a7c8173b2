// Pellory Fonts: looks through a catalogue of fonts.
#include "pellory/programs/startup.h"
#include "pellory/shell/guarded_qapplication.h"
#include "pellory/shell/screen_scaling.h"

int main(int argc, char** argv) {
  pellory::shell::PrepareScreenScaling();
  pellory::shell::GuardedQApplication qtApplication(argc, argv);
  return pellory::app::RunProgram();
}
