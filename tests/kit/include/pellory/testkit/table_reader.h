// Reads a table back through the engine's C interface (linked statically),
// for the writer's and the catalogue builder's tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pellory/engine.h"
#include "scratch_dir.h"

namespace pellory::testkit {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& file);

// One open of a table with the given session passwords. result() holds the
// open's answer; everything else is only meaningful when it is PEL_OK.
class TableReader {
 public:
  TableReader(const std::filesystem::path& directory, const std::string& table,
              const std::vector<std::string>& passwords = {});
  ~TableReader();
  TableReader(const TableReader&) = delete;
  TableReader& operator=(const TableReader&) = delete;

  pel_result result() const { return result_; }
  const pel_cursor_info& info() const { return info_; }
  const std::vector<pel_field_descriptor>& fields() const { return fields_; }

  using Record = std::vector<std::uint8_t>;
  // Every record from the start; an engine failure is a test failure.
  std::vector<Record> Records() const;
  // The field's value bytes (engine.h's table); empty when blank.
  std::vector<std::uint8_t> Value(const Record& record, std::uint16_t field) const;
  std::string Text(const Record& record, std::uint16_t field) const;  // as stored
  std::string Blob(const Record& record, std::uint16_t field) const;  // whole value

 private:
  pel_result result_ = PEL_OK;
  pel_database* database_ = nullptr;
  pel_cursor* cursor_ = nullptr;
  pel_cursor_info info_{};
  std::vector<pel_field_descriptor> fields_;
};

}  // namespace pellory::testkit
