// bench_font_list: the "Both" rebuild of the font list with every installed
// family (each name sorted in and measured in its own face), against
// running `fc-list : family`, which only lists the same families. The two
// take turns; the report gives each median, their ratio (goal: at most 1.0)
// and the first rebuild of the run, which loads every face.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "pellory/shell/screen_fonts.h"
#include "pellory/shell/stored_font.h"
#include "pellory/ui/fonts/tglfontlistbox.h"

extern char** environ;

namespace {

using pellory::ui::TGLFontListBox;

constexpr double kGoalRatio = 1.0;

// Runs `fc-list : family`, reading all it writes; answers false on failure.
bool RunFcList() {
  int out[2];
  if (::pipe(out) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  char program[] = "fc-list", colon[] = ":", family[] = "family";
  char* argv[] = {program, colon, family, nullptr};
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  char buffer[65536];
  while (spawned == 0 && ::read(out[0], buffer, sizeof buffer) > 0) {
  }
  ::close(out[0]);
  int status = 0;
  return spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Runs(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0) return std::max(1, std::atoi(argv[i + 1]));
  return 30;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = Runs(argc, argv);
  const QStringList& screen = pellory::shell::ScreenFonts::Names();

  QWidget host;
  auto* list = new TGLFontListBox({nullptr, &host, nullptr});
  list->setFont(pellory::shell::StoredFont{QStringLiteral("MS Sans Serif"), -11}.ToQFont());
  // No printer: the list is every screen family.
  list->SetSources({[&screen] { return screen; }, [] { return QStringList(); }});

  // The running program has drawn its main window before F6: Qt's font
  // database is filled by then, but no listed face is loaded yet.
  QFontMetrics(list->font()).height();

  QElapsedTimer clock;
  clock.start();
  list->SetFontType(pellory::ui::ftBoth);
  const double first = double(clock.nsecsElapsed()) / 1e6;

  std::vector<double> rebuilds, listings;
  for (int i = 0; i < runs; ++i) {
    clock.restart();
    list->SetFontType(pellory::ui::ftBoth);
    rebuilds.push_back(double(clock.nsecsElapsed()) / 1e6);
    clock.restart();
    if (!RunFcList()) {
      std::fprintf(stderr, "bench_font_list: cannot run fc-list : family\n");
      return 1;
    }
    listings.push_back(double(clock.nsecsElapsed()) / 1e6);
  }
  const double ratio = Median(rebuilds) / Median(listings);
  std::printf("families listed: %d\n", list->Count());
  std::printf("first Both rebuild (loads every face): %.2f ms, %.3f of fc-list\n", first,
              first / Median(listings));
  std::printf("Both rebuild, median of %d: %.3f ms\n", runs, Median(rebuilds));
  std::printf("fc-list : family, median of %d: %.3f ms\n", runs, Median(listings));
  std::printf("ratio rebuild / fc-list: %.3f (goal at most %.1f): %s", ratio, kGoalRatio,
              ratio <= kGoalRatio ? "met\n" : "NOT met\n");
  return 0;
}
