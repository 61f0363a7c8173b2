#include "private_scheduler.h"

#include <cups/cups.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

extern char** environ;

namespace pellory::testkit {

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Answers(const std::string& socketPath) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  ::close(fd);
  return ok;
}

std::string CupsdConf(const fs::path& root, PrivateScheduler::Access access) {
  // A location that demands a user nobody is makes every request refused.
  const std::string location = access == PrivateScheduler::Access::Open
                                   ? "  Order allow,deny\n  Allow all\n"
                                   : "  AuthType Basic\n  Require user pellory-nobody\n";
  return "Listen " + (root / "cups.sock").string() +
         "\n"
         "LogLevel warn\n"
         "Browsing No\n"
         "BrowseLocalProtocols none\n"
         "DefaultAuthType None\n"
         "WebInterface No\n"
         "<Location />\n" +
         location +
         "</Location>\n"
         "<Policy default>\n"
         "  <Limit All>\n"
         "    Order deny,allow\n"
         "  </Limit>\n"
         "</Policy>\n";
}

std::string CupsFilesConf(const fs::path& root) {
  const auto line = [&](const char* key, const char* sub) {
    return std::string(key) + " " + (root / sub).string() + "\n";
  };
  return line("ServerRoot", "etc") + line("RequestRoot", "spool") + line("TempDir", "tmp") +
         line("CacheDir", "cache") + line("StateDir", "state") + line("ErrorLog", "log/error_log") +
         line("AccessLog", "log/access_log") + line("PageLog", "log/page_log") + "FileDevice Yes\n";
}

std::string PrintersConf(const std::vector<PrintQueue>& queues) {
  std::string text;
  for (const PrintQueue& q : queues) {
    const char* tag = q.isDefault ? "DefaultPrinter" : "Printer";
    text += std::string("<") + tag + " " + q.name +
            ">\n"
            "DeviceURI file:///dev/null\n"
            "State Idle\n"
            "Accepting Yes\n"
            "Shared No\n"
            "</" +
            tag + ">\n";
  }
  return text;
}

}  // namespace

std::string PpdWithFonts(const std::vector<std::string>& fonts) {
  std::string text =
      "*PPD-Adobe: \"4.3\"\n"
      "*FormatVersion: \"4.3\"\n"
      "*FileVersion: \"1.0\"\n"
      "*LanguageVersion: English\n"
      "*LanguageEncoding: ISOLatin1\n"
      "*PCFileName: \"PELLORY.PPD\"\n"
      "*Manufacturer: \"Pellory\"\n"
      "*Product: \"(Pellory Test)\"\n"
      "*ModelName: \"Pellory Test\"\n"
      "*ShortNickName: \"Pellory Test\"\n"
      "*NickName: \"Pellory Test\"\n"
      "*PSVersion: \"(3010.000) 0\"\n"
      "*LanguageLevel: \"3\"\n"
      "*ColorDevice: False\n"
      "*DefaultColorSpace: Gray\n"
      "*OpenUI *PageSize: PickOne\n"
      "*OrderDependency: 10 AnySetup *PageSize\n"
      "*DefaultPageSize: A4\n"
      "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
      "*CloseUI: *PageSize\n"
      "*DefaultImageableArea: A4\n"
      "*ImageableArea A4/A4: \"18 18 577 824\"\n"
      "*DefaultPaperDimension: A4\n"
      "*PaperDimension A4/A4: \"595 842\"\n"
      "*DefaultFont: Courier\n";
  for (const std::string& font : fonts)
    text += "*Font " + font + ": Standard \"(001.000)\" Standard ROM\n";
  return text;
}

std::string PrivateScheduler::Program() {
  for (const char* candidate : {"/usr/sbin/cupsd", "/usr/local/sbin/cupsd"})
    if (::access(candidate, X_OK) == 0) return candidate;
  return {};
}

PrivateScheduler::PrivateScheduler(const std::vector<PrintQueue>& queues, Access access) {
  WriteConfiguration(queues, access);
  Start();
}

