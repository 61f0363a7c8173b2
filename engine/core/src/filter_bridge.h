// The engine's side of filters: checks an expression buffer once when it is
// added, then says whether a record passes. The evaluation itself lives in
// the filter library; this is where the cursor meets it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pellory/engine.h"

namespace pellory::engine {

// The record under test: reads field `number` (from 1) in the engine's value
// format; false when there is no such field.
class RecordValues {
 public:
  virtual ~RecordValues() = default;
  virtual bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const = 0;
  // The whole value of blob field `number`, in the table's code page; false
  // when it is no blob field. A damaged blob throws the engine's error.
  virtual bool ReadBlob(std::uint16_t number, std::vector<std::uint8_t>& bytes,
                        bool& blank) const = 0;
};

class CheckedFilter {
 public:
  virtual ~CheckedFilter() = default;
  virtual bool Passes(const RecordValues& record) const = 0;
  // The field whose value alone decides whether a record passes, when the
  // filter reads exactly one field and that field is no blob.
  virtual std::optional<std::uint16_t> SoleField() const = 0;
};

// Checks the buffer completely against the table's columns; nullptr with
// *error set when it is refused. Throws PEL_NOT_SUPPORTED when the engine
// was built without filter evaluation.
std::unique_ptr<CheckedFilter> CheckFilter(std::span<const std::uint8_t> expression,
                                           std::span<const pel_field_descriptor> columns,
                                           std::string* error);

}  // namespace pellory::engine
