#include "catdump_options.h"

#include <getopt.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace pellory::catdump {
namespace {

// The engine keeps passwords of up to 255 bytes; a longer first line is a
// wrong file rather than a password.
constexpr std::size_t kMaxPassword = 255;

enum OptionId : int {
  kPassword = 1000,
  kPasswordFile,
  kFilter,
  kCount,
  kSchema,
  kHelp,
  kVersion,
};

const option kLongOptions[] = {
    {"password", required_argument, nullptr, kPassword},
    {"password-file", required_argument, nullptr, kPasswordFile},
    {"filter", required_argument, nullptr, kFilter},
    {"count", no_argument, nullptr, kCount},
    {"schema", no_argument, nullptr, kSchema},
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

// getopt_long's view of the arguments: a writable argv with a program name.
struct ArgumentVector {
  explicit ArgumentVector(const std::vector<std::string>& args) : text(args) {
    text.insert(text.begin(), "catdump");
    for (std::string& arg : text) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
  }
  int Count() const { return int(text.size()); }
  std::vector<std::string> text;
  std::vector<char*> pointers;
};

// What getopt_long refused, as one line: `argument` is the argument it
// stopped in.
std::string Refusal(int answer, const std::string& argument) {
  const std::string name = argument.substr(0, argument.find('='));
  if (answer == ':') return "option '" + name + "' needs a value";
  if (optopt >= kPassword) return "option '" + name + "' takes no value";
  if (optopt != 0) return std::string("unknown option '-") + char(optopt) + "'";
  return "unknown or ambiguous option '" + name + "'";
}

std::string ReadFirstLine(std::istream& in, const std::string& name) {
  std::string line;
  // One byte past the longest password is enough to tell it too long.
  char c = 0;
  while (line.size() <= kMaxPassword && in.get(c) && c != '\n') line += c;
  if (in.bad()) throw std::runtime_error("cannot read " + name);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxPassword)
    throw std::runtime_error(name + " holds a first line longer than a password may be (" +
                             std::to_string(kMaxPassword) + " bytes)");
  if (line.empty()) throw std::runtime_error(name + " holds no password on its first line");
  if (line.find('\0') != std::string::npos)
    throw std::runtime_error(name + " holds a NUL byte in its first line");
  return line;
}

}  // namespace

std::string ReadPasswordFile(const std::string& path) {
  if (path == "-") return ReadFirstLine(std::cin, "standard input");
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  return ReadFirstLine(file, path);
}

std::string HelpText() {
  return std::string(kUsage) +
         "Prints a table's records as CSV, its record count or its schema, through the\n"
         "engine of Pellory Fonts.\n"
         "  --password PASSWORD    a table password (may be given more than once); seen\n"
         "                         by every user of the machine, unlike --password-file\n"
         "  --password-file FILE   the password on the first line of FILE ('-': standard\n"
         "                         input)\n"
         "  --filter TEXT          only the records that pass the filter TEXT\n"
         "  --count                the number of records instead of the records\n"
         "  --schema               one line per column instead of the records\n"
         "  --help                 this text\n"
         "  --version              the version\n";
}

std::string VersionText() {
  return "catdump (Pellory Fonts) " PELLORY_VERSION "\n";
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
  Options options;
  bool outputChosen = false, stdinRead = false;
  auto fail = [&](const std::string& why) -> std::optional<Options> {
    *error = why;
    return std::nullopt;
  };
  ArgumentVector argv(args);
  optind = 0;  // a fresh scan: getopt keeps its place between calls
  opterr = 0;  // the refusals are ours
  for (;;) {
    const int answer = getopt_long(argv.Count(), argv.pointers.data(), ":", kLongOptions, nullptr);
    if (answer == -1) break;
    switch (answer) {
      case kPassword:
        options.passwords.emplace_back(optarg);
        break;
      case kPasswordFile:
        if (std::string(optarg) == "-" && std::exchange(stdinRead, true))
          return fail("standard input can give only one --password-file");
        try {
          options.passwords.push_back(ReadPasswordFile(optarg));
        } catch (const std::runtime_error& e) {
          return fail(std::string("--password-file: ") + e.what());
        }
        break;
      case kFilter:
        options.filter = optarg;
        break;
      case kCount:
      case kSchema:
        if (outputChosen) return fail("--count and --schema exclude each other");
        outputChosen = true;
        options.output = answer == kCount ? Output::Count : Output::Schema;
        break;
      case kHelp:
        options.help = true;
        break;
      case kVersion:
        options.version = true;
        break;
      default:
        return fail(Refusal(answer, argv.pointers[std::size_t(optind - 1)]));
    }
  }
  if (options.help || options.version) return options;
  const int operands = argv.Count() - optind;
  if (operands != 2) return fail("a directory or alias and a table are needed");
  options.database = argv.pointers[std::size_t(optind)];
  options.table = argv.pointers[std::size_t(optind + 1)];
  return options;
}

}  // namespace pellory::catdump
