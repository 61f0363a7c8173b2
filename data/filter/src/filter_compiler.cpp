#include "pellory/data/filter_compiler.h"

#include "filter_encoder.h"
#include "filter_tree.h"

namespace pellory::data::filter {

std::vector<std::uint8_t> CompileFilter(std::string_view text, const FilterCompileOptions& options,
                                        const FilterContext& context) {
  if (text.empty()) return {};
  const ExprPtr root = ParseFilter(text, context);
  return EncodeFilter(*root, options, context);
}

}  // namespace pellory::data::filter
