// The main window while its catalogue is changed under it: the files
// replaced (as pellory-mkcatalogue replaces them), rewritten in place, the
// blob file replaced by a shorter one, cut short or removed. Every move
// afterwards shows the catalogue as it was when the window opened, or an
// error box says the files changed; no control ever shows a value of the
// other version.
#include <QRegularExpression>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <set>

#include "catalogue_window.h"
#include "gui_helpers.h"
#include "pellory/data/session.h"
#include "pellory/engine/table_writer.h"
#include "pellory/ui/controls/tbutton.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"
#include "scratch_dir.h"

namespace cataloguetest {
namespace {

namespace fs = std::filesystem;
using pellory::ui::TNavigateBtn;

constexpr int kFonts = 24;

// Version v of the catalogue: every value names its version, and the
// pictures are grey at a level of the version's own.
int LevelOf(int version) {
  return version == 1 ? 40 : 220;
}

std::vector<Font> Version(int version, int count) {
  std::vector<Font> fonts;
  for (int k = 1; k <= count; ++k) {
    const std::string v = std::to_string(version), n = std::to_string(k);
    fonts.push_back({"V" + v + " font " + n, "v" + v + "f" + n + ".ttf", kCategories[(k - 1) % 8],
                     "Version " + v + ", font " + n,
                     GreyBmpFile(8, 8, [version](int, int) { return LevelOf(version); })});
  }
  return fonts;
}

// Writes a version into `dir`, as the test catalogue writes its own.
void WriteVersion(const fs::path& dir, int version, int count) {
  using pellory::writer::FieldType;
  pellory::writer::TableWriter table(dir, "pelloryfont",
                                     {{"Font Name", FieldType::Alpha, 45},
                                      {"Description", FieldType::Memo, 20},
                                      {"Filename", FieldType::Alpha, 13},
                                      {"Category", FieldType::Alpha, 55},
                                      {"Sample3", FieldType::Graphic, 10}},
                                     {.password = "mirabo"});
  for (const Font& f : Version(version, count))
    table.Append({f.name, f.description, f.file, f.category, f.picture});
  table.Finish();
}

void CopyInPlace(const fs::path& from, const fs::path& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary | std::ios::in);  // the same file, not a new one
  fs::resize_file(to, 0);
  out << in.rdbuf();
}

struct Change {
  const char* name;
  std::function<void(const fs::path& catalogue, const fs::path& second)> apply;
  bool errorExpected;  // an error box may come (a file written to in place)
};

void PrintTo(const Change& c, std::ostream* out) {
  *out << c.name;
}

const Change kChanges[] = {
    {"files_replaced",
     [](const fs::path& dir, const fs::path& second) {
       for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"}) {
         fs::copy_file(second / file, dir / (std::string(file) + ".new"));
         fs::rename(dir / (std::string(file) + ".new"), dir / file);
       }
     },
     false},
    {"files_rewritten_in_place",
     [](const fs::path& dir, const fs::path& second) {
       for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"})
         CopyInPlace(second / file, dir / file);
     },
     true},
    {"blob_file_replaced_by_a_shorter_one",
     [](const fs::path& dir, const fs::path& second) {
       fs::resize_file(second / "pelloryfont.MB", 4096 * 2);
       fs::copy_file(second / "pelloryfont.MB", dir / "shorter.MB");
       fs::rename(dir / "shorter.MB", dir / "pelloryfont.MB");
     },
     false},
    {"blob_file_cut_short_in_place",
     [](const fs::path& dir, const fs::path&) { fs::resize_file(dir / "pelloryfont.MB", 4096); },
     true},
    {"blob_file_removed",
     [](const fs::path& dir, const fs::path&) { fs::remove(dir / "pelloryfont.MB"); }, false},
};

class ChangedCatalogue : public CatalogueWindow, public ::testing::WithParamInterface<Change> {
 protected:
  // The versions the controls show now: from the texts and the picture.
  std::set<int> ShownVersions() const {
    std::set<int> versions;
    static const QRegularExpression version(QStringLiteral("^[Vv](\\d)|^Version (\\d)"));
    for (const QString& text :
         {form->DBEdit1()->text(), form->DBEdit2()->text(), form->DBMemo1()->toPlainText()}) {
      const auto match = version.match(text);
      if (match.hasMatch()) versions.insert((match.captured(1) + match.captured(2)).toInt());
    }
    const QImage& picture = form->DBImage1()->Picture();
    if (form->DBImage1()->PictureLoaded() && !picture.isNull())
      versions.insert(qGray(picture.pixel(0, 0)) < 128 ? 1 : 2);
    return versions;
  }
  void Press(TNavigateBtn kind) {
    guitest::click(form->DBNavigator1()->Button(kind));
    guitest::pump();
  }
  void Category(int button) {
    guitest::click(form->Button(button));
    guitest::pump();
  }
};

