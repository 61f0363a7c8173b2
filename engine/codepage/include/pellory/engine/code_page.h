// Conversion between a table's code page and UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellory::engine {

class CodePage {
 public:
  // Pages without a table of their own (0, unknown numbers) read as 1252,
  // the page Windows-era tables were most often written in.
  explicit CodePage(std::uint16_t number);

  std::uint16_t number() const { return number_; }
  std::string Name() const { return "cp" + std::to_string(number_); }
  std::string ToUtf8(std::string_view text) const;
  // Characters the page lacks become '?'.
  std::string FromUtf8(std::string_view text) const;

 private:
  std::uint16_t number_;
  const std::uint16_t* upper_;
};

}  // namespace pellory::engine
