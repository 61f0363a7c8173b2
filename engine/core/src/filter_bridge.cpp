// Filters evaluated by the engine's filter library.
#include "filter_bridge.h"

#include "filter_program.h"

namespace pellory::engine {
namespace {

// Lets the filter library read the cursor's record.
class FieldsOfRecord final : public filter::RecordFields {
 public:
  explicit FieldsOfRecord(const RecordValues& values) : values_(values) {}
  bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const override {
    return values_.Read(number, value, blank);
  }
  bool ReadBlob(std::uint16_t number, std::vector<std::uint8_t>& bytes,
                bool& blank) const override {
    return values_.ReadBlob(number, bytes, blank);
  }

 private:
  const RecordValues& values_;
};

class ProgramFilter final : public CheckedFilter {
 public:
  ProgramFilter(std::unique_ptr<filter::FilterProgram> program,
                std::span<const pel_field_descriptor> columns)
      : program_(std::move(program)) {
    const auto fields = program_->FieldsRead();
    if (fields.size() == 1 && fields[0] >= 1 && fields[0] <= columns.size() &&
        columns[fields[0] - 1].logical_type != PEL_TYPE_BLOB)
      soleField_ = fields[0];
  }
  bool Passes(const RecordValues& record) const override {
    return program_->Passes(FieldsOfRecord(record));
  }
  std::optional<std::uint16_t> SoleField() const override { return soleField_; }

 private:
  std::unique_ptr<filter::FilterProgram> program_;
  std::optional<std::uint16_t> soleField_;
};

}  // namespace

std::unique_ptr<CheckedFilter> CheckFilter(std::span<const std::uint8_t> expression,
                                           std::span<const pel_field_descriptor> columns,
                                           std::string* error) {
  auto program = filter::FilterProgram::Check(expression, columns, error);
  if (!program) return nullptr;
  return std::make_unique<ProgramFilter>(std::move(program), columns);
}

}  // namespace pellory::engine
