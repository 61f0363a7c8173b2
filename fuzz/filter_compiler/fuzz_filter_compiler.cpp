// Text compiled against the fixed fields: it either compiles or fails with a
// message, and whatever it compiles the engine's checker must accept.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "../filter_eval/filter_fuzz_fixture.h"
#include "pellory/data/filter_compiler.h"

namespace {

pellory::data::filter::FilterContext Context() {
  pellory::data::filter::FilterContext context;
  context.cursorName = "Table1";
  for (const pel_field_descriptor& d : pellory::testkit::FilterDescriptors())
    context.fields.push_back({d.name, d.number,
                              static_cast<pellory::data::filter::FilterDataKind>(d.logical_type),
                              d.units1, d.units2, true});
  context.fields.push_back(
      {"Calc", 99, pellory::data::filter::FilterDataKind::Integer, 0, 0, false});
  return context;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto context = Context();
  static const auto columns = pellory::fuzz::FuzzDescriptors();
  if (size == 0) return 0;
  // The first byte picks the options, the rest is the text.
  const pellory::data::filter::FilterCompileOptions options{.caseInsensitive = (data[0] & 1) != 0,
                                                            .noPartialCompare = (data[0] & 2) != 0};
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::uint8_t> buffer;
  try {
    buffer = pellory::data::filter::CompileFilter(text, options, context);
  } catch (const pellory::data::filter::FilterCompileError& e) {
    if (*e.what() == '\0') __builtin_trap();  // every failure has a message
    return 0;
  }
  if (buffer.empty()) return 0;
  std::string error;
  const auto program = pellory::engine::filter::FilterProgram::Check(buffer, columns, &error);
  if (!program) __builtin_trap();  // the compiler made a buffer the engine refuses
  for (int kind = 0; kind < 3; ++kind) (void)program->Passes(pellory::fuzz::FuzzRecord(kind));
  return 0;
}
