// The program's command line, read before the windowing toolkit starts, so
// that --help and --version answer on a terminal with or without a display,
// and a missing display is told in one line instead of by the toolkit's
// abort. The toolkit's own options (-platform NAME, -display D, -style S...)
// are left for it.
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
};

// Reads the arguments after the program's name.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

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
std::optional<int> AnswerCommandLine(int argc, const char* const* argv);

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
