// The engine the program's session uses unless told otherwise: the engine
// library through the loader when the loader is built in.
#include "pellory/data/session.h"

#if PELLORY_DATA_WITH_ENGINE_LOADER
#include "pellory/loader/engine_loader.h"
#endif

namespace pellory::data {

#if PELLORY_DATA_WITH_ENGINE_LOADER
std::shared_ptr<EngineCalls> MakeLoadedEngine();
std::shared_ptr<EngineCalls> MakeDefaultEngine() {
  return MakeLoadedEngine();
}

// The loader's state must outlive the process-wide session, which stops the
// engine when it is destroyed at exit: touching it first makes it be
// destroyed last.
void PrepareDefaultEngine() {
  loader::LoadedEnginePath();
}
#else
std::shared_ptr<EngineCalls> MakeDefaultEngine() {
  return MakeUnavailableEngine();
}
void PrepareDefaultEngine() {}
#endif

}  // namespace pellory::data
