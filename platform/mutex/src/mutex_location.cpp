#include "pellory/platform/mutex_location.h"

#include <openssl/evp.h>
#include <unistd.h>

#include <cstdlib>

namespace pellory::platform {

namespace {

constexpr std::string_view kPrefix = "pellory-mutex-";
// Longest file name most file systems accept (NAME_MAX).
constexpr std::size_t kMaxFileName = 255;
constexpr char kHex[] = "0123456789ABCDEF";

bool Kept(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

std::string Escaped(std::string_view name) {
  std::string out;
  for (const unsigned char c : name) {
    if (Kept(c)) {
      out += char(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// "~" never appears in an escaped name, so a digest cannot collide with one.
std::string Digest(std::string_view name) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(name.data(), name.size(), digest, &size, EVP_sha256(), nullptr);
  std::string out = "~";
  for (unsigned int i = 0; i < size; ++i) {
    out += kHex[digest[i] >> 4];
    out += kHex[digest[i] & 15];
  }
  return out;
}

// An environment variable's value when it is an absolute path.
const char* AbsolutePathFrom(const char* variable) {
  const char* value = std::getenv(variable);
  return value && value[0] == '/' ? value : nullptr;
}

}  // namespace

MutexDirectory NamedMutexDirectory() {
  // A relative runtime directory is invalid by the XDG rules and ignored.
  if (const char* runtime = AbsolutePathFrom("XDG_RUNTIME_DIR")) return {runtime, false};
  const char* temp = AbsolutePathFrom("TMPDIR");
  const std::filesystem::path base = temp ? temp : "/tmp";
  return {base / ("pellory-" + std::to_string(::geteuid())), true};
}

std::string NamedMutexFileName(std::string_view name) {
  std::string escaped = Escaped(name);
  if (kPrefix.size() + escaped.size() > kMaxFileName) escaped = Digest(name);
  return std::string(kPrefix) + escaped;
}

std::filesystem::path NamedMutexPath(std::string_view name) {
  return NamedMutexDirectory().path / NamedMutexFileName(name);
}

}  // namespace pellory::platform
