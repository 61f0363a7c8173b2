// The machine's font families, straight from fontconfig.
#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QHash>
#include <QSet>
#include <memory>

#include "pellory/shell/screen_fonts.h"

namespace pellory::shell {

namespace {

QString Utf8(const FcChar8* text) {
  return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

// A font's family names in the user-interface language, English here: a
// font may also carry names in other scripts for other locales.
QStringList EnglishNames(FcPattern* font) {
  QStringList names;
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    FcChar8* lang = nullptr;
    const bool hasLang = FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch;
    // The first name stands when none is English.
    if (!hasLang || Utf8(lang).startsWith(u"en") || i == 0) names.append(Utf8(family));
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
  if (!FcInit()) return result;
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> all(FcPatternCreate(),
                                                                    FcPatternDestroy);
  const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, nullptr), FcObjectSetDestroy);
  const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
      FcFontList(nullptr, all.get(), objects.get()), FcFontSetDestroy);
  if (!fonts) return result;
  QList<QStringList> namesOfEachFont;
  namesOfEachFont.reserve(fonts->nfont);
  for (int i = 0; i < fonts->nfont; ++i) {
    const QStringList names = EnglishNames(fonts->fonts[i]);
    FcChar8* style = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_STYLE, 0, &style) == FcResultMatch)
      for (qsizetype k = 1; k < names.size(); ++k)
        if (!result.furtherNames.contains(names[k].toCaseFolded()))
          result.furtherNames.insert(names[k].toCaseFolded(), {names[0], Utf8(style)});
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
