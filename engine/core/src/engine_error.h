// Failures inside the engine travel as EngineError up to the C boundary,
// which turns them into a result code and the error stack.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pellory::engine {

class EngineError : public std::runtime_error {
 public:
  // context: what the failure concerns, usually a file's path;
  // detail: what exactly was wrong, in a few words.
  EngineError(std::uint16_t code, std::string context, std::string detail = {})
      : std::runtime_error(detail), code_(code), context_(std::move(context)) {}

  std::uint16_t code() const { return code_; }
  const std::string& context() const { return context_; }
  std::string detail() const { return what(); }

 private:
  std::uint16_t code_;
  std::string context_;
};

}  // namespace pellory::engine
