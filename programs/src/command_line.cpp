#include "pellory/programs/command_line.h"

#include <getopt.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "pellory/data/catalogue.h"
#include "pellory/engine/alias_config.h"

namespace pellory::app {

namespace {

enum OptionId : int { kHelp = 1000, kVersion, kToolkitValue, kToolkitFlag };

// The options QGuiApplication and QApplication take themselves, those that
// take a value first; each is handed on with one dash, as the toolkit reads
// it. getopt_long_only reads them with one dash or two, and "=VALUE".
const option kOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"platform", required_argument, nullptr, kToolkitValue},
    {"platformpluginpath", required_argument, nullptr, kToolkitValue},
    {"platformtheme", required_argument, nullptr, kToolkitValue},
    {"plugin", required_argument, nullptr, kToolkitValue},
    {"qwindowgeometry", required_argument, nullptr, kToolkitValue},
    {"geometry", required_argument, nullptr, kToolkitValue},
    {"qwindowicon", required_argument, nullptr, kToolkitValue},
    {"icon", required_argument, nullptr, kToolkitValue},
    {"qwindowtitle", required_argument, nullptr, kToolkitValue},
    {"title", required_argument, nullptr, kToolkitValue},
    {"display", required_argument, nullptr, kToolkitValue},
    {"name", required_argument, nullptr, kToolkitValue},
    {"session", required_argument, nullptr, kToolkitValue},
    {"style", required_argument, nullptr, kToolkitValue},
    {"stylesheet", required_argument, nullptr, kToolkitValue},
    {"reverse", no_argument, nullptr, kToolkitFlag},
    {"widgetcount", no_argument, nullptr, kToolkitFlag},
    {"testability", no_argument, nullptr, kToolkitFlag},
    {"nograb", no_argument, nullptr, kToolkitFlag},
    {"dograb", no_argument, nullptr, kToolkitFlag},
    {"sync", no_argument, nullptr, kToolkitFlag},
    {nullptr, 0, nullptr, 0},
};

// What getopt_long_only refused, as one line: `argument` is the argument it
// stopped in.
std::string RefusalOf(int answer, const std::string& argument) {
  const std::string name = argument.substr(0, argument.find('='));
  if (answer == ':') return "option '" + name + "' needs a value";
  if (optopt >= kHelp) return "option '" + name + "' takes no value";
  return "unknown option '" + argument + "'";
}

const char* const kTryHelp = "; \"pellory --help\" lists the options";

std::string Refused(const std::string& what) {
  return "pellory: " + what + kTryHelp;
}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

std::string Described(const std::string& file, const char* what) {
  return "  " + file + "\n      " + what + "\n";
}

// Which configuration the program would read now, and the catalogue it names.
std::string FoundNow() {
  std::string problem;
  const engine::AliasConfig config = engine::LoadConfig(&problem);
  if (config.file.empty()) return "None of these files exists now.\n";
  std::string text = "Now read: " + config.file + "\n";
  const auto alias = config.aliasPaths.find(std::string(data::kCatalogueAlias));
  if (!problem.empty())
    text += "  which cannot be read as it is: " + problem + "\n";
  else if (alias == config.aliasPaths.end())
    text += "  which names no catalogue for the alias pellory.\n";
  else
    text += "  which names the catalogue " + alias->second + "\n";
  return text;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
  std::vector<std::string> text(arguments);
  text.insert(text.begin(), "pellory");
  std::vector<char*> argv;
  for (std::string& argument : text) argv.push_back(argument.data());
  argv.push_back(nullptr);
  CommandLine line;
  optind = 0;  // a fresh scan: getopt keeps its place between calls
  opterr = 0;  // the refusals are ours
  int index = -1;
  for (int answer;
       (answer = getopt_long_only(int(text.size()), argv.data(), ":", kOptions, &index)) != -1;
       index = -1) {
    if (answer == kHelp || answer == kVersion) {
      line.action = answer == kHelp ? CommandLine::Action::Help : CommandLine::Action::Version;
      return line;
    }
    if (answer != kToolkitValue && answer != kToolkitFlag) {
      line.action = CommandLine::Action::Refuse;
      line.refusal = Refused(RefusalOf(answer, argv[std::size_t(optind - 1)]));
      return line;
    }
    const std::string name = kOptions[index].name;
    line.toolkitArguments.push_back("-" + name);
    if (answer == kToolkitFlag) continue;
    line.toolkitArguments.emplace_back(optarg);
    if (name == "platform") line.platform = optarg;
    if (name == "display") line.display = optarg;
  }
  if (optind < int(text.size())) {
    line.action = CommandLine::Action::Refuse;
    line.refusal = Refused("unexpected argument '" + std::string(argv[std::size_t(optind)]) +
                           "', the program takes none");
  }
  return line;
}

