// Writes an unkeyed Paradox 7 table, NAME.DB with NAME.MB when it has blob
// columns, record by record. Used by the catalogue builder and by tests;
// the program itself never writes a table.
//
//   TableWriter table(dir, "pelloryfont", columns, {.password = "secret"});
//   table.Append({std::string("DejaVu Sans"), ...});
//   table.Finish();
//
// A writer that is destroyed without Finish leaves incomplete files behind;
// callers write into a scratch place and move the result when it is done.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pellory/engine/table_schema.h"

namespace pellory::writer {

struct TableOptions {
  std::string password{};         // empty: a plain table
  std::uint16_t codePage = 1252;  // of the names and text values
  std::uint8_t blockKiB = 4;      // data block size, 1 to 32 KiB
  // An existing blob file of a table with the same password to add to,
  // instead of writing NAME.MB beside the table: new values go after its
  // end (rounded up to a whole block), nothing before is written, and rows
  // may point at the values already there (StoredBlob). Empty: a new file.
  std::filesystem::path extendBlobFile{};
};

// The table's encryption value for a password, as its header holds it (0 for
// none): tables whose blob files may be shared have the same.
std::uint32_t TableEncryption(const std::string& password);

class TableWriter {
 public:
  // Checks the columns and creates the files; throws SchemaError or
  // WriteError. Column names are UTF-8.
  TableWriter(const std::filesystem::path& directory, const std::string& name,
              std::vector<Column> columns, TableOptions options = {});
  ~TableWriter();
  TableWriter(const TableWriter&) = delete;
  TableWriter& operator=(const TableWriter&) = delete;

  // One value per column, in column order. A bad value throws SchemaError
  // and leaves the table as it was. Answers where each column's blob value
  // lies in the blob file (BlobPointer{} for other columns and for values in
  // the record's leader).
  std::vector<BlobPointer> Append(const Row& row);
  // Writes the last block and the header and closes the files.
  void Finish();

  std::uint32_t records() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pellory::writer
