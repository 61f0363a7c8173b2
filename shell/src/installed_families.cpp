// The machine's font families, from the machine's font listing.
#include <QFontDatabase>
#include <QHash>
#include <QSet>

#include "pellory/platform/installed_fonts.h"
#include "pellory/shell/screen_fonts.h"

namespace pellory::shell {

namespace {

// A font's family names in the user-interface language, English here: a
// font may also carry names in other scripts for other locales.
QStringList EnglishNames(const platform::InstalledFace& font) {
  QStringList names;
  for (std::size_t i = 0; i < font.families.size(); ++i) {
    const platform::FamilyName& family = font.families[i];
    // The first name stands when none is English.
    if (family.language.empty() || family.language.starts_with("en") || i == 0)
      names.append(QString::fromStdString(family.name));
  }
  return names;
}

struct Face {
  QString family;
  QString style;
};

struct Enumeration {
  QStringList families;
  // A font's further names (a weight or width sold as a family of its own)
  // with the first family name and style of the font that bears them.
  QHash<QString, Face> furtherNames;
};

Enumeration Enumerate() {
  Enumeration result;
  const std::vector<platform::InstalledFace>& fonts = platform::InstalledFaces();
  QList<QStringList> namesOfEachFont;
  namesOfEachFont.reserve(static_cast<qsizetype>(fonts.size()));
  for (const platform::InstalledFace& font : fonts) {
    const QStringList names = EnglishNames(font);
    if (!font.style.empty())
      for (qsizetype k = 1; k < names.size(); ++k)
        if (!result.furtherNames.contains(names[k].toCaseFolded()))
          result.furtherNames.insert(names[k].toCaseFolded(),
                                     {names[0], QString::fromStdString(font.style)});
    namesOfEachFont.append(names);
  }
  result.families = DistinctFamilies(namesOfEachFont);
  return result;
}

const Enumeration& Machine() {
  static const Enumeration enumeration = Enumerate();
  return enumeration;
}

// Whether Qt's font database holds `name` as a family of its own ("Name"
// or "Name [Foundry]") rather than as another name of a family.
bool QtKnowsFamily(const QString& name) {
  static const QSet<QString> known = [] {
    QSet<QString> set;
    for (const QString& family : QFontDatabase::families())
      set.insert(family.section(QStringLiteral(" ["), 0, 0).toCaseFolded());
    return set;
  }();
  return known.contains(name.toCaseFolded());
}

}  // namespace

QStringList InstalledFamilies() {
  return Machine().families;
}

QFont FaceOfFamily(const QString& name, const QFont& base) {
  QFont font = base;
  font.setFamily(name);
  // Qt takes some further names only as another name of the font's first
  // family and would draw that family's regular face; its style picks the
  // face the name stands for.
  const auto it = Machine().furtherNames.constFind(name.toCaseFolded());
  if (it != Machine().furtherNames.constEnd() && !QtKnowsFamily(name)) {
    font.setFamily(it->family);
    font.setStyleName(it->style);
  }
  return font;
}

}  // namespace pellory::shell
