// The configuration file: its format, where it is looked for, and aliases
// reaching table directories through it.
#include "pellory/engine/alias_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "test_tables.h"

namespace pellory::engine::test {
namespace {

// Sets (or with nullopt removes) an environment variable for one test and
// restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(AliasConfig, ParsesSectionsCommentsAndRelativePaths) {
  const std::string text =
      "# comment\n"
      "; another\n"
      "\n"
      "[engine]\n"
      "  library_dir = lib  \n"
      "[alias Pellory]\n"
      "path = /srv/tables\n"
      "[alias other]\n"
      "path = ../data\n"
      "[alias]\n"
      "path = /nowhere\n"
      "[unknown]\n"
      "path = /ignored\n";
  std::string error;
  const AliasConfig config = ParseConfig(text, "/etc/pellory/engine.conf", &error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(config.libraryDir, "/etc/pellory/lib");
  ASSERT_EQ(config.aliasPaths.size(), 2u);
  EXPECT_EQ(config.aliasPaths.at("pellory"), "/srv/tables");
  EXPECT_EQ(config.aliasPaths.at("other"), "/etc/data");
}

TEST(AliasConfig, MalformedLinesAreNamed) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {{"[engine\nlibrary_dir = x\n", "line 1: section without ']'"},
               {"[engine]\nlibrary_dir\n", "line 2: no '=' in line"}};
  for (const auto& c : cases) {
    std::string error;
    ParseConfig(c.text, "/x/engine.conf", &error);
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(AliasConfig, LookupOrder) {
  ScratchDir dir;
  const fs::path named = dir.path() / "named.conf";
  const fs::path user = dir.path() / "xdg" / "pellory" / "engine.conf";
  fs::create_directories(user.parent_path());
  std::ofstream(named) << "[alias a]\npath = /a\n";
  std::ofstream(user) << "[alias b]\npath = /b\n";
  {
    ScopedEnv env("PELLORY_ENGINE_CONFIG", named.string());
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir.path() / "xdg").string());
    EXPECT_EQ(FindConfigFile(), named.string());
  }
  {
    ScopedEnv env("PELLORY_ENGINE_CONFIG", "");
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir.path() / "xdg").string());
    EXPECT_EQ(FindConfigFile(), user.string());
  }
  {
    ScopedEnv env("PELLORY_ENGINE_CONFIG", (dir.path() / "absent.conf").string());
    EXPECT_EQ(FindConfigFile(), std::nullopt);
  }
}

TEST(AliasConfig, WithoutAFileTheTextSaysWhereItLookedAndHowToGetOne) {
  if (fs::exists("/etc/pellory/engine.conf"))
    GTEST_SKIP() << "this machine has /etc/pellory/engine.conf";
  ScratchDir dir;
  const std::string absent = (dir.path() / "absent.conf").string();
  const std::string xdg = (dir.path() / "xdg").string();
  const std::string home = (dir.path() / "home").string();
  const std::string howToGetOne =
      "); \"pellory-update-catalogue --user\" builds a catalogue of the fonts you see and writes "
      "one naming it as the alias pellory, \"make run\" in the source tree makes one for a "
      "catalogue of this machine's fonts, and a catalogue built with pellory-mkcatalogue needs "
      "one whose [alias fonts] section names its directory.";
  const struct {
    const char* what;
    std::optional<std::string> named, xdgHome, home;
    std::string where;
  } cases[] = {
      {"the variable names no file", absent, xdg, home,
       "PELLORY_ENGINE_CONFIG names " + absent + ", which is not a file"},
      {"the user's directory", std::nullopt, xdg, home,
       "PELLORY_ENGINE_CONFIG is not set, and neither " + xdg +
           "/pellory/engine.conf nor /etc/pellory/engine.conf exists"},
      {"the home's .config", std::nullopt, std::nullopt, home,
       "PELLORY_ENGINE_CONFIG is not set, and neither " + home +
           "/.config/pellory/engine.conf nor /etc/pellory/engine.conf exists"},
      {"no home at all", std::nullopt, std::nullopt, std::nullopt,
       "PELLORY_ENGINE_CONFIG is not set, neither XDG_CONFIG_HOME nor HOME is set, and "
       "/etc/pellory/engine.conf does not exist"},
  };
  for (const auto& c : cases) {
    ScopedEnv named("PELLORY_ENGINE_CONFIG", c.named);
    ScopedEnv xdgEnv("XDG_CONFIG_HOME", c.xdgHome);
    ScopedEnv homeEnv("HOME", c.home);
    EXPECT_EQ(FindConfigFile(), std::nullopt) << c.what;
    EXPECT_EQ(NoConfigFileText("fonts"),
              "No engine configuration file was found (" + c.where + howToGetOne)
        << c.what;
  }
}

