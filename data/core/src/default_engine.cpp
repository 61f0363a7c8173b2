// The engine the program's session uses unless told otherwise: the engine
// library through the loader when the loader is built in.
#include "pellory/data/session.h"

namespace pellory::data {

#if PELLORY_DATA_WITH_ENGINE_LOADER
std::shared_ptr<EngineCalls> MakeLoadedEngine();
std::shared_ptr<EngineCalls> MakeDefaultEngine() { return MakeLoadedEngine(); }
#else
std::shared_ptr<EngineCalls> MakeDefaultEngine() { return MakeUnavailableEngine(); }
#endif

}  // namespace pellory::data
