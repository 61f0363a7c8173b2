// Hand-made buffers in the binary filter format, version 2: one comparison of
// a field with a text or integer constant, or a blank test, as the program's
// compiler would make them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellory::engine::test {

class FilterBuffer {
 public:
  // field = 'text' over a whole value, or over the first `partial` bytes
  // (a compare node) when partial > 0 or ignoreCase is set.
  static std::vector<std::uint8_t> Equal(std::uint16_t field, const std::string& name,
                                         const std::string& text, std::uint16_t partial = 0,
                                         bool ignoreCase = false) {
    return Comparison(3, field, name, text, partial, ignoreCase);
  }
  // field LIKE 'pattern' ('%' any run, '_' any one character); a compare
  // node when partial > 0 or ignoreCase is set.
  static std::vector<std::uint8_t> Like(std::uint16_t field, const std::string& name,
                                        const std::string& pattern, std::uint16_t partial = 0,
                                        bool ignoreCase = false) {
    return Comparison(30, field, name, pattern, partial, ignoreCase);
  }

  // field = number, for an integer field.
  static std::vector<std::uint8_t> EqualInteger(std::uint16_t field, const std::string& name,
                                                std::int32_t number) {
    FilterBuffer b;
    b.U32(2), b.U32(3), b.U16(12), b.U16(24);
    b.U32(4), b.U32(13), b.U16(field), b.U16(0);
    b.U32(5), b.U32(14), b.U16(6), b.U16(4), b.U16(static_cast<std::uint16_t>(name.size() + 1));
    std::string literals = name + '\0';
    for (int i = 0; i < 4; ++i)
      literals += static_cast<char>(static_cast<std::uint32_t>(number) >> (8 * i));
    return b.Finish(literals);
  }
  // field IS BLANK.
  static std::vector<std::uint8_t> IsBlank(std::uint16_t field, const std::string& name) {
    FilterBuffer b;
    b.U32(1), b.U32(1), b.U16(10);
    b.U32(4), b.U32(13), b.U16(field), b.U16(0);
    return b.Finish(name + '\0');
  }

 private:
  static std::vector<std::uint8_t> Comparison(unsigned op, std::uint16_t field,
                                              const std::string& name, const std::string& text,
                                              std::uint16_t partial, bool ignoreCase) {
    FilterBuffer b;
    const bool compare = partial > 0 || ignoreCase;
    const std::uint16_t top = compare ? 16 : 12;  // size of the first node
    if (compare) {
      b.U32(3), b.U32(op), b.U16(ignoreCase ? 1 : 0), b.U16(partial);
    } else {
      b.U32(2), b.U32(op);
    }
    b.U16(top), b.U16(top + 12);
    b.U32(4), b.U32(13), b.U16(field), b.U16(0);
    b.U32(5), b.U32(14), b.U16(1), b.U16(static_cast<std::uint16_t>(text.size() + 1));
    b.U16(static_cast<std::uint16_t>(name.size() + 1));
    return b.Finish(name + '\0' + text + '\0');
  }
  void U16(unsigned v) {
    nodes_.push_back(static_cast<std::uint8_t>(v));
    nodes_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(unsigned v) { U16(v & 0xFFFF), U16(v >> 16); }
  std::vector<std::uint8_t> Finish(const std::string& literals) {
    const auto total = static_cast<std::uint16_t>(10 + nodes_.size() + literals.size());
    std::vector<std::uint8_t> out;
    auto put = [&](unsigned v) {
      out.push_back(static_cast<std::uint8_t>(v));
      out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put(2), put(total), put(0xFFFF), put(10), put(10 + static_cast<unsigned>(nodes_.size()));
    out.insert(out.end(), nodes_.begin(), nodes_.end());
    out.insert(out.end(), literals.begin(), literals.end());
    return out;
  }
  std::vector<std::uint8_t> nodes_;
};

}  // namespace pellory::engine::test
