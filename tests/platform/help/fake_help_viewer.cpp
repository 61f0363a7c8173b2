// Stands in for the help viewer in tests: appends to the file named by
// PELLORY_FAKE_VIEWER_LOG one line "start ARGS..." when it starts, one line
// "command TEXT" for each line read from its standard input, and "end" when
// its input closes or "terminated" when it is asked to stop.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

const char* LogPath() {
  const char* path = std::getenv("PELLORY_FAKE_VIEWER_LOG");
  return path ? path : "/dev/null";
}

// Plain system calls: also used from the signal handler.
void Log(const char* text, size_t size) {
  const int fd = open(LogPath(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd < 0) return;
  if (write(fd, text, size) < 0) {
  }
  close(fd);
}

void Log(std::string line) {
  line += '\n';
  Log(line.data(), line.size());
}

extern "C" void OnTerminate(int) {
  static const char kTerminated[] = "terminated\n";
  Log(kTerminated, sizeof kTerminated - 1);
  _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGTERM, OnTerminate);
  std::string start = "start";
  for (int i = 1; i < argc; ++i) start += std::string(" ") + argv[i];
  Log(start);
  std::string line;
  while (std::getline(std::cin, line)) Log("command " + line);
  Log("end");
  return 0;
}
