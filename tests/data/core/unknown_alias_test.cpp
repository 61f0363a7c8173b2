// What someone meets who starts the program before any engine
// configuration exists: the alias is unknown, and the message says where
// the configuration was looked for and how to get one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "pellory/data/errors.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "scratch_dir.h"

namespace pellory::data::testing {
namespace {

// Sets (or with nullopt removes) an environment variable for one test.
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

TEST(UnknownAlias, WithoutAConfigurationTheMessageSaysWhereItLooked) {
  if (std::filesystem::exists("/etc/pellory/engine.conf"))
    GTEST_SKIP() << "this machine has /etc/pellory/engine.conf";
  testkit::ScratchDir home("no-config");
  ScopedEnv named("PELLORY_ENGINE_CONFIG", std::nullopt);
  ScopedEnv xdg("XDG_CONFIG_HOME", home.path().string());
  TSession session("Default", true);
  TTable table(session);
  table.SetName("Table1");
  table.SetDatabaseName("pellory");
  table.SetTableName("pelloryfont.DB");
  try {
    table.Open();
    FAIL() << "the open must fail";
  } catch (const EDBEngineError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Unknown database alias.\r\npellory\r\n"
              "No engine configuration file was found (PELLORY_ENGINE_CONFIG is not set, and "
              "neither " +
                  home.path().string() +
                  "/pellory/engine.conf nor /etc/pellory/engine.conf exists); "
                  "\"pellory-update-catalogue --user\" builds a catalogue of the fonts you see "
                  "and writes one naming it as the alias pellory, \"make run\" in "
                  "the source tree makes one for a catalogue of this machine's fonts, and a "
                  "catalogue built with pellory-mkcatalogue needs one whose [alias pellory] "
                  "section names its directory.");
  }
  EXPECT_FALSE(table.Active());
  session.Stop();
}

}  // namespace
}  // namespace pellory::data::testing
