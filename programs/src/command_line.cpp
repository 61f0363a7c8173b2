#include "pellory/programs/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <set>

#include "pellory/data/catalogue.h"
#include "pellory/engine/alias_config.h"

namespace pellory::app {

namespace {

// The options QGuiApplication and QApplication take themselves (with one
// dash or two), those that take the next argument as their value first.
const std::set<std::string>& ToolkitOptionsWithValue() {
  static const std::set<std::string> options = {
      "platform",        "platformpluginpath",
      "platformtheme",   "plugin",
      "qwindowgeometry", "geometry",
      "qwindowicon",     "icon",
      "qwindowtitle",    "title",
      "display",         "name",
      "session",         "style",
      "stylesheet",
  };
  return options;
}

const std::set<std::string>& ToolkitFlags() {
  static const std::set<std::string> options = {"reverse", "widgetcount", "testability",
                                                "nograb",  "dograb",      "sync"};
  return options;
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
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help") return {CommandLine::Action::Help, {}, line.platform};
    if (argument == "--version") return {CommandLine::Action::Version, {}, line.platform};
    if (argument.size() < 2 || argument[0] != '-') {
      line.action = CommandLine::Action::Refuse;
      line.refusal = Refused("unexpected argument '" + argument + "', the program takes none");
      return line;
    }
    // The toolkit reads "--platform" as "-platform", and "-style=NAME" too.
    std::string name = argument.substr(argument[1] == '-' ? 2 : 1);
    const auto equals = name.find('=');
    const bool valueAttached = equals != std::string::npos;
    if (valueAttached) name.resize(equals);
    if (ToolkitOptionsWithValue().count(name)) {
      std::optional<std::string> value;
      if (valueAttached)
        value = argument.substr(argument.find('=') + 1);
      else if (i + 1 < arguments.size())
        value = arguments[++i];
      if (name == "platform") line.platform = value;
      continue;
    }
    if (!valueAttached && ToolkitFlags().count(name)) continue;
    line.action = CommandLine::Action::Refuse;
    line.refusal = Refused("unknown option '" + argument + "'");
    return line;
  }
  return line;
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
      "-display DISPLAY, -style NAME and -reverse.\n"
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

std::optional<int> AnswerCommandLine(int argc, const char* const* argv) {
  const CommandLine line =
      ReadCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
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
