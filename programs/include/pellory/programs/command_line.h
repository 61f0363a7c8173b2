// The program's command line, read before the windowing toolkit starts, so
// that --help and --version answer on a terminal with or without a display,
// and a missing display is told in one line instead of by the toolkit's
// abort. Read the GNU way (getopt_long_only): options with one dash or two,
// their values as the next argument or after "=", and "--" ending them. The
// toolkit's own options (-platform NAME, -display D, -style S...) are handed
// on to it in the form it reads.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pellory::app {

struct CommandLine {
  enum class Action { Run, Help, Version, Refuse };
  Action action = Action::Run;
  std::string refusal;                  // Refuse: what is wrong, as one line
  std::optional<std::string> platform;  // the value of the toolkit's -platform
  std::optional<std::string> display;   // the value of the toolkit's -display
  // The toolkit's options as it reads them: "-name", then its value if any.
  std::vector<std::string> toolkitArguments;
};

// Reads the arguments after the program's name.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);
CommandLine ReadCommandLine(int argc, const char* const* argv);

// -display NAME names the X display as DISPLAY does: it becomes DISPLAY, so
// that the toolkit, the missing-display check and the programs this one
// starts (the help viewer) all use it.
void UseDisplayOption(const CommandLine& commandLine);

// The argument vector the toolkit is made with: the program's name, then the
// toolkit's options. Lives as long as the toolkit's application object.
class ToolkitArguments {
 public:
  ToolkitArguments(const char* programName, const CommandLine& commandLine);
  int& Count() { return count_; }
  char** Vector() { return pointers_.data(); }

 private:
  std::vector<std::string> text_;
  std::vector<char*> pointers_;
  int count_ = 0;
};

// What --help prints: the options, and where the catalogue and its
// configuration are looked for (with what is found there now).
std::string HelpText();
// What --version prints.
std::string VersionText();

// Why no window can be shown, when the environment names no display for the
// toolkit to connect to; nothing when it names one (or a platform of its
// own, such as offscreen).
std::optional<std::string> MissingDisplay(const CommandLine& commandLine);
// The one line that says there is no display and how to run the program
// without one.
std::string NoDisplayText(const std::string& why);

// Acts on the command line before the toolkit starts: prints the help, the
// version, a refusal or a missing display and answers the exit code (0, 2,
// 1); nothing when the program is to run.
std::optional<int> AnswerCommandLine(const CommandLine& commandLine);

// While it lives, a failure of the toolkit to connect to its display ends
// the program with NoDisplayText and exit code 1, instead of the toolkit's
// advice to reinstall and an abort.
class DisplayFailureWatch {
 public:
  DisplayFailureWatch();
  ~DisplayFailureWatch();
  DisplayFailureWatch(const DisplayFailureWatch&) = delete;
  DisplayFailureWatch& operator=(const DisplayFailureWatch&) = delete;
};

}  // namespace pellory::app
