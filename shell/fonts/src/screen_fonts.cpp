#include "pellory/shell/screen_fonts.h"

#include <QSet>
#include <algorithm>

namespace pellory::shell {

namespace {

// Names fontconfig and Qt use for whatever font the configuration prefers:
// aliases that stand for other fonts, not fonts a user picks.
constexpr const char* kGenericNames[] = {
    "Serif",   "Sans Serif", "Sans",      "Monospace", "Mono", "sans-serif",
    "cursive", "fantasy",    "system-ui", "emoji",     "math", "fangsong",
};

bool IsGeneric(const QString& name) {
  return std::any_of(std::begin(kGenericNames), std::end(kGenericNames), [&](const char* g) {
    return name.compare(QLatin1String(g), Qt::CaseInsensitive) == 0;
  });
}

}  // namespace

QStringList DistinctFamilies(const QList<QStringList>& namesOfEachFont) {
  // fontconfig lists fonts, one for each style of a family; the screen's
  // list is made of families, each as it is spelt. Names that differ only
  // in case are left to ScreenFonts::Build, which drops one only when it
  // follows the other.
  QStringList families;
  QSet<QString> seen;
  for (const QStringList& names : namesOfEachFont)
    for (const QString& name : names) {
      if (name.isEmpty() || IsGeneric(name) || seen.contains(name)) continue;
      seen.insert(name);
      families.append(name);
    }
  return families;
}

QStringList ScreenFonts::Build(const QStringList& families) {
  // The families as fontconfig lists them: no "Default", which names no
  // family here (fontconfig's configuration decides the default face).
  QStringList names;
  for (const QString& family : families)
    if (names.isEmpty() || family.compare(names.last(), Qt::CaseInsensitive) != 0)
      names.append(family);
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

const QStringList& ScreenFonts::Names() {
  static const QStringList names = Build(InstalledFamilies());
  return names;
}

}  // namespace pellory::shell
