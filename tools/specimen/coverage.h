// Which characters of a text a face draws itself.
#pragma once

#include <QRawFont>
#include <QString>
#include <utility>
#include <vector>

namespace pellory::specimen {

// White space is not counted; a face may leave it to the layout.
struct Coverage {
  int covered = 0;
  int counted = 0;
  // UTF-16 ranges [start, end) of the characters the face lacks.
  std::vector<std::pair<int, int>> missing;
  bool Whole() const { return covered == counted; }
};
Coverage CoverageOf(const QRawFont& face, const QString& text);

}  // namespace pellory::specimen