PrivateScheduler::~PrivateScheduler() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

std::string PrivateScheduler::Socket() const {
  return (dir_.path() / "cups.sock").string();
}

std::string PrivateScheduler::ClientRoot() const {
  return (dir_.path() / "client").string();
}

std::string PrivateScheduler::Home() const {
  return (dir_.path() / "home").string();
}

void PrivateScheduler::WriteConfiguration(const std::vector<PrintQueue>& queues, Access access) {
  const fs::path root = dir_.path();
  // The scheduler refuses a server root that others may write to.
  fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  for (const char* sub : {"etc/ppd", "spool", "tmp", "cache", "state", "log", "client", "home"})
    fs::create_directories(root / sub);
  WriteFile(root / "etc/cupsd.conf", CupsdConf(root, access));
  WriteFile(root / "etc/cups-files.conf", CupsFilesConf(root));
  WriteFile(root / "etc/printers.conf", PrintersConf(queues));
  for (const PrintQueue& q : queues)
    if (!q.ppd.empty()) WriteFile(root / "etc/ppd" / (q.name + ".ppd"), q.ppd);
}

void PrivateScheduler::Start() {
  const std::string program = Program();
  if (program.empty()) {
    error_ = "cupsd is not installed";
    return;
  }
  const std::string conf = (dir_.path() / "etc/cupsd.conf").string();
  const std::string files = (dir_.path() / "etc/cups-files.conf").string();
  std::vector<std::string> args{program, "-f", "-c", conf, "-s", files};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
    error_ = "cannot start cupsd";
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Answers(Socket())) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      error_ = "cupsd ended at start (see " + (dir_.path() / "log/error_log").string() + ")";
      return;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      error_ = "cupsd did not answer on its socket";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

SchedulerEnvironment::SchedulerEnvironment(const PrivateScheduler& scheduler)
    : SchedulerEnvironment(scheduler.Socket(), scheduler.ClientRoot(), scheduler.Home()) {}

std::unique_ptr<SchedulerEnvironment> SchedulerEnvironment::Unreachable(
    const std::string& directory) {
  fs::create_directories(fs::path(directory) / "client");
  fs::create_directories(fs::path(directory) / "home");
  return std::unique_ptr<SchedulerEnvironment>(new SchedulerEnvironment(
      (fs::path(directory) / "nobody.sock").string(), (fs::path(directory) / "client").string(),
      (fs::path(directory) / "home").string()));
}

SchedulerEnvironment::SchedulerEnvironment(const std::string& socket, const std::string& clientRoot,
                                           const std::string& home)
    : home_(home) {
  Set("CUPS_SERVER", socket);
  Set("CUPS_SERVERROOT", clientRoot);
  Set("HOME", home);
  for (const char* name : {"PRINTER", "LPDEST"}) {
    Remember(name);
    ::unsetenv(name);
  }
  // Forgets the server and connection the library kept from before.
  cupsSetServer(nullptr);
}

SchedulerEnvironment::~SchedulerEnvironment() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    if (it->second)
      ::setenv(it->first.c_str(), it->second->c_str(), 1);
    else
      ::unsetenv(it->first.c_str());
  }
  cupsSetServer(nullptr);
}

void SchedulerEnvironment::Remember(const char* name) {
  for (const auto& entry : saved_)
    if (entry.first == name) return;
  const char* value = std::getenv(name);
  saved_.emplace_back(name, value ? std::make_unique<std::string>(value) : nullptr);
}

void SchedulerEnvironment::Set(const char* name, const std::string& value) {
  Remember(name);
  ::setenv(name, value.c_str(), 1);
}

void SchedulerEnvironment::SetUserDefault(const std::string& printer) {
  fs::create_directories(fs::path(home_) / ".cups");
  WriteFile(fs::path(home_) / ".cups/lpoptions", "Default " + printer + "\n");
}

}  // namespace pellory::testkit
