// The engine the program's session uses unless told otherwise: the engine
// library, reached through the loader.
#include "pellory/data/engine_loader.h"
#include "pellory/data/session.h"

namespace pellory::data {

std::shared_ptr<EngineCalls> MakeLoadedEngine();
std::shared_ptr<EngineCalls> MakeDefaultEngine() {
  return MakeLoadedEngine();
}

// The loader's state must outlive the process-wide session, which stops the
// engine when it is destroyed at exit: touching it first makes it be
// destroyed last.
void PrepareDefaultEngine() {
  LoadedEnginePath();
}

}  // namespace pellory::data
