#include "font_cache.h"

#include <QFontDatabase>
#include <QString>

namespace pellory::specimen {

void ReleaseUnusedFonts(const std::string& anyFontFile) {
  const int id = QFontDatabase::addApplicationFont(QString::fromStdString(anyFontFile));
  if (id >= 0) QFontDatabase::removeApplicationFont(id);
}

}  // namespace pellory::specimen
