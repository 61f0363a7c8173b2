// The screen's font names, enumerated once when the program starts and kept
// for the whole run: fonts installed or removed later are not seen.
#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

namespace pellory::shell {

class ScreenFonts {
 public:
  // The list, enumerated from the machine's families the first time.
  static const QStringList& Names();
  // The list made from enumerated family names: a name equal to the one
  // appended just before it (ignoring case) dropped, then sorted ignoring
  // case. Only installed families: fontconfig has no "Default" family.
  static QStringList Build(const QStringList& families);
};

// The machine's font families, each name once as it is spelt, in the order
// fontconfig reports them.
QStringList InstalledFamilies();

// `base` with the face that the installed family `name` stands for; any
// other name is left to Qt's substitution.
QFont FaceOfFamily(const QString& name, const QFont& base);

// The family names to list, from each installed font's names: every name
// once (names differing in case are different names), in order of first
// appearance; the generic names ("Serif", "Sans Serif", "Monospace"...) that
// stand for other fonts are left out.
QStringList DistinctFamilies(const QList<QStringList>& namesOfEachFont);

}  // namespace pellory::shell
