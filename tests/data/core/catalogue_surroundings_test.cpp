// What lies around the catalogue going wrong: the engine library missing or
// not loadable gives the initialisation message with the loader's code; a
// catalogue in a read-only directory opens and reads as usual, and nothing
// in the directory is ever written, made or touched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "catalogue_faults.h"
#include "pellory/data/blob_field.h"
#include "pellory/data/engine_loader.h"
#include "pellory/data/errors.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"

namespace pellory::data::testing {
namespace {

namespace fs = std::filesystem;

class Scratch {
 public:
  Scratch()
      : path_(fs::temp_directory_path() /
              ("pellory-surroundings-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::create_directories(path_);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void DeclareFields(TTable& table) {
  table.AddField(std::make_unique<TStringField>("Font Name", 45));
  table.AddField(std::make_unique<TMemoField>("Description", 10));
  table.AddField(std::make_unique<TStringField>("Filename", 13));
  table.AddField(std::make_unique<TStringField>("Category", 55));
  table.AddField(std::make_unique<TGraphicField>("Sample3", 10));
}

void Configure(TTable& table, const std::string& name, const fs::path& dir, bool readOnly) {
  table.SetName(name);
  table.SetDatabaseName(dir.string());
  table.SetTableName("pelloryfont.DB");
  table.SetReadOnly(readOnly);
  DeclareFields(table);
}

struct LibraryCase {
  const char* name;
  std::function<fs::path(const fs::path& dir)> make;
  const char* code;
};

fs::path RealLibrary() {
  return fs::read_symlink("/proc/self/exe").parent_path() / kEngineLibraryName;
}

const LibraryCase kLibraries[] = {
    {"missing", [](const fs::path& dir) { return dir / "absent" / kEngineLibraryName; }, "2108"},
    {"a text file",
     [](const fs::path& dir) {
       std::ofstream(dir / kEngineLibraryName) << "not a library\n";
       return dir / kEngineLibraryName;
     },
     "2109"},
    // Cut inside its code: a build with debug information keeps most of its
    // size in sections never loaded, and a cut there loads well.
    {"cut short at 64 KiB",
     [](const fs::path& dir) {
       const fs::path copy = dir / kEngineLibraryName;
       fs::copy_file(RealLibrary(), copy);
       fs::resize_file(copy, 64 * 1024);
       return copy;
     },
     "2109"},
    {"a directory",
     [](const fs::path& dir) {
       fs::create_directory(dir / kEngineLibraryName);
       return dir / kEngineLibraryName;
     },
     "2108"},
};

TEST(EngineLibraryFaults, OpeningSaysTheEngineCouldNotStart) {
  for (const LibraryCase& c : kLibraries) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    testkit::WriteFaultCatalogue(dir.path());
    UnloadEngine();
    SetEngineLibraryPath(c.make(dir.path()));
    TSession session("Default", true);
    {
      TTable table(session);
      Configure(table, "Table1", dir.path(), true);
      try {
        session.AddPassword(testkit::kFaultPassword);
        table.SetActive(true);
        ADD_FAILURE() << "the table opened";
      } catch (const EDBEngineError& error) {
        EXPECT_EQ(std::string(error.what()),
                  std::string("An error occurred while attempting to initialize the database "
                              "engine (error $") +
                      c.code + ")");
      }
      EXPECT_FALSE(table.Active());
    }
    session.Stop();
    UnloadEngine();
    SetEngineLibraryPath("");
  }
}

// Every file's bytes and times, and the names in the directory.
std::map<std::string, std::pair<std::string, std::int64_t>> DirectoryState(const fs::path& dir) {
  std::map<std::string, std::pair<std::string, std::int64_t>> state;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    struct stat st {};
    ::stat(entry.path().c_str(), &st);
    state[entry.path().filename().string()] = {
        std::string(std::istreambuf_iterator<char>(in), {}),
        st.st_mtim.tv_sec * 1'000'000'000 + st.st_mtim.tv_nsec};
  }
  return state;
}

TEST(ReadOnlyCatalogue, OpensReadsAndFiltersWithoutWritingAnything) {
  Scratch dir;
  testkit::WriteFaultCatalogue(dir.path());
  for (const char* file : {"pelloryfont.DB", "pelloryfont.MB"})
    fs::permissions(dir.path() / file, fs::perms::owner_read | fs::perms::group_read);
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const auto before = DirectoryState(dir.path());
  TSession session("Default", true);
  {
    session.AddPassword(testkit::kFaultPassword);
    session.SetPrivateDir("c:\\");
    TTable table(session);
    Configure(table, "Table1", dir.path(), true);
    TwwTable second(session);
    Configure(second, "wwTable1", dir.path(), false);  // asks for writing, as the window does
    table.SetActive(true);
    second.SetActive(true);
    int records = 0;
    for (table.First(); !table.Eof(); table.Next(), ++records) {
      table.FieldByName("Description").AsString();
      static_cast<const TGraphicField&>(table.FieldByName("Sample3")).LoadBitmap();
    }
    EXPECT_EQ(records, static_cast<int>(testkit::kFaultRecords));
    table.SetFilter("Category ='Hand*'");
    table.SetFiltered(true);
    EXPECT_EQ(table.FieldByName("Category").AsString(), "Handwriting");
    table.Last();
    EXPECT_EQ(table.FieldByName("Category").AsString(), "Handwriting");
  }
  session.Stop();
  EXPECT_EQ(DirectoryState(dir.path()), before);
}

}  // namespace
}  // namespace pellory::data::testing
