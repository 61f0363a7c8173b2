// --update against a full build of the same fonts: after a face is added,
// removed, changed, renamed by the table or replaced by another copy, the
// catalogue holds the same records in the same order with the same
// pictures; a catalogue the update cannot trust (no face store, a damaged
// or foreign one, a blob file changed behind its back, another password,
// too much unused space) is built anew; and a face's record, the warnings
// and the counts do not depend on how many threads read the faces.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "catalogue_build.h"
#include "catalogue_columns.h"
#include "face_store.h"
#include "font_fixture.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;
using testkit::FontFixture;
using testkit::ScratchDir;
using testkit::TableReader;

const fs::path kSource = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kLongFamily = "Update Family With A Name Longer Than The Column";

void SaveFace(const fs::path& file, const std::string& family, const std::string& style) {
  FontFixture fixture(kSource);
  fixture.SetNames(family, style);
  fixture.Save(file);
}

// A file written anew is a changed file, however fast the test runs.
void MarkChanged(const fs::path& file) {
  fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(10));
}

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A record as the program reads it.
struct Record {
  std::string name, description, file, category, picture;
  bool operator==(const Record&) const = default;
};

std::vector<Record> Records(const fs::path& catalogue, const std::string& password = "mirabo") {
  TableReader reader(catalogue, "pelloryfont.DB", {password});
  EXPECT_EQ(reader.result(), PEL_OK) << catalogue;
  std::vector<Record> records;
  if (reader.result() != PEL_OK) return records;
  for (const auto& r : reader.Records())
    records.push_back({reader.Text(r, kFontName), reader.Blob(r, kDescription),
                       reader.Text(r, kFileName), reader.Text(r, kCategory),
                       reader.Blob(r, kSample)});
  return records;
}

// The lines that tell what became of the faces: warnings, merges, counts
// (not the warning of a face store that cannot be used).
std::string Outcome(const std::string& log) {
  std::istringstream in(log);
  std::string kept;
  for (std::string line; std::getline(in, line);)
    if (line.find("the face store") == std::string::npos)
      if (line.find("warning: ") != std::string::npos ||
          line.find("one record for") != std::string::npos ||
          line.find("faces listed:") != std::string::npos ||
          line.find("categories:") != std::string::npos)
        kept += line + '\n';
  return kept;
}

struct Built {
  int code = -1;
  std::string log, report;
};

// Ten faces, one of them (Delta) in two files, one with a name longer than
// the column: one face changed leaves most of the blob file in use.
class UpdateBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kSource)) GTEST_SKIP() << kSource << " is not installed";
    fonts_ = scratch_.path() / "fonts";
    fs::create_directories(fonts_);
    SaveFace(fonts_ / "a.ttf", "Update Alpha", "Regular");
    SaveFace(fonts_ / "b.ttf", "Update Beta", "Regular");
    SaveFace(fonts_ / "c.ttf", "Update Gamma", "Regular");
    SaveFace(fonts_ / "d.ttf", "Update Delta", "Regular");
    fs::copy_file(fonts_ / "d.ttf", fonts_ / "z.ttf");
    SaveFace(fonts_ / "long.ttf", kLongFamily, "Regular");
    for (const char* n : {"1", "2", "3", "4"})
      SaveFace(fonts_ / (std::string("more") + n + ".ttf"), std::string("Update More ") + n,
               "Regular");
    updated_ = scratch_.path() / "updated";
  }

  Built Build(const fs::path& out, std::vector<std::string> extra = {}, unsigned threads = 0) {
    std::vector<std::string> args{"--fonts-dir", fonts_.string(), "--report"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(out.string());
    BuildOptions options = ParseOptions(args);
    options.threads = threads;
    std::ostringstream log, report;
    Built built;
    built.code = BuildCatalogue(options, log, report);
    built.log = log.str();
    built.report = report.str();
    return built;
  }

  // The update of `updated_` against a full build of the same fonts now.
  void ExpectSameAsFullBuild(const Built& update, const std::string& password = "mirabo") {
    ASSERT_EQ(update.code, kExitOk) << update.log;
    const fs::path fresh = scratch_.path() / "fresh";
    fs::remove_all(fresh);
    const Built full = Build(fresh, {"--password", password});
    ASSERT_EQ(full.code, kExitOk) << full.log;
    EXPECT_EQ(Records(updated_, password), Records(fresh, password));
    EXPECT_EQ(update.report, full.report);
    EXPECT_EQ(Outcome(update.log), Outcome(full.log));
  }

  bool SameFilesAsFullBuild() {
    const fs::path fresh = scratch_.path() / "fresh";
    for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"})
      if (FileText(updated_ / file) != FileText(fresh / file)) return false;
    return true;
  }

  ScratchDir scratch_;
  fs::path fonts_, updated_;
};

struct Change {
  const char* label;
  void (*apply)(const fs::path& fonts);
  const char* counts;  // of the update's first line
};