TEST_P(ChangedCatalogue, ShowsTheCatalogueAsOpenedOrSaysItChanged) {
  Open(Version(1, kFonts));
  ASSERT_TRUE(boxes->empty());
  Press(TNavigateBtn::nbNext);
  ASSERT_EQ(ShownVersions(), std::set<int>{1});
  pellory::testkit::ScratchDir second;  // the catalogue's next version
  WriteVersion(second.path(), 2, kFonts / 2);
  GetParam().apply(catalogue_->Directory(), second.path());

  const std::vector<std::function<void()>> moves = {
      [&] { Press(TNavigateBtn::nbNext); },  [&] { Press(TNavigateBtn::nbLast); },
      [&] { Press(TNavigateBtn::nbPrior); }, [&] { Category(9); },
      [&] { Press(TNavigateBtn::nbNext); },  [&] { Category(10); },
      [&] { Press(TNavigateBtn::nbFirst); }};
  for (std::size_t m = 0; m < moves.size(); ++m) {
    moves[m]();
    const auto shown = ShownVersions();
    EXPECT_EQ(shown.count(2), 0u) << "move " << m << " shows the other version";
  }
  if (GetParam().errorExpected) {
    ASSERT_FALSE(boxes->empty());
    for (const auto& box : *boxes)
      EXPECT_TRUE(box.text.contains(QStringLiteral("changed by another program")))
          << box.text.toStdString();
  } else {
    EXPECT_TRUE(boxes->empty()) << boxes->front().text.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangedCatalogue, ::testing::ValuesIn(kChanges),
                         [](const auto& param) { return std::string(param.param.name); });

// pellory-mkcatalogue writing a new catalogue over the one the window shows
// (its synthetic records say which catalogue they belong to: "record K of N").
class RebuiltCatalogue : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Build({"--synthetic", "24"});
    const fs::path conf = dir_.path() / "engine.conf";
    std::ofstream(conf) << "[alias pellory]\npath = " << dir_.path().string() << "\n";
    ::setenv("PELLORY_ENGINE_CONFIG", conf.c_str(), 1);
  }
  void TearDown() override {
    ShellTest::TearDown();
    pellory::data::Session.Stop();
    ::unsetenv("PELLORY_ENGINE_CONFIG");
  }
  void Build(std::vector<std::string> options) {
    std::string command =
        (fs::read_symlink("/proc/self/exe").parent_path() / "pellory-mkcatalogue").string();
    command += " --quiet";
    for (const auto& option : options) command += " '" + option + "'";
    command += " '" + dir_.path().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  // The shown record's number, when its name, file name and description
  // agree on it and the description says it is one of `of` records.
  int ShownRecord(int of) const {
    static const QRegularExpression name(QStringLiteral("^Synthetic (\\d+) "));
    static const QRegularExpression file(QStringLiteral("^S0*(\\d+)\\.TTF$"));
    const auto n = name.match(form->DBEdit1()->text());
    const auto f = file.match(form->DBEdit2()->text());
    const QString about = form->DBMemo1()->toPlainText();
    if (!n.hasMatch() || !f.hasMatch() || n.captured(1) != f.captured(1)) return 0;
    const QString tail = QStringLiteral("Generated record %1 of %2").arg(n.captured(1)).arg(of);
    return about.contains(tail) ? n.captured(1).toInt() : 0;
  }

  pellory::testkit::ScratchDir dir_;
  pellory::ui::TForm2* form = nullptr;
};

TEST_F(RebuiltCatalogue, TheWindowGoesOnShowingTheCatalogueItOpened) {
  form = app->CreateForm<pellory::ui::TForm2>();
  form->show();
  guitest::pump();
  ASSERT_EQ(ShownRecord(24), 1);
  Build({"--synthetic", "40", "--category-mix", "Wingdings=1"});
  guitest::click(form->DBNavigator1()->Button(TNavigateBtn::nbNext));
  EXPECT_EQ(ShownRecord(24), 2);
  guitest::click(form->DBNavigator1()->Button(TNavigateBtn::nbLast));
  EXPECT_EQ(ShownRecord(24), 24);
  guitest::click(form->Button(9));  // Wingdings: every eighth record, as opened
  EXPECT_EQ(ShownRecord(24), 8);
  guitest::click(form->DBNavigator1()->Button(TNavigateBtn::nbNext));
  EXPECT_EQ(ShownRecord(24), 16);
  EXPECT_TRUE(boxes->empty());
  // A window opened now shows the new catalogue. One main window at a
  // time: a second one would find the program running.
  delete form;
  form = app->CreateForm<pellory::ui::TForm2>();
  form->show();
  guitest::pump();
  EXPECT_EQ(ShownRecord(40), 1);
  EXPECT_TRUE(boxes->empty());
}

}  // namespace
}  // namespace cataloguetest
