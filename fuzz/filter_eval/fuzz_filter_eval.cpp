// Bytes as a filter buffer: checked, and when accepted evaluated against the
// fixed records. Every refusal must come back as an error, never a crash or
// a read outside the buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "filter_fuzz_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto columns = pellory::fuzz::FuzzDescriptors();
  std::string error;
  const auto program = pellory::engine::filter::FilterProgram::Check({data, size}, columns, &error);
  if (!program) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  for (int kind = 0; kind < 3; ++kind) (void)program->Passes(pellory::fuzz::FuzzRecord(kind));
  return 0;
}
