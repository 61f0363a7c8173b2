// Fault injection through the data layer and the engine library it loads:
// every damaged copy of the small catalogue (tests/support/catalogue_faults)
// is opened as the main window's Table1 and walked from the first record to
// the last, each record's texts, description and decoded picture read. The
// result is a clear error (a message naming the damaged file for engine
// errors) or the records of the undamaged catalogue wherever the damage
// cannot reach; never a crash or a hang.
#include "catalogue_faults.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "pellory/data/blob_field.h"
#include "pellory/data/errors.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"

namespace pellory::data::testing {
namespace {

namespace fs = std::filesystem;
using testkit::Fault;

// What the record view shows of each record.
struct Walk {
  std::vector<std::string> rows;
  std::string error;  // empty: walked to the end
  bool engineError = false;
};

std::string PictureSummary(const BitmapImage& image) {
  std::uint32_t sum = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) sum = sum * 31 + image.PixelAt(x, y);
  return std::to_string(image.width) + "x" + std::to_string(image.height) + ":" +
         std::to_string(sum);
}

Walk WalkCatalogue(const fs::path& dir) {
  Walk walk;
  TSession session("Default", true);
  {
    TTable table(session);
    table.SetName("Table1");
    table.SetDatabaseName(dir.string());
    table.SetTableName("pelloryfont.DB");
    table.SetReadOnly(true);
    table.AddField(std::make_unique<TStringField>("Font Name", 45));
    table.AddField(std::make_unique<TMemoField>("Description", 10));
    table.AddField(std::make_unique<TStringField>("Filename", 13));
    table.AddField(std::make_unique<TStringField>("Category", 55));
    auto picture = std::make_unique<TGraphicField>("Sample3", 10);
    const TGraphicField& sample = *picture;
    table.AddField(std::move(picture));
    try {
      session.AddPassword(testkit::kFaultPassword);
      table.SetActive(true);
      for (table.First(); !table.Eof(); table.Next()) {
        std::string row;
        for (const char* field : {"Font Name", "Description", "Filename", "Category"})
          row += table.FieldByName(field).AsString() + "|";
        walk.rows.push_back(row + PictureSummary(sample.LoadBitmap()));
      }
    } catch (const EDBEngineError& error) {
      walk.error = error.what();
      walk.engineError = true;
    } catch (const EDatabaseError& error) {
      walk.error = error.what();
    } catch (const BitmapError& error) {
      walk.error = error.what();
    }
  }
  session.Stop();
  return walk;
}

void ExpectLikeUndamaged(const Fault& fault, const Walk& got, const Walk& want,
                         const fs::path& dir) {
  if (!got.error.empty()) {
    EXPECT_FALSE(got.error.empty());
    // An engine error names the damaged file.
    if (got.engineError) {
      EXPECT_NE(got.error.find(dir.string()), std::string::npos) << got.error;
    }
    // The record the walk stopped at must be one the damage may reach.
    const auto at = static_cast<std::uint32_t>(got.rows.size());
    const bool reachable = fault.errorAllowed || fault.anyBlobs || fault.changedBlobs.count(at) ||
                           fault.changedRecords.count(at);
    EXPECT_TRUE(reachable) << "failed at record " << at << ": " << got.error;
  }
  if (fault.anyRecords) return;
  if (got.error.empty() && !fault.fewerRecords) {
    EXPECT_EQ(got.rows.size(), want.rows.size());
  }
  EXPECT_LE(got.rows.size(), want.rows.size());
  for (std::uint32_t r = 0; r < got.rows.size() && r < want.rows.size(); ++r)
    if (!fault.changedRecords.count(r) && !fault.changedBlobs.count(r) && !fault.anyBlobs) {
      EXPECT_EQ(got.rows[r], want.rows[r]) << "record " << r;
    }
}

class CatalogueFaults : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() {
    pristine_ =
        new fs::path(fs::temp_directory_path() / ("pellory-faults-" + std::to_string(::getpid())));
    fs::create_directories(*pristine_);
    testkit::WriteFaultCatalogue(*pristine_);
    faults_ = new std::vector<Fault>(testkit::CatalogueFaults(*pristine_));
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    fs::remove_all(*pristine_, ignored);
    delete faults_;
    delete pristine_;
  }
  static fs::path* pristine_;
  static std::vector<Fault>* faults_;
};

fs::path* CatalogueFaults::pristine_ = nullptr;
std::vector<Fault>* CatalogueFaults::faults_ = nullptr;

TEST_P(CatalogueFaults, ClearErrorOrUndamagedRecords) {
  const Walk want = WalkCatalogue(*pristine_);
  ASSERT_EQ(want.error, "");
  ASSERT_EQ(want.rows.size(), testkit::kFaultRecords);
  const fs::path copy = *pristine_ / "copy";
  int applied = 0;
  for (const Fault& fault : *faults_) {
    if (fault.region != GetParam()) continue;
    SCOPED_TRACE(fault.region + ": " + fault.name);
    fs::remove_all(copy);
    fs::create_directories(copy);
    for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"})
      fs::copy_file(*pristine_ / file, copy / file);
    fault.apply(copy);
    ExpectLikeUndamaged(fault, WalkCatalogue(copy), want, copy);
    ++applied;
  }
  EXPECT_GT(applied, 0);
}

INSTANTIATE_TEST_SUITE_P(Regions, CatalogueFaults,
                         ::testing::Values("db-header", "db-descriptors", "db-names", "db-chain",
                                           "db-records", "db-truncated", "mb-bytes", "mb-file",
                                           "mb-truncated"),
                         [](const auto& param) {
                           std::string name = param.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace pellory::data::testing
