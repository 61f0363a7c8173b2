// Command line of catdump:
//   catdump [--password PASSWORD]... [--filter TEXT] [--count | --schema]
//           DIRECTORY_OR_ALIAS TABLE
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pellory::catdump {

enum class Output { Records, Count, Schema };

struct Options {
  std::vector<std::string> passwords;
  Output output = Output::Records;
  std::string filter;    // filter text; empty: every record
  std::string database;  // a directory or an alias
  std::string table;
};

inline constexpr const char* kUsage =
    "usage: catdump [--password PASSWORD]... [--filter TEXT] [--count | --schema] "
    "DIRECTORY_OR_ALIAS TABLE\n";

// The options, or nothing with *error set.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error);

}  // namespace pellory::catdump
