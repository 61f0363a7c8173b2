#include "coverage.h"

#include <QChar>

namespace pellory::specimen {

Coverage CoverageOf(const QRawFont& face, const QString& text) {
  Coverage coverage;
  for (int i = 0; i < text.size();) {
    const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
                           ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                           : text.at(i).unicode();
    const int length = c > 0xFFFF ? 2 : 1;
    if (!QChar::isSpace(c)) {
      ++coverage.counted;
      if (face.supportsCharacter(c)) {
        ++coverage.covered;
      } else if (!coverage.missing.empty() && coverage.missing.back().second == i) {
        coverage.missing.back().second = i + length;
      } else {
        coverage.missing.emplace_back(i, i + length);
      }
    }
    i += length;
  }
  return coverage;
}

}  // namespace pellory::specimen
