// Command line of catdump, read the GNU way (getopt_long):
//   catdump [--password PASSWORD | --password-file FILE]... [--filter TEXT]
//           [--count | --schema] [--] DIRECTORY_OR_ALIAS TABLE
// Options may follow the operands, take their value as --option=VALUE too,
// and end at "--".
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
  bool help = false;     // print HelpText and nothing else
  bool version = false;  // print VersionText and nothing else
};

inline constexpr const char* kUsage =
    "usage: catdump [--password PASSWORD | --password-file FILE]... [--filter TEXT]\n"
    "               [--count | --schema] DIRECTORY_OR_ALIAS TABLE\n";

// The usage line and what each option does.
std::string HelpText();
std::string VersionText();

// The options, or nothing with *error set. --password-file reads its file
// (standard input for "-") here.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error);

// The password a password file holds: its first line, without the line's
// end. Throws std::runtime_error, saying why, for a file that cannot be
// read, holds no password or one longer than the engine takes.
std::string ReadPasswordFile(const std::string& path);

}  // namespace pellory::catdump
