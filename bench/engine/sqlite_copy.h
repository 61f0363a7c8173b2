// The rows of a synthetic catalogue in an SQLite file, for the comparison
// with the sqlite3 command.
#pragma once

#include <filesystem>

namespace pellory::bench {

// An SQLite file beside the catalogue with its rows in one table
// "catalogue": the text columns and the description's text; the pictures
// are left out, so the SQLite file is the smaller one. Built when missing.
std::filesystem::path SqliteCopy(const std::filesystem::path& catalogue);

}  // namespace pellory::bench