const Change kChanges[] = {
    {"Nothing", [](const fs::path&) {},
     "10 faces unchanged since the last build, 0 new or changed, 0 gone"},
    {"Added", [](const fs::path& f) { SaveFace(f / "e.ttf", "Update Epsilon", "Regular"); },
     "10 faces unchanged since the last build, 1 new or changed, 0 gone"},
    {"Removed", [](const fs::path& f) { fs::remove(f / "b.ttf"); },
     "9 faces unchanged since the last build, 0 new or changed, 1 gone"},
    {"Changed",
     [](const fs::path& f) {
       SaveFace(f / "c.ttf", "Update Gamma", "Bold");
       MarkChanged(f / "c.ttf");
     },
     "9 faces unchanged since the last build, 1 new or changed, 0 gone"},
    // Its 45 characters are those of the long face, before which it sorts:
    // the long face's name becomes "... (2)", its picture drawn again.
    {"NameTaken", [](const fs::path& f) { SaveFace(f / "bold.ttf", kLongFamily, "Bold"); },
     "10 faces unchanged since the last build, 1 new or changed, 0 gone"},
    // A copy of Alpha that sorts before the file the record was made from.
    {"EarlierCopy", [](const fs::path& f) { fs::copy_file(f / "a.ttf", f / "0.ttf"); },
     "10 faces unchanged since the last build, 1 new or changed, 0 gone"},
    // Delta's kept copy turns damaged: the copy left out so far, which has
    // no picture in the blob file, makes the record.
    {"KeptCopyDamaged",
     [](const fs::path& f) {
       FontFixture damaged(f / "d.ttf");
       damaged.Apply(FontFixture::Damage::NoiseInGlyphs);
       damaged.Save(f / "d.ttf");
       MarkChanged(f / "d.ttf");
     },
     "9 faces unchanged since the last build, 1 new or changed, 0 gone"},
};

void PrintTo(const Change& change, std::ostream* out) {
  *out << change.label;
}

class UpdateChangeTest : public UpdateBuildTest, public ::testing::WithParamInterface<Change> {};

TEST_P(UpdateChangeTest, SameCatalogueAsAFullBuild) {
  ASSERT_EQ(Build(updated_).code, kExitOk);
  const std::string blobsBefore = FileText(updated_ / "pelloryfont.MB");
  GetParam().apply(fonts_);
  const Built update = Build(updated_, {"--update"});
  EXPECT_NE(update.log.find("updating " + updated_.string() + ": " + GetParam().counts),
            std::string::npos)
      << update.log;
  ExpectSameAsFullBuild(update);
  // The blob file was added to in place: what it held is still there.
  EXPECT_EQ(FileText(updated_ / "pelloryfont.MB").substr(0, blobsBefore.size()), blobsBefore);
  if (std::string(GetParam().label) == "Nothing") {
    EXPECT_TRUE(SameFilesAsFullBuild());
  }
}

INSTANTIATE_TEST_SUITE_P(Changes, UpdateChangeTest, ::testing::ValuesIn(kChanges),
                         [](const auto& p) { return std::string(p.param.label); });

// Two updates in a row: the second starts from the store and the blob file
// the first left, and renames a face whose picture the first added.
TEST_F(UpdateBuildTest, UpdatesInARow) {
  ASSERT_EQ(Build(updated_).code, kExitOk);
  SaveFace(fonts_ / "e.ttf", kLongFamily, "Medium");
  ASSERT_EQ(Build(updated_, {"--update"}).code, kExitOk);
  SaveFace(fonts_ / "f.ttf", kLongFamily, "Bold");
  const Built second = Build(updated_, {"--update"});
  EXPECT_NE(second.log.find("11 faces unchanged since the last build, 1 new or changed, 0 gone"),
            std::string::npos)
      << second.log;
  ExpectSameAsFullBuild(second);
}

struct Spoil {
  const char* label;
  void (*apply)(const fs::path& catalogue);
  const char* says;
};

void Truncate(const fs::path& file, std::uintmax_t by) {
  fs::resize_file(file, fs::file_size(file) - by);
}

