#include "catdump_options.h"

#include <getopt.h>

#include <iostream>

#include "pellory/tools/argument_vector.h"
#include "pellory/tools/password_files.h"

namespace pellory::catdump {
namespace {

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

// What getopt_long refused, as one line: `argument` is the argument it
// stopped in.
std::string Refusal(int answer, const std::string& argument) {
  const std::string name = argument.substr(0, argument.find('='));
  if (answer == ':') return "option '" + name + "' needs a value";
  if (optopt >= kPassword) return "option '" + name + "' takes no value";
  if (optopt != 0) return std::string("unknown option '-") + char(optopt) + "'";
  return "unknown or ambiguous option '" + name + "'";
}

}  // namespace

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
  bool outputChosen = false;
  tools::PasswordFiles passwordFiles(std::cin);
  auto fail = [&](const std::string& why) -> std::optional<Options> {
    *error = why;
    return std::nullopt;
  };
  tools::ArgumentVector argv("catdump", args);
  optind = 0;  // a fresh scan: getopt keeps its place between calls
  opterr = 0;  // the refusals are ours
  for (;;) {
    const int answer = getopt_long(argv.Count(), argv.Pointers(), ":", kLongOptions, nullptr);
    if (answer == -1) break;
    switch (answer) {
      case kPassword:
        options.passwords.emplace_back(optarg);
        break;
      case kPasswordFile: {
        std::string why;
        const auto password = passwordFiles.Read(optarg, &why);
        if (!password) return fail(why);
        options.passwords.push_back(*password);
        break;
      }
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
        return fail(Refusal(answer, argv.At(optind - 1)));
    }
  }
  if (options.help || options.version) return options;
  const int operands = argv.Count() - optind;
  if (operands != 2) return fail("a directory or alias and a table are needed");
  options.database = argv.At(optind);
  options.table = argv.At(optind + 1);
  return options;
}

}  // namespace pellory::catdump
