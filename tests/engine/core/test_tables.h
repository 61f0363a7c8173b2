// Helpers for engine tests: the shared sample tables, scratch directories,
// and a thin RAII layer over the engine's C interface.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pellory/engine.h"

namespace pellory::engine::test {

namespace fs = std::filesystem;

inline fs::path SampleDir() {
  return fs::path(PELLORY_SHARED_DIR) / "testdata" / "paradox";
}

#define PELLORY_NEED_SAMPLES()                                                          \
  do {                                                                                  \
    if (!std::filesystem::exists(::pellory::engine::test::SampleDir() / "MANIFEST.md")) \
      GTEST_SKIP() << "sample tables not found under " << PELLORY_SHARED_DIR;           \
  } while (0)

// A fresh directory, removed again with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const fs::path& path() const { return path_; }
  // Copies a sample file (and makes it writable) under the same name.
  fs::path CopySample(const std::string& name) const;

 private:
  fs::path path_;
};

std::vector<std::uint8_t> ReadBytes(const fs::path& file);
void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes);

// Initialises the engine for one test and shuts it down after.
class EngineSession {
 public:
  EngineSession();
  ~EngineSession();
};

// An open table through the C interface; the code of the open in result().
class OpenTable {
 public:
  OpenTable(const fs::path& directory, const std::string& table,
            std::uint16_t mode = PEL_OPEN_READ_ONLY);
  ~OpenTable();
  pel_result result() const { return result_; }
  pel_cursor* cursor() const { return cursor_; }
  const pel_cursor_info& info() const { return info_; }
  const std::vector<pel_field_descriptor>& fields() const { return fields_; }

  // Reads every record (next from the start); answers the first failure.
  pel_result ReadAll(std::vector<std::vector<std::uint8_t>>& records) const;
  // A field's value bytes; blank sets *blank.
  std::vector<std::uint8_t> Value(const std::vector<std::uint8_t>& record, std::uint16_t field,
                                  bool* blank) const;
  std::string Text(const std::vector<std::uint8_t>& record, std::uint16_t field) const;
  // The whole blob, or the failing code in *code.
  std::vector<std::uint8_t> Blob(const std::vector<std::uint8_t>& record, std::uint16_t field,
                                 pel_result* code = nullptr) const;

 private:
  pel_result result_ = PEL_OK;
  pel_database* database_ = nullptr;
  pel_cursor* cursor_ = nullptr;
  pel_cursor_info info_{};
  std::vector<pel_field_descriptor> fields_;
};

// The context texts of the error stack after a failed call.
std::vector<std::string> ErrorContexts();

}  // namespace pellory::engine::test
