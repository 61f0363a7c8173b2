// Errors raised by the shell itself. Each remembers where it was raised so
// that the last-chance handler can name the module and the address.
#pragma once

#include <QString>
#include <stdexcept>

namespace pellory::shell {

class ShellError : public std::runtime_error {
 public:
  explicit ShellError(const QString& message);

  QString Message() const { return QString::fromUtf8(what()); }
  // The code address that raised the error (approximate: the constructor's
  // caller), or null.
  const void* Address() const { return address_; }

 private:
  const void* address_ = nullptr;
};

// A window has no stored description: "Resource %s not found".
class DescriptionMissingError : public ShellError {
 public:
  using ShellError::ShellError;
};

// A property of a stored description could not be applied.
class DescriptionReadError : public ShellError {
 public:
  using ShellError::ShellError;
};

// A window operation that the window's state does not allow.
class WindowStateError : public ShellError {
 public:
  using ShellError::ShellError;
};

// Abandons the current handler without showing anything.
class SilentAbort : public ShellError {
 public:
  SilentAbort();
};

}  // namespace pellory::shell
