#include "build_options.h"

#include <getopt.h>

#include <iostream>
#include <stdexcept>

#include "pellory/tools/argument_vector.h"
#include "pellory/tools/password_files.h"

namespace pellory::mkcatalogue {
namespace {

std::uint32_t ParseCount(const std::string& text) {
  std::size_t used = 0;
  unsigned long value = 0;
  try {
    value = std::stoul(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || text[0] == '-' || value < 1 ||
      value > kMaxSyntheticRecords)
    throw std::invalid_argument("--synthetic takes a number from 1 to " +
                                std::to_string(kMaxSyntheticRecords) + ", not '" + text + "'");
  return static_cast<std::uint32_t>(value);
}

enum OptionId : int {
  kFontsDir = 1000,
  kPassword,
  kPasswordFile,
  kPlain,
  kSynthetic,
  kCategoryMix,
  kQuiet,
  kReport,
  kUpdate,
  kHelp,
};

const option kLongOptions[] = {
    {"fonts-dir", required_argument, nullptr, kFontsDir},
    {"password", required_argument, nullptr, kPassword},
    {"password-file", required_argument, nullptr, kPasswordFile},
    {"plain", no_argument, nullptr, kPlain},
    {"synthetic", required_argument, nullptr, kSynthetic},
    {"category-mix", required_argument, nullptr, kCategoryMix},
    {"quiet", no_argument, nullptr, kQuiet},
    {"report", no_argument, nullptr, kReport},
    {"update", no_argument, nullptr, kUpdate},
    {"help", no_argument, nullptr, kHelp},
    {nullptr, 0, nullptr, 0},
};

// What getopt_long refused, as one line: `argument` is the argument it
// stopped in.
std::string Refusal(int answer, const std::string& argument) {
  const std::string name = argument.substr(0, argument.find('='));
  if (answer == ':') return name + " needs a value";
  if (optopt >= kFontsDir) return name + " takes no value";
  if (optopt != 0) return std::string("unknown option -") + char(optopt);
  return "unknown or ambiguous option " + name;
}

// The table password a --password or --password-file gives.
std::string TablePassword(int answer, const char* value, tools::PasswordFiles& files) {
  std::string why;
  const std::optional<std::string> password =
      answer == kPassword ? std::optional<std::string>(value) : files.Read(value, &why);
  if (!password) throw std::invalid_argument(why);
  if (password->empty())
    throw std::invalid_argument("--password needs a password; use --plain for none");
  if (password->size() > tools::kMaxPassword)
    throw std::invalid_argument("the password is longer than " +
                                std::to_string(tools::kMaxPassword) + " bytes");
  return *password;
}

}  // namespace

std::string UsageText() {
  return "usage: pellory-mkcatalogue [options] OUTPUT_DIRECTORY\n"
         "Writes the font catalogue pelloryfont.DB (with pelloryfont.MB) into OUTPUT_DIRECTORY.\n"
         "  --fonts-dir DIR        the font files under DIR instead of fontconfig's fonts\n"
         "  --password PASSWORD    the table password (default: mirabo); seen by every\n"
         "                         user of the machine, unlike --password-file\n"
         "  --password-file FILE   the table password on the first line of FILE\n"
         "                         ('-': standard input)\n"
         "  --plain                write a table without a password\n"
         "  --synthetic N          N generated records (1 to 1000000) instead of fonts\n"
         "  --category-mix LIST    their categories, e.g. \"Normal Serif=3,Wingdings=1\"\n"
         "  --quiet                no progress lines\n"
         "  --report               print each font's record name, category, rule and file\n"
         "  --update               read only the fonts that are new or changed since the\n"
         "                         catalogue in OUTPUT_DIRECTORY was built; the result is\n"
         "                         the same as without\n"
         "  --help                 this text\n"
         "Options take their value as --option=VALUE too; \"--\" ends the options.\n";
}

BuildOptions ParseOptions(const std::vector<std::string>& args) {
  BuildOptions options;
  bool passwordGiven = false, plain = false, mixGiven = false;
  tools::ArgumentVector argv("pellory-mkcatalogue", args);
  tools::PasswordFiles passwordFiles(std::cin);
  optind = 0;  // a fresh scan: getopt keeps its place between calls
  opterr = 0;  // the refusals are ours
  for (int answer;
       (answer = getopt_long(argv.Count(), argv.Pointers(), ":h", kLongOptions, nullptr)) != -1;) {
    switch (answer) {
      case 'h':
      case kHelp:
        options.help = true;
        break;
      case kFontsDir:
        options.fontsDir = optarg;
        break;
      case kPassword:
      case kPasswordFile:
        options.password = TablePassword(answer, optarg, passwordFiles);
        passwordGiven = true;
        break;
      case kPlain:
        options.password.clear();
        plain = true;
        break;
      case kSynthetic:
        options.synthetic = ParseCount(optarg);
        break;
      case kCategoryMix:
        options.mix = ParseCategoryMix(optarg);
        mixGiven = true;
        break;
      case kQuiet:
        options.quiet = true;
        break;
      case kReport:
        options.report = true;
        break;
      case kUpdate:
        options.update = true;
        break;
      default:
        throw std::invalid_argument(Refusal(answer, argv.At(optind - 1)));
    }
  }
  if (options.help) return options;
  if (passwordGiven && plain) throw std::invalid_argument("--password and --plain together");
  if (mixGiven && !options.synthetic)
    throw std::invalid_argument("--category-mix needs --synthetic");
  if (options.report && options.synthetic)
    throw std::invalid_argument("--report needs fonts, not --synthetic");
  if (options.update && options.synthetic)
    throw std::invalid_argument("--update needs fonts, not --synthetic");
  if (options.synthetic && options.fontsDir)
    throw std::invalid_argument("--synthetic and --fonts-dir together");
  if (argv.Count() - optind != 1) throw std::invalid_argument("name one OUTPUT_DIRECTORY");
  options.output = argv.At(optind);
  return options;
}

}  // namespace pellory::mkcatalogue
