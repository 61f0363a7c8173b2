// Pellory Fonts: looks through a catalogue of fonts.
#include "app/guarded_qapplication.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  pellory::app::GuardedQApplication qtApplication(argc, argv);
  return pellory::app::RunProgram();
}
