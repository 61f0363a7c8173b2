#include "specimen_options.h"

#include <charconv>
#include <cstddef>

namespace pellory::specimen {
namespace {

// Options that take a value, and where it goes.
std::string* ValueSlot(Options& o, const std::string& name) {
  if (name == "--category") return &o.category;
  if (name == "--filter") return &o.filter;
  if (name == "--text") return &o.text;
  if (name == "--paper") return &o.paper;
  if (name == "-o" || name == "--output") return &o.output;
  if (name == "--printer") return &o.printer;
  return nullptr;
}

std::optional<std::string> CheckCombination(const Options& o, bool printChosen, bool printerNamed) {
  if (!o.category.empty() && !o.filter.empty()) return "--category and --filter exclude each other";
  if (printChosen && !o.output.empty()) return "-o and --print exclude each other";
  if (!printChosen && o.output.empty()) return "an output is needed: -o FILE.pdf or --print";
  if (printerNamed && !printChosen) return "--printer goes with --print";
  if (printerNamed && o.printer.empty()) return "--printer needs a queue name";
  if (!printChosen && o.output.empty()) return "-o needs a file name";
  return std::nullopt;
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
    if (item.empty() || ec != std::errc() || rest != item.data() + item.size() || size < 1 ||
        size > 200)
      return std::nullopt;
    sizes.push_back(size);
    start = end + 1;
  }
  return sizes;
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
  Options options;
  std::vector<std::string> positional;
  bool printChosen = false;
  bool printerNamed = false;
  auto fail = [&](const std::string& why) -> std::optional<Options> {
    *error = why;
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (std::string* slot = ValueSlot(options, arg)) {
      if (i + 1 >= args.size()) return fail(arg + " needs a value");
      *slot = args[++i];
      if (arg == "--printer") printerNamed = true;
    } else if (arg == "--password") {
      if (i + 1 >= args.size()) return fail("--password needs a value");
      options.passwords.push_back(args[++i]);
    } else if (arg == "--sizes") {
      if (i + 1 >= args.size()) return fail("--sizes needs a value");
      const auto sizes = ParseSizes(args[++i]);
      if (!sizes) return fail("--sizes takes point sizes from 1 to 200, such as 9,12,18");
      options.sizes = *sizes;
    } else if (arg == "--covering") {
      options.covering = true;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--print") {
      printChosen = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return fail("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() > 1) return fail("one directory or alias at most");
  if (!positional.empty()) options.database = positional[0];
  if (const auto why = CheckCombination(options, printChosen, printerNamed)) return fail(*why);
  if (options.covering && options.text.empty()) return fail("--covering needs --text");
  options.destination = printChosen ? Destination::Printer : Destination::File;
  return options;
}

}  // namespace pellory::specimen
