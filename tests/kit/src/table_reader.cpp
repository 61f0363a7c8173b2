#include "pellory/testkit/table_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace pellory::testkit {

namespace fs = std::filesystem;

std::vector<std::uint8_t> FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TableReader::TableReader(const fs::path& directory, const std::string& table,
                         const std::vector<std::string>& passwords) {
  pel_init_options options{PEL_INTERFACE_VERSION, "0009"};
  const pel_result init = pel_engine_init(&options);
  EXPECT_TRUE(init == PEL_OK || init == PEL_ALREADY_INITIALISED);
  for (const auto& p : passwords) EXPECT_EQ(pel_password_add(p.c_str()), PEL_OK);
  const std::string name = directory.string() + "/";
  result_ = pel_database_open(name.c_str(), nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                              &database_);
  if (result_ != PEL_OK) return;
  pel_table_request request{};
  request.table_name = table.c_str();
  request.open_mode = PEL_OPEN_READ_ONLY;
  result_ = pel_table_open(database_, &request, &cursor_);
  if (result_ != PEL_OK) return;
  EXPECT_EQ(pel_cursor_properties(cursor_, &info_), PEL_OK);
  fields_.resize(info_.field_count);
  EXPECT_EQ(pel_cursor_fields(cursor_, fields_.data(), info_.field_count), PEL_OK);
}

TableReader::~TableReader() {
  if (cursor_) pel_cursor_close(cursor_);
  if (database_) pel_database_close(database_);
  pel_engine_exit();
}

std::vector<TableReader::Record> TableReader::Records() const {
  std::vector<Record> records;
  EXPECT_EQ(pel_cursor_to_start(cursor_), PEL_OK);
  for (;;) {
    Record record(info_.record_size);
    const pel_result result = pel_cursor_next(cursor_, record.data());
    if (result == PEL_AT_END) break;
    EXPECT_EQ(result, PEL_OK);
    if (result != PEL_OK) break;
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<std::uint8_t> TableReader::Value(const Record& record, std::uint16_t field) const {
  std::vector<std::uint8_t> value(fields_.at(field - 1).value_size);
  int blank = 0;
  EXPECT_EQ(pel_field_get(cursor_, field, record.data(), value.data(), value.size(), &blank),
            PEL_OK);
  if (blank) value.clear();
  return value;
}

std::string TableReader::Text(const Record& record, std::uint16_t field) const {
  const auto value = Value(record, field);
  return value.empty() ? std::string() : std::string(reinterpret_cast<const char*>(value.data()));
}

std::string TableReader::Blob(const Record& record, std::uint16_t field) const {
  EXPECT_EQ(pel_blob_open(cursor_, field, record.data()), PEL_OK);
  std::uint32_t size = 0;
  EXPECT_EQ(pel_blob_size(cursor_, field, record.data(), &size), PEL_OK);
  std::string bytes(size, '\0');
  std::uint32_t got = 0;
  const pel_result read = pel_blob_read(cursor_, field, record.data(), 0, size, bytes.data(), &got);
  EXPECT_TRUE(read == PEL_OK || read == PEL_END_OF_BLOB) << read;
  EXPECT_EQ(got, size);
  pel_blob_free(cursor_, field, record.data());
  return bytes;
}

}  // namespace pellory::testkit
