#include "pellory/shell/shell_error.h"

namespace pellory::shell {

// Not inlined, so that the return address points into the code that raised
// the error (or into the constructor of a derived error class).
[[gnu::noinline]] ShellError::ShellError(const QString& message)
    : std::runtime_error(message.toStdString()), address_(__builtin_return_address(0)) {}

SilentAbort::SilentAbort() : ShellError(QStringLiteral("Operation aborted")) {}

}  // namespace pellory::shell
