// Command line of pellory-specimen:
//   pellory-specimen [--password P]... [--category NAME | --filter TEXT] [--text T]
//                    [--sizes LIST] [--covering] [--paper SIZE] [--quiet]
//                    (-o FILE.pdf | --print [--printer QUEUE]) [DIRECTORY_OR_ALIAS]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pellory::specimen {

enum class Destination { File, Printer };

struct Options {
  std::vector<std::string> passwords;
  std::string category;  // as the catalogue stores it; empty: none chosen
  std::string filter;    // a filter expression; empty: none given
  std::string text;      // the user's text; empty: pictures only
  std::vector<double> sizes = {9, 12, 18, 24, 36};  // points
  bool covering = false;
  std::string paper;  // empty: the locale's paper
  bool quiet = false;
  Destination destination = Destination::File;
  std::string output;   // the PDF file, for Destination::File
  std::string printer;  // empty: the default destination
  std::string database = "pellory";
};

inline constexpr const char* kUsage =
    "usage: pellory-specimen [--password P]... [--category NAME | --filter TEXT] [--text T]\n"
    "         [--sizes LIST] [--covering] [--paper SIZE] [--quiet]\n"
    "         (-o FILE.pdf | --print [--printer QUEUE]) [DIRECTORY_OR_ALIAS]\n";

// The options, or nothing with *error set.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error);

// "9,12,18" as point sizes; nothing when an entry is not a size from 1 to 200.
std::optional<std::vector<double>> ParseSizes(const std::string& list);

}  // namespace pellory::specimen
