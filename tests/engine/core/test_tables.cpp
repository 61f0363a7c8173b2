#include "test_tables.h"

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace pellory::engine::test {

ScratchDir::ScratchDir() {
  std::random_device random;
  path_ = fs::temp_directory_path() /
          ("pellory-engine-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

fs::path ScratchDir::CopySample(const std::string& name) const {
  const fs::path target = path_ / name;
  fs::copy_file(SampleDir() / name, target, fs::copy_options::overwrite_existing);
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  return target;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

EngineSession::EngineSession() {
  pel_init_options options{PEL_INTERFACE_VERSION, "0009"};
  EXPECT_EQ(pel_engine_init(&options), PEL_OK);
}

EngineSession::~EngineSession() {
  pel_engine_exit();
}

OpenTable::OpenTable(const fs::path& directory, const std::string& table, std::uint16_t mode) {
  // A trailing '/' makes the name a directory even without other slashes.
  const std::string name = directory.string() + "/";
  result_ = pel_database_open(name.c_str(), nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                              &database_);
  if (result_ != PEL_OK) return;
  pel_table_request request{};
  request.table_name = table.c_str();
  request.driver_name = "PARADOX";
  request.open_mode = mode;
  result_ = pel_table_open(database_, &request, &cursor_);
  if (result_ != PEL_OK) return;
  EXPECT_EQ(pel_cursor_properties(cursor_, &info_), PEL_OK);
  fields_.resize(info_.field_count);
  EXPECT_EQ(pel_cursor_fields(cursor_, fields_.data(), info_.field_count), PEL_OK);
}

OpenTable::~OpenTable() {
  if (cursor_) pel_cursor_close(cursor_);
  if (database_) pel_database_close(database_);
}

pel_result OpenTable::ReadAll(std::vector<std::vector<std::uint8_t>>& records) const {
  records.clear();
  pel_cursor_to_start(cursor_);
  for (;;) {
    std::vector<std::uint8_t> record(info_.record_size);
    const pel_result result = pel_cursor_next(cursor_, record.data());
    if (result == PEL_AT_END) return PEL_OK;
    if (result != PEL_OK) return result;
    records.push_back(std::move(record));
  }
}

std::vector<std::uint8_t> OpenTable::Value(const std::vector<std::uint8_t>& record,
                                           std::uint16_t field, bool* blank) const {
  std::vector<std::uint8_t> value(fields_.at(field - 1).value_size);
  int isBlank = 0;
  EXPECT_EQ(pel_field_get(cursor_, field, record.data(), value.data(), value.size(), &isBlank),
            PEL_OK);
  if (blank) *blank = isBlank != 0;
  return value;
}

std::string OpenTable::Text(const std::vector<std::uint8_t>& record, std::uint16_t field) const {
  const auto value = Value(record, field, nullptr);
  const auto* raw = reinterpret_cast<const char*>(value.data());
  char out[1024];
  size_t length = 0;
  EXPECT_EQ(pel_text_to_utf8(cursor_, raw, std::strlen(raw), out, sizeof out, &length), PEL_OK);
  return std::string(out, length);
}

std::vector<std::uint8_t> OpenTable::Blob(const std::vector<std::uint8_t>& record,
                                          std::uint16_t field, pel_result* code) const {
  pel_result result = pel_blob_open(cursor_, field, record.data());
  std::vector<std::uint8_t> bytes;
  if (result == PEL_OK) {
    std::uint32_t size = 0, got = 0;
    pel_blob_size(cursor_, field, record.data(), &size);
    bytes.resize(size);
    result = pel_blob_read(cursor_, field, record.data(), 0, size, bytes.data(), &got);
    bytes.resize(got);
    // A failed read keeps its error stack for the caller: no further call.
    if (result == PEL_OK || result == PEL_END_OF_BLOB) pel_blob_free(cursor_, field, record.data());
  }
  if (code) *code = result;
  return bytes;
}

std::vector<std::string> ErrorContexts() {
  std::vector<std::string> contexts;
  for (std::uint16_t i = 0;; ++i) {
    pel_error_entry entry{};
    if (pel_error_stack_entry(i, &entry) != PEL_OK || entry.code == 0) break;
    contexts.emplace_back(entry.context);
  }
  return contexts;
}

}  // namespace pellory::engine::test
