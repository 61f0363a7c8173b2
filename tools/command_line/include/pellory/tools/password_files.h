// Password files (--password-file FILE): the password on a file's first
// line, read the same way and refused in the same words by every tool.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

namespace pellory::tools {

// The engine keeps passwords of up to 255 bytes; a longer first line is a
// wrong file rather than a password.
inline constexpr std::size_t kMaxPassword = 255;

// Reads the password files of one command line. "-" names standard input,
// which can give one password only.
class PasswordFiles {
 public:
  explicit PasswordFiles(std::istream& standardInput) : standardInput_(standardInput) {}

  // The first line of `path`, without its line's end (LF or CR LF). Nothing,
  // with *why set to the whole message for the user, when the file cannot be
  // read, standard input was read before, or the line is no password: empty,
  // longer than kMaxPassword or holding a NUL byte. No more than one byte
  // past the longest password is read, so a device without end is refused.
  std::optional<std::string> Read(const std::string& path, std::string* why);

 private:
  std::istream& standardInput_;
  bool standardInputRead_ = false;
};

}  // namespace pellory::tools
