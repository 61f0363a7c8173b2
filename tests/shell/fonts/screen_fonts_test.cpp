// The screen's font list: how it is made from the families fontconfig
// reports, and that every name it holds can be drawn in its own face.
#include "pellory/shell/screen_fonts.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QProcess>
#include <memory>

namespace {

using pellory::shell::DistinctFamilies;
using pellory::shell::InstalledFamilies;
using pellory::shell::ScreenFonts;

TEST(ScreenFonts, BuiltFromTheFamiliesAloneSortedIgnoringCase) {
  const struct {
    const char* what;
    QStringList families;
    QStringList expected;
  } cases[] = {
      {"nothing installed", {}, {}},
      {"sorted ignoring case, no Default added",
       {"zeta", "Alpha", "delta", "Echo"},
       {"Alpha", "delta", "Echo", "zeta"}},
      {"a name equal to the one before it is dropped, ignoring case",
       {"Courier", "COURIER", "courier", "Arial"},
       {"Arial", "Courier"}},
      {"a repeat further away is kept, as enumerated",
       {"Courier", "Arial", "Courier"},
       {"Arial", "Courier", "Courier"}},
      {"a family that is called Default is listed as any other",
       {"DEFAULT", "Zed"},
       {"DEFAULT", "Zed"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ScreenFonts::Build(c.families), c.expected) << c.what;
}

TEST(ScreenFonts, FamiliesOnceWithoutGenericNames) {
  const struct {
    const char* what;
    QList<QStringList> fonts;
    QStringList expected;
  } cases[] = {
      {"a family of several fonts counts once",
       {{"DejaVu Sans"}, {"DejaVu Sans", "DejaVu Sans Light"}, {"DejaVu Sans"}},
       {"DejaVu Sans", "DejaVu Sans Light"}},
      {"names differing in case are names of their own",
       {{"Foo Bar"}, {"Baz"}, {"FOO BAR"}, {"Foo Bar"}},
       {"Foo Bar", "Baz", "FOO BAR"}},
      {"generic names stand for other fonts",
       {{"Serif"}, {"Sans Serif"}, {"Monospace"}, {"sans-serif"}, {"Real Face"}},
       {"Real Face"}},
      {"empty names are no families", {{""}, {"A"}}, {"A"}},
  };
  for (const auto& c : cases) EXPECT_EQ(DistinctFamilies(c.fonts), c.expected) << c.what;
}

// Only a name equal to the one enumerated just before it is dropped; the
// same name met again further on is listed again.
TEST(ScreenFonts, CaseVariantsAreDroppedOnlyRightAfterEachOther) {
  const struct {
    const char* what;
    QList<QStringList> fonts;
    QStringList expected;
  } cases[] = {
      {"apart", {{"Foo Bar"}, {"Baz"}, {"FOO BAR"}}, {"Baz", "Foo Bar", "FOO BAR"}},
      {"adjacent", {{"Foo Bar"}, {"FOO BAR"}, {"Baz"}}, {"Baz", "Foo Bar"}},
      {"a font's further name", {{"Foo", "foo"}, {"Baz"}}, {"Baz", "Foo"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScreenFonts::Build(DistinctFamilies(c.fonts)), c.expected) << c.what;
}

// The faces ("Family Style") of the installed fonts that bear `name` as one
// of their family names: each family name with the style name of the same
// place ("DejaVu Sans Condensed" is "DejaVu Sans" "Condensed" and also
// "DejaVu Sans Condensed" "Book").
QStringList FacesBearing(const QString& name) {
  const QByteArray utf8 = name.toUtf8();
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(
      FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, utf8.constData(), nullptr),
      FcPatternDestroy);
  const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FAMILY, FC_STYLE, nullptr), FcObjectSetDestroy);
  const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
      FcFontList(nullptr, pattern.get(), objects.get()), FcFontSetDestroy);
  QStringList faces;
  for (int i = 0; fonts && i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    FcChar8* style = nullptr;
    for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &family) == FcResultMatch &&
                    FcPatternGetString(fonts->fonts[i], FC_STYLE, k, &style) == FcResultMatch;
         ++k)
      faces.append(QString::fromUtf8(reinterpret_cast<const char*>(family)) + u' ' +
                   QString::fromUtf8(reinterpret_cast<const char*>(style)));
  }
  return faces;
}

TEST(ScreenFonts, EveryFamilyFcListReportsIsListedAndDrawnInItsOwnFace) {
  QProcess fcList;
  fcList.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("family")});
  if (!fcList.waitForFinished(20000) || fcList.exitCode() != 0)
    GTEST_SKIP() << "fc-list is not available";
  QStringList reported;
  for (const QString& line : QString::fromUtf8(fcList.readAllStandardOutput()).split(u'\n'))
    for (const QString& name : line.split(u',', Qt::SkipEmptyParts))
      if (!reported.contains(name)) reported.append(name);
  ASSERT_FALSE(reported.isEmpty());

  const QStringList installed = InstalledFamilies();
  for (const QString& name : reported) EXPECT_TRUE(installed.contains(name)) << name.toStdString();
  EXPECT_EQ(installed.size(), reported.size());
  for (const QString& name : installed) {
    // Qt names the foundry after a family that several foundries make.
    const QFontInfo drawn(pellory::shell::FaceOfFamily(name, QFont()));
    const QString family = drawn.family().section(QStringLiteral(" ["), 0, 0);
    const QString face = family + u' ' + drawn.styleName();
    // A further name ("DejaVu Sans Condensed", "Noto Sans OldNorArab") is
    // drawn in the face that bears it, not in its first family's regular.
    EXPECT_TRUE(family.compare(name, Qt::CaseInsensitive) == 0 ||
                FacesBearing(name).contains(face, Qt::CaseInsensitive))
        << name.toStdString() << " is drawn in " << face.toStdString();
  }
  const QStringList& names = ScreenFonts::Names();
  EXPECT_EQ(names, ScreenFonts::Build(installed));
  // fontconfig has no family "Default", so neither has the list.
  EXPECT_EQ(names.contains(QStringLiteral("Default")),
            reported.contains(QStringLiteral("Default")));
  EXPECT_EQ(&names, &ScreenFonts::Names()) << "enumerated once for the whole run";
}

}  // namespace
