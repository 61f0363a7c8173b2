#include "progress_bar.h"

#include <algorithm>

namespace pellory::specimen {

std::string BarText(long done, long total, int width) {
  if (total <= 0) return std::to_string(done) + " faces";
  const long filled = std::clamp(done * width / total, 0L, static_cast<long>(width));
  std::string text = "[";
  text.append(static_cast<std::size_t>(filled), '#');
  text.append(static_cast<std::size_t>(width - filled), '.');
  text += "] ";
  text += std::to_string(done);
  text += '/';
  text += std::to_string(total);
  text += " faces";
  return text;
}

ProgressBar::ProgressBar(std::ostream& out, bool enabled, bool terminal)
    : out_(out), enabled_(enabled), terminal_(terminal) {}

void ProgressBar::Start(const std::string& stage, long total) {
  Finish();
  stage_ = stage;
  total_ = total;
  lastTenth_ = -1;
  lastDrawn_ = -1;
  open_ = true;
  Draw(0);
}

void ProgressBar::Advance(long done) {
  if (open_) Draw(done);
}

void ProgressBar::Finish() {
  if (!open_) return;
  open_ = false;
  if (enabled_ && terminal_) out_ << '\n' << std::flush;
}

void ProgressBar::Draw(long done) {
  if (!enabled_ || done == lastDrawn_) return;
  lastDrawn_ = done;
  const std::string line = "pellory-specimen: " + stage_ + " " + BarText(done, total_, 30);
  if (terminal_) {
    out_ << '\r' << line << std::flush;
    return;
  }
  const long tenth = total_ > 0 ? done * 10 / total_ : -1;
  if (tenth == lastTenth_) return;
  lastTenth_ = tenth;
  out_ << line << '\n' << std::flush;
}

}  // namespace pellory::specimen
