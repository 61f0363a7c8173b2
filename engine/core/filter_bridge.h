// The engine's side of filters: checks an expression buffer once when it is
// added, then says whether a record passes. The evaluation itself lives in
// the filter library; this is where the cursor meets it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pellory::engine {

// Reads field `number` (from 1) of the record under test in the engine's
// value format; answers false when there is no such field.
using FieldValueReader =
    std::function<bool(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank)>;

class CheckedFilter {
 public:
  virtual ~CheckedFilter() = default;
  virtual bool Passes(const FieldValueReader& fields) const = 0;
};

// Checks the buffer completely; nullptr with *error set when it is refused.
std::unique_ptr<CheckedFilter> CheckFilter(std::span<const std::uint8_t> expression,
                                           std::uint16_t fieldCount, std::string* error);

}  // namespace pellory::engine
