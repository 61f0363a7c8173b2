// The wording of the error display and of the last-chance handler.
#pragma once

#include <QString>
#include <exception>

namespace pellory::shell {

// The error display's rule: a period is appended when the message is not
// empty and its last character sorts above "." (letters, digits, "/", ":",
// "?", any non-ASCII character), but not after a blank, "!", ")", "," or ".".
QString WithTrailingPeriod(const QString& message);

// The error's class name without namespaces ("DescriptionMissingError").
QString ErrorClassName(const std::exception& error);

// "Exception %s in module %s at %p.\n%s%s": the class name, the file name
// of the module holding `address`, the address relative to that module, the
// message and "." unless the message is empty or already ends in ".".
QString LastChanceText(const QString& className, const void* address, const QString& message);

}  // namespace pellory::shell
