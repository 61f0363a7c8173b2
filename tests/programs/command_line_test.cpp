// The program's command line: read before the toolkit starts, so that the
// real program answers --help and --version, refuses an unknown option and
// says that it has no display, all without a display.
#include "pellory/programs/command_line.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <string>
#include <vector>

namespace {

using pellory::app::CommandLine;
using pellory::app::ReadCommandLine;
using Action = CommandLine::Action;

TEST(CommandLine, OwnOptionsToolkitOptionsAndRefusals) {
  const struct {
    std::vector<std::string> arguments;
    Action action;
    std::string platform;  // "-" for none
    std::string refused;   // what the refusal names
  } cases[] = {
      {{}, Action::Run, "-", ""},
      {{"--help"}, Action::Help, "-", ""},
      {{"--version"}, Action::Version, "-", ""},
      // An unambiguous beginning of an option's name stands for it.
      {{"-h"}, Action::Help, "-", ""},
      {{"--vers"}, Action::Version, "-", ""},
      {{"-platform", "offscreen", "--help"}, Action::Help, "offscreen", ""},
      {{"--platform", "xcb"}, Action::Run, "xcb", ""},
      {{"-platform=vnc"}, Action::Run, "vnc", ""},
      {{"--platform=offscreen", "--"}, Action::Run, "offscreen", ""},
      {{"-style", "fusion", "-reverse", "-display", ":3", "-qwindowtitle", "T"},
       Action::Run,
       "-",
       ""},
      {{"-stylesheet=a.qss", "--nograb", "-name", "x"}, Action::Run, "-", ""},
      {{"--bogus"}, Action::Refuse, "-", "unknown option '--bogus'"},
      {{"--bogus=1"}, Action::Refuse, "-", "unknown option '--bogus=1'"},
      {{"-s", "x"}, Action::Refuse, "-", "unknown option '-s'"},  // style, session, sync...
      {{"-reverse=1"}, Action::Refuse, "-", "option '-reverse' takes no value"},
      {{"--help=all"}, Action::Refuse, "-", "option '--help' takes no value"},
      {{"-display"}, Action::Refuse, "-", "option '-display' needs a value"},
      {{"fonts.db"}, Action::Refuse, "-", "unexpected argument 'fonts.db'"},
      {{"--", "--help"}, Action::Refuse, "-", "unexpected argument '--help'"},
      {{"-style", "fusion", "--versions"}, Action::Refuse, "-", "unknown option '--versions'"},
      {{"--bogus", "--help"}, Action::Refuse, "-", "unknown option '--bogus'"},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments) shown += a + " ";
    const CommandLine line = ReadCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action) << shown;
    EXPECT_EQ(line.platform.value_or("-"), c.platform) << shown;
    if (c.action == Action::Refuse) {
      EXPECT_EQ(line.refusal.rfind("pellory: " + c.refused, 0), 0u) << line.refusal;
      EXPECT_NE(line.refusal.find("pellory --help"), std::string::npos) << line.refusal;
      EXPECT_EQ(line.refusal.find('\n'), std::string::npos) << line.refusal;
    }
  }
}

// Whatever form the user wrote them in, the toolkit gets its options as it
// reads them: one dash, the value as the next argument.
TEST(CommandLine, ToolkitOptionsAreHandedOnInTheToolkitsForm) {
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> toolkit;
    std::string display;  // "-" for none
  } cases[] = {
      {{"--display=:5"}, {"-display", ":5"}, ":5"},
      {{"-display", ":3", "--reverse"}, {"-display", ":3", "-reverse"}, ":3"},
      {{"--style=fusion", "-platform=xcb"}, {"-style", "fusion", "-platform", "xcb"}, "-"},
      {{"-qwindowgeometry", "300x200+0+0", "--"}, {"-qwindowgeometry", "300x200+0+0"}, "-"},
      {{}, {}, "-"},
  };
  for (const auto& c : cases) {
    const CommandLine line = ReadCommandLine(c.arguments);
    ASSERT_EQ(line.action, Action::Run) << line.refusal;
    EXPECT_EQ(line.toolkitArguments, c.toolkit);
    EXPECT_EQ(line.display.value_or("-"), c.display);
    const char* argv0 = "/usr/bin/pellory";
    pellory::app::ToolkitArguments argv(argv0, line);
    ASSERT_EQ(argv.Count(), int(c.toolkit.size()) + 1);
    EXPECT_STREQ(argv.Vector()[0], argv0);
    for (std::size_t i = 0; i < c.toolkit.size(); ++i)
      EXPECT_EQ(argv.Vector()[i + 1], c.toolkit[i]);
    EXPECT_EQ(argv.Vector()[argv.Count()], nullptr);
  }
}

