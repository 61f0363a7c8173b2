// Where named mutexes live: which directory, and how a name becomes one
// file name in it.
#include "pellory/platform/mutex_location.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "mutex_test_support.h"

namespace {

using pellory::platform::NamedMutexDirectory;
using pellory::platform::NamedMutexFileName;

const std::string kPrefix = "pellory-mutex-";

// Names that must all land in different files: case, blanks, slashes,
// dots, escapes written out by hand, bytes beyond ASCII, very long names.
const std::vector<std::string>& AwkwardNames() {
  static const std::vector<std::string> names = {
      "Tessal 4",
      "tessal 4",
      "Tessal  4",
      "Tessal_4",
      "Tessal%204",
      "",
      ".",
      "..",
      "../..",
      "/",
      "a/b",
      "a%2Fb",
      "a\\b",
      "~",
      "%7E",
      "Pellory Fonts",
      "Caf\xC3\xA9",
      "Caf\xE9",
      std::string("nul\0inside", 10),
      std::string(300, 'x'),
      std::string(300, 'x') + "y",
      std::string(80, '/'),
      std::string(81, '/'),
  };
  return names;
}

TEST(MutexFileName, EveryNameGivesOnePlainFileNameOfItsOwn) {
  std::set<std::string> seen;
  for (const std::string& name : AwkwardNames()) {
    const std::string file = NamedMutexFileName(name);
    SCOPED_TRACE(testing::Message() << "name \"" << name << "\" gives \"" << file << "\"");
    EXPECT_EQ(file.rfind(kPrefix, 0), 0u);
    EXPECT_EQ(file.find('/'), std::string::npos);
    EXPECT_EQ(file.find('\0'), std::string::npos);
    EXPECT_LE(file.size(), 255u);
    EXPECT_EQ(NamedMutexFileName(name), file) << "the same name always gives the same file";
    EXPECT_TRUE(seen.insert(file).second) << "shared with another name";
  }
}

TEST(MutexFileName, ShortNamesStayReadable) {
  const std::pair<const char*, const char*> cases[] = {
      {"Tessal 4", "pellory-mutex-Tessal%204"},
      {"a/b.c-d_e", "pellory-mutex-a%2Fb.c-d_e"},
  };
  for (const auto& [name, file] : cases) EXPECT_EQ(NamedMutexFileName(name), file) << name;
}

TEST(MutexDirectory, RuntimeDirectoryWhenAbsoluteElseAPrivateOneUnderTheTemporaryDirectory) {
  const std::string own = "pellory-" + std::to_string(::geteuid());
  struct Case {
    std::optional<std::string> runtime, temp;
    std::string expected;
    bool fallback;
  };
  const Case cases[] = {
      {"/run/user/1000", "/var/tmp", "/run/user/1000", false},
      {std::nullopt, "/var/tmp", "/var/tmp/" + own, true},
      {"", "/var/tmp", "/var/tmp/" + own, true},
      {"run/user/1000", "/var/tmp", "/var/tmp/" + own, true},
      {std::nullopt, std::nullopt, "/tmp/" + own, true},
      {std::nullopt, "relative", "/tmp/" + own, true},
  };
  for (const Case& c : cases) {
    mutextest::EnvironmentOverride runtime("XDG_RUNTIME_DIR", c.runtime);
    mutextest::EnvironmentOverride temp("TMPDIR", c.temp);
    const auto dir = NamedMutexDirectory();
    EXPECT_EQ(dir.path, c.expected) << c.runtime.value_or("(unset)");
    EXPECT_EQ(dir.privateFallback, c.fallback) << c.runtime.value_or("(unset)");
  }
}

}  // namespace
