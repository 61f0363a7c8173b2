// The engine the program's session uses unless told otherwise.
#include "pellory/data/session.h"

namespace pellory::data {

std::shared_ptr<EngineCalls> MakeDefaultEngine() { return MakeUnavailableEngine(); }

}  // namespace pellory::data