CommandLine ReadCommandLine(int argc, const char* const* argv) {
  return ReadCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}

void UseDisplayOption(const CommandLine& commandLine) {
  if (commandLine.display) ::setenv("DISPLAY", commandLine.display->c_str(), 1);
}

ToolkitArguments::ToolkitArguments(const char* programName, const CommandLine& commandLine)
    : text_(commandLine.toolkitArguments) {
  text_.insert(text_.begin(), programName ? programName : "pellory");
  for (std::string& argument : text_) pointers_.push_back(argument.data());
  pointers_.push_back(nullptr);
  count_ = int(text_.size());
}

std::string HelpText() {
  const std::string installed = engine::InstalledConfigFile(engine::RunningProgramDir());
  std::string user = engine::UserConfigFile();
  if (user.empty()) user = "~/.config/pellory/engine.conf";
  std::string text =
      "Usage: pellory [OPTION]...\n"
      "Look through a catalogue of fonts: one font at a time with its sample, a grid\n"
      "of them all, and the fonts installed on this machine.\n"
      "\n"
      "  --help       print this help and exit\n"
      "  --version    print the version and exit\n"
      "\n"
      "The windowing toolkit's own options are taken too, such as -platform NAME,\n"
      "-display DISPLAY (the X display to show the window on, as DISPLAY names it),\n"
      "-style NAME and -reverse. Every option may be written with one dash or two,\n"
      "and its value after a blank or after \"=\" (--display=:1).\n"
      "\n"
      "The catalogue is the table pelloryfont.DB in the directory that the engine\n"
      "configuration names for the alias pellory. The configuration is the first of\n"
      "these files that exists:\n";
  text +=
      Described("$PELLORY_ENGINE_CONFIG", "the file the variable names, when set (then no other)");
  text += Described(user, "your own ($XDG_CONFIG_HOME/pellory/engine.conf)");
  text += Described(engine::SystemConfigFile(), "the machine's");
  if (!installed.empty()) text += Described(installed, "this installation's");
  text += FoundNow();
  text +=
      "\n"
      "pellory-update-catalogue --user builds a catalogue of the fonts you see, your\n"
      "own included, and names it in your configuration.\n"
      "\n"
      "The window needs a display; on a machine without one, run the program under a\n"
      "virtual X server: xvfb-run -a pellory\n";
  return text;
}

std::string VersionText() {
  return "pellory (Pellory Fonts) " PELLORY_VERSION "\n";
}

std::optional<std::string> MissingDisplay(const CommandLine& commandLine) {
  // A platform named by the user (offscreen, vnc...) is the toolkit's to
  // judge, and so is a display named by the environment.
  if (commandLine.platform || IsSet("QT_QPA_PLATFORM")) return std::nullopt;
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return std::nullopt;
  return std::string("neither DISPLAY nor WAYLAND_DISPLAY is set");
}

std::string NoDisplayText(const std::string& why) {
  return "pellory: no display to show the window on (" + why +
         "); run it on a desktop, or under a virtual X server: xvfb-run -a pellory";
}

std::optional<int> AnswerCommandLine(const CommandLine& line) {
  switch (line.action) {
    case CommandLine::Action::Help:
      std::cout << HelpText() << std::flush;
      return 0;
    case CommandLine::Action::Version:
      std::cout << VersionText() << std::flush;
      return 0;
    case CommandLine::Action::Refuse:
      std::cerr << line.refusal << std::endl;
      return 2;
    case CommandLine::Action::Run:
      break;
  }
  if (const auto why = MissingDisplay(line)) {
    std::cerr << NoDisplayText(*why) << std::endl;
    return 1;
  }
  return std::nullopt;
}

}  // namespace pellory::app
