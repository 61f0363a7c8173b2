#include "pellory/tools/password_files.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace pellory::tools {
namespace {

constexpr const char* kOption = "--password-file: ";

std::optional<std::string> FirstLinePassword(std::istream& in, const std::string& name,
                                             std::string* why) {
  std::string line;
  // One byte past the longest password tells it too long.
  char c = 0;
  while (line.size() <= kMaxPassword && in.get(c) && c != '\n') line += c;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (in.bad())
    *why = kOption + ("cannot read " + name);
  else if (line.size() > kMaxPassword)
    *why = kOption + name + " holds a first line longer than a password may be (" +
           std::to_string(kMaxPassword) + " bytes)";
  else if (line.find('\0') != std::string::npos)
    *why = kOption + name + " holds a NUL byte in its first line";
  else if (line.empty())
    *why = kOption + name + " holds no password on its first line";
  else
    return line;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> PasswordFiles::Read(const std::string& path, std::string* why) {
  if (path == "-") {
    if (standardInputRead_) {
      *why = "standard input can give only one --password-file";
      return std::nullopt;
    }
    standardInputRead_ = true;
    return FirstLinePassword(standardInput_, "standard input", why);
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *why = kOption + ("cannot read " + path + ": " + std::strerror(errno));
    return std::nullopt;
  }
  return FirstLinePassword(file, path, why);
}

}  // namespace pellory::tools
