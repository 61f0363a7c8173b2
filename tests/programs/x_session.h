// An X display of the test's own (Xvfb) and xdotool to find windows on it
// and press keys in them as a user would.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace xtest {

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};

class XSession {
 public:
  static constexpr int kScreenWidth = 1024;
  static constexpr int kScreenHeight = 768;

  // Starts Xvfb; Available() is false (with Problem() saying why) when Xvfb
  // or xdotool is missing or the server does not come up.
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Available() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }
  // ":N", for DISPLAY.
  const std::string& Display() const { return display_; }

  // Visible windows whose name matches the regular expression `name`.
  std::vector<std::string> Windows(const std::string& name) const;
  // The visible window of `pid` named like `name`, if it has one.
  std::optional<std::string> WindowOf(pid_t pid, const std::string& name) const;
  std::optional<pid_t> PidOf(const std::string& window) const;
  std::optional<WindowGeometry> Geometry(const std::string& window) const;
  // Gives `window` the keyboard focus and types `keys` ("Return",
  // "alt+f x"...). Answers whether xdotool managed to.
  bool Press(const std::string& window, const std::string& keys) const;
  // Sends `key` to `window` itself, whichever window has the focus; for
  // windows that appear in numbers and take the focus from one another.
  // The window may close on the press and be gone for the release.
  void SendKey(const std::string& window, const std::string& key) const;

 private:
  // Runs xdotool with `args` on this display; answers its output, or
  // nothing when it fails (also when a search finds nothing).
  std::optional<std::string> XDoTool(const std::vector<std::string>& args) const;

  pid_t server_ = -1;
  std::string display_;
  std::string problem_;
};

}  // namespace xtest
