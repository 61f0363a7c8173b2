#include "specimen_options.h"

#include <getopt.h>

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <fstream>

namespace pellory::specimen {
namespace {

// getopt_long's answers for the options without a short form.
enum LongOnly : int {
  kPassword = 256,
  kPasswordFile,
  kCategory,
  kFilter,
  kText,
  kSizes,
  kCovering,
  kCharset,
  kFeatures,
  kAxes,
  kPaper,
  kQuiet,
  kPrint,
  kPrinter,
  kHelp,
};

const option kLongOptions[] = {
    {"password", required_argument, nullptr, kPassword},
    {"password-file", required_argument, nullptr, kPasswordFile},
    {"category", required_argument, nullptr, kCategory},
    {"filter", required_argument, nullptr, kFilter},
    {"text", required_argument, nullptr, kText},
    {"sizes", required_argument, nullptr, kSizes},
    {"covering", no_argument, nullptr, kCovering},
    {"charset", optional_argument, nullptr, kCharset},
    {"features", required_argument, nullptr, kFeatures},
    {"axes", no_argument, nullptr, kAxes},
    {"paper", required_argument, nullptr, kPaper},
    {"quiet", no_argument, nullptr, kQuiet},
    {"output", required_argument, nullptr, 'o'},
    {"print", no_argument, nullptr, kPrint},
    {"printer", required_argument, nullptr, kPrinter},
    {"help", no_argument, nullptr, kHelp},
    {nullptr, 0, nullptr, 0},
};

// The option getopt_long answered `id` for, as the user would write it.
std::string OptionName(int id, const char* written) {
  if (id == 'o')
    return written && std::string_view(written).rfind("--", 0) == 0 ? "--output" : "-o";
  for (const option& o : kLongOptions)
    if (o.name && o.val == id) return std::string("--") + o.name;
  return written ? written : "?";
}

// The option as written, without "=value".
std::string WrittenOption(const char* written) {
  const std::string text = written ? written : "";
  return text.substr(0, text.find('='));
}

// Qt's decoder puts U+FFFD for every byte sequence that is not UTF-8 (an
// overlong form, a surrogate, a stray byte), so only valid text survives the
// round trip unchanged.
bool IsUtf8(const std::string& text) {
  const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
  return QString::fromUtf8(bytes).toUtf8() == bytes;
}

// A whole number from `low` to `high`, nothing otherwise.
std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  int n = 0;
  const auto [rest, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || rest != text.data() + text.size() || n < low || n > high)
    return std::nullopt;
  return n;
}

std::optional<std::string> CheckCombination(const Options& o, bool printChosen, bool printerNamed) {
  if (!o.category.empty() && !o.filter.empty()) return "--category and --filter exclude each other";
  if (printChosen && !o.output.empty()) return "-o and --print exclude each other";
  if (!printChosen && o.output.empty()) return "an output is needed: -o FILE.pdf or --print";
  if (printerNamed && !printChosen) return "--printer goes with --print";
  if (printerNamed && (o.printer.empty() || o.printer.front() == '/' || o.printer.back() == '/'))
    return "--printer needs a queue name, or QUEUE/INSTANCE";
  if (o.covering && o.text.empty()) return "--covering needs --text";
  if (!o.features.empty() && o.text.empty()) return "--features needs --text";
  if (o.axes && o.text.empty()) return "--axes needs --text";
  for (const auto& [name, value] :
       {std::pair{"--text", &o.text}, {"--filter", &o.filter}, {"--category", &o.category}})
    if (!IsUtf8(*value)) return std::string(name) + " is not valid UTF-8";
  return std::nullopt;
}

// Reads one option's value into `o`; an error message when it is refused.
std::optional<std::string> TakeValue(Options& o, int id, const std::string& value,
                                     std::istream& standardInput) {
  switch (id) {
    case kPassword:
      o.passwords.push_back(value);
      return std::nullopt;
    case kPasswordFile: {
      std::string why;
      const auto password = ReadPasswordFile(value, standardInput, &why);
      if (!password) return "--password-file: " + why;
      o.passwords.push_back(*password);
      return std::nullopt;
    }
    case kSizes: {
      const auto sizes = ParseSizes(value);
      if (!sizes) return "--sizes takes point sizes from 1 to 200, such as 9,12,18";
      o.sizes = *sizes;
      return std::nullopt;
    }
    case kCharset: {
      const auto pages =
          value.empty() ? kDefaultCharsetPages : WholeNumber(value, 1, kMaxCharsetPages);
      if (!pages)
        return "--charset takes the pages a face's character table may fill, from 1 to " +
               std::to_string(kMaxCharsetPages) + ", such as --charset=20";
      o.charsetPages = *pages;
      return std::nullopt;
    }
    case kFeatures: {
      const auto features = ParseFeatures(value);
      if (!features)
        return "--features takes OpenType feature tags, such as smcp,onum,ss01 or -liga to turn "
               "one off";
      o.features.insert(o.features.end(), features->begin(), features->end());
      return std::nullopt;
    }
    case kCategory:
      o.category = value;
      return std::nullopt;
    case kFilter:
      o.filter = value;
      return std::nullopt;
    case kText:
      o.text = value;
      return std::nullopt;
    case kPaper:
      o.paper = value;
      return std::nullopt;
    case 'o':
      if (value.empty()) return "-o needs a file name";
      o.output = value;
      return std::nullopt;
    case kPrinter:
      o.printer = value;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::vector<double>> ParseSizes(const std::string& list) {
  std::vector<double> sizes;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    const std::string item = list.substr(start, end - start);
    double size = 0;
    const auto [rest, ec] = std::from_chars(item.data(), item.data() + item.size(), size);
    // from_chars reads "nan" and "inf" too; neither is a size.
    if (item.empty() || ec != std::errc() || rest != item.data() + item.size() ||
        !std::isfinite(size) || size < 1 || size > 200)
      return std::nullopt;
    sizes.push_back(size);
    start = end + 1;
  }
  return sizes;
}

std::optional<std::vector<FeatureRequest>> ParseFeatures(const std::string& list) {
  std::vector<FeatureRequest> features;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    FeatureRequest feature;
    feature.label = list.substr(start, end - start);
    std::string item = feature.label;
    if (!item.empty() && (item[0] == '-' || item[0] == '+')) {
      feature.value = item[0] == '-' ? 0 : 1;
      item.erase(0, 1);
    }
    const std::size_t equals = item.find('=');
    if (equals != std::string::npos) {
      const auto value =
          feature.value ? WholeNumber(item.substr(equals + 1), 0, 999) : std::nullopt;
      if (!value) return std::nullopt;
      feature.value = static_cast<std::uint32_t>(*value);
      item.erase(equals);
    }
    const bool tagOk =
        item.size() == 4 && std::all_of(item.begin(), item.end(), [](char c) {
          return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        });
    if (!tagOk) return std::nullopt;
    feature.tag = item;
    features.push_back(feature);
    start = end + 1;
  }
  return features;
}

std::optional<std::string> FirstLinePassword(std::istream& in, const std::string& name,
                                             std::string* why) {
  std::string line;
  // One byte past the longest password tells it too long (and ends a
  // reading of a device that never ends).
  char c = 0;
  while (line.size() <= kMaxPassword && in.get(c) && c != '\n') line += c;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (in.bad())
    *why = "cannot read " + name;
  else if (line.size() > kMaxPassword)
    *why = name + " holds a first line longer than a password may be (" +
           std::to_string(kMaxPassword) + " bytes)";
  else if (line.find('\0') != std::string::npos)
    *why = name + " holds a NUL byte in its first line";
  else if (line.empty())
    *why = name + " holds no password on its first line";
  else
    return line;
  return std::nullopt;
}

std::optional<std::string> ReadPasswordFile(const std::string& path, std::istream& standardInput,
                                            std::string* why) {
  if (path == "-") return FirstLinePassword(standardInput, "standard input", why);
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *why = "cannot read " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  return FirstLinePassword(file, path, why);
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args,
                                   std::istream& standardInput) {
  std::vector<std::string> words = args;
  words.insert(words.begin(), "pellory-specimen");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  ParsedCommandLine parsed;
  Options options;
  bool printChosen = false;
  bool printerNamed = false;
  int readStandardInput = 0;
  auto fail = [&](const std::string& why) {
    parsed.error = why;
    return parsed;
  };
  optind = 0;  // glibc: start afresh
  opterr = 0;  // the messages are ours
  for (;;) {
    const int id = getopt_long(argc, argv.data(), ":o:", kLongOptions, nullptr);
    if (id == -1) break;
    const char* written = argv[static_cast<std::size_t>(std::max(1, optind - 1))];
    if (id == ':') return fail(OptionName(optopt, written) + " needs a value");
    if (id == '?') {
      if (optopt >= kPassword) return fail(OptionName(optopt, written) + " takes no value");
      if (optopt) return fail(std::string("unknown option -") + static_cast<char>(optopt));
      return fail("unknown option " + WrittenOption(written));
    }
    if (id == kHelp) {
      parsed.help = true;
      return parsed;
    }
    if (id == kCovering) options.covering = true;
    if (id == kAxes) options.axes = true;
    if (id == kQuiet) options.quiet = true;
    if (id == kPrint) printChosen = true;
    if (id == kPrinter) printerNamed = true;
    if (id == kPasswordFile && std::string_view(optarg) == "-" && readStandardInput++)
      return fail("standard input can give only one --password-file");
    if (const auto why = TakeValue(options, id, optarg ? optarg : "", standardInput))
      return fail(*why);
  }
  const int positional = argc - optind;
  if (positional > 1) return fail("one directory or alias at most");
  if (positional == 1) options.database = argv[static_cast<std::size_t>(optind)];
  if (const auto why = CheckCombination(options, printChosen, printerNamed)) return fail(*why);
  options.destination = printChosen ? Destination::Printer : Destination::File;
  parsed.options = options;
  return parsed;
}

}  // namespace pellory::specimen
