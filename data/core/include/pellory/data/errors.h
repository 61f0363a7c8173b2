// Error kinds of the data layer and the rules that word their messages.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "pellory/data/types.h"

namespace pellory::data {

// An error raised by the data layer itself. When a named object (cursor,
// field, database, control) raises it, its message is "name: text".
class EDatabaseError : public std::runtime_error {
 public:
  explicit EDatabaseError(const std::string& text);
  EDatabaseError(const std::string& text, const std::string& objectName);

  const std::string& Text() const { return text_; }
  const std::string& ObjectName() const { return objectName_; }

 private:
  std::string text_;
  std::string objectName_;
};

// One entry of the engine's error stack.
struct EngineErrorEntry {
  unsigned code = 0;
  long nativeCode = 0;
  std::string context;
};

// An error answered by the database engine, with its result code and the
// engine's error stack as it stood when the error was raised.
class EDBEngineError : public EDatabaseError {
 public:
  EDBEngineError(unsigned code, std::vector<EngineErrorEntry> stack, const std::string& message);

  unsigned ErrorCode() const { return code_; }
  const std::vector<EngineErrorEntry>& Errors() const { return stack_; }

 private:
  unsigned code_;
  std::vector<EngineErrorEntry> stack_;
};

// The text of an engine error while the session has a handle: the code's text,
// then each stack entry's code text (without a native code) and context; empty
// and repeated texts skipped, CR LF between them. 0x2EC4 keeps only contexts.
std::string ComposeEngineErrorText(unsigned code, const std::vector<EngineErrorEntry>& stack,
                                   const std::function<std::string(unsigned)>& codeText);

// The text for an engine that cannot be found, loaded or initialised.
std::string InitialisationErrorText(unsigned code);

// The code the engine uses for errors that keep their own text even before the
// session has a handle.
inline constexpr unsigned kKeepsOwnTextCode = 0x2F01;

// "Unknown", "String", ... for the type-mismatch message.
std::string FieldTypeName(TFieldType type);

// Raises EDatabaseError, prefixed with objectName when it is not empty.
[[noreturn]] void DatabaseError(const std::string& text, const std::string& objectName = {});

// printf-style filling of the messages' formats ("%s", "%d" only).
std::string FormatMessage(const char* format, const std::vector<std::string>& args);

}  // namespace pellory::data