// An installation keeps its configuration in share/pellory beside bin/; it
// counts only when neither the variable, the user nor the machine names one.
TEST(AliasConfig, InstalledConfigurationComesLast) {
  if (fs::exists("/etc/pellory/engine.conf"))
    GTEST_SKIP() << "/etc/pellory/engine.conf exists on this machine and would win";
  enum class Found { Named, User, Installed, None };
  const struct {
    const char* name;
    bool named;       // PELLORY_ENGINE_CONFIG names a file...
    bool namedThere;  // ...that exists
    bool user;
    bool installed;
    bool programDirKnown;
    Found expected;
  } cases[] = {
      {"installed only", false, false, false, true, true, Found::Installed},
      {"user before installed", false, false, true, true, true, Found::User},
      {"variable before installed", true, true, false, true, true, Found::Named},
      {"variable naming nothing stops the search", true, false, false, true, true, Found::None},
      {"nothing installed", false, false, false, false, true, Found::None},
      {"program directory unknown", false, false, false, true, false, Found::None},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    const fs::path named = dir.path() / "named.conf";
    const fs::path user = dir.path() / "xdg" / "pellory" / "engine.conf";
    const fs::path programDir = dir.path() / "prefix" / "bin";
    const fs::path installed = dir.path() / "prefix" / "share" / "pellory" / "engine.conf";
    fs::create_directories(user.parent_path());
    fs::create_directories(programDir);
    fs::create_directories(installed.parent_path());
    if (c.namedThere) std::ofstream(named) << "[alias a]\npath = /a\n";
    if (c.user) std::ofstream(user) << "[alias b]\npath = /b\n";
    if (c.installed) std::ofstream(installed) << "[alias c]\npath = /c\n";
    ScopedEnv env("PELLORY_ENGINE_CONFIG", c.named ? named.string() : "");
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir.path() / "xdg").string());

    const std::map<Found, std::string> paths{{Found::Named, named.string()},
                                             {Found::User, user.string()},
                                             {Found::Installed, installed.string()},
                                             {Found::None, ""}};
    const auto found = FindConfigFile(c.programDirKnown ? programDir.string() : "");
    EXPECT_EQ(found.value_or(""), paths.at(c.expected)) << c.name;
  }
}

// The engine library's directory of an installation lies below the same
// prefix as its bin directory, as the build configured the layout.
TEST(AliasConfig, InstalledEngineDirIsFoundFromTheProgramsDirectory) {
  EXPECT_EQ(InstalledEngineDir(""), "");
  const fs::path dir = InstalledEngineDir("/opt/pellory/bin");
  EXPECT_EQ(dir.filename(), "pellory") << dir;
  EXPECT_EQ(dir.parent_path().string().rfind("/opt/pellory/lib", 0), 0u) << dir;
  EXPECT_EQ(InstalledEngineDir("/opt/pellory/bin/"), dir.string()) << "a final slash";
}

TEST(AliasConfig, AliasesOpenTheirDirectory) {
  PELLORY_NEED_SAMPLES();
  ScratchDir dir;
  const fs::path conf = dir.path() / "engine.conf";
  std::ofstream(conf) << "[alias samples]\npath = " << SampleDir().string() << "\n";
  ScopedEnv env("PELLORY_ENGINE_CONFIG", conf.string());
  EngineSession session;

  pel_alias_info info{};
  ASSERT_EQ(pel_alias_describe("SAMPLES", &info), PEL_OK);
  EXPECT_STREQ(info.driver_type, "STANDARD");
  EXPECT_EQ(std::string(info.path), SampleDir().string());
  char params[2048];
  size_t needed = 0;
  ASSERT_EQ(pel_alias_parameters("samples", params, sizeof params, &needed), PEL_OK);
  EXPECT_EQ(std::string(params), "PATH=" + SampleDir().string() + "\n");
  EXPECT_EQ(pel_alias_parameters("samples", params, 3, &needed), PEL_BUFFER_TOO_SMALL);
  EXPECT_EQ(needed, std::string(params).size() + 1);
  EXPECT_EQ(pel_alias_describe("unknown", &info), PEL_UNKNOWN_ALIAS);

  pel_database* database = nullptr;
  ASSERT_EQ(pel_database_open("samples", nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                              &database),
            PEL_OK);
  pel_table_request request{};
  request.table_name = "memo.db";
  pel_cursor* cursor = nullptr;
  EXPECT_EQ(pel_table_open(database, &request, &cursor), PEL_OK);
  EXPECT_EQ(pel_database_close(database), PEL_OK);  // closes the cursor too
  EXPECT_EQ(pel_cursor_close(cursor), PEL_INVALID_HANDLE);
  EXPECT_EQ(pel_database_open("unknown", nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                              &database),
            PEL_UNKNOWN_ALIAS);
}

// A catalogue that was never built (or was removed) is told with the file
// that names it and how to build one's own.
TEST(AliasConfig, AMissingAliasDirectoryIsToldWithItsFileAndTheWayToBuildOne) {
  ScratchDir dir;
  const fs::path conf = dir.path() / "engine.conf";
  const std::string missing = (dir.path() / "catalogue").string();
  std::ofstream(conf) << "[alias pellory]\npath = " << missing << "\n";
  ScopedEnv env("PELLORY_ENGINE_CONFIG", conf.string());
  EngineSession session;
  pel_database* database = nullptr;
  ASSERT_EQ(pel_database_open("pellory", nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED, nullptr,
                              &database),
            PEL_DIRECTORY_NOT_FOUND);
  EXPECT_EQ(ErrorContexts(), (std::vector<std::string>{
                                 missing, "the directory of the alias pellory in " + conf.string() +
                                              "; \"pellory-update-catalogue --user\" builds "
                                              "a catalogue of the fonts you see and names it "
                                              "in your own configuration"}));
  ASSERT_EQ(pel_database_open(missing.c_str(), nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED,
                              nullptr, &database),
            PEL_DIRECTORY_NOT_FOUND);
  EXPECT_EQ(ErrorContexts(), std::vector<std::string>{missing}) << "a directory named directly";
}

}  // namespace
}  // namespace pellory::engine::test
