// A private accessibility bus, as a desktop session has one: a session
// D-Bus of its own and the AT-SPI bus launcher on it, for the X display of
// the test. While the object lives, the environment names that session
// bus and asks Qt to expose the program's widgets there, so program copies
// started meanwhile are readable through AT-SPI.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace xtest {

// One object of a program's accessibility tree, as the tree script prints
// it (tests/programs/accessibility_tree.py).
struct AccessibleRow {
  std::string path;  // names of the ancestors from the window down
  std::string role;
  std::string name;
  std::string states;
  std::string labelledBy;
  std::string extra;  // description, a text box's text or a table's summary
};

class AccessibilityBus {
 public:
  explicit AccessibilityBus(const std::string& display);
  ~AccessibilityBus();
  AccessibilityBus(const AccessibilityBus&) = delete;
  AccessibilityBus& operator=(const AccessibilityBus&) = delete;

  // False, with Problem() saying why, when D-Bus, the launcher, Python's
  // AT-SPI binding or the bus itself is missing.
  bool Available() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }

  // The tree of the windows of process `pid` named `window` (all when
  // empty); empty while the program is not (yet) on the bus.
  std::vector<AccessibleRow> Tree(pid_t pid, const std::string& window = {}) const;
  // Runs the tree script with `arguments` after the process id; answers
  // its output, trimmed.
  std::string Script(pid_t pid, const std::string& arguments) const;

 private:
  pid_t sessionBus_ = -1;
  pid_t launcher_ = -1;
  std::string problem_;
};

}  // namespace xtest
