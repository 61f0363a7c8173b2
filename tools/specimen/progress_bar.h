// The progress of a long run on standard error, counted in faces: a bar
// redrawn in place on a terminal, a line every tenth otherwise.
#pragma once

#include <ostream>
#include <string>

namespace pellory::specimen {

class ProgressBar {
 public:
  ProgressBar(std::ostream& out, bool enabled, bool terminal);
  // A new stage of `total` faces (-1: not known).
  void Start(const std::string& stage, long total);
  void Advance(long done);
  void Finish();

 private:
  void Draw(long done);

  std::ostream& out_;
  bool enabled_;
  bool terminal_;
  std::string stage_;
  long total_ = 0;
  long lastTenth_ = -1;
  long lastDrawn_ = -1;
  bool open_ = false;
};

// The bar itself for done of total, `width` cells: "[#####.....] 50/100 faces".
std::string BarText(long done, long total, int width);

}  // namespace pellory::specimen