const Spoil kSpoils[] = {
    // As a builder without face stores left it.
    {"NoFaceStore", [](const fs::path& c) { fs::remove(c / kFaceStoreName); },
     "no face store of an earlier build"},
    {"FaceStoreCutShort",
     [](const fs::path& c) { Truncate(c / kFaceStoreName, fs::file_size(c / kFaceStoreName) / 2); },
     "cannot use the face store"},
    {"FaceStoreByteChanged",
     [](const fs::path& c) {
       std::fstream f(c / kFaceStoreName, std::ios::in | std::ios::out | std::ios::binary);
       f.seekp(static_cast<std::streamoff>(fs::file_size(c / kFaceStoreName) / 2));
       f.put('\x7F');
     },
     "fails its checksum"},
    {"FaceStoreOfAnotherBuild",
     [](const fs::path& c) {
       DecodedFaceStore decoded = ReadFaceStore(c / kFaceStoreName);
       ASSERT_TRUE(decoded.store) << decoded.fault;
       decoded.store->builder = "build 0123456789abcdef (an older one)";
       std::ofstream out(c / kFaceStoreName, std::ios::binary);
       WriteFaceStore(out, *decoded.store);
     },
     "was written by another build of pellory-mkcatalogue"},
    {"BlobFileCutShort", [](const fs::path& c) { Truncate(c / "pelloryfont.MB", 4096); },
     "its blob file is not as the last build left it"},
    {"BlobFileGrown",
     [](const fs::path& c) { std::ofstream(c / "pelloryfont.MB", std::ios::app) << "tail"; },
     "its blob file is not as the last build left it"},
    // Same bytes, but no longer the file the store points into.
    {"BlobFileCopied",
     [](const fs::path& c) {
       fs::copy_file(c / "pelloryfont.MB", c / "copy");
       fs::rename(c / "copy", c / "pelloryfont.MB");
     },
     "its blob file is not as the last build left it"},
    // The table is written anew from the store: its damage is no matter.
    {"TableDamaged",
     [](const fs::path& c) { std::ofstream(c / "pelloryfont.DB", std::ios::binary) << "garbage"; },
     "10 faces unchanged since the last build"},
};

void PrintTo(const Spoil& spoil, std::ostream* out) {
  *out << spoil.label;
}

class UpdateSpoiltTest : public UpdateBuildTest, public ::testing::WithParamInterface<Spoil> {};

TEST_P(UpdateSpoiltTest, BuiltAnewAsAFullBuild) {
  ASSERT_EQ(Build(updated_).code, kExitOk);
  GetParam().apply(updated_);
  const Built update = Build(updated_, {"--update"});
  EXPECT_NE(update.log.find(GetParam().says), std::string::npos) << update.log;
  ExpectSameAsFullBuild(update);
  EXPECT_TRUE(SameFilesAsFullBuild());
}

INSTANTIATE_TEST_SUITE_P(Spoils, UpdateSpoiltTest, ::testing::ValuesIn(kSpoils),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(UpdateBuildTest, AnotherPasswordBuildsAnew) {
  ASSERT_EQ(Build(updated_).code, kExitOk);
  const Built update = Build(updated_, {"--update", "--password", "other"});
  EXPECT_NE(update.log.find("its table had another password"), std::string::npos) << update.log;
  ExpectSameAsFullBuild(update, "other");
}

// Half the faces gone: more than a quarter of the blob file would be
// unused space.
TEST_F(UpdateBuildTest, MuchUnusedSpaceBuildsAnew) {
  ASSERT_EQ(Build(updated_).code, kExitOk);
  for (const char* file : {"a.ttf", "b.ttf", "c.ttf", "more1.ttf", "more2.ttf"})
    fs::remove(fonts_ / file);
  const Built update = Build(updated_, {"--update"});
  EXPECT_NE(update.log.find("more than a quarter of unused space"), std::string::npos)
      << update.log;
  ExpectSameAsFullBuild(update);
  EXPECT_TRUE(SameFilesAsFullBuild());
}

// An unreadable file and a damaged face among them: one thread or four, the
// same table, warnings and counts in the same order.
TEST_F(UpdateBuildTest, ThreadsChangeNothing) {
  std::ofstream(fonts_ / "0-unreadable.ttf") << "not a font";
  FontFixture damaged(kSource);
  damaged.SetNames("Update Damaged", "Regular");
  damaged.Apply(FontFixture::Damage::NoHorizontalMetrics);
  damaged.Save(fonts_ / "1-damaged.ttf");
  const fs::path one = scratch_.path() / "one", four = scratch_.path() / "four";
  const Built byOne = Build(one, {}, 1), byFour = Build(four, {}, 4);
  ASSERT_EQ(byOne.code, kExitOk) << byOne.log;
  ASSERT_EQ(byFour.code, kExitOk) << byFour.log;
  for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"})
    EXPECT_EQ(FileText(one / file), FileText(four / file)) << file;
  const auto withoutLastLine = [](const std::string& log) {
    return log.substr(0, log.rfind("pellory-mkcatalogue: wrote"));
  };
  EXPECT_EQ(withoutLastLine(byOne.log), withoutLastLine(byFour.log));
  EXPECT_EQ(byOne.report, byFour.report);
  EXPECT_NE(byOne.log.find("warning: skipped " + (fonts_ / "0-unreadable.ttf").string()),
            std::string::npos)
      << byOne.log;
  EXPECT_NE(byOne.log.find("12 faces listed: 9 records, 1 copy of other faces left out, 1 "
                           "damaged and 1 unreadable left out"),
            std::string::npos)
      << byOne.log;
}

}  // namespace
}  // namespace pellory::mkcatalogue