TEST(CommandLine, HelpNamesTheOptionsAndWhereTheCatalogueIsLookedFor) {
  const std::string help = pellory::app::HelpText();
  for (const char* expected :
       {"Usage: pellory [OPTION]...", "--help", "--version", "-platform NAME", "-display DISPLAY",
        "--display=:1", "$PELLORY_ENGINE_CONFIG", "/pellory/engine.conf",
        "/etc/pellory/engine.conf", "alias pellory", "pellory-update-catalogue --user",
        "xvfb-run -a pellory"})
    EXPECT_NE(help.find(expected), std::string::npos) << expected << " missing from\n" << help;
}

// The built program, with every variable that names a display removed.
struct Outcome {
  int exitCode = -1;
  QString out, err;
};

Outcome RunProgram(const QStringList& arguments, const QStringList& extraEnvironment = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    env.remove(QLatin1String(name));
  for (const QString& assignment : extraEnvironment)
    env.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
  QProcess program;
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(PELLORY_PROGRAM), arguments);
  Outcome run;
  if (!program.waitForFinished(30000)) {
    program.kill();
    program.waitForFinished();
    return run;
  }
  run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
  run.out = QString::fromUtf8(program.readAllStandardOutput());
  run.err = QString::fromUtf8(program.readAllStandardError());
  return run;
}

TEST(CommandLine, TheProgramAnswersOnATerminalWithoutADisplay) {
  const struct {
    QStringList arguments;
    QStringList environment;
    int exitCode;
    const char* out;  // the start of standard output
    const char* err;  // the one line on standard error, or its start
  } cases[] = {
      {{"--help"}, {}, 0, "Usage: pellory [OPTION]...\n", ""},
      {{"--version"}, {}, 0, "pellory (Pellory Fonts) " PELLORY_VERSION "\n", ""},
      {{"-platform", "offscreen", "--version"},
       {},
       0,
       "pellory (Pellory Fonts) " PELLORY_VERSION "\n",
       ""},
      {{"--bogus"}, {}, 2, "", "pellory: unknown option '--bogus'"},
      {{"extra"}, {}, 2, "", "pellory: unexpected argument 'extra'"},
      {{}, {}, 1, "", "pellory: no display to show the window on (neither DISPLAY nor"},
      // -display names the display as DISPLAY does, in either form.
      {{"-display", ":4093"},
       {},
       1,
       "",
       "pellory: no display to show the window on (cannot connect to display :4093)"},
      {{"--display=:4094"},
       {"DISPLAY=:4093"},
       1,
       "",
       "pellory: no display to show the window on (cannot connect to display :4094)"},
      {{},
       {"DISPLAY=:4093"},
       1,
       "",
       "pellory: no display to show the window on (cannot connect to display :4093)"},
  };
  for (const auto& c : cases) {
    const std::string shown = (c.arguments + c.environment).join(u' ').toStdString();
    const Outcome run = RunProgram(c.arguments, c.environment);
    EXPECT_EQ(run.exitCode, c.exitCode) << shown << "\n" << run.err.toStdString();
    if (*c.out == '\0') {
      EXPECT_TRUE(run.out.isEmpty()) << shown << ": " << run.out.toStdString();
    } else {
      EXPECT_TRUE(run.out.startsWith(QLatin1String(c.out)))
          << shown << ": " << run.out.toStdString();
    }
    if (*c.err == '\0') {
      EXPECT_TRUE(run.err.isEmpty()) << shown << ": " << run.err.toStdString();
    } else {
      EXPECT_TRUE(run.err.startsWith(QLatin1String(c.err)))
          << shown << ": " << run.err.toStdString();
      EXPECT_EQ(run.err.count(u'\n'), 1) << shown << ": one line, not\n" << run.err.toStdString();
    }
    if (c.exitCode == 1) {
      EXPECT_TRUE(run.err.contains(QLatin1String("xvfb-run -a pellory"))) << shown;
    }
  }
}

}  // namespace
