// Command line of pellory-specimen, read the GNU way (getopt_long: options
// anywhere, "--option=value", unique abbreviations, "--" ending them):
//   pellory-specimen [--password P | --password-file FILE]... [--category NAME | --filter TEXT]
//                    [--text T] [--sizes LIST] [--covering] [--charset[=PAGES]]
//                    [--features LIST] [--axes] [--paper SIZE] [--quiet]
//                    (-o FILE.pdf | --print [--printer QUEUE[/INSTANCE]]) [DIRECTORY_OR_ALIAS]
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace pellory::specimen {

enum class Destination { File, Printer };

// One OpenType feature asked for: "smcp", "-liga" (turned off), "ss01=2".
struct FeatureRequest {
  std::string tag;          // four characters
  std::uint32_t value = 1;  // 0: off
  std::string label;        // as given
};

// The pages a face's character table may take before only its blocks are listed.
inline constexpr int kDefaultCharsetPages = 16;
inline constexpr int kMaxCharsetPages = 1000;

struct Options {
  std::vector<std::string> passwords;
  std::string category;  // as the catalogue stores it; empty: none chosen
  std::string filter;    // a filter expression; empty: none given
  std::string text;      // the user's text; empty: pictures only
  std::vector<double> sizes = {9, 12, 18, 24, 36};  // points
  bool covering = false;
  int charsetPages = 0;  // 0: no character set; else the table's page limit per face
  std::vector<FeatureRequest> features;
  bool axes = false;  // the text at each variation axis's minimum and maximum
  std::string paper;  // empty: the locale's paper
  bool quiet = false;
  Destination destination = Destination::File;
  std::string output;   // the PDF file, for Destination::File
  std::string printer;  // QUEUE or QUEUE/INSTANCE; empty: the default destination
  std::string database = "pellory";
};

inline constexpr const char* kUsage =
    "usage: pellory-specimen [--password P | --password-file FILE]...\n"
    "         [--category NAME | --filter TEXT] [--text T] [--sizes LIST] [--covering]\n"
    "         [--charset[=PAGES]] [--features LIST] [--axes] [--paper SIZE] [--quiet]\n"
    "         (-o FILE.pdf | --print [--printer QUEUE[/INSTANCE]]) [DIRECTORY_OR_ALIAS]\n";

// What the command line asks for: the options, help, or a refusal.
struct ParsedCommandLine {
  std::optional<Options> options;  // set when the book is to be made
  bool help = false;
  std::string error;  // set when refused
};

// Reads `args` (without the program's name). A password file named "-" is
// read from `standardInput`, once at most.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args,
                                   std::istream& standardInput);

// "9,12,18" as point sizes; nothing when an entry is not a finite size from 1 to 200.
std::optional<std::vector<double>> ParseSizes(const std::string& list);
// "smcp,onum,-liga,ss01=2"; nothing when an entry is not a feature tag.
std::optional<std::vector<FeatureRequest>> ParseFeatures(const std::string& list);
// The password on the first line of a password file ("-": standard input),
// without its line's end, as the other programs read one; nothing, with
// *why set, when the file cannot be read or its first line is no password
// (empty, longer than a password may be, or holding a NUL byte).
inline constexpr std::size_t kMaxPassword = 255;
std::optional<std::string> ReadPasswordFile(const std::string& path, std::istream& standardInput,
                                            std::string* why);

}  // namespace pellory::specimen
