#include "build_options.h"

#include <algorithm>
#include <stdexcept>

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

}  // namespace

std::string UsageText() {
  return "usage: pellory-mkcatalogue [options] OUTPUT_DIRECTORY\n"
         "Writes the font catalogue pelloryfont.DB (with pelloryfont.MB) into OUTPUT_DIRECTORY.\n"
         "  --fonts-dir DIR        the font files under DIR instead of fontconfig's fonts\n"
         "  --password PASSWORD    the table password (default: mirabo)\n"
         "  --plain                write a table without a password\n"
         "  --synthetic N          N generated records (1 to 1000000) instead of fonts\n"
         "  --category-mix LIST    their categories, e.g. \"Normal Serif=3,Wingdings=1\"\n"
         "  --quiet                no progress lines\n"
         "  --report               print each font's record name, category, rule and file\n"
         "  --help                 this text\n";
}

BuildOptions ParseOptions(const std::vector<std::string>& args) {
  BuildOptions options;
  bool passwordGiven = false, mixGiven = false;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--fonts-dir") {
      options.fontsDir = value();
    } else if (a == "--password") {
      options.password = value();
      passwordGiven = true;
      if (options.password.empty())
        throw std::invalid_argument("--password needs a password; use --plain for none");
      if (options.password.size() > 255)
        throw std::invalid_argument("the password is longer than 255 bytes");
    } else if (a == "--plain") {
      options.password.clear();
    } else if (a == "--synthetic") {
      options.synthetic = ParseCount(value());
    } else if (a == "--category-mix") {
      options.mix = ParseCategoryMix(value());
      mixGiven = true;
    } else if (a == "--quiet") {
      options.quiet = true;
    } else if (a == "--report") {
      options.report = true;
    } else if (a.size() > 1 && a[0] == '-') {
      throw std::invalid_argument("unknown option " + a);
    } else {
      positional.push_back(a);
    }
  }
  if (options.help) return options;
  if (passwordGiven && std::find(args.begin(), args.end(), "--plain") != args.end())
    throw std::invalid_argument("--password and --plain together");
  if (mixGiven && !options.synthetic)
    throw std::invalid_argument("--category-mix needs --synthetic");
  if (options.report && options.synthetic)
    throw std::invalid_argument("--report needs fonts, not --synthetic");
  if (options.synthetic && options.fontsDir)
    throw std::invalid_argument("--synthetic and --fonts-dir together");
  if (positional.size() != 1) throw std::invalid_argument("name one OUTPUT_DIRECTORY");
  options.output = positional[0];
  return options;
}

}  // namespace pellory::mkcatalogue
