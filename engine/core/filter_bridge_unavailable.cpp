// Built when the filter library is absent: filters cannot be checked, so
// none is accepted.
#include "engine_error.h"
#include "filter_bridge.h"
#include "pellory/engine.h"

namespace pellory::engine {

std::unique_ptr<CheckedFilter> CheckFilter(std::span<const std::uint8_t>,
                                           std::span<const pel_field_descriptor>, std::string*) {
  throw EngineError(PEL_NOT_SUPPORTED, {}, "this engine was built without filter evaluation");
}

}  // namespace pellory::engine
