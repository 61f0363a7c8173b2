// getopt_long's view of a tool's arguments.
#pragma once

#include <string>
#include <vector>

namespace pellory::tools {

// A writable argv: the program's name, then `args`, then a null pointer.
// getopt_long may permute the pointers; the texts stay where they are.
class ArgumentVector {
 public:
  ArgumentVector(const std::string& program, const std::vector<std::string>& args);
  ArgumentVector(const ArgumentVector&) = delete;
  ArgumentVector& operator=(const ArgumentVector&) = delete;

  int Count() const { return static_cast<int>(text_.size()); }
  char** Pointers() { return pointers_.data(); }
  // The argument getopt_long's permutation left at `index`.
  const char* At(int index) const { return pointers_.at(static_cast<std::size_t>(index)); }

 private:
  std::vector<std::string> text_;
  std::vector<char*> pointers_;
};

}  // namespace pellory::tools
