// Loading the engine library: where it is found and what each failure answers.
#include "pellory/data/engine_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace pellory::data {
namespace {

namespace fs = std::filesystem;

class EngineLoaderTest : public ::testing::Test {
 protected:
  void TearDown() override {
    UnloadEngine();
    SetEngineLibraryPath("");
  }
};

TEST_F(EngineLoaderTest, FailuresAnswerTheirCodes) {
  const fs::path notALibrary = fs::temp_directory_path() / "pellory-not-a-library.so";
  std::ofstream(notALibrary) << "plain text\n";
  // A real library cut short inside its code, as an interrupted copy leaves
  // it: the system's loader would map it and crash with a bus error. (Half
  // of a build with debug information may hold every loaded segment.)
  const fs::path cutShort = fs::temp_directory_path() / "pellory-cut-short.so";
  fs::copy_file(fs::read_symlink("/proc/self/exe").parent_path() / kEngineLibraryName, cutShort,
                fs::copy_options::overwrite_existing);
  fs::resize_file(cutShort, 64 * 1024);
  const struct {
    std::string path;
    pel_result code;
  } cases[] = {
      {"/nonexistent/dir/libpellory_engine.so", PEL_LIBRARY_NOT_FOUND},
      {notALibrary.string(), PEL_LIBRARY_NOT_LOADABLE},
      {cutShort.string(), PEL_LIBRARY_NOT_LOADABLE},
      {PELLORY_TEST_ENGINE_WITHOUT_INIT, PEL_NO_INIT_ENTRY},
  };
  for (const auto& c : cases) {
    SetEngineLibraryPath(c.path);
    const EngineEntries* entries = nullptr;
    EXPECT_EQ(LoadEngine(&entries), c.code) << c.path;
    EXPECT_EQ(entries, nullptr);
    EXPECT_EQ(LoadedEnginePath(), "");
  }
  fs::remove(notALibrary);
  fs::remove(cutShort);
}

TEST_F(EngineLoaderTest, MissingEntriesAnswerWhenCalled) {
  SetEngineLibraryPath(PELLORY_TEST_ENGINE_INIT_ONLY);
  const EngineEntries* entries = nullptr;
  ASSERT_EQ(LoadEngine(&entries), PEL_OK);
  ASSERT_NE(entries, nullptr);
  EXPECT_EQ(entries->engine_init(nullptr), PEL_OK);
  EXPECT_EQ(entries->cursor_next(nullptr, nullptr), PEL_ENTRY_MISSING);
  EXPECT_EQ(entries->password_add("x"), PEL_ENTRY_MISSING);
}

TEST_F(EngineLoaderTest, FindsTheEngineBesideTheProgram) {
  const EngineEntries* entries = nullptr;
  ASSERT_EQ(LoadEngine(&entries), PEL_OK);
  const fs::path self = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(LoadedEnginePath(), (self.parent_path() / kEngineLibraryName).string());
  pel_init_options options{PEL_INTERFACE_VERSION, "0009"};
  EXPECT_EQ(entries->engine_init(&options), PEL_OK);
  EXPECT_EQ(entries->engine_init(&options), PEL_ALREADY_INITIALISED);
  char text[128];
  ASSERT_EQ(entries->error_text(PEL_PASSWORD_NEEDED, text, sizeof text), PEL_OK);
  EXPECT_NE(std::string(text), "");
  EXPECT_EQ(entries->engine_exit(), PEL_OK);
}

TEST_F(EngineLoaderTest, FailedLoadIsTriedAgain) {
  SetEngineLibraryPath("/nonexistent/libpellory_engine.so");
  EXPECT_EQ(LoadEngine(nullptr), PEL_LIBRARY_NOT_FOUND);
  SetEngineLibraryPath("");
  EXPECT_EQ(LoadEngine(nullptr), PEL_OK);
  // Once loaded, later calls answer at once with the same library.
  const std::string first = LoadedEnginePath();
  EXPECT_EQ(LoadEngine(nullptr), PEL_OK);
  EXPECT_EQ(LoadedEnginePath(), first);
}

TEST_F(EngineLoaderTest, ConcurrentFirstCallsLoadOnce) {
  std::vector<std::thread> threads;
  std::vector<const EngineEntries*> seen(8, nullptr);
  std::vector<pel_result> results(8, PEL_LIBRARY_NOT_FOUND);
  for (std::size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&, i] { results[i] = LoadEngine(&seen[i]); });
  for (auto& t : threads) t.join();
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(results[i], PEL_OK);
    EXPECT_EQ(seen[i], seen[0]);
  }
}

// The program's directory, the configured one, then the installation's:
// a configuration without [engine], or naming a directory that holds no
// library (one an older installation left), still finds the library.
TEST(EngineLibrarySearch, ProgramDirectoryThenConfiguredOneThenTheInstallations) {
  const fs::path root = fs::temp_directory_path() / "pellory-loader-search";
  fs::remove_all(root);
  const fs::path program = root / "program", configured = root / "configured",
                 installed = root / "installed", empty = root / "empty";
  for (const auto& d : {program, configured, installed, empty}) fs::create_directories(d);
  for (const auto& d : {program, configured, installed})
    std::ofstream(d / kEngineLibraryName) << "x";
  const struct {
    fs::path programDir, configuredDir, installationDir, expected;
  } cases[] = {
      {program, configured, installed, program / kEngineLibraryName},
      {empty, configured, installed, configured / kEngineLibraryName},
      {"", configured, "", configured / kEngineLibraryName},
      {empty, "", installed, installed / kEngineLibraryName},
      {empty, root / "gone", installed, installed / kEngineLibraryName},
      {empty, empty, "", ""},
      {empty, "", "", ""},
      {empty, "", root / "gone", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindEngineLibrary(c.programDir.string(), c.configuredDir.string(),
                                c.installationDir.string()),
              c.expected.string())
        << c.programDir << " " << c.configuredDir << " " << c.installationDir;
  fs::remove_all(root);
}

}  // namespace
}  // namespace pellory::data
