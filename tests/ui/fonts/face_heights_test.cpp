// The font list's row heights kept between runs: read back only for the
// same font files, never for a name no installed font bears, nor from the
// file another Qt wrote; and the digest of a family's files, which follows
// their sizes and modification times.
#include "face_heights.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <filesystem>
#include <fstream>

#include "family_files.h"
#include "font_list_model.h"
#include "pellory/shell/stored_font.h"
#include "scratch_dir.h"

namespace {

using pellory::ui::FaceHeights;
namespace fs = std::filesystem;

const QString kFace = QStringLiteral("DejaVu Serif");

QFont ListFont() {
  return pellory::shell::StoredFont{QStringLiteral("MS Sans Serif"), -11}.ToQFont();
}

class FaceHeightsKept : public ::testing::Test {
 protected:
  QString File() const { return QString::fromStdString((scratch.path() / "heights").string()); }
  // A run that measures kFace and ends, its family's files digested as
  // `digest`; answers the height measured.
  int EarlierRun(const QByteArray& digest) {
    FaceHeights earlier(File(), [digest](const QString&) { return digest; });
    const int height = earlier.Measure(kFace, ListFont());
    earlier.Save();
    return height;
  }
  pellory::testkit::ScratchDir scratch{"pellory-face-heights"};
};

TEST_F(FaceHeightsKept, ReadBackOnlyForTheSameFiles) {
  const struct {
    const char* what;
    QByteArray earlier, now;
    bool known;
  } cases[] = {
      {"the same files", "aaaa", "aaaa", true},
      {"a file changed since", "aaaa", "bbbb", false},
      {"no longer installed", "aaaa", "", false},
      {"not installed then: kept for that run only", "", "", false},
  };
  for (const auto& c : cases) {
    QFile::remove(File());
    const int height = EarlierRun(c.earlier);
    FaceHeights later(File(), [&](const QString& family) {
      EXPECT_EQ(family, kFace) << c.what;
      return c.now;
    });
    const std::optional<int> known = later.Known(kFace, ListFont());
    EXPECT_EQ(known.has_value(), c.known) << c.what;
    if (c.known) {
      EXPECT_EQ(*known, height) << c.what;
    }
    EXPECT_FALSE(later.Known(kFace, QFont(ListFont().family(), 30)).has_value())
        << c.what << ": kept for the list's size only";
    EXPECT_EQ(later.Measure(kFace, ListFont()), height) << c.what;
  }
}

TEST_F(FaceHeightsKept, AFileWrittenByAnotherQtIsNotRead) {
  EarlierRun("aaaa");
  QFile file(File());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray text = file.readAll();
  file.close();
  text.replace("qt ", "qt 0.");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
  file.close();
  FaceHeights later(File(), [](const QString&) { return QByteArray("aaaa"); });
  EXPECT_FALSE(later.Known(kFace, ListFont()).has_value());
}

TEST_F(FaceHeightsKept, OneRunMeasuresAFaceOnce) {
  int asked = 0;
  FaceHeights heights(File(), [&](const QString&) {
    ++asked;
    return QByteArray("aaaa");
  });
  EXPECT_FALSE(heights.Known(kFace, ListFont()).has_value());
  const int height = heights.Measure(kFace, ListFont());
  EXPECT_EQ(heights.Known(kFace, ListFont()), height);
  EXPECT_EQ(heights.Measure(kFace, ListFont()), height);
  EXPECT_EQ(asked, 0) << "measuring reads no font file";
  heights.Measure(QStringLiteral("DejaVu Sans"), ListFont());
  heights.Save();
  heights.Save();
  EXPECT_EQ(asked, 2) << "each family's files are digested once a run, when kept";
  EXPECT_EQ(height, pellory::shell::TextHeight(pellory::ui::ItemFace(kFace, ListFont())));
}

TEST(FamilyFiles, TheDigestFollowsSizesAndModificationTimes) {
  pellory::testkit::ScratchDir scratch("pellory-family-files");
  const fs::path font = scratch.path() / "face.ttf";
  std::ofstream(font) << "glyphs";
  const QStringList paths{QString::fromStdString(font.string())};
  const QByteArray first = pellory::ui::FilesFingerprint(paths);
  ASSERT_FALSE(first.isEmpty());
  EXPECT_EQ(pellory::ui::FilesFingerprint(paths), first);
  fs::last_write_time(font, fs::last_write_time(font) - std::chrono::hours(1));
  const QByteArray touched = pellory::ui::FilesFingerprint(paths);
  EXPECT_NE(touched, first) << "another modification time";
  const auto time = fs::last_write_time(font);
  std::ofstream(font) << "more glyphs";
  fs::last_write_time(font, time);
  EXPECT_NE(pellory::ui::FilesFingerprint(paths), touched) << "another size";
  fs::remove(font);
  EXPECT_TRUE(pellory::ui::FilesFingerprint(paths).isEmpty()) << "a file gone";
  EXPECT_TRUE(pellory::ui::FilesFingerprint({}).isEmpty());
}

TEST(FamilyFiles, AnInstalledFamilyHasADigestAnUnknownNameNone) {
  if (!QFontInfo(QFont(kFace)).family().startsWith(kFace))
    GTEST_SKIP() << "fonts-dejavu is not installed";
  EXPECT_FALSE(pellory::ui::FamilyFingerprint(kFace).isEmpty());
  EXPECT_EQ(pellory::ui::FamilyFingerprint(kFace.toUpper()), pellory::ui::FamilyFingerprint(kFace));
  EXPECT_TRUE(pellory::ui::FamilyFingerprint(QStringLiteral("No Such Family 7")).isEmpty());
}

}  // namespace
