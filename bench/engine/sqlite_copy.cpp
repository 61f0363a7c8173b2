#include "sqlite_copy.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "catalogues.h"
#include "pellory/engine.h"

namespace pellory::bench {
namespace {

namespace fs = std::filesystem;

bool NewerThan(const fs::path& made, const fs::path& maker) {
  std::error_code ec;
  const auto madeTime = fs::last_write_time(made, ec);
  return !ec && madeTime >= fs::last_write_time(maker, ec) && !ec;
}

void Check(pel_result result, const char* what) {
  if (result != PEL_OK && result != PEL_ALREADY_INITIALISED)
    throw std::runtime_error(std::string(what) + " failed with engine code " +
                             std::to_string(result));
}

void CheckSql(int result, sqlite3* db, const char* what) {
  if (result != SQLITE_OK && result != SQLITE_DONE)
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// Reads the catalogue through the engine, row by row.
class CatalogueRows {
 public:
  explicit CatalogueRows(const fs::path& catalogue) {
    pel_init_options options{PEL_INTERFACE_VERSION, "0009"};
    Check(pel_engine_init(&options), "engine start");
    Check(pel_password_add(kCataloguePassword), "password");
    const std::string name = catalogue.string() + "/";
    Check(pel_database_open(name.c_str(), nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                            &database_),
          "opening the catalogue directory");
    pel_table_request request{};
    request.table_name = "pelloryfont.DB";
    Check(pel_table_open(database_, &request, &cursor_), "opening the catalogue");
    pel_cursor_info info{};
    Check(pel_cursor_properties(cursor_, &info), "reading the cursor's properties");
    record_.resize(info.record_size);
  }
  ~CatalogueRows() { pel_engine_exit(); }

  bool Next() { return pel_cursor_next(cursor_, record_.data()) == PEL_OK; }
  std::string Text(std::uint16_t field) {
    char value[256] = {};
    int blank = 0;
    Check(pel_field_get(cursor_, field, record_.data(), value, sizeof value, &blank), "a field");
    return value;
  }
  std::string Blob(std::uint16_t field) {
    std::uint32_t size = 0, got = 0;
    Check(pel_blob_open(cursor_, field, record_.data()), "opening a blob");
    Check(pel_blob_size(cursor_, field, record_.data(), &size), "a blob's size");
    std::string bytes(size, '\0');
    const pel_result read =
        pel_blob_read(cursor_, field, record_.data(), 0, size, bytes.data(), &got);
    if (read != PEL_END_OF_BLOB) Check(read, "reading a blob");
    pel_blob_free(cursor_, field, record_.data());
    bytes.resize(got);
    return bytes;
  }

 private:
  pel_database* database_ = nullptr;
  pel_cursor* cursor_ = nullptr;
  std::vector<std::uint8_t> record_;
};

void WriteSqlite(const fs::path& catalogue, const fs::path& file) {
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
    throw std::runtime_error("cannot make " + file.string());
  CheckSql(sqlite3_exec(db,
                        "CREATE TABLE catalogue(\"Font Name\" TEXT, Description TEXT, Filename "
                        "TEXT, Category TEXT); BEGIN;",
                        nullptr, nullptr, nullptr),
           db, "creating the table");
  sqlite3_stmt* insert = nullptr;
  CheckSql(sqlite3_prepare_v2(db, "INSERT INTO catalogue VALUES(?,?,?,?)", -1, &insert, nullptr),
           db, "preparing the insert");
  CatalogueRows rows(catalogue);
  while (rows.Next()) {
    const std::string texts[] = {rows.Text(1), rows.Blob(2), rows.Text(3), rows.Text(4)};
    for (int i = 0; i < 4; ++i)
      sqlite3_bind_text(insert, i + 1, texts[i].c_str(), static_cast<int>(texts[i].size()),
                        SQLITE_TRANSIENT);
    CheckSql(sqlite3_step(insert), db, "inserting a row");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  CheckSql(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db, "committing");
  sqlite3_close(db);
}

}  // namespace

fs::path SqliteCopy(const fs::path& catalogue) {
  const fs::path file = catalogue.string() + ".sqlite";
  if (NewerThan(file, catalogue / "pelloryfont.DB")) return file;
  const fs::path partial = file.string() + ".partial";
  fs::remove(partial);
  WriteSqlite(catalogue, partial);
  fs::rename(partial, file);
  return file;
}

}  // namespace pellory::bench
