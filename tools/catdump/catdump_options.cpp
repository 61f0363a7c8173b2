#include "catdump_options.h"

namespace pellory::catdump {

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
  Options options;
  std::vector<std::string> positional;
  bool outputChosen = false;
  auto fail = [&](const std::string& why) -> std::optional<Options> {
    *error = why;
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--password") {
      if (i + 1 >= args.size()) return fail("--password needs a value");
      options.passwords.push_back(args[++i]);
    } else if (arg == "--filter") {
      if (i + 1 >= args.size()) return fail("--filter needs a value");
      options.filter = args[++i];
    } else if (arg == "--count" || arg == "--schema") {
      if (outputChosen) return fail("--count and --schema exclude each other");
      outputChosen = true;
      options.output = arg == "--count" ? Output::Count : Output::Schema;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
      return fail("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return fail("a directory or alias and a table are needed");
  options.database = positional[0];
  options.table = positional[1];
  return options;
}

}  // namespace pellory::catdump
