// A CUPS scheduler of the test's own: cupsd started from a configuration in
// a scratch directory, listening only on a socket there, with no browsing
// and no system services, stopped when the object goes. The queues and
// their PPDs are written before it starts.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "scratch_dir.h"

namespace pellory::testkit {

struct PrintQueue {
  std::string name;
  // The PPD's text; empty for a queue without one.
  std::string ppd;
  bool isDefault = false;
};

// A small PostScript printer's PPD whose *Font entries name `fonts`, in order.
std::string PpdWithFonts(const std::vector<std::string>& fonts);

class PrivateScheduler {
 public:
  enum class Access { Open, RefuseEveryone };

  // The scheduler program, or empty when the machine has none.
  static std::string Program();

  // Starts cupsd and waits until its socket answers; Error() says why not.
  PrivateScheduler(const std::vector<PrintQueue>& queues, Access access = Access::Open);
  ~PrivateScheduler();
  PrivateScheduler(const PrivateScheduler&) = delete;
  PrivateScheduler& operator=(const PrivateScheduler&) = delete;

  bool Running() const { return pid_ > 0 && error_.empty(); }
  const std::string& Error() const { return error_; }
  std::string Socket() const;
  // Where the client side looks for lpoptions and client.conf.
  std::string ClientRoot() const;
  // A home directory whose .cups/lpoptions a test may write.
  std::string Home() const;

 private:
  void WriteConfiguration(const std::vector<PrintQueue>& queues, Access access);
  void Start();

  ScratchDir dir_{"pellory-cups"};
  pid_t pid_ = -1;
  std::string error_;
};

// Points the print library at `scheduler` for as long as it lives: its
// socket, its client root and home, no PRINTER or LPDEST; then puts the
// environment back. Further variables may be set through Set().
class SchedulerEnvironment {
 public:
  explicit SchedulerEnvironment(const PrivateScheduler& scheduler);
  // A scheduler that cannot be reached: a socket nobody listens on.
  static std::unique_ptr<SchedulerEnvironment> Unreachable(const std::string& directory);
  ~SchedulerEnvironment();
  SchedulerEnvironment(const SchedulerEnvironment&) = delete;
  SchedulerEnvironment& operator=(const SchedulerEnvironment&) = delete;

  void Set(const char* name, const std::string& value);
  // Writes the user's lpoptions with one "Default" line.
  void SetUserDefault(const std::string& printer);

 private:
  SchedulerEnvironment(const std::string& socket, const std::string& clientRoot,
                       const std::string& home);
  void Remember(const char* name);

  std::string home_;
  std::vector<std::pair<std::string, std::unique_ptr<std::string>>> saved_;
};

}  // namespace pellory::testkit
