#include "pellory/tools/argument_vector.h"

namespace pellory::tools {

ArgumentVector::ArgumentVector(const std::string& program, const std::vector<std::string>& args)
    : text_(args) {
  text_.insert(text_.begin(), program);
  for (std::string& arg : text_) pointers_.push_back(arg.data());
  pointers_.push_back(nullptr);
}

}  // namespace pellory::tools
